#include "app/size_text.h"

#include <cstdio>

void FormatSizeText(int size, char* out, size_t outSize)
{
    if (out == nullptr || outSize == 0)
        return;
    if (size < 0)
        snprintf(out, outSize, "0 Byte ( 0 )");
    else if (size > 1024000)
        snprintf(out, outSize, "%.2lf MB ( %d )", size / 1024000.0, size);
    else if (size > 1024)
        snprintf(out, outSize, "%.1lf KB ( %d )", size / 1024.0, size);
    else
        snprintf(out, outSize, "%d Byte", size);
}
