#pragma once
#include <cstddef>

// Path helpers that walk code page 932 text by characters: the trail byte of
// a double-byte character may be 0x5C, so a byte search for '\\' can cut a
// path inside a character.

// Pointer to the character after the last backslash of path (path itself
// when there is none).
const char* FileNamePart(const char* path);

// Cuts path at its last backslash (the backslash is removed). Returns false
// and leaves path alone when it holds no backslash.
bool CutAtLastBackslash(char* path);

// True when the file name part of path has a "." in it.
bool FileNameHasExtension(const char* path);
