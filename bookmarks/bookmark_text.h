#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

#include "app/html_text.h"

// Text of a bookmark file: character references in, escapes out.

// Appends the value of raw file text in UTF-8, references decoded from the
// HTML table the page titles use, a no-break space (raw or &nbsp;) read as
// a space, zero bytes dropped, and a value of nothing but white space (raw
// or references) empty. Raw white space at either end is layout and
// dropped; a reference (&#32;) is content and kept, so the writer escapes
// the white space it must keep. Without `keepBreaks` (titles, names,
// addresses) every run of raw white space inside is one space; with it
// (descriptions) raw line breaks stay.
void AppendDecodedText(const char* text, size_t length, bool keepBreaks, std::string& out);

// Appends UTF-8 text for the file: &, <, > and " as references, white space
// at either end as numeric references, and with `escapeBreaks` every CR, LF
// and TAB too, and every space after another (the reader folds raw runs).
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
