#include "app/text_cut.h"

bool IsCp932LeadByte(unsigned char c)
{
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

size_t CutLength(const char* text, size_t length, size_t limit, LeadBytePredicate isLead)
{
    if (length <= limit)
        return length;
    size_t i = 0;
    while (i < limit) {
        size_t step = isLead(static_cast<unsigned char>(text[i])) ? 2 : 1;
        if (i + step > limit)
            break;
        i += step;
    }
    return i;
}
