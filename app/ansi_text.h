#pragma once
#include <cstddef>

// The program's own text is in the system's ANSI code page (932 here).

// Lead-byte test of that code page.
bool IsAnsiLeadByte(unsigned char c);

// The program's one cut of its text to at most limit bytes, never inside a
// character (see CutLength).
size_t CutAnsiLength(const char* text, size_t length, size_t limit);

// Cuts a zero-terminated text in place to at most limit bytes.
void CutAnsiInPlace(char* text, size_t limit);
