#pragma once
#include <cstddef>
#include <string>

// Text crosses between the document (UTF-8) and the program (the system's
// ANSI code page, 932 for this program), always through UTF-16 with
// MultiByteToWideChar and WideCharToMultiByte. A character the code page
// cannot hold becomes its default character. ASCII text, the same bytes in
// every ANSI code page and in UTF-8, is copied as it is.

std::string WideToAnsi(const wchar_t* text, size_t length);
// Converts and cuts to at most width - 1 bytes, never splitting a
// double-byte character, into out (width bytes, always terminated).
void WideToAnsiField(const wchar_t* text, size_t length, char* out, size_t width);
// The same from document text.
void Utf8ToAnsiField(const char* utf8, size_t length, char* out, size_t width);
std::string Utf8ToAnsi(const char* utf8, size_t length);
std::wstring AnsiToWide(const char* text);
// A value for the document, as UTF-8: every character that XML 1.0 does not
// allow (the control characters other than TAB, LF and CR, and U+FFFE,
// U+FFFF) becomes "?". Written as they are, they would make the whole file
// unreadable at the next load.
std::string AnsiToDocumentText(const char* text);
// Cuts an ANSI text to at most width - 1 bytes without splitting a character.
std::string CutAnsi(const char* text, size_t width);
