#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "web/title_scan.h"

// Built in both the Windows and the sanitizer build: bytes only.
namespace {

struct ScanResult {
    bool found;
    std::string title;
};

ScanResult ScanChunks(const std::vector<std::string>& chunks, size_t bodyLimit = TitleScan::kBodyLimit)
{
    TitleScan scan(bodyLimit);
    for (const std::string& chunk : chunks) {
        if (!scan.Feed(chunk.data(), chunk.size()))
            break;
    }
    scan.Finish();
    return {scan.Found(), std::string(scan.Title(), scan.Length())};
}

// A literal with its embedded zero bytes.
template <size_t N>
std::string Bytes(const char (&text)[N])
{
    return std::string(text, N - 1);
}

ScanResult Scan(const std::string& page)
{
    return ScanChunks({page});
}

// The page cut once at `at`.
ScanResult ScanSplit(const std::string& page, size_t at)
{
    return ScanChunks({page.substr(0, at), page.substr(at)});
}

}  // namespace

TEST(TitleScan, OnlyTheTwoExactTagSpellingsCount)
{
    EXPECT_EQ(Scan("<html><title>Example</title></html>").title, "Example");
    EXPECT_EQ(Scan("<HTML><TITLE>Example</TITLE></HTML>").title, "Example");
    EXPECT_EQ(Scan("<title>Example</TITLE>").title, "Example");
    EXPECT_EQ(Scan("<TITLE>Example</title>").title, "Example");
    // Any tag that starts with the six characters opens a title.
    EXPECT_EQ(Scan("<titles>Example</title>").title, "Example");

    ScanResult mixed = Scan("<Title>Example</Title>");
    EXPECT_FALSE(mixed.found);
    EXPECT_EQ(mixed.title, "");
    ScanResult none = Scan("<html><head></head><body>no title</body></html>");
    EXPECT_FALSE(none.found);
    EXPECT_EQ(none.title, "");
    ScanResult empty = Scan("<title></title>");
    EXPECT_TRUE(empty.found);
    EXPECT_EQ(empty.title, "");
}

TEST(TitleScan, LowerCaseClosingTagWinsOverAnEarlierUpperCaseOne)
{
    EXPECT_EQ(Scan("<title>A</TITLE>B</title>").title, "A</TITLE>B");
    // The lower-case opening tag is searched first in the whole chunk.
    EXPECT_EQ(Scan("<TITLE>A</TITLE><title>B</title>").title, "B");
}

TEST(TitleScan, SkipsAttributesControlBytesAndSpacesBeforeTheText)
{
    EXPECT_EQ(Scan("<title lang=ja>  Example  </title>").title, "Example");
    EXPECT_EQ(Scan("<title>\r\n\tExample</title>").title, "Example");
    EXPECT_EQ(Scan("<title>\x7f\x01\x1f  Example</title>").title, "Example");
    // The escape byte that opens a JIS title stays.
    EXPECT_EQ(Scan("<title>\r\n\x1b$B$\"\x1b(B</title>").title, "\x1b$B$\"\x1b(B");
    // Controls first, then spaces: a tab after a space is text.
    EXPECT_EQ(Scan("<title> \tExample</title>").title, "\tExample");
    // Bytes of 0x80 and above are text (a full-width space in Shift-JIS).
    EXPECT_EQ(Scan("<title>\x81\x40" "Example</title>").title, "\x81\x40" "Example");
}

TEST(TitleScan, TrimsSpacesBeforeLineBreaks)
{
    EXPECT_EQ(Scan("<title>Example \r\n</title>").title, "Example ");
    EXPECT_EQ(Scan("<title>Example\r\n  </title>").title, "Example");
    EXPECT_EQ(Scan("<title>Example\n\r\n</title>").title, "Example");
    EXPECT_EQ(Scan("<title>Example\t</title>").title, "Example\t");
    ScanResult blank = Scan("<title> \r\n </title>");
    EXPECT_TRUE(blank.found);
    EXPECT_EQ(blank.title, "");
}

TEST(TitleScan, ZeroByteEndsTheChunkText)
{
    EXPECT_EQ(Scan(Bytes("<title>Ex\0ample</title>")).title, "Ex");
    EXPECT_FALSE(Scan(Bytes("\0<title>Example</title>")).found);
    // The next chunk is searched again from its own start.
    EXPECT_EQ(ScanChunks({Bytes("<title>Ex\0am"), "ple</title>"}).title, "Exple");
}

TEST(TitleScan, TitleSplitAcrossChunksIsJoined)
{
    EXPECT_EQ(ScanChunks({"...<title>Exa", "mple</title>..."}).title, "Example");
    // A boundary anywhere in the text or right at either tag joins cleanly.
    const std::string page = "<p><title>Example</title><p>";
    for (size_t at = page.find('>', 3) + 1; at <= page.find("</title>"); ++at)
        EXPECT_EQ(ScanSplit(page, at).title, "Example") << "cut at " << at;
}

TEST(TitleScan, CutOpeningTagLeavesItsRemainder)
{
    EXPECT_EQ(ScanChunks({"...<tit", "le>Example</title>"}).title, "le>Example");
    EXPECT_EQ(ScanChunks({"<title lang", "=ja>Example</title>"}).title, "=ja>Example");
    const std::string page = "<p><title>Example</title>";
    const size_t open = page.find("<title>");
    for (size_t at = open + 1; at < open + 7; ++at) {
        ScanResult r = ScanSplit(page, at);
        EXPECT_TRUE(r.found);
        EXPECT_EQ(r.title, page.substr(at, open + 7 - at) + "Example") << "cut at " << at;
    }
    // A closing tag with no opening tag anywhere still yields the chunk's start.
    EXPECT_EQ(Scan("stray</title>").title, "stray");
}

TEST(TitleScan, CutClosingTagLeavesTheTextUnclosed)
{
    const std::string page = "<title>Example</title><p>after";
    const size_t close = page.find("</title>");
    for (size_t at = close + 1; at < close + 8; ++at) {
        ScanResult r = ScanSplit(page, at);
        EXPECT_TRUE(r.found);
        EXPECT_EQ(r.title, page.substr(7, at - 7)) << "cut at " << at;
    }
}

TEST(TitleScan, MiddleChunksWithoutTagsContributeNothing)
{
    EXPECT_EQ(ScanChunks({"<title>Ex", "lost", "ample</title>"}).title, "Example");
    // A second opening tag in a later chunk appends to what is held.
    EXPECT_EQ(ScanChunks({"<title>A", "<title>B</title>"}).title, "AB");
    // Unclosed up to the end of data: what was collected stays.
    ScanResult open = ScanChunks({"<title>Partial\r\n  ", "more body"});
    EXPECT_TRUE(open.found);
    EXPECT_EQ(open.title, "Partial");
}

TEST(TitleScan, StopsAtTheClosingTag)
{
    TitleScan scan;
    EXPECT_TRUE(scan.Feed("<title>A", 8));
    EXPECT_FALSE(scan.Feed("B</title>", 9));
    EXPECT_FALSE(scan.Feed("<title>C</title>", 16));
    scan.Finish();
    EXPECT_STREQ(scan.Title(), "AB");
    EXPECT_EQ(scan.BodyBytes(), 17u);
}

TEST(TitleScan, KeepsAtMost519Bytes)
{
    const std::string exact(519, 'x');
    EXPECT_EQ(Scan("<title>" + exact + "</title>").title, exact);
    EXPECT_EQ(Scan("<title>" + exact + "y</title>").title, exact);
    // The cap spans chunks, and the scan still runs on to the closing tag.
    TitleScan scan;
    const std::string part(300, 'a');
    EXPECT_TRUE(scan.Feed(("<title>" + part).data(), 307));
    EXPECT_TRUE(scan.Feed(("<title>" + part).data(), 307));
    EXPECT_FALSE(scan.Feed("</title>", 8));
    scan.Finish();
    EXPECT_EQ(scan.Length(), 519u);
    EXPECT_EQ(scan.Title()[519], '\0');
}

TEST(TitleScan, BodyLimitEndsAnEndlessPage)
{
    ScanResult r = ScanChunks({"<title>Endless  ", "filler", "filler", "never read</title>"}, 16);
    EXPECT_TRUE(r.found);
    EXPECT_EQ(r.title, "Endless");

    // One mebibyte in 1023-byte reads: the 1026th read crosses it.
    TitleScan scan;
    const std::string first = "<title>Never closed" + std::string(1023 - 19, ' ');
    const std::string filler(1023, '\0');
    size_t reads = 1;
    bool more = scan.Feed(first.data(), first.size());
    while (more && reads < 5000) {
        more = scan.Feed(filler.data(), filler.size());
        ++reads;
    }
    scan.Finish();
    EXPECT_EQ(reads, 1026u);
    EXPECT_GE(scan.BodyBytes(), TitleScan::kBodyLimit);
    EXPECT_STREQ(scan.Title(), "Never closed");
}
