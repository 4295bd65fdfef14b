#pragma once
#include <cstddef>

// Byte logic for the program's ANSI text (code page 932 unless the system
// says otherwise), free of any window code.

// Tells whether a byte starts a double-byte character.
using LeadBytePredicate = bool (*)(unsigned char);

// True for a lead byte of a double-byte character in code page 932.
bool IsCp932LeadByte(unsigned char c);

// Order of folder and note names: byte by byte after folding the ASCII
// letters A to Z to lower case; every other byte, both bytes of a double-byte
// character included, compares by its unsigned value; a name that is a
// prefix of another sorts first. Returns <0, 0 or >0.
//
// The trail byte of a double-byte character may lie in 0x41..0x5A (ア is
// 83 41): it is not a letter and is never folded, so ア and ッ (83 61) stay
// different.
int CompareNames(const char* a, size_t aLength, const char* b, size_t bLength,
                 LeadBytePredicate isLead = IsCp932LeadByte);
// The same for zero-terminated names (nullptr reads as empty).
int CompareNames(const char* a, const char* b, LeadBytePredicate isLead = IsCp932LeadByte);

// The length of text cut to at most limit bytes without splitting a
// double-byte character: a lead byte whose trail would fall beyond the limit
// is dropped with it.
size_t CutLength(const char* text, size_t length, size_t limit,
                 LeadBytePredicate isLead = IsCp932LeadByte);
