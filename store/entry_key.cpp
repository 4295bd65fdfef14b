#include "store/entry_key.h"

#include <cstdio>
#include <cstring>
#include <initializer_list>

namespace {

int LeadingDigitsValue(const char* digits, size_t length)
{
    int value = 0;
    for (size_t i = 0; i < length && digits[i] >= '0' && digits[i] <= '9'; ++i)
        value = value * 10 + (digits[i] - '0');
    return value;
}

}  // namespace

EntryPositions ParseEntryKey(const char* key, size_t length)
{
    int parts[3] = {0, 0, 0};
    int part = 0;
    char digits[3];
    size_t used = 0;
    for (size_t i = 0; i < length; ++i) {
        if (key[i] == '-') {
            ++part;
            used = 0;
            if (part >= 3)
                break;
            continue;
        }
        if (used < sizeof digits)
            digits[used++] = key[i];
        parts[part] = LeadingDigitsValue(digits, used);
    }
    return EntryPositions{parts[0], parts[1], parts[2]};
}

EntryPositions ParseEntryKey(const char* key)
{
    return key == nullptr ? EntryPositions{} : ParseEntryKey(key, strlen(key));
}

bool ReadEntryKey(const char* key, EntryPositions* out)
{
    if (key == nullptr)
        return false;
    int parts[3] = {0, 0, 0};
    int part = 0;
    int digits = 0;
    for (const char* p = key;; ++p) {
        if (*p >= '0' && *p <= '9') {
            if (++digits > 3)
                return false;
            parts[part] = parts[part] * 10 + (*p - '0');
        } else if ((*p == '-' && part < 2) || (*p == '\0' && part == 2)) {
            if (digits == 0)
                return false;
            if (*p == '\0')
                break;
            ++part;
            digits = 0;
        } else {
            return false;
        }
    }
    *out = EntryPositions{parts[0], parts[1], parts[2]};
    return true;
}

bool FormatEntryKey(int folder, int note, int entry, char* out, size_t size)
{
    if (out == nullptr || size == 0)
        return false;
    out[0] = '\0';
    for (int position : {folder, note, entry}) {
        if (position < 0 || position > 999)
            return false;
    }
    // By hand: the snapshot formats one key per entry it loads.
    char text[kEntryKeySize];
    size_t n = 0;
    for (int position : {folder, note, entry}) {
        if (n > 0)
            text[n++] = '-';
        if (position >= 100)
            text[n++] = static_cast<char>('0' + position / 100);
        if (position >= 10)
            text[n++] = static_cast<char>('0' + position / 10 % 10);
        text[n++] = static_cast<char>('0' + position % 10);
    }
    if (n >= size)
        return false;
    memcpy(out, text, n);
    out[n] = '\0';
    return true;
}
