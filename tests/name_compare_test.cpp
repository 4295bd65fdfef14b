// Byte-level tests of the name order and the character-safe cut; no window
// code, also built natively with sanitizers. Japanese text is written as
// code page 932 bytes.
#include <gtest/gtest.h>

#include <string>

#include "store/name_compare.h"

namespace {

int Sign(int v)
{
    return v < 0 ? -1 : (v > 0 ? 1 : 0);
}

int Compare(const std::string& a, const std::string& b)
{
    return Sign(CompareNames(a.data(), a.size(), b.data(), b.size()));
}

// A (83 41) and its neighbour 83 61 in code page 932: two different katakana.
const std::string kKatakanaA = "\x83\x41";
const std::string kKatakana61 = "\x83\x61";

}  // namespace

TEST(NameCompare, AsciiLettersCompareWithoutCase)
{
    EXPECT_EQ(Compare("alpha", "ALPHA"), 0);
    EXPECT_EQ(Compare("Zeta", "alpha"), 1);
    EXPECT_EQ(Compare("a", "B"), -1);
    EXPECT_EQ(Compare("A", "a"), 0);
    // '_' (5F) lies between 'Z' (5A) and 'a' (61): folding decides.
    EXPECT_EQ(Compare("_", "A"), -1);
    EXPECT_EQ(Compare("_", "a"), -1);
}

TEST(NameCompare, PrefixSortsFirst)
{
    EXPECT_EQ(Compare("alpha", "alpha2"), -1);
    EXPECT_EQ(Compare("alpha2", "Alpha"), 1);
    EXPECT_EQ(Compare("", "a"), -1);
    EXPECT_EQ(Compare("", ""), 0);
}

TEST(NameCompare, HighBytesCompareUnsigned)
{
    EXPECT_EQ(Compare("z", "\x82\xA0"), -1);
    EXPECT_EQ(Compare("\x82\xA0", "\x82\xA2"), -1);
    EXPECT_EQ(Compare("\xFC\x40", "\x81\x40"), 1);
}

TEST(NameCompare, TrailBytesAreNeverFolded)
{
    // The trail byte 41 is not the letter A: the two characters differ and
    // keep their byte order.
    EXPECT_EQ(Compare(kKatakanaA, kKatakana61), -1);
    EXPECT_EQ(Compare(kKatakana61, kKatakanaA), 1);
    EXPECT_EQ(Compare(kKatakanaA + "b", kKatakanaA + "B"), 0);
    // Without knowing lead bytes the fold would make them equal.
    auto noLead = [](unsigned char) { return false; };
    EXPECT_EQ(Sign(CompareNames(kKatakanaA.data(), 2, kKatakana61.data(), 2, noLead)), 0);
}

TEST(NameCompare, ZeroTerminatedFormTreatsNullAsEmpty)
{
    EXPECT_EQ(Sign(CompareNames(nullptr, "")), 0);
    EXPECT_EQ(Sign(CompareNames("a", nullptr)), 1);
    EXPECT_EQ(Sign(CompareNames("B", "a")), 1);
}

TEST(NameCompare, RecognisesCp932LeadBytes)
{
    EXPECT_FALSE(IsCp932LeadByte(0x80));
    EXPECT_TRUE(IsCp932LeadByte(0x81));
    EXPECT_TRUE(IsCp932LeadByte(0x9F));
    EXPECT_FALSE(IsCp932LeadByte(0xA0));
    EXPECT_FALSE(IsCp932LeadByte(0xDF));
    EXPECT_TRUE(IsCp932LeadByte(0xE0));
    EXPECT_TRUE(IsCp932LeadByte(0xFC));
    EXPECT_FALSE(IsCp932LeadByte(0xFD));
}

TEST(CutLength, ExactFitOneOverAndSplitCharacters)
{
    std::string ascii(600, 't');
    EXPECT_EQ(CutLength(ascii.data(), ascii.size(), 519), 519u);
    EXPECT_EQ(CutLength(ascii.data(), 519, 519), 519u);
    EXPECT_EQ(CutLength(ascii.data(), 518, 519), 518u);

    // "a" then double-byte characters: the cut lands on a character edge.
    std::string mixed = "a";
    for (int i = 0; i < 10; ++i)
        mixed += "\x82\xA0";
    EXPECT_EQ(CutLength(mixed.data(), mixed.size(), 4), 3u);
    EXPECT_EQ(CutLength(mixed.data(), mixed.size(), 5), 5u);
    std::string pairs;
    for (int i = 0; i < 300; ++i)
        pairs += "\x82\xA0";
    EXPECT_EQ(CutLength(pairs.data(), pairs.size(), 519), 518u);
    EXPECT_EQ(CutLength(pairs.data(), pairs.size(), 0), 0u);
    // A single-byte katakana (A0..DF) is one byte.
    std::string kana(10, '\xB1');
    EXPECT_EQ(CutLength(kana.data(), kana.size(), 7), 7u);
}

TEST(CutLength, NeverReadsPastTheText)
{
    // A lone lead byte at the very end is cut without reading further.
    std::string text = "ab\x82";
    for (size_t limit = 0; limit <= 3; ++limit)
        EXPECT_LE(CutLength(text.data(), text.size(), limit), limit);
    EXPECT_EQ(CutLength(text.data(), text.size(), 3), 3u);
    EXPECT_EQ(CutLength(text.data(), text.size(), 2), 2u);
}
