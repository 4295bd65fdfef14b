#include <gtest/gtest.h>

#include <string>

#include "web/http_date.h"

// Built in both the Windows and the sanitizer build: bytes only.
namespace {

std::string Parsed(const char* text, bool* safe = nullptr)
{
    HttpDate d;
    if (!ParseHttpDate(text, &d))
        return "-";
    if (safe != nullptr)
        *safe = d.platformSafe;
    return std::to_string(d.year) + "/" + std::to_string(d.month) + "/" + std::to_string(d.day);
}

}  // namespace

TEST(HttpDate, ReadsAllThreeForms)
{
    EXPECT_EQ(Parsed("Mon, 05 Mar 2007 23:30:00 GMT"), "2007/3/5");
    EXPECT_EQ(Parsed("Monday, 05-Mar-07 23:30:00 GMT"), "2007/3/5");
    EXPECT_EQ(Parsed("Sunday, 06-Nov-94 08:49:37 GMT"), "1994/11/6");
    EXPECT_EQ(Parsed("Mon Mar  5 23:30:00 2007"), "2007/3/5");
    EXPECT_EQ(Parsed("Sun Nov 16 08:49:37 1994"), "1994/11/16");
    EXPECT_EQ(Parsed("mon, 05 mar 2007 23:30:00 gmt"), "2007/3/5");
    EXPECT_EQ(Parsed("  Mon, 5 Mar 2007 23:30:00 GMT \t"), "2007/3/5");
}

TEST(HttpDate, RejectsWhatIsNoDate)
{
    EXPECT_EQ(Parsed(""), "-");
    EXPECT_EQ(Parsed("sometime soon"), "-");
    EXPECT_EQ(Parsed("0"), "-");
    EXPECT_EQ(Parsed("Mon, 05 Foo 2007 23:30:00 GMT"), "-");
    EXPECT_EQ(Parsed("Mon, 00 Mar 2007 23:30:00 GMT"), "-");
    EXPECT_EQ(Parsed("Mon, 32 Mar 2007 23:30:00 GMT"), "-");
    EXPECT_EQ(Parsed("Mon, 05 Mar 2007 24:30:00 GMT"), "-");
    EXPECT_EQ(Parsed("Mon, 05 Mar 2007"), "-");
    EXPECT_EQ(Parsed("Mon, 05 Mar 2007 23:30:00 GMT+1"), "-");
    EXPECT_EQ(Parsed("Xyz, 05 Mar 2007 23:30:00 GMT"), "-");
    EXPECT_EQ(Parsed(std::string(200, '1').c_str()), "-");
}

TEST(HttpDate, OnlyTheExactLayoutFromEpochIsHandedToThePlatform)
{
    bool safe = false;
    Parsed("Mon, 05 Mar 2007 23:30:00 GMT", &safe);
    EXPECT_TRUE(safe);
    Parsed("Thu, 01 Jan 1970 00:00:00 GMT", &safe);
    EXPECT_TRUE(safe);
    for (const char* crashesWine : {"Mon, 5 Mar 2007 23:30:00 GMT", "Wed, 31 Dec 1969 23:59:59 GMT",
                                    "Monday, 05-Mar-07 23:30:00 GMT", "Mon Mar  5 23:30:00 2007",
                                    "Fri, 01 Jan 3000 00:00:00 GMT"}) {
        safe = true;
        EXPECT_NE(Parsed(crashesWine, &safe), "-") << crashesWine;
        EXPECT_FALSE(safe) << crashesWine;
    }
}
