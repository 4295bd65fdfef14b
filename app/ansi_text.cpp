#include "app/ansi_text.h"

#include <windows.h>

#include <cstring>

#include "app/text_cut.h"

bool IsAnsiLeadByte(unsigned char c)
{
    return IsDBCSLeadByte(c) != FALSE;
}

size_t CutAnsiLength(const char* text, size_t length, size_t limit)
{
    return CutLength(text, length, limit, IsAnsiLeadByte);
}

void CutAnsiInPlace(char* text, size_t limit)
{
    text[CutAnsiLength(text, strlen(text), limit)] = '\0';
}
