#include "store/ansi_table.h"

#include <windows.h>

#include <cstring>

namespace {

const size_t kPlane = 0x10000;

bool IsSurrogate(unsigned c)
{
    return c >= 0xD800 && c <= 0xDFFF;
}

// One character of strict UTF-8 within the plane, or 0 bytes used when
// the bytes at p are anything else (the system would replace them).
size_t DecodeOne(const unsigned char* p, size_t left, unsigned* c)
{
    unsigned b = p[0];
    if (b < 0x80) {
        *c = b;
        return 1;
    }
    if (b >= 0xC2 && b <= 0xDF && left >= 2 && (p[1] & 0xC0) == 0x80) {
        *c = ((b & 0x1F) << 6) | (p[1] & 0x3F);
        return 2;
    }
    if (b >= 0xE0 && b <= 0xEF && left >= 3 && (p[1] & 0xC0) == 0x80 && (p[2] & 0xC0) == 0x80) {
        unsigned value = ((b & 0x0F) << 12) | ((p[1] & 0x3F) << 6) | (p[2] & 0x3F);
        if (value < 0x800 || IsSurrogate(value))
            return 0;
        *c = value;
        return 3;
    }
    return 0;
}

}  // namespace

AnsiTable::AnsiTable()
{
    CPINFO info = {};
    if (!GetCPInfo(CP_ACP, &info) || info.MaxCharSize > 2)
        return;
    // Every character but NUL and the surrogates, in one call; the output
    // is read back a character at a time by its lead bytes.
    std::vector<wchar_t> all;
    all.reserve(kPlane);
    for (unsigned c = 1; c < kPlane; ++c) {
        if (!IsSurrogate(c))
            all.push_back(static_cast<wchar_t>(c));
    }
    const int count = static_cast<int>(all.size());
    int size = WideCharToMultiByte(CP_ACP, 0, all.data(), count, nullptr, 0, nullptr, nullptr);
    if (size <= 0)
        return;
    std::vector<char> out(static_cast<size_t>(size));
    if (WideCharToMultiByte(CP_ACP, 0, all.data(), count, out.data(), size, nullptr, nullptr) != size)
        return;
    std::vector<uint16_t> table(kPlane, 0);
    size_t at = 0;
    for (wchar_t c : all) {
        if (at >= out.size())
            return;
        unsigned char first = static_cast<unsigned char>(out[at]);
        uint16_t value = first;
        if (IsDBCSLeadByte(first)) {
            if (at + 1 >= out.size())
                return;
            value |= static_cast<uint16_t>(static_cast<unsigned char>(out[at + 1]) << 8);
            at += 2;
        } else {
            at += 1;
        }
        table[c] = value;
    }
    // The read must end exactly at the end, or the table is not what the
    // system does one character at a time.
    if (at == out.size())
        bytes_ = std::move(table);
}

bool AnsiTable::Convert(const char* utf8, size_t length, char* out, size_t width, size_t* length_out) const
{
    if (bytes_.empty() || width == 0)
        return false;
    const unsigned char* p = reinterpret_cast<const unsigned char*>(utf8);
    const size_t room = width - 1;
    // ASCII, the bulk of a store's text, is copied as it is: found eight
    // bytes at a time, then copied at once.
    const size_t limit = length < room ? length : room;
    size_t i = 0;
    while (i + 8 <= limit) {
        uint64_t word;
        memcpy(&word, p + i, sizeof word);
        const uint64_t high = 0x8080808080808080ull;
        const bool hasZero = ((word - 0x0101010101010101ull) & ~word & high) != 0;
        if ((word & high) != 0 || hasZero)
            break;
        i += 8;
    }
    while (i < limit && p[i] < 0x80 && p[i] != 0)
        ++i;
    memcpy(out, p, i);
    size_t written = i;
    if (i == room && i < length) {
        out[written] = '\0';
        if (length_out != nullptr)
            *length_out = written;
        return true;
    }
    while (i < length) {
        unsigned c = 0;
        size_t used = DecodeOne(p + i, length - i, &c);
        if (used == 0 || c == 0)
            return false;
        i += used;
        uint16_t value = bytes_[c];
        size_t bytes = (value >> 8) != 0 ? 2 : 1;
        // What follows the cut is dropped whatever it holds.
        if (written + bytes > room)
            break;
        out[written++] = static_cast<char>(value & 0xFF);
        if (bytes == 2)
            out[written++] = static_cast<char>(value >> 8);
    }
    out[written] = '\0';
    if (length_out != nullptr)
        *length_out = written;
    return true;
}
