#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

// Text of a bookmark file: character references in, escapes out. Raw white
// space at either end of a value is layout and dropped on reading; a
// reference (&#32;) is content and kept, so the writer escapes the white
// space at the ends of a value and every value reads back unchanged.

// Appends `code` as UTF-8; a value that is no character (zero, a surrogate,
// beyond U+10FFFF) becomes U+FFFD.
void AppendUtf8(uint32_t code, std::string& out);

// Appends the value of raw file text in UTF-8: raw white space at the ends
// dropped, references decoded (numeric ones and the common named ones;
// &nbsp; as a plain space), zero bytes dropped. Without `keepBreaks` every
// raw CR LF, CR, LF or TAB becomes one space.
void AppendDecodedText(const char* text, size_t length, bool keepBreaks, std::string& out);

// Appends UTF-8 text for the file: &, <, > and " as references, white space
// at either end as numeric references, and with `escapeBreaks` every CR, LF
// and TAB too.
void AppendEscapedText(const char* text, size_t length, bool escapeBreaks, std::string& out);

// "%d/%02d/%02d" into out (11 bytes). False, with an empty text, for a year
// outside 1..9999 or an impossible month or day.
bool FormatDay(int year, int month, int day, char (&out)[11]);
// The inverse, for exactly that form (one to four year digits, two month
// digits, two day digits). False for anything else.
bool ParseDay(const char* text, int& year, int& month, int& day);

// Days since 1970-01-01 of a day of the proleptic Gregorian calendar, and
// back: plain arithmetic for any year.
int64_t DaysFromCivil(int64_t year, int month, int day);
void CivilFromDays(int64_t days, int& year, int& month, int& day);
