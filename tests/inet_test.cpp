#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>

#include "support/loopback_http.h"
#include "web/charset_convert.h"
#include "web/charset_guess.h"
#include "web/inet.h"

// Every request goes to a server of the test's own on 127.0.0.1.
namespace {

const char kLastModified[] = "Last-Modified: Mon, 05 Mar 2007 23:30:00 GMT";

LoopbackPage Html(const std::string& body, const std::vector<std::string>& headers = {})
{
    LoopbackPage page;
    page.headers = headers;
    page.body = body;
    return page;
}

// A title buffer as the dialogs prepare it, with a guard behind it.
struct TitleBuffer {
    char text[CInet::kTitleBufferSize];
    char guard[8];
    TitleBuffer()
    {
        memset(text, 0, sizeof text);
        memset(guard, 'G', sizeof guard);
    }
    bool GuardIntact() const { return memcmp(guard, "GGGGGGGG", sizeof guard) == 0; }
};

class InetLoopback : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(server_.Running());
        ASSERT_EQ(inet_.OpenInternet(), 1);
    }
    void TearDown() override { inet_.CloseInternet(); }

    std::string Publish(const std::string& path, const LoopbackPage& page)
    {
        server_.Serve(path, page);
        return server_.Url(path);
    }

    LoopbackHttp server_;   // outlives the client's handles
    CInet inet_;
};

}  // namespace

TEST_F(InetLoopback, LastModifiedGivesTheHeadersOwnCalendarDate)
{
    char date[16];
    memset(date, '#', sizeof date);
    const std::string url = Publish("/dated", Html("<title>Dated</title>", {kLastModified}));
    EXPECT_EQ(inet_.QueryLastModified(url.c_str(), date), CInet::kDateWritten);
    EXPECT_STREQ(date, "2007/03/05");
    EXPECT_EQ(date[11], '#');

    // Late in the day in GMT stays that day: no shift to local time.
    const std::string late = Publish("/late", Html("", {"Last-Modified: Sun, 31 Dec 2006 23:59:59 GMT"}));
    EXPECT_EQ(inet_.QueryLastModified(late.c_str(), date), CInet::kDateWritten);
    EXPECT_STREQ(date, "2006/12/31");
}

TEST_F(InetLoopback, MissingOrUnreadableDateGivesOneAndLeavesTheBufferAlone)
{
    char date[16];
    memset(date, '#', sizeof date);
    const std::string plain = Publish("/undated", Html("<title>Undated</title>"));
    EXPECT_EQ(inet_.QueryLastModified(plain.c_str(), date), CInet::kNoDate);
    const std::string garbled = Publish("/garbled", Html("", {"Last-Modified: sometime soon"}));
    EXPECT_EQ(inet_.QueryLastModified(garbled.c_str(), date), CInet::kNoDate);
    const std::string empty = Publish("/empty", Html("", {"Last-Modified: "}));
    EXPECT_EQ(inet_.QueryLastModified(empty.c_str(), date), CInet::kNoDate);
    EXPECT_EQ(std::string(date, sizeof date), std::string(sizeof date, '#'));
}

TEST_F(InetLoopback, OlderDateFormsGiveTheirDateWithoutCrashing)
{
    // Each of these crashed Wine's HttpQueryInfo when asked for a SYSTEMTIME.
    const struct {
        const char* header;
        const char* date;
    } cases[] = {
        {"Last-Modified: Monday, 05-Mar-07 23:30:00 GMT", "2007/03/05"},
        {"Last-Modified: Mon Mar  5 23:30:00 2007", "2007/03/05"},
        {"Last-Modified: Mon, 5 Mar 2007 23:30:00 GMT", "2007/03/05"},
        {"Last-Modified: Wed, 31 Dec 1969 23:59:59 GMT", "1969/12/31"},
    };
    int serial = 0;
    for (const auto& c : cases) {
        char date[11] = {};
        const std::string url = Publish("/old" + std::to_string(++serial), Html("", {c.header}));
        EXPECT_EQ(inet_.QueryLastModified(url.c_str(), date), CInet::kDateWritten) << c.header;
        EXPECT_STREQ(date, c.date) << c.header;
    }
}

TEST_F(InetLoopback, NothingListeningGivesZeroAndLeavesBuffersAlone)
{
    RefusingLoopbackPort refusing;
    const unsigned short port = refusing.Port();
    ASSERT_NE(port, 0);
    const std::string url = "http://127.0.0.1:" + std::to_string(port) + "/";
    char date[12] = "untouched";
    EXPECT_EQ(inet_.QueryLastModified(url.c_str(), date), CInet::kNotOpened);
    EXPECT_STREQ(date, "untouched");

    TitleBuffer title;
    lstrcpynA(title.text, "prepared", sizeof title.text);
    EXPECT_EQ(inet_.ReadTitle(url.c_str(), title.text), 0);
    EXPECT_STREQ(title.text, "prepared");
}

TEST_F(InetLoopback, OneOpenHandleServesAListOfAddresses)
{
    // The update check: many queries between one open and one close.
    const std::string dated = Publish("/a", Html("", {kLastModified}));
    const std::string undated = Publish("/b", Html(""));
    RefusingLoopbackPort refusing;
    const std::string dead = "http://127.0.0.1:" + std::to_string(refusing.Port()) + "/c";
    for (int round = 0; round < 2; ++round) {
        char date[11] = {};
        EXPECT_EQ(inet_.QueryLastModified(dated.c_str(), date), CInet::kDateWritten);
        EXPECT_EQ(inet_.QueryLastModified(undated.c_str(), date), CInet::kNoDate);
        EXPECT_EQ(inet_.QueryLastModified(dead.c_str(), date), CInet::kNotOpened);
    }
    TitleBuffer title;
    EXPECT_EQ(inet_.ReadTitle(server_.Url("/a").c_str(), title.text), 0);   // found no title tag
    EXPECT_EQ(server_.Requests("/a"), 3);
}

TEST(Inet, CallsWithoutAnOpenHandleFailQuietly)
{
    CInet inet;
    char date[11] = {};
    TitleBuffer title;
    EXPECT_EQ(inet.QueryLastModified("http://127.0.0.1:1/", date), 0);
    EXPECT_EQ(inet.ReadTitle("http://127.0.0.1:1/", title.text), 0);
    inet.CloseInternet();
    inet.CloseInternet();
}

TEST_F(InetLoopback, TitlesInEveryCharsetComeBackRawAndConvert)
{
    struct Case {
        const char* path;
        std::string raw;
        int charset;
    };
    const Case cases[] = {
        {"/sjis", "\x93\xFA\x96{\x8C\xEA\x82\xCC\x83y\x81[\x83W\x82\xC5\x82\xB7", kCharsetShiftJis},
        {"/jis", "\x1b$BF|K\\8l$N%Z!<%8$G$9\x1b(B", kCharsetJis},
        {"/euc", "\xC6\xFC\xCB\xDC\xB8\xEC\xA4\xCE\xA5\xDA\xA1\xBC\xA5\xB8\xA4\xC7\xA4\xB9", kCharsetEucJp},
        {"/utf8", u8"日本語のページです", kCharsetUtf8},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        const std::string url = Publish(c.path, Html("<html><head>\r\n<title>\r\n" + c.raw + "\r\n</title>"));
        TitleBuffer title;
        ASSERT_EQ(inet_.ReadTitle(url.c_str(), title.text), 1);
        EXPECT_EQ(std::string(title.text), c.raw);
        EXPECT_EQ(inet_.GuessCharset(title.text), c.charset);
        CSetStrCode convert;
        char text[CSetStrCode::kTitleBufferSize] = {};
        ASSERT_EQ(convert.ConvertTitle(c.charset, title.text, text), 1);
        EXPECT_STREQ(text, "日本語のページです");
    }
}

TEST_F(InetLoopback, ReadsInChunksOf1023Bytes)
{
    // Title text cut by the boundary: joined.
    const std::string text = Publish("/text-cut", Html(std::string(1010, ' ') + "<title>Example</title>"));
    TitleBuffer title;
    EXPECT_EQ(inet_.ReadTitle(text.c_str(), title.text), 1);
    EXPECT_STREQ(title.text, "Example");

    // Opening tag cut after "<tit": the remainder of the tag stays in front.
    const std::string tag = Publish("/tag-cut", Html(std::string(1019, ' ') + "<title>Example</title>"));
    TitleBuffer cut;
    EXPECT_EQ(inet_.ReadTitle(tag.c_str(), cut.text), 1);
    EXPECT_STREQ(cut.text, "le>Example");
}

TEST_F(InetLoopback, FindsATitleAfter100KilobytesOfBody)
{
    const std::string url = Publish("/deep", Html(std::string(100 * 1024, 'x') + "<title>Deep title</title>"));
    TitleBuffer title;
    EXPECT_EQ(inet_.ReadTitle(url.c_str(), title.text), 1);
    EXPECT_STREQ(title.text, "Deep title");
}

TEST_F(InetLoopback, FollowsARedirect)
{
    Publish("/target", Html("<title>Target page</title>", {"Last-Modified: Tue, 01 Jan 2008 00:00:00 GMT"}));
    LoopbackPage moved = Html("<title>Moved</title>", {"Location: " + server_.Url("/target")});
    moved.status = "302 Found";
    const std::string url = Publish("/moved", moved);

    TitleBuffer title;
    EXPECT_EQ(inet_.ReadTitle(url.c_str(), title.text), 1);
    EXPECT_STREQ(title.text, "Target page");
    char date[11] = {};
    EXPECT_EQ(inet_.QueryLastModified(url.c_str(), date), CInet::kDateWritten);
    EXPECT_STREQ(date, "2008/01/01");
    EXPECT_EQ(server_.Requests("/target"), 2);
}

TEST_F(InetLoopback, ErrorPageIsReadLikeAnyOther)
{
    // The status is not looked at: a 404 page still opens and has a body.
    const std::string url = server_.Url("/missing");
    TitleBuffer title;
    EXPECT_EQ(inet_.ReadTitle(url.c_str(), title.text), 1);
    EXPECT_STREQ(title.text, "No such page");
    char date[11] = {};
    EXPECT_EQ(inet_.QueryLastModified(url.c_str(), date), CInet::kNoDate);
}

TEST_F(InetLoopback, ConnectionClosedMidBodyKeepsWhatWasRead)
{
    LoopbackPage cut = Html("<html><title>Cut short  ");
    cut.ending = LoopbackPage::Ending::CloseMidBody;
    const std::string url = Publish("/cut", cut);
    TitleBuffer title;
    EXPECT_EQ(inet_.ReadTitle(url.c_str(), title.text), 1);
    EXPECT_STREQ(title.text, "Cut short");

    LoopbackPage early = Html("<html><head>");
    early.ending = LoopbackPage::Ending::CloseMidBody;
    const std::string before = Publish("/early", early);
    TitleBuffer none;
    EXPECT_EQ(inet_.ReadTitle(before.c_str(), none.text), 0);
    EXPECT_STREQ(none.text, "");
}

TEST_F(InetLoopback, EndlessPageStopsAfterOneMebibyte)
{
    LoopbackPage endless = Html("<html><title>Forever ");
    endless.ending = LoopbackPage::Ending::Endless;
    const std::string url = Publish("/endless", endless);

    TitleBuffer title;
    const ULONGLONG start = GetTickCount64();
    EXPECT_EQ(inet_.ReadTitle(url.c_str(), title.text), 1);
    const ULONGLONG elapsed = GetTickCount64() - start;
    inet_.CloseInternet();

    EXPECT_EQ(strlen(title.text), 519u);
    EXPECT_EQ(std::string(title.text, 8), "Forever ");
    EXPECT_TRUE(title.GuardIntact());
    EXPECT_GE(server_.BodyBytesSent("/endless"), 1024u * 1024u);
    EXPECT_LT(elapsed, 20000u);
    printf("[ measure  ] 1 MiB endless page read in %llu ms\n", static_cast<unsigned long long>(elapsed));
}
