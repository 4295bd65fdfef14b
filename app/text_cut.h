#pragma once
#include <cstddef>

// Character-safe cutting of double-byte text, free of any window code.

// Tells whether a byte starts a double-byte character.
using LeadBytePredicate = bool (*)(unsigned char);

// True for a lead byte of a double-byte character in code page 932.
bool IsCp932LeadByte(unsigned char c);

// The length of text cut to at most limit bytes without splitting a
// double-byte character: a lead byte whose trail would fall beyond the limit
// is dropped with it.
size_t CutLength(const char* text, size_t length, size_t limit,
                 LeadBytePredicate isLead = IsCp932LeadByte);
