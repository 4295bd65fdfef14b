// Byte-level tests of the entry key; no window code, also built natively
// with sanitizers.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "store/entry_key.h"

namespace {

struct KeyCase {
    const char* key;
    int folder, note, entry;
};

}  // namespace

TEST(EntryKey, ParsesThreeDecimalParts)
{
    const KeyCase cases[] = {
        {"0-0-2", 0, 0, 2},
        {"12-345-999", 12, 345, 999},
        {"1-2-3", 1, 2, 3},
        {"007-010-100", 7, 10, 100},
    };
    for (const KeyCase& c : cases) {
        EntryPositions p = ParseEntryKey(c.key);
        EXPECT_EQ(p.folder, c.folder) << c.key;
        EXPECT_EQ(p.note, c.note) << c.key;
        EXPECT_EQ(p.entry, c.entry) << c.key;
    }
}

TEST(EntryKey, PartsWithoutCharactersStayZero)
{
    const KeyCase cases[] = {
        {"", 0, 0, 0}, {"5", 5, 0, 0}, {"5-", 5, 0, 0}, {"-7", 0, 7, 0},
        {"--9", 0, 0, 9}, {"3-4", 3, 4, 0}, {"x-y-z", 0, 0, 0},
    };
    for (const KeyCase& c : cases) {
        EntryPositions p = ParseEntryKey(c.key);
        EXPECT_EQ(p.folder, c.folder) << "[" << c.key << "]";
        EXPECT_EQ(p.note, c.note) << "[" << c.key << "]";
        EXPECT_EQ(p.entry, c.entry) << "[" << c.key << "]";
    }
}

TEST(EntryKey, OnlyLeadingDigitsOfAtMostThreeCharactersCount)
{
    // The digit buffer holds three characters; later ones are ignored.
    EntryPositions p = ParseEntryKey("1234-56789-1x2");
    EXPECT_EQ(p.folder, 123);
    EXPECT_EQ(p.note, 567);
    EXPECT_EQ(p.entry, 1);
    p = ParseEntryKey("a12-1a2-12a");
    EXPECT_EQ(p.folder, 0);
    EXPECT_EQ(p.note, 1);
    EXPECT_EQ(p.entry, 12);
}

TEST(EntryKey, ExtraPartsAndHighBytesAreHarmless)
{
    EntryPositions p = ParseEntryKey("1-2-3-4-5");
    EXPECT_EQ(p.folder, 1);
    EXPECT_EQ(p.note, 2);
    EXPECT_EQ(p.entry, 3);
    p = ParseEntryKey("\x82\xA0-\x95\x5C-9");
    EXPECT_EQ(p.folder, 0);
    EXPECT_EQ(p.note, 0);
    EXPECT_EQ(p.entry, 9);
    EXPECT_EQ(ParseEntryKey(nullptr).entry, 0);
}

TEST(EntryKey, LengthBoundsTheRead)
{
    const char bytes[] = {'1', '-', '2', '-', '3', '4'};
    EntryPositions p = ParseEntryKey(bytes, 5);
    EXPECT_EQ(p.entry, 3);
    p = ParseEntryKey(bytes, 0);
    EXPECT_EQ(p.folder, 0);
}

TEST(EntryKey, FormatsIntoTwelveBytesAtMost)
{
    char key[kEntryKeySize];
    ASSERT_TRUE(FormatEntryKey(999, 999, 999, key, sizeof key));
    EXPECT_STREQ(key, "999-999-999");
    ASSERT_TRUE(FormatEntryKey(0, 0, 2, key, sizeof key));
    EXPECT_STREQ(key, "0-0-2");
    EXPECT_FALSE(FormatEntryKey(1000, 0, 0, key, sizeof key));
    EXPECT_STREQ(key, "");
    EXPECT_FALSE(FormatEntryKey(0, -1, 0, key, sizeof key));
    char small[5];
    EXPECT_FALSE(FormatEntryKey(10, 10, 10, small, sizeof small));
    EXPECT_STREQ(small, "");
}

TEST(EntryKey, FormatAndParseRoundTrip)
{
    char key[kEntryKeySize];
    for (int f : {0, 9, 10, 99, 100, 999}) {
        for (int e : {0, 1, 998, 999}) {
            ASSERT_TRUE(FormatEntryKey(f, e, f, key, sizeof key));
            EntryPositions p = ParseEntryKey(key, strlen(key));
            EXPECT_EQ(p.folder, f);
            EXPECT_EQ(p.note, e);
            EXPECT_EQ(p.entry, f);
        }
    }
}

TEST(EntryKey, StrictReadingTakesOnlyWhatTheListWrites)
{
    const KeyCase good[] = {{"0-0-0", 0, 0, 0}, {"12-345-999", 12, 345, 999}, {"007-010-100", 7, 10, 100}};
    for (const KeyCase& c : good) {
        EntryPositions p;
        ASSERT_TRUE(ReadEntryKey(c.key, &p)) << c.key;
        EXPECT_EQ(p.folder, c.folder);
        EXPECT_EQ(p.note, c.note);
        EXPECT_EQ(p.entry, c.entry);
    }
    // The empty key of a row past 999 entries among them: none may name 0-0-0.
    const char* bad[] = {"", "5", "5-", "-7", "--9", "3-4", "1-2-", "1-2-3-", "1-2-3-4",
                         "1-2-1000", "x-y-z", "1-2-3x", " 1-2-3", "1--3", nullptr};
    for (const char* key : bad) {
        EntryPositions p{4, 5, 6};
        EXPECT_FALSE(ReadEntryKey(key, &p)) << (key != nullptr ? key : "(null)");
        EXPECT_EQ(p.folder, 4);
    }
}
