#include <gtest/gtest.h>

#include <cstring>

#include "app/size_text.h"

// Built in both the Windows and the sanitizer build.
TEST(SizeTextBytes, OutputFitsAnyBufferSize)
{
    const int sizes[] = {-5, 0, 1024, 1025, 1024000, 1024001, 2147483647};
    for (int size : sizes) {
        for (size_t cap = 1; cap <= 32; ++cap) {
            char out[40];
            memset(out, 'x', sizeof out);
            FormatSizeText(size, out, cap);
            EXPECT_LT(strlen(out), cap);
            EXPECT_EQ(out[cap], 'x');
        }
    }
}
