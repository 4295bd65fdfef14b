#include "store/name_compare.h"

#include <cstring>

int CompareNames(const char* a, size_t aLength, const char* b, size_t bLength,
                 LeadBytePredicate isLead)
{
    size_t common = aLength < bLength ? aLength : bLength;
    // Both names agree on every byte before i, so a byte that is a trail
    // byte in one is a trail byte in the other.
    bool trail = false;
    for (size_t i = 0; i < common; ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]);
        unsigned char y = static_cast<unsigned char>(b[i]);
        if (!trail) {
            if (x >= 'A' && x <= 'Z')
                x = static_cast<unsigned char>(x - 'A' + 'a');
            if (y >= 'A' && y <= 'Z')
                y = static_cast<unsigned char>(y - 'A' + 'a');
        }
        if (x != y)
            return x < y ? -1 : 1;
        trail = !trail && isLead(x);
    }
    if (aLength == bLength)
        return 0;
    return aLength < bLength ? -1 : 1;
}

int CompareNames(const char* a, const char* b, LeadBytePredicate isLead)
{
    if (a == nullptr)
        a = "";
    if (b == nullptr)
        b = "";
    return CompareNames(a, strlen(a), b, strlen(b), isLead);
}
