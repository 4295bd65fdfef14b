#include "app/link_text.h"

#include <cstring>

namespace {

bool IsSpace(unsigned char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

char Lower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool StartsWithNoCase(const char* text, size_t length, const char* prefix)
{
    size_t n = strlen(prefix);
    if (length < n)
        return false;
    for (size_t i = 0; i < n; ++i) {
        if (Lower(text[i]) != prefix[i])
            return false;
    }
    return true;
}

void AppendUtf8Escaped(unsigned long code, std::string* out)
{
    static const char kHex[] = "0123456789ABCDEF";
    unsigned char bytes[4];
    size_t count;
    if (code < 0x800) {
        bytes[0] = static_cast<unsigned char>(0xC0 | (code >> 6));
        count = 2;
    } else if (code < 0x10000) {
        bytes[0] = static_cast<unsigned char>(0xE0 | (code >> 12));
        count = 3;
    } else {
        bytes[0] = static_cast<unsigned char>(0xF0 | (code >> 18));
        count = 4;
    }
    for (size_t i = 1; i < count; ++i)
        bytes[i] = static_cast<unsigned char>(0x80 | ((code >> (6 * (count - 1 - i))) & 0x3F));
    for (size_t i = 0; i < count; ++i) {
        out->push_back('%');
        out->push_back(kHex[bytes[i] >> 4]);
        out->push_back(kHex[bytes[i] & 0x0F]);
    }
}

}  // namespace

bool ReadOneAddress(const char* text, size_t length, std::string* address)
{
    const void* nul = memchr(text, '\0', length);
    if (nul != nullptr)
        length = static_cast<size_t>(static_cast<const char*>(nul) - text);
    size_t begin = 0;
    while (begin < length && IsSpace(static_cast<unsigned char>(text[begin])))
        ++begin;
    size_t end = length;
    while (end > begin && IsSpace(static_cast<unsigned char>(text[end - 1])))
        --end;
    const char* start = text + begin;
    const size_t size = end - begin;
    if (size == 0 || size > kLinkAddressLimit)
        return false;
    // Anything that is not one token (a sentence, two addresses) is not an address.
    for (size_t i = 0; i < size; ++i) {
        unsigned char c = static_cast<unsigned char>(start[i]);
        if (c <= ' ' || c == 0x7F)
            return false;
    }
    size_t scheme = 0;
    for (const char* prefix : {"http://", "https://", "ftp://"}) {
        if (StartsWithNoCase(start, size, prefix)) {
            scheme = strlen(prefix);
            break;
        }
    }
    if (scheme == 0 || scheme == size || strchr("/?#", start[scheme]) != nullptr)
        return false;
    address->assign(start, size);
    return true;
}

bool WideToAddressText(const unsigned char* bytes, size_t length, std::string* out)
{
    out->clear();
    for (size_t i = 0; i + 1 < length; i += 2) {
        unsigned long unit = bytes[i] | (static_cast<unsigned long>(bytes[i + 1]) << 8);
        if (unit == 0)
            break;
        if (unit < 0x80) {
            out->push_back(static_cast<char>(unit));
            continue;
        }
        if (unit >= 0xDC00 && unit <= 0xDFFF)
            return false;
        if (unit >= 0xD800 && unit <= 0xDBFF) {
            if (i + 3 >= length)
                return false;
            unsigned long low = bytes[i + 2] | (static_cast<unsigned long>(bytes[i + 3]) << 8);
            if (low < 0xDC00 || low > 0xDFFF)
                return false;
            unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
            i += 2;
        }
        AppendUtf8Escaped(unit, out);
    }
    return true;
}

bool ReadShortcutAddress(const char* bytes, size_t length, std::string* address)
{
    // An ini-like text written by the shell and by browsers:
    //   [InternetShortcut]
    //   URL=https://example.com/
    // other sections ([DEFAULT], [{000214A0-...}]) may hold a URL= too.
    if (length >= 3 && memcmp(bytes, "\xEF\xBB\xBF", 3) == 0) {
        bytes += 3;
        length -= 3;
    }
    bool inShortcut = false;
    size_t pos = 0;
    while (pos < length) {
        size_t end = pos;
        while (end < length && bytes[end] != '\n' && bytes[end] != '\r' && bytes[end] != '\0')
            ++end;
        const char* line = bytes + pos;
        size_t size = end - pos;
        while (size > 0 && IsSpace(static_cast<unsigned char>(*line))) {
            ++line;
            --size;
        }
        if (size > 0 && line[0] == '[')
            inShortcut = StartsWithNoCase(line, size, "[internetshortcut]");
        else if (inShortcut && StartsWithNoCase(line, size, "url="))
            return ReadOneAddress(line + 4, size - 4, address);
        if (end < length && bytes[end] == '\0')
            break;
        pos = end + 1;
    }
    return false;
}
