#include <gtest/gtest.h>

#include "app/ini_settings.h"
#include "app/size_text.h"

namespace {

std::string SizeText(int size)
{
    char out[128];
    CINI::FormatFileSize(size, out);
    return out;
}

}  // namespace

TEST(SizeText, EdgesOfEachUnit)
{
    EXPECT_EQ(SizeText(-1), "0 Byte ( 0 )");
    EXPECT_EQ(SizeText(-2147483647 - 1), "0 Byte ( 0 )");
    EXPECT_EQ(SizeText(0), "0 Byte");
    EXPECT_EQ(SizeText(1024), "1024 Byte");
    EXPECT_EQ(SizeText(1025), "1.0 KB ( 1025 )");
    EXPECT_EQ(SizeText(1024000), "1000.0 KB ( 1024000 )");
    EXPECT_EQ(SizeText(1024001), "1.00 MB ( 1024001 )");
    EXPECT_EQ(SizeText(2147483647), "2097.15 MB ( 2147483647 )");
}

TEST(SizeText, SmallBufferIsNeverOverrun)
{
    char out[8];
    memset(out, 'x', sizeof out);
    FormatSizeText(1024001, out, 5);
    EXPECT_STREQ(out, "1.00");
    EXPECT_EQ(out[5], 'x');
}
