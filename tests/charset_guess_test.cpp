#include <gtest/gtest.h>

#include <string>

#include "web/charset_guess.h"

// Built in both the Windows and the sanitizer build: bytes only.
namespace {

const std::string kUtf8Hiragana[] = {"\xE3\x81\x82", "\xE3\x81\x84", "\xE3\x81\x86",
                                     "\xE3\x81\x88", "\xE3\x81\x8A"};
const std::string kUtf8Kanji = "\xE6\xBC\xA2\xE5\xAD\x97";   // two kanji
const std::string kEucHiragana3 = "\xA4\xA2\xA4\xA4\xA4\xA6";

// `count` UTF-8 hiragana in a row, lead bytes three apart.
std::string Utf8Hiragana(int count)
{
    std::string s;
    for (int i = 0; i < count; ++i)
        s += kUtf8Hiragana[i % 5];
    return s;
}

int Guess(const std::string& raw)
{
    return GuessTitleCharset(raw.c_str());
}

}  // namespace

TEST(CharsetGuess, LeadingEscapeByteMeansJis)
{
    EXPECT_EQ(Guess("\x1b$B$\"$$\x1b(B"), kCharsetJis);
    EXPECT_EQ(Guess("\x1b" + kUtf8Kanji), kCharsetJis);
    EXPECT_EQ(Guess("\x1b" + kEucHiragana3), kCharsetJis);
    // Only the first byte counts.
    EXPECT_EQ(Guess("a\x1b$B$\"$$$&\x1b(B"), kCharsetShiftJis);
}

TEST(CharsetGuess, EucJpNeedsTheFirstLeadAndItsTwoFollowers)
{
    EXPECT_EQ(Guess(kEucHiragana3), kCharsetEucJp);
    EXPECT_EQ(Guess("EUC " + kEucHiragana3 + " page"), kCharsetEucJp);
    // Two hiragana: the byte four on does not exist.
    EXPECT_EQ(Guess("\xA4\xA2\xA4\xA4"), kCharsetShiftJis);
    // A lone half-width katakana decides the test alone: later EUC text is
    // never looked at.
    EXPECT_EQ(Guess("\xB1" "ab" + kEucHiragana3), kCharsetShiftJis);
    // ...and the UTF-8 test still runs after it.
    EXPECT_EQ(Guess("\xB1" "abc" + kUtf8Kanji), kCharsetUtf8);
}

TEST(CharsetGuess, Utf8PairsOfLeadBytesThreeApart)
{
    EXPECT_EQ(Guess(kUtf8Kanji), kCharsetUtf8);
    EXPECT_EQ(Guess(Utf8Hiragana(2)), kCharsetUtf8);
    EXPECT_EQ(Guess(Utf8Hiragana(4)), kCharsetUtf8);
    // One character followed by ASCII: no pair.
    EXPECT_EQ(Guess(kUtf8Hiragana[0] + "abc"), kCharsetShiftJis);
    EXPECT_EQ(Guess(kUtf8Hiragana[0]), kCharsetShiftJis);
    // Three: the second lead byte meets the end and clears the first match.
    EXPECT_EQ(Guess(Utf8Hiragana(3)), kCharsetShiftJis);
}

TEST(CharsetGuess, FourUtf8PairsWinEvenWhenTheLastFails)
{
    EXPECT_EQ(Guess(Utf8Hiragana(7)), kCharsetShiftJis);   // three pairs, last fails
    EXPECT_EQ(Guess(Utf8Hiragana(9)), kCharsetUtf8);       // four pairs, last fails
    EXPECT_EQ(Guess(Utf8Hiragana(8) + "x"), kCharsetUtf8);
}

TEST(CharsetGuess, PlainTextIsShiftJis)
{
    EXPECT_EQ(Guess(""), kCharsetShiftJis);
    EXPECT_EQ(Guess("Example Domain"), kCharsetShiftJis);
    EXPECT_EQ(Guess("\x93\xFA\x96\x7B\x8C\xEA"), kCharsetShiftJis);   // three kanji in Shift-JIS
}

TEST(CharsetGuess, NothingCarriesOverBetweenCalls)
{
    EXPECT_EQ(Guess(Utf8Hiragana(2)), kCharsetUtf8);
    EXPECT_EQ(Guess(Utf8Hiragana(2)), kCharsetUtf8);
    EXPECT_EQ(Guess(Utf8Hiragana(7)), kCharsetShiftJis);
}
