// Bookmark files: reading browsers' exports, planning the merge into a
// store, writing the store back out. No window code; also built natively
// with sanitizers. Japanese text is written as bytes: UTF-8 in files, code
// page 932 in the store.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bookmarks/bookmark_export.h"
#include "bookmarks/bookmark_import.h"
#include "bookmarks/bookmark_merge.h"
#include "bookmarks/bookmark_text.h"

#ifdef _WIN32
#include "bookmarks/bookmark_platform_win.h"
using SystemPlatform = WinBookmarkPlatform;
#else
#include "tests/native/iconv_platform.h"
using SystemPlatform = IconvBookmarkPlatform;
#endif

namespace {

// The system's converters, with a calendar nine hours east of UTC whatever
// the machine's zone.
class TestPlatform : public SystemPlatform {
public:
    static constexpr int64_t kOffset = 9 * 3600;

    bool LocalDay(int64_t seconds, int& year, int& month, int& day) const override
    {
        CivilFromDays((seconds + kOffset) / 86400, year, month, day);
        return seconds >= 0;
    }
    bool DaySeconds(int year, int month, int day, int64_t& seconds) const override
    {
        seconds = DaysFromCivil(year, month, day) * 86400 + 12 * 3600 - kOffset;
        return true;
    }
};

const TestPlatform& Platform()
{
    static const TestPlatform platform{};
    return platform;
}

const char kToday[] = "2024/01/02";
// "開発", "メモ", "あ" in UTF-8 and code page 932; "インポート", "新規作成" in 932.
const std::string kDevUtf8 = "\xE9\x96\x8B\xE7\x99\xBA";
const std::string kDev = "\x8A\x4A\x94\xAD";
const std::string kMemoUtf8 = "\xE3\x83\xA1\xE3\x83\xA2";
const std::string kMemo = "\x83\x81\x83\x82";
const std::string kAUtf8 = "\xE3\x81\x82";
const std::string kA = "\x82\xA0";
const std::string kImport = "\x83\x43\x83\x93\x83\x7C\x81\x5B\x83\x67";
const std::string kUnnamed = "\x90\x56\x8B\x4B\x8D\xEC\x90\xAC";

std::string Repeat(const std::string& text, size_t times)
{
    std::string out;
    for (size_t i = 0; i < times; ++i)
        out += text;
    return out;
}

BookmarkImport Read(const std::string& file)
{
    return ReadBookmarkFile(file.data(), file.size(), Platform(), kToday);
}

// "folder|note|title|address|comment|date|access" for every link read.
std::vector<std::string> Lines(const BookmarkImport& import)
{
    std::vector<std::string> lines;
    for (const ImportedNote& note : import.notes) {
        for (const ImportedEntry& e : note.entries)
            lines.push_back(note.folder + "|" + note.note + "|" + e.title + "|" + e.address + "|" +
                            e.comment + "|" + e.date + "|" + e.access);
    }
    return lines;
}

// 1700000000 is 2023/11/15 and 1262271600 is 2010/01/01 00:00 in the test zone.
const std::string kChromeStyle =
    "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n"
    "<!-- generated: <DL><A HREF=\"https://comment.example/\"> -->\n"
    "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=UTF-8\">\n"
    "<TITLE>Bookmarks</TITLE>\n<H1>Bookmarks</H1>\n<DL><p>\n"
    "    <DT><H3 ADD_DATE=\"1700000000\" LAST_MODIFIED=\"1\" PERSONAL_TOOLBAR_FOLDER=\"true\">Bar</H3>\n"
    "    <DL><p>\n"
    "        <DT><A HREF=\"https://a.example/\" ADD_DATE=\"1700000000\" ICON=\"data:image/png;base64,iVBO>Rw==\">A &amp; B</A>\n"
    "        <HR>\n"
    "        <DT><H3>" + kDevUtf8 + "</H3>\n        <DL><p>\n"
    "            <DT><H3>C++</H3>\n            <DL><p>\n"
    "                <DT><A HREF=\"https://cpp.example/?a=1&amp;b=2\" ADD_DATE=\"1700000000000\">C++ ref</A>\n"
    "                <DT><H3>Empty</H3>\n                <DL><p>\n                </DL><p>\n"
    "            </DL><p>\n"
    "            <DT><A HREF=\"https://dev.example/\" ADD_DATE=\"1262271600\" LAST_VISIT=\"1700000000\">"
    "&#12354;&#x3042;&lt;&gt;&quot;&#39;&nbsp;&bogus;&</A>\n"
    "        </DL><p>\n"
    "        <DT><A HREF=\"https://a.example/\" ADD_DATE=\"1700000000\">A again</A>\n"
    "    </DL><p>\n"
    "    <DT><A HREF=\"https://root.example/\">Root</A>\n"
    "</DL><p>\n";

struct ReadCase {
    const char* name;
    std::string file;
    std::vector<std::string> lines;
    size_t read, taken, tooLong, place, noAddress;
    bool bookmarkFile, truncated;
};

}  // namespace

TEST(BookmarkFile, ReadsBrowserExportsIntoFoldersAndNotes)
{
    const std::string dayA = "|2023/11/15|2023/11/15";
    const std::string longAddress = "https://long.example/" + std::string(1003, 'x');   // 1024 bytes
    const ReadCase cases[] = {
        {"chromium style: toolbar folder, nested three deep, separators, icons, references", kChromeStyle,
         {"Bar|Bar|A & B|https://a.example/|-" + dayA,
          "Bar|Bar|A again|https://a.example/|-" + dayA,
          "Bar|" + kDev + "|" + kA + kA + "<>\"' &bogus;&|https://dev.example/|-|2010/01/01|2023/11/15",
          "Bar|" + kDev + " / C++|C++ ref|https://cpp.example/?a=1&b=2|-" + dayA,
          "Bookmarks|Bookmarks|Root|https://root.example/|-|2024/01/02|2024/01/02"},
         5, 5, 0, 0, 0, true, false},
        {"firefox style: descriptions, place: queries, icon uris, folder description",
         "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n"
         "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=UTF-8\">\n"
         "<meta http-equiv=\"Content-Security-Policy\" content=\"default-src 'self'; img-src data: *\">\n"
         "<TITLE>Bookmarks</TITLE>\n<H1>Bookmarks Menu</H1>\n\n<DL><p>\n"
         "    <DT><A HREF=\"place:sort=8&maxResults=10\" ADD_DATE=\"1700000000\">Most Visited</A>\n"
         "    <DT><A HREF=\"https://memo.example/\" ADD_DATE=\"1700000000\" ICON_URI=\"https://memo.example/f.ico\" "
         "TAGS=\"x,y\" SHORTCUTURL=\"m\">" + kMemoUtf8 + "</A>\n"
         "    <DD>first line\nsecond &amp; last\n"
         "    <DT><H3 ADD_DATE=\"1700000000\" PERSONAL_TOOLBAR_FOLDER=\"true\">Toolbar</H3>\n"
         "    <DD>About the folder\n    <DL><p>\n"
         "        <DT><A HREF=\"https://t.example/\" ADD_DATE=\"1700000000\" LAST_VISIT=\"1262271600\">T</A>\n"
         "        <DT><A NAME=\"x\">no address</A>\n        <DT><A HREF=\" \">blank</A>\n"
         "    </DL><p>\n</DL>\n",
         {"Bookmarks Menu|Bookmarks Menu|" + kMemo + "|https://memo.example/|first line\nsecond & last" + dayA,
          "Toolbar|Toolbar|T|https://t.example/|-|2023/11/15|2010/01/01"},
         5, 2, 0, 1, 2, true, false},
        {"hand-made: BOM, CR LF, lower case, unquoted and single-quoted values, unclosed links, no H1",
         "\xEF\xBB\xBF<dl><p>\r\n<dt><a href=https://x.example/1 add_date=1700000000>I <3 one\r\n"
         "<dt><A Href='https://x.example/2'></a>\r\n"
         "<dt><a href=\"https://x.example/caf\xC3\xA9/" + kDevUtf8 + "\">cafe</a>\r\n"
         "<dt><a href=\"https://x.example/" + kDevUtf8 + "\">" + Repeat(kAUtf8, 300) + "</a>\r\n"
         "<dt><a href=\"" + longAddress + "\">long</a>\r\n"
         "<dt><h3>Tools</h3><dl><dt><h3> </h3><dl><dt><a href=\"https://x.example/3\">three</a></dl></dl>\r\n"
         "</dl>\r\n",
         {kImport + "|" + kImport + "|I <3 one|https://x.example/1|-" + dayA,
          kImport + "|" + kImport + "|https://x.example/2|https://x.example/2|-|2024/01/02|2024/01/02",
          kImport + "|" + kImport + "|cafe|https://x.example/caf%C3%A9/%E9%96%8B%E7%99%BA|-|2024/01/02|2024/01/02",
          kImport + "|" + kImport + "|" + Repeat(kA, 259) + "|https://x.example/" + kDev + "|-|2024/01/02|2024/01/02",
          "Tools|" + kUnnamed + "|three|https://x.example/3|-|2024/01/02|2024/01/02"},
         6, 5, 1, 0, 0, true, false},
        {"overlong dates, blank title and description, a title wrapped over lines",
         "<DL><DT><A HREF=\"https://d.example/\" ADD_DATE=\"9999999999999999999\" LAST_VISIT=\"1700000000000000000\">"
         "&#32;&nbsp;\r\n</A><DD>&nbsp; &#10;\n<DT><A HREF=\"https://w.example/\">Long\r\n   wrapped\xC2\xA0title</A></DL>",
         {kImport + "|" + kImport + "|https://d.example/|https://d.example/|-|2286/11/21|2023/11/15",
          kImport + "|" + kImport + "|Long wrapped title|https://w.example/|-|2024/01/02|2024/01/02"},
         2, 2, 0, 0, 0, true, false},
        {"cut inside a link's attributes", kChromeStyle.substr(0, kChromeStyle.find("?a=1")),
         {"Bar|Bar|A & B|https://a.example/|-" + dayA}, 1, 1, 0, 0, 0, true, true},
        {"cut inside a title", kChromeStyle.substr(0, kChromeStyle.find(" ref")),
         {"Bar|Bar|A & B|https://a.example/|-" + dayA,
          "Bar|" + kDev + " / C++|C++|https://cpp.example/?a=1&b=2|-" + dayA},
         2, 2, 0, 0, 0, true, true},
        {"empty file", "", {}, 0, 0, 0, 0, 0, false, false},
        {"a web page with links but no list",
         "<html><body><a href=\"https://x.example/\">x</a></body></html>", {}, 0, 0, 0, 0, 0, false, false},
        {"binary", std::string("\x89PNG\r\n\x1A\n\0\0<<<>>>&#;<!--", 23), {}, 0, 0, 0, 0, 0, false, false},
    };
    for (const ReadCase& c : cases) {
        SCOPED_TRACE(c.name);
        const BookmarkImport import = Read(c.file);
        EXPECT_EQ(Lines(import), c.lines);
        EXPECT_EQ(import.linksRead, c.read);
        EXPECT_EQ(import.taken, c.taken);
        EXPECT_EQ(import.tooLong, c.tooLong);
        EXPECT_EQ(import.placeQueries, c.place);
        EXPECT_EQ(import.noAddress, c.noAddress);
        EXPECT_EQ(import.isBookmarkFile, c.bookmarkFile);
        EXPECT_EQ(import.truncated, c.truncated);
    }
}

TEST(BookmarkFile, DecodesTheDeclaredCharacterSet)
{
    const std::string body = "><DL><DT><H3>%s</H3><DL><DT><A HREF=\"https://s.example/\">%s</A></DL></DL>";
    auto file = [&](const std::string& head, const std::string& folder, const std::string& title) {
        std::string out = head + body;
        out.replace(out.find("%s"), 2, folder);
        out.replace(out.find("%s"), 2, title);
        return out;
    };
    std::string utf16;
    for (char c : "\xFF\xFE" + file("<META CHARSET=utf-8", "a", "b"))
        utf16 += std::string(1, c) + (c == '\xFF' || c == '\xFE' ? "" : std::string(1, '\0'));
    const std::string eucDev = "\xB3\xAB\xC8\xAF";
    const std::string eucMemo = "\xA5\xE1\xA5\xE2";
    const std::string jisDev = "\x1B$B3+H/\x1B(B";
    const struct {
        const char* name;
        std::string file;
        std::string line;
        bool unknown;
        const char* assumed;
        size_t lost;
    } cases[] = {
        {"Shift_JIS", file("<META CONTENT=\"text/html; charset=Shift_JIS\"", kDev, kMemo), kDev + "|" + kMemo, false, "", 0},
        {"EUC-JP", file("<meta charset='euc-jp'", eucDev, eucMemo), kDev + "|" + kMemo, false, "", 0},
        {"UTF-16 with byte order mark", utf16, "a|b", false, "", 0},
        {"unknown set read as UTF-8", file("<meta charset=x-no-such-set", kDevUtf8, "t"), kDev + "|t", true, "", 0},
        {"undeclared Shift-JIS", file("<x", kDev, kMemo), kDev + "|" + kMemo, false, "Shift_JIS", 0},
        {"undeclared EUC-JP", file("<x", eucDev, eucMemo), kDev + "|" + kMemo, false, "EUC-JP", 0},
        {"undeclared ISO-2022-JP", file("<x", jisDev, "\x1B$B%a%b\x1B(B"), kDev + "|" + kMemo, false, "ISO-2022-JP", 0},
        {"undeclared UTF-8", file("<x", kDevUtf8, kMemoUtf8), kDev + "|" + kMemo, false, "UTF-8", 0},
        {"UTF-8 declared, EUC-JP written", file("<meta charset=utf-8", eucDev, eucMemo), kDev + "|" + kMemo, false, "EUC-JP", 0},
        {"UTF-8 declared, one stray byte", file("<meta charset=utf-8", kDevUtf8, "a\xFF"), kDev + "|a?", false, "UTF-8", 1},
        {"x-mac-roman", file("<meta charset=X-Mac-Roman", "caf\x8E", "\xA5"), "caf?|?", false, "", 2},
        {"lost to code page 932", file("<x", "caf\xC3\xA9", "\xE2\x82\xAC"), "caf?|?", false, "UTF-8", 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const BookmarkImport import = Read(c.file);
        ASSERT_FALSE(import.notes.empty());
        EXPECT_EQ(import.notes.back().folder + "|" + import.notes.back().entries[0].title, c.line);
        EXPECT_EQ(import.unknownCharset, c.unknown);
        EXPECT_EQ(import.assumedCharset, c.assumed);
        EXPECT_EQ(import.lostCharacters, c.lost);
    }
}

TEST(BookmarkFile, AnyPrefixOfAFileReadsSafely)
{
    // Every cut of a real file: never more than the whole, every value
    // within its field and never empty.
    const BookmarkImport whole = Read(kChromeStyle);
    const size_t opened = kChromeStyle.find("<DL><p>") + 4;
    const size_t closed = kChromeStyle.rfind("</DL>") + 5;
    for (size_t n = 0; n <= kChromeStyle.size(); ++n) {
        const BookmarkImport part = Read(kChromeStyle.substr(0, n));
        size_t entries = 0;
        for (const ImportedNote& note : part.notes) {
            EXPECT_TRUE(!note.folder.empty() && note.folder.size() <= kNameBytes);
            EXPECT_TRUE(note.note.size() <= kNameBytes && (!note.note.empty() || note.entries.empty()));
            for (const ImportedEntry& e : note.entries) {
                EXPECT_TRUE(!e.title.empty() && e.title.size() <= kTitleBytes);
                EXPECT_TRUE(!e.address.empty() && e.address.size() <= kAddressBytes);
                EXPECT_TRUE(!e.comment.empty() && e.date[0] != '\0' && e.access[0] != '\0');
            }
            entries += note.entries.size();
        }
        EXPECT_EQ(entries, part.taken);
        EXPECT_LE(part.taken, whole.taken);
        EXPECT_TRUE(part.truncated || n < opened || n >= closed) << n;
    }
}

TEST(BookmarkFile, ProgressSeesLinksAndCanStopTheRead)
{
    std::string file = "<DL>";
    for (int i = 0; i < 1000; ++i)
        file += "<DT><A HREF=\"https://p.example/" + std::to_string(i) + "\">p</A>\n";
    size_t calls = 0;
    size_t lastLinks = 0;
    const BookmarkImport all = ReadBookmarkFile(file.data(), file.size(), Platform(), kToday,
                                                [&](size_t links, size_t done, size_t total) {
                                                    ++calls;
                                                    EXPECT_GE(links, lastLinks);
                                                    EXPECT_LE(done, total);
                                                    lastLinks = links;
                                                    return true;
                                                });
    EXPECT_EQ(all.taken, 1000u);
    EXPECT_GE(calls, 3u);
    EXPECT_EQ(lastLinks, 1000u);
    const BookmarkImport stopped = ReadBookmarkFile(file.data(), file.size(), Platform(), kToday,
                                                    [](size_t links, size_t, size_t) { return links < 300; });
    EXPECT_TRUE(stopped.cancelled);
    EXPECT_TRUE(stopped.notes.empty());
}

namespace {

// Notes of `count` entries whose addresses are "<note>-0", "<note>-1"...
struct NoteShape {
    std::string name;
    int count;
};
struct FolderShape {
    std::string name;
    std::vector<NoteShape> notes;
};

std::vector<FolderRecord> MakeStore(const std::vector<FolderShape>& folders)
{
    std::vector<FolderRecord> store(folders.size());
    for (size_t f = 0; f < folders.size(); ++f) {
        store[f].name = folders[f].name.c_str();
        for (const NoteShape& shape : folders[f].notes) {
            NoteRecord note;
            note.name = shape.name.c_str();
            note.entries.resize(static_cast<size_t>(shape.count));
            for (int e = 0; e < shape.count; ++e)
                note.entries[static_cast<size_t>(e)].list = shape.name + "-" + std::to_string(e);
            store[f].notes.push_back(std::move(note));
        }
    }
    return store;
}

ImportedNote Group(const std::string& folder, const std::string& note, const std::vector<std::string>& addresses)
{
    ImportedNote group{folder, note, {}};
    for (const std::string& address : addresses) {
        ImportedEntry entry;
        entry.address = address;
        entry.title = address;
        group.entries.push_back(entry);
    }
    return group;
}

// "+" marks what is created: "Work@0{Work@0:1 +Notes@2:1}".
std::string Describe(const MergePlan& plan)
{
    std::string out;
    for (const PlannedFolder& folder : plan.folders) {
        out += (out.empty() ? "" : " ") + std::string(folder.created ? "+" : "") + folder.name + "@" +
               std::to_string(folder.position) + "{";
        for (const PlannedNote& note : folder.notes)
            out += (&note == &folder.notes.front() ? "" : " ") + std::string(note.created ? "+" : "") + note.name +
                   "@" + std::to_string(note.position) + ":" + std::to_string(note.entries.size());
        out += "}";
    }
    return out;
}

}  // namespace

TEST(BookmarkFile, MergePlanReusesNamesSkipsDuplicatesAndSplitsFullContainers)
{
    const std::string name259(kNameBytes, 'n');
    std::vector<NoteShape> thousandNotes;
    for (int i = 0; i < kMaxChildren; ++i)
        thousandNotes.push_back({"n" + std::to_string(i), 0});
    std::vector<FolderShape> fullRoot;
    for (int i = 0; i < kMaxChildren - 1; ++i)
        fullRoot.push_back({"d" + std::to_string(i), {}});
    const struct {
        const char* name;
        std::vector<FolderShape> store;
        std::vector<ImportedNote> import;
        std::string plan;
        size_t added, duplicates, noRoom;
    } cases[] = {
        {"existing folder and notes receive; duplicates in the store and in the import are skipped",
         {{"Other", {}}, {"Work", {{"Work", 1}, {"Docs", 1}}}},
         {Group("Work", "Work", {"Work-0", "c", "c"}), Group("Work", "Notes", {"d", "Docs-0"}),
          Group("Work", "Docs", {"Docs-0", "e"})},
         "Work@1{Work@0:1 Docs@1:1 +Notes@2:2}", 4, 3, 0},
        {"names compare as exact bytes", {{"Work", {{"Work", 1}}}}, {Group("work", "Work", {"Work-0"})},
         "+work@1{+Work@0:1}", 1, 0, 0},
        {"a full note goes on in \"name (2)\"", {{"F", {{"F", 999}}}}, {Group("F", "F", {"a", "b", "c"})},
         "F@0{F@0:1 +F (2)@1:2}", 3, 0, 0},
        {"every part of a note is searched for duplicates", {{"F", {{"F", 1000}, {"F (2)", 1}}}},
         {Group("F", "F", {"F (2)-0", "F-999", "new"})}, "F@0{F (2)@1:1}", 1, 2, 0},
        {"a full folder goes on in \"name (2)\"", {{"F", thousandNotes}}, {Group("F", "x", {"a"})},
         "+F (2)@1{+x@0:1}", 1, 0, 0},
        {"a continued name is cut to fit", {{"F", {{name259, 1000}}}}, {Group("F", name259, {"a"})},
         "F@0{+" + name259.substr(0, kNameBytes - 4) + " (2)@1:1}", 1, 0, 0},
        {"the store's last folder is the limit", fullRoot, {Group("A", "A", {"a"}), Group("B", "B", {"b", "c"})},
         "+A@999{+A@0:1}", 1, 0, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<FolderRecord> store = MakeStore(c.store);
        const MergePlan plan = PlanMerge(store, c.import);
        EXPECT_EQ(Describe(plan), c.plan);
        EXPECT_EQ(plan.added, c.added);
        EXPECT_EQ(plan.duplicates, c.duplicates);
        EXPECT_EQ(plan.noRoom, c.noRoom);
        // Applied once, the same import again adds nothing.
        ASSERT_TRUE(ApplyMergePlan(plan, store));
        const MergePlan again = PlanMerge(store, c.import);
        EXPECT_EQ(again.added, 0u);
        EXPECT_EQ(again.duplicates + again.noRoom, c.added + c.duplicates + c.noRoom);
    }
}

TEST(BookmarkFile, ThousandsOfLinksInOneFolderSplitIntoNotesOfAThousand)
{
    std::string file = "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<DL><p>\n<DT><H3>Many</H3>\n<DL><p>\n";
    for (int i = 0; i < 2500; ++i)
        file += "<DT><A HREF=\"https://m.example/" + std::to_string(i) + "\" ADD_DATE=\"1700000000\">m</A>\n";
    file += "</DL><p>\n</DL><p>\n";
    const BookmarkImport import = Read(file);
    ASSERT_EQ(import.taken, 2500u);
    const MergePlan plan = PlanMerge({}, import.notes);
    EXPECT_EQ(Describe(plan), "+Many@0{+Many@0:1000 +Many (2)@1:1000 +Many (3)@2:500}");
    EXPECT_EQ(plan.folders[0].notes[2].entries.back().address, "https://m.example/2499");
}

TEST(BookmarkFile, ExportReadsBackUnchanged)
{
    // New folders and notes are all named 新規作成: siblings of one name.
    std::vector<FolderRecord> store =
        MakeStore({{kDev, {{kDev, 0}, {"C++ / Tools", 0}, {"empty", 0}}},
                   {"Plain & <simple>", {{"Links", 0}}},
                   {"empty", {}},
                   {kUnnamed, {{kUnnamed, 0}, {kUnnamed, 0}}},
                   {kUnnamed, {{kUnnamed, 0}}}});
    const struct {
        int folder, note;
        std::string title, address, comment, date, access;
    } entries[] = {
        {0, 0, kMemo + " & \"<tags>\" ' ", "https://x.example/?a=1&b=\"2\"", "-", "2023/11/15", "2024/01/02"},
        {0, 0, " \tspaced  \r\nout ", "https://x.example/" + kDev, "line 1\r\nline 2\n\n", "1999/12/31", "2000/01/01"},
        {0, 1, "&amp; stays text", "https://y.example/", " " + kA + " ", "2024/02/29", "2024/02/29"},
        {1, 0, "https://z.example/", "https://z.example/", "&#12354;", "1970/01/01", "9999/12/31"},
        {3, 1, "second", "https://same.example/", "-", "2024/01/02", "2024/01/02"},
        {4, 0, "third", "https://same.example/", "-", "2024/01/02", "2024/01/02"},
    };
    for (const auto& e : entries) {
        EntryRecord record;
        record.title = e.title.c_str();
        record.list = e.address.c_str();
        record.comment = e.comment.c_str();
        snprintf(record.date, sizeof record.date, "%s", e.date.c_str());
        snprintf(record.access, sizeof record.access, "%s", e.access.c_str());
        store[static_cast<size_t>(e.folder)].notes[static_cast<size_t>(e.note)].entries.push_back(record);
    }
    const std::string file = WriteBookmarkFile(store, Platform());
    EXPECT_EQ(file.find("<!DOCTYPE NETSCAPE-Bookmark-file-1>\n"), 0u);
    EXPECT_NE(file.find("charset=UTF-8"), std::string::npos);
    EXPECT_NE(file.find("<DT><H3>" + kDevUtf8 + "</H3>"), std::string::npos);
    EXPECT_NE(file.find("HREF=\"https://x.example/?a=1&amp;b=&quot;2&quot;\" ADD_DATE=\"1700017200\""),
              std::string::npos);

    const BookmarkImport import = Read(file);
    EXPECT_FALSE(import.truncated);
    std::vector<FolderRecord> back;
    ASSERT_TRUE(ApplyMergePlan(PlanMerge(back, import.notes), back));
    // Into the store it came from, the file adds nothing.
    const MergePlan again = PlanMerge(store, import.notes);
    EXPECT_EQ(Describe(again), "");
    EXPECT_EQ(again.duplicates, 6u);
    ASSERT_EQ(back.size(), store.size());
    for (size_t f = 0; f < store.size(); ++f) {
        EXPECT_STREQ(back[f].name, store[f].name);
        ASSERT_EQ(back[f].notes.size(), store[f].notes.size());
        for (size_t n = 0; n < store[f].notes.size(); ++n) {
            const NoteRecord& want = store[f].notes[n];
            const NoteRecord& got = back[f].notes[n];
            EXPECT_STREQ(got.name, want.name);
            ASSERT_EQ(got.entries.size(), want.entries.size());
            for (size_t e = 0; e < want.entries.size(); ++e) {
                EXPECT_STREQ(got.entries[e].title, want.entries[e].title);
                EXPECT_STREQ(got.entries[e].list, want.entries[e].list);
                EXPECT_STREQ(got.entries[e].comment, want.entries[e].comment);
                EXPECT_STREQ(got.entries[e].date, want.entries[e].date);
                EXPECT_STREQ(got.entries[e].access, want.entries[e].access);
                EXPECT_STREQ(got.entries[e].update, "-");
            }
        }
    }
}

TEST(BookmarkFile, SystemCalendarTurnsADayIntoSecondsAndBack)
{
    const SystemPlatform system{};
    const int days[][3] = {{1970, 1, 2}, {2000, 2, 29}, {2024, 3, 31}, {2024, 10, 27}, {2038, 1, 20}, {9999, 12, 30}};
    for (const auto& d : days) {
        int64_t seconds = 0;
        int year = 0;
        int month = 0;
        int day = 0;
        ASSERT_TRUE(system.DaySeconds(d[0], d[1], d[2], seconds));
        ASSERT_TRUE(system.LocalDay(seconds, year, month, day));
        EXPECT_EQ(year * 10000 + month * 100 + day, d[0] * 10000 + d[1] * 100 + d[2]);
    }
}
