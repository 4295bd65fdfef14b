#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

// UTF-8 to the ANSI code page without a system call per value: a table of
// the bytes WideCharToMultiByte gives for every character of the Basic
// Multilingual Plane, made once by that function itself, so that the result
// is the same byte for byte. Loading a large store converts hundreds of
// thousands of values; through the system each costs two calls.
class AnsiTable {
public:
    AnsiTable();
    AnsiTable(const AnsiTable&) = delete;
    AnsiTable& operator=(const AnsiTable&) = delete;

    // Converts utf8 and cuts it to at most width - 1 bytes between
    // characters, into out (width bytes, terminated). False, with nothing
    // promised in out, when the text needs the system: bytes that are not
    // UTF-8, a character beyond the plane, or a code page the table cannot
    // hold (more than two bytes a character).
    // written, when given, receives the length of out.
    bool Convert(const char* utf8, size_t length, char* out, size_t width, size_t* written = nullptr) const;

private:
    // Per character: its bytes, the first in the low half; a second byte
    // of 0 means a single-byte character. Empty when the table is unusable.
    std::vector<uint16_t> bytes_;
};
