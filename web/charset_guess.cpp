#include "web/charset_guess.h"

#include <cstring>

int GuessTitleCharset(const char* raw)
{
    return DetectCharset(raw, strlen(raw));
}
