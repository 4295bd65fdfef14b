#pragma once
#include <cstddef>

#include "app/text_cut.h"

// Byte logic for the program's ANSI text (code page 932 unless the system
// says otherwise), free of any window code.

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
