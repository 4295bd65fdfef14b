#pragma once
#include <cstddef>

// The entry key names an entry by its three positions: folder, note and
// entry, in decimal, joined by "-" ("0-0-2" is the third entry of the first
// note of the first folder). Each part has at most three digits, so a key
// has at most 11 characters (12 bytes with the terminator).

struct EntryPositions {
    int folder = 0;
    int note = 0;
    int entry = 0;
};

constexpr size_t kEntryKeySize = 12;

// Parses a key of length bytes. A "-" moves to the next part; any other
// byte goes into the part's digit buffer of at most three characters (later
// ones are ignored), and the part becomes the value of the buffer's leading
// decimal digits. Parts that receive nothing stay 0; parts after the third
// are ignored.
EntryPositions ParseEntryKey(const char* key, size_t length);
// The same for a zero-terminated key (nullptr reads as empty).
EntryPositions ParseEntryKey(const char* key);

// Reads a key exactly as the list writes it: three parts of one to three
// decimal digits joined by "-", nothing else. False for any other text, the
// empty key of a row beyond the key's range among them; out is then left
// alone. Every action on a row goes by this reading, never by the lenient
// one above, which would turn an empty key into entry 0-0-0.
bool ReadEntryKey(const char* key, EntryPositions* out);

// Writes "f-n-e" into out (size bytes, terminated). Returns false, leaving
// an empty text, when a position is outside 0..999 or out is too small.
bool FormatEntryKey(int folder, int note, int entry, char* out, size_t size);
