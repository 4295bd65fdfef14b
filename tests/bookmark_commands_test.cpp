// Import and export of browsers' bookmark files through the frame's
// commands: the file dialogs are answered with a typed path, the import
// dialog runs on its own, every message box is answered and recorded.
// Files are UTF-8 (u8 literals); store values are code page 932.
#include <gtest/gtest.h>

#include "resources/resource.h"
#include "bookmarks/bookmark_files.h"
#include "bookmarks/bookmark_import.h"
#include "bookmarks/bookmark_platform_win.h"
#include "support/dialog_watcher.h"
#include "support/frame_fixture.h"
#include "support/modal_driver.h"
#include "support/store_fixture.h"

namespace {

const char kOpenTitle[] = "ブックマークファイルを開く";
// Noon UTC of 2023/11/15 and 11/16: the same days in every zone of the test machines.
const char kNov15[] = " ADD_DATE=\"1700049600\"";
const char kNov15Nov16[] = " ADD_DATE=\"1700049600\" LAST_VISIT=\"1700136000\"";

std::string BookmarkFile(const std::string& body)
{
    return "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; "
           "charset=UTF-8\">\n<TITLE>Bookmarks</TITLE>\n<H1>Bookmarks</H1>\n<DL><p>\n" + body + "</DL><p>\n";
}

std::string Link(const std::string& href, const std::string& title, const std::string& attributes = kNov15)
{
    return "<DT><A HREF=\"" + href + "\"" + attributes + ">" + title + "</A>\n";
}

std::string H3(const std::string& name, const std::string& body)
{
    return "<DT><H3>" + name + "</H3>\n<DL><p>\n" + body + "</DL><p>\n";
}

ExpectedEntry Imported(int id, const std::string& title, const std::string& list,
                       const std::string& comment = "-", const std::string& access = "2023/11/15")
{
    return ExpectedEntry{std::to_string(id), "1", "1", "2023/11/15", access, "-", list, title, comment};
}

std::string FirstLine(const std::string& text)
{
    return text.substr(0, text.find('\n'));
}

class BookmarkCommands : public FrameTest {
protected:
    // The command through the frame with the tree focused, its file dialog
    // answered with path; the message boxes it showed.
    std::vector<SeenBox> Run(int command, const std::string& path, int* prompts = nullptr)
    {
        FileDialogDriver driver(path, command == ID_IMPORT ? kOpenTitle : "ブックマークファイルの保存");
        SetFocus(Tree());
        SendMessageA(Frame(), WM_COMMAND, command, 0);
        if (prompts != nullptr)
            *prompts = driver.Prompts();
        return driver.Boxes();
    }
    std::vector<SeenBox> Import(const std::string& name, const std::string& bytes)
    {
        EXPECT_TRUE(WriteWholeFile(folder_.File(name), bytes));
        return Run(ID_IMPORT, folder_.File(name));
    }
};

}  // namespace

TEST_F(BookmarkCommands, ImportMergesIntoTheStoreAndCountsWhatItCouldNotTake)
{
    ExpectedEntry a = SampleEntry(0, "A");
    a.list = "https://a.example/";
    // Held elsewhere in another spelling: added, and counted as such.
    ExpectedEntry cpp = SampleEntry(0, "cpp");
    cpp.list = "HTTPS://CPP.example:443/";
    StartWithStore({Folder(0, "Bar", {Note(0, "Bar", {a}), Note(1, "Other", {cpp})}), Folder(1, "開発")});
    Show();
    Select(0, 0);
    const std::string before = StoreBytes();
    const std::vector<SeenBox> boxes = Import("chrome.html", BookmarkFile(
        "<DT><H3 ADD_DATE=\"1\" PERSONAL_TOOLBAR_FOLDER=\"true\">Bar</H3>\n<DL><p>\n" +
        Link("https://a.example/", "A again") +
        Link("https://b.example/", "B &amp; C&#1;]]&gt;", std::string(kNov15Nov16) + " ICON=\"data:,iVBO\"") +
        "<DD>note\r\non B\n<HR>\n" + Link("place:sort=8&amp;maxResults=10", "Recent") +
        "<DT><A ADD_DATE=\"1\">no address</A>\n" + Link("https://long.example/" + std::string(1100, 'x'), "long") +
        "</DL><p>\n" + H3(u8"開発", H3("C++", Link("https://cpp.example/", "&#12354;&#x3044;"))) +
        Link("https://root.example/", "")));

    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption + "/" + boxes[0].icon, "インポート/information");
    EXPECT_EQ(boxes[0].text,
              "インポートしました。\n\n追加したリンク: 3 件\n　うち、コレクションの別の場所にもあるリンク: 1 件\n"
              "重複のため追加しなかったリンク: 1 件\n取り込めなかったリンク: 3 件\n　アドレスが長すぎる (1023 バイトまで): 1 件\n"
              "　place: のアドレス (ブラウザの検索条件): 1 件\n　アドレスがない: 1 件");
    EXPECT_TRUE(StoreHolds(storePath_, {
        Folder(0, "Bar", {Note(0, "Bar", {a, Imported(1, "B & C?]]>", "https://b.example/", "note\r\non B", "2023/11/16")}),
                          Note(1, "Other", {cpp})}),
        Folder(1, "開発", {Note(0, "C++", {Imported(0, "あい", "https://cpp.example/")})}),
        Folder(2, "Bookmarks", {Note(0, "Bookmarks", {Imported(0, "https://root.example/", "https://root.example/")})}),
    }, StoreCheck{true, StoreLayout::Indented}));
    std::string backup;
    ASSERT_TRUE(ReadWholeFile(folder_.File("links_old.xml"), &backup));
    EXPECT_EQ(backup, before) << "the store before the import is one step back";
    // The views show the file: new folders, the new entry in the list of
    // the note that stays selected, the new size.
    EXPECT_EQ(TreeView_GetCount(Tree()), 7u);
    EXPECT_EQ(Column(kTitleColumn), (std::vector<std::string>{"A", "B & C?]]>"}));
    char size[128];
    CINI::FormatFileSize(static_cast<int>(StoreBytes().size()), size);
    EXPECT_EQ(StatusText(2), size);
}

TEST_F(BookmarkCommands, ExportThenImportIntoAnEmptyStoreGivesBackEveryValue)
{
    const ExpectedEntry marked{"0", "7", "0", "2020/02/29", "2024/12/31", "2021/01/01",
                               "https://x.example/?q=a&b=<c>", "Q&A <tips> \"quoted\"", "よく使う＆便利"};
    const ExpectedEntry lines{"0", "2", "1", "1999/12/31", "2038/01/20", "-", "http://example.com/表", "  spaced  ",
                              "一行目\n二行目"};
    StoreTree tree = {Folder(0, "仕事", {Note(0, "資料", {marked}), Note(1, "news", SampleEntries(3, "ニュース"))}),
                      Folder(1, "趣味 & 旅行", {Note(0, "旅行 / 海外", {lines})})};
    StartWithStore(tree);
    Show();
    const std::string exported = folder_.File("out.html");
    std::vector<SeenBox> boxes = Run(ID_EXPORT, exported);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption + "/" + boxes[0].text, "エクスポート/5 件のリンクをエクスポートしました。\n\n" + exported);

    ASSERT_TRUE(Child().store.CreateStoreFile(storePath_.c_str()));
    Child().store.ReloadSnapshot();
    boxes = Run(ID_IMPORT, exported);
    ASSERT_EQ(boxes.size(), 1u);
    // What an import cannot know starts afresh: count, state, page date.
    for (ExpectedFolder& folder : tree) {
        for (ExpectedNote& note : folder.notes) {
            for (ExpectedEntry& e : note.entries) {
                e.count = e.valid = "1";
                e.update = "-";
            }
        }
    }
    EXPECT_TRUE(StoreHolds(storePath_, tree));
}

TEST_F(BookmarkCommands, ThousandsOfLinksInOneFolderFillNotesOfAThousand)
{
    StartWithStore({});
    Show();
    std::string links;
    for (int i = 0; i < 2500; ++i)
        links += Link("https://m.example/" + std::to_string(i), "m");
    const std::vector<SeenBox> boxes = Import("many.html", BookmarkFile(H3(u8"多い", links)));
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].text.find("追加したリンク: 2500 件"), std::string::npos) << boxes[0].text;

    // name:entries:first address:last id, note by note
    std::vector<std::string> notes;
    for (const NoteRecord& note : Child().store.Snapshot().at(0).notes)
        notes.push_back(std::string(note.name) + ":" + std::to_string(note.entries.size()) + ":" +
                        note.entries.front().list + ":" + note.entries.back().id);
    EXPECT_EQ(notes, (std::vector<std::string>{"多い:1000:https://m.example/0:999",
                                               "多い (2):1000:https://m.example/1000:999",
                                               "多い (3):500:https://m.example/2000:499"}));
}

TEST_F(BookmarkCommands, CancelWhileReadingLeavesTheStoreAsItWas)
{
    StartWithStore(SmallTree());
    Show();
    const std::string before = StoreBytes();
    // About 20 MB: the read takes far longer than a press of キャンセル.
    const std::string line = Link("https://big.example/articles/0123456789?ref=bookmarks&amp;page=2",
                                  "A long enough title for a link of a big bookmark file");
    std::string links;
    links.reserve(line.size() * 150000);
    for (int i = 0; i < 150000; ++i)
        links += line;
    const std::string path = folder_.File("big.html");
    ASSERT_TRUE(WriteWholeFile(path, BookmarkFile(H3("big", links))));

    FileDialogDriver driver(path, kOpenTitle);
    bool sawDialog = false;
    ASSERT_TRUE(DriveModal([&] { SendMessageA(TreeHost(), WM_COMMAND, ID_IMPORT, 0); }, "インポート",
                           [&](HWND dialog) {
                               sawDialog = dialog != nullptr;
                               if (sawDialog)
                                   PressButton(dialog, IDCANCEL);
                           }));
    EXPECT_TRUE(sawDialog);
    EXPECT_EQ(StoreBytes(), before);
    EXPECT_FALSE(FileExists(folder_.File("links_old.xml"))) << "nothing was to be written";
    EXPECT_TRUE(driver.Boxes().empty()) << "a cancel needs no message";
}

TEST_F(BookmarkCommands, FilesThatCannotBeImportedSaySoAndLeaveTheStore)
{
    StartWithStore(SmallTree());
    Show();
    std::string garbage;
    for (int i = 0; i < 64 * 256; ++i)
        garbage += static_cast<char>(i * 7);
    const std::string refused = "ブックマークファイルではありません。インポートしませんでした。";
    // One link more than an import takes, also in UTF-16.
    std::string many;
    for (size_t i = 0; i <= kMaxImportLinks; ++i)
        many += "<DT><A HREF=\"https://a.example/\">t</A>\n";
    many = BookmarkFile(many);
    std::string many16 = "\xFF\xFE";
    for (char c : many)
        many16 += std::string{c, '\0'};
    const std::string tooMany = "リンクが多すぎます (約 " + std::to_string(kMaxImportLinks + 1) + " 件、1 回に " +
                                std::to_string(kMaxImportLinks) + " 件まで)。インポートしませんでした。";
    const struct {
        const char* name;
        std::string bytes;
        std::string firstLine;
        size_t size;   // made without writing when non-zero
    } rows[] = {
        {"text.html", "Just some notes, no bookmarks <here>.\n", refused, 0},
        {"garbage.html", garbage, refused, 0},
        {"empty.html", "", "ファイルが空です。インポートするものはありません。", 0},
        {"huge.html", "", "ファイルが大きすぎます (64 MB まで)。インポートしませんでした。", kMaxBookmarkFileBytes + 1},
        {"many.html", many, tooMany, 0},
        {"many16.html", many16, tooMany, 0},
    };
    const std::string before = StoreBytes();
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const std::string path = folder_.File(row.name);
        ASSERT_TRUE(WriteWholeFile(path, row.bytes));
        if (row.size > 0) {
            HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
            LARGE_INTEGER at;
            at.QuadPart = static_cast<LONGLONG>(row.size);
            EXPECT_TRUE(SetFilePointerEx(file, at, nullptr, FILE_BEGIN) && SetEndOfFile(file));
            CloseHandle(file);
        }
        const std::vector<SeenBox> boxes = Run(ID_IMPORT, path);
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].caption + "/" + FirstLine(boxes[0].text), "ERROR/" + row.firstLine);
        EXPECT_EQ(StoreBytes(), before);
    }

    // A file cut off inside a tag keeps what came before it, and says so.
    const std::string whole = BookmarkFile(H3("cut", Link("https://t.example/", "t")));
    const std::vector<SeenBox> boxes =
        Import("cut.html", whole.substr(0, whole.find("</DL>")) + "<DT><A HREF=\"https://u.exa");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].icon, "warning");
    EXPECT_EQ(boxes[0].text, "ファイルが途中で終わっていたため、読めた所までをインポートしました。\n\n"
                             "追加したリンク: 1 件\n重複のため追加しなかったリンク: 0 件\n取り込めなかったリンク: 0 件");
    ASSERT_EQ(Child().store.FolderCount(), 4);
    EXPECT_STREQ(Child().store.Snapshot()[3].notes.at(0).entries.at(0).list, "https://t.example/");
}

TEST_F(BookmarkCommands, ExportReplacesATargetOnlyWhenTheWholeFileIsWritten)
{
    StartWithStore(SmallTree());
    Show();
    const std::string old = "<html>an older export</html>";
    const struct {
        const char* name;
        DWORD attributes;   // of an existing file, 0 for none
        const char* firstLine;
    } rows[] = {
        {"new.html", 0, "5 件のリンクをエクスポートしました。"},
        {"older.html", FILE_ATTRIBUTE_NORMAL, "5 件のリンクをエクスポートしました。"},
        {"locked.html", FILE_ATTRIBUTE_READONLY, "ファイルに書き込めませんでした。"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const std::string path = folder_.File(row.name);
        if (row.attributes != 0)
            EXPECT_TRUE(WriteWholeFile(path, old) && SetFileAttributesA(path.c_str(), row.attributes));
        int prompts = 0;
        const std::vector<SeenBox> boxes = Run(ID_EXPORT, path, &prompts);
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        EXPECT_EQ(prompts, row.attributes != 0 ? 1 : 0) << "overwrite prompt";
        ASSERT_FALSE(boxes.empty());
        EXPECT_EQ(FirstLine(boxes.back().text), row.firstLine);
        std::string bytes;
        ASSERT_TRUE(ReadWholeFile(path, &bytes));
        EXPECT_FALSE(FileExists(path + ".tmp"));
        const bool written = row.attributes != FILE_ATTRIBUTE_READONLY;
        EXPECT_EQ(ReadBookmarkFile(bytes.data(), bytes.size(), WinBookmarkPlatform(), "2024/01/02").taken,
                  written ? 5u : 0u);
        EXPECT_EQ(bytes == old, !written);
    }
}

TEST_F(BookmarkCommands, ImportAndExportNeedAStoreWhicheverViewIsFocused)
{
    StartWithStore(SmallTree());
    Show();
    for (bool store : {true, false}) {
        if (!store)
            Child().store.SetStorePath("");
        for (HWND focus : {Tree(), List(), frame_->toolbar.hwnd}) {
            SetFocus(focus);
            HMENU menu = GetMenu(Frame());
            SendMessageA(Frame(), WM_INITMENU, reinterpret_cast<WPARAM>(menu), 0);
            for (UINT id : {ID_IMPORT, ID_EXPORT})
                EXPECT_EQ((GetMenuState(menu, id, MF_BYCOMMAND) & MF_GRAYED) == 0, store) << id;
        }
    }
}
