#include <gtest/gtest.h>

#include "app/path_text.h"

// The program's texts are code page 932 bytes; the trail byte 0x5C of these
// characters is the trap every path cut must avoid.
TEST(CodePage, JapaneseLiteralsAreShiftJisBytes)
{
    EXPECT_STREQ("表示(&V)", "\x95\x5C\x8E\xA6(&V)");
    EXPECT_STREQ("ソ", "\x83\x5C");
    EXPECT_STREQ("ﾌｧｲﾙ", "\xCC\xA7\xB2\xD9");
}

TEST(PathText, CutsAtTheRealLastBackslash)
{
    char path[260] = "C:\\data\\表";   // ends in 0x95 0x5C
    EXPECT_STREQ(FileNamePart(path), "表");
    EXPECT_TRUE(CutAtLastBackslash(path));
    EXPECT_STREQ(path, "C:\\data");

    char folder[260] = "C:\\ソフト\\links.xml";
    EXPECT_TRUE(CutAtLastBackslash(folder));
    EXPECT_STREQ(folder, "C:\\ソフト");

    char bare[260] = "links.xml";
    EXPECT_FALSE(CutAtLastBackslash(bare));
    EXPECT_STREQ(bare, "links.xml");
}

TEST(PathText, ExtensionIsLookedForInTheFileNameOnly)
{
    EXPECT_TRUE(FileNameHasExtension("C:\\a\\links.xml"));
    EXPECT_FALSE(FileNameHasExtension("C:\\a.b\\links"));
    EXPECT_FALSE(FileNameHasExtension("C:\\data\\表"));
    EXPECT_TRUE(FileNameHasExtension("links."));
}
