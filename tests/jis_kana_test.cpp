#include <gtest/gtest.h>

#include <string>

#include "web/jis_kana.h"

// Built in both the Windows and the sanitizer build: bytes only.
namespace {

std::string Rewrite(const std::string& jis)
{
    return JisKanaToEightBit(jis.data(), jis.size());
}

}  // namespace

TEST(JisKana, EscapeSetBecomesEightBitKatakana)
{
    EXPECT_EQ(Rewrite("\x1b(I123\x1b(B!"), "\x1b(B\xB1\xB2\xB3\x1b(B!");
    EXPECT_EQ(Rewrite("\x1b$B$\"\x1b(I1_\x1b$B$$\x1b(B"), "\x1b$B$\"\x1b(B\xB1\xDF\x1b$B$$\x1b(B");
    // Up to the end of the text when no escape sequence closes the set.
    EXPECT_EQ(Rewrite("\x1b(I12"), "\x1b(B\xB1\xB2");
    // Bytes outside 0x21-0x5F are no katakana and stay.
    EXPECT_EQ(Rewrite("\x1b(I \x60" "1"), "\x1b(B \x60\xB1");
}

TEST(JisKana, ShiftOutShiftInBecomesEightBitKatakana)
{
    EXPECT_EQ(Rewrite("a\x0e" "12\x0f" "12"), "a\xB1\xB2" "12");
    EXPECT_EQ(Rewrite("\x1b(J\x0e" "3"), "\x1b(J\xB3");
}

TEST(JisKana, OtherTextIsUnchanged)
{
    const std::string kanji = "Page \x1b$BF|K\\8l\x1b(B end";
    EXPECT_EQ(Rewrite(kanji), kanji);
    EXPECT_EQ(Rewrite(""), "");
    // A cut escape sequence at the end is kept as it is.
    EXPECT_EQ(Rewrite("a\x1b("), "a\x1b(");
    EXPECT_EQ(Rewrite("a\x1b"), "a\x1b");
}
