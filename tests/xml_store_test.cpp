// The store file, the snapshot, the two ways of saving, backups and the
// failure report.
#include <gtest/gtest.h>
#include <windows.h>
#include <msxml2.h>

#include <cstring>

#include "store/ansi_table.h"
#include "store/record_text.h"
#include "store/safe_replace.h"
#include "store/store_failure.h"
#include "store/text_convert.h"
#include "support/dialog_watcher.h"
#include "support/store_fixture.h"

namespace {

const char kTemplateBytes[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>\r\n<root>\r\n</root>\r\n";

const char kConversionHint[] =
    "指定したURLの文字コード変換に失敗した可能性があります。\n"
    "タイトルを手動による取得でやり直して下さい。";

bool StartsWith(const std::string& text, const std::string& prefix)
{
    return text.compare(0, prefix.size(), prefix) == 0;
}

// The first line of a report, e.g. "Code: 80004003".
std::string CodeLine(const std::string& report)
{
    return report.substr(0, report.find('\n'));
}

HRESULT FailBeforeReplace(const char* tempPath, const char*)
{
    // The complete new file is there; the replace is what fails.
    EXPECT_TRUE(FileExists(tempPath));
    return E_FAIL;
}

// Fails the first replace only, so that the restore after it goes through.
int g_replacesToFail = 0;
HRESULT FailFirstReplace(const char*, const char*)
{
    return g_replacesToFail-- > 0 ? E_FAIL : S_OK;
}

HRESULT DieBeforeReplace(const char*, const char*)
{
    TerminateProcess(GetCurrentProcess(), 7);
    return S_OK;
}

}  // namespace

using XmlStore = StoreTest;

TEST_F(XmlStore, TemplateIsSeventyCharactersWithCrLfAndReadsEmpty)
{
    ASSERT_EQ(strlen("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>\n<root>\n</root>\n"), 70u);
    ASSERT_EQ(store_.CreateStoreFile(path_.c_str()), 1);
    EXPECT_EQ(Bytes(), kTemplateBytes);
    store_.SetStorePath(path_.c_str());
    EXPECT_EQ(store_.FolderCount(), 0);
    store_.ClearSnapshot();
    EXPECT_EQ(store_.LoadSnapshot(), 1);
    EXPECT_TRUE(store_.CopySnapshot().empty());
    EXPECT_TRUE(LogLines().empty());
}

TEST_F(XmlStore, CreateStoreFileReplacesAnExistingFileAndFailsQuietly)
{
    UseStore(SmallTree());
    MessageBoxAnswerer boxes;
    ASSERT_EQ(store_.CreateStoreFile(path_.c_str()), 1);
    EXPECT_EQ(Bytes(), kTemplateBytes);
    // A folder where the file should go cannot be opened as a file.
    std::string blocked = folder_.File("blocked.xml");
    CreateDirectoryA(blocked.c_str(), nullptr);
    EXPECT_EQ(store_.CreateStoreFile(blocked.c_str()), 0);
    EXPECT_EQ(store_.CreateStoreFile(folder_.File("no such folder\\x.xml").c_str()), 0);
    EXPECT_EQ(boxes.Count(), 0u);
    EXPECT_TRUE(LogLines().empty());
}

TEST_F(XmlStore, MissingFileLogsEPointerWithoutAMessageBox)
{
    MessageBoxAnswerer boxes;
    store_.SetStorePath(folder_.File("missing.xml").c_str());
    store_.ClearSnapshot();
    EXPECT_EQ(store_.LoadSnapshot(), 0);
    EXPECT_EQ(store_.FolderCount(), 0);
    EXPECT_EQ(boxes.Count(), 0u);
    auto lines = LogLines();
    // One line from SetStorePath's load and one from the explicit load.
    ASSERT_EQ(lines.size(), 2u);
    for (const std::string& line : lines) {
        EXPECT_NE(line.find(", Code: 80004003 Code meaning: "), std::string::npos) << line;
        EXPECT_NE(line.find(" File=.\\CXml xml=" + folder_.File("missing.xml")), std::string::npos) << line;
    }
}

TEST_F(XmlStore, SetStorePathCutsAt259AndAnEmptyPathLoadsNothing)
{
    UseStore(SmallTree());
    EXPECT_EQ(store_.FolderCount(), 3);
    store_.ClearSnapshot();
    store_.SetStorePath("");
    EXPECT_STREQ(store_.StorePath(), "");
    EXPECT_EQ(store_.FolderCount(), 0);
    std::string longPath(300, 'p');
    store_.SetStorePath(longPath.c_str());
    EXPECT_EQ(strlen(store_.StorePath()), 259u);
    EXPECT_EQ(LogLines().size(), 1u);
}

TEST_F(XmlStore, SnapshotIsOnlyAppendedToAndCopiesAreIndependent)
{
    UseStore(SmallTree());
    ASSERT_EQ(store_.FolderCount(), 3);
    EXPECT_EQ(store_.LoadSnapshot(), 1);
    EXPECT_EQ(store_.FolderCount(), 6);
    store_.ClearSnapshot();
    ASSERT_EQ(store_.LoadSnapshot(), 1);
    std::vector<FolderRecord> copy = store_.CopySnapshot();
    copy[0].notes[0].entries[0].title = "changed";
    copy.pop_back();
    EXPECT_EQ(store_.FolderCount(), 3);
    EXPECT_STREQ(store_.Snapshot()[0].notes[0].entries[0].title, "表計算ソフトの使い方");
    // The snapshot also carries each entry's key and positions.
    const EntryRecord& entry = store_.Snapshot()[0].notes[1].entries[2];
    EXPECT_STREQ(entry.key, "0-1-2");
    EXPECT_EQ(entry.folderPos, 0);
    EXPECT_EQ(entry.notePos, 1);
    EXPECT_EQ(entry.entryPos, 2);
    // A copy owns its text: a reload writes the arena's blocks over again.
    const EntryRecord kept = store_.Snapshot()[0].notes[0].entries[1];
    UseStore({Folder(0, "other", {Note(0, "other", SampleEntries(2, "別のタイトル"))})});
    EXPECT_STREQ(copy[0].notes[0].entries[1].title, "Q&A <tips> \"quoted\" 'single'");
    EXPECT_STREQ(kept.comment, "よく使う＆便利");
}

TEST_F(XmlStore, ValueOrderInsideAnEntryDoesNotMatterAndIsKeptOnChange)
{
    StoreTree tree = SmallTree();
    UseStore(tree, {StoreLayout::Compact, false, true});
    EXPECT_TRUE(StoreHolds(path_, tree, {false, StoreLayout::Compact}));
    ASSERT_EQ(store_.SetEntryTitle("新しい題名", "0-0-1", nullptr), 1);
    tree[0].notes[0].entries[1].title = "新しい題名";
    EXPECT_TRUE(StoreHolds(path_, tree, {false, StoreLayout::Compact}));
    // The values are still in reverse order: changed in place.
    std::string bytes = Bytes();
    EXPECT_LT(bytes.find("<comment>"), bytes.find("<id>0</id><count>"));
}

TEST_F(XmlStore, LongValuesAreCutToTheirFieldsOnCharacterEdges)
{
    StoreTree tree = SmallTree();
    tree[0].notes[0].entries[0].title = std::string(600, 't');
    std::string japanese;
    for (int i = 0; i < 300; ++i)
        japanese += "あ";
    tree[0].notes[0].entries[1].title = japanese;
    tree[0].name = std::string(300, 'n');
    tree[0].notes[0].entries[0].list = std::string(1500, 'u');
    UseStore(tree);
    const FolderRecord& folder = store_.Snapshot()[0];
    EXPECT_EQ(std::string(folder.notes[0].entries[0].title), std::string(519, 't'));
    EXPECT_EQ(strlen(folder.notes[0].entries[1].title), 518u);
    EXPECT_EQ(std::string(folder.notes[0].entries[1].title), japanese.substr(0, 518));
    EXPECT_EQ(strlen(folder.name), 259u);
    EXPECT_EQ(strlen(folder.notes[0].entries[0].list), 1023u);
    EXPECT_TRUE(StoreHolds(path_, tree));
}

// The snapshot's text: each stays whole when a block fills, when a long one
// takes a block of its own, when the newest is shrunk, and after the blocks
// are reused for the next load.
TEST(TextArena, TextsStayWholeAcrossBlocksShrinkingAndReuse)
{
    TextArena arena;
    std::vector<std::pair<const char*, std::string>> kept;
    for (int load = 0; load < 2; ++load) {
        kept.clear();
        for (int i = 0; i < 5000; ++i) {
            std::string text(static_cast<size_t>(i % 700 + load), static_cast<char>('a' + i % 26));
            if (i % 1000 == 999)
                text.assign(400000, 'L');
            char* at = arena.Allocate(text.size() + 10);
            memcpy(at, text.data(), text.size());
            arena.Shrink(at, text.size());
            kept.emplace_back(at, text);
        }
        for (const auto& k : kept)
            ASSERT_EQ(std::string(k.first), k.second);
        arena.Reuse();
    }
}

// The load converts through a table made from the system's own conversion;
// whatever the table takes must come out as the system gives it, and what
// it cannot take is left to the system.
TEST(AnsiTable, GivesTheSystemsBytesOrLeavesTheTextToIt)
{
    AnsiTable table;
    struct Case {
        const char* utf8;
        bool byTable;
    } cases[] = {
        {"C:\\path ~ plain ASCII", true},
        {"\xEF\xBD\xB1\xEF\xBD\xB2 half-width kana", true},
        {"\xE3\x81\x82\xE3\x81\x84 \xE6\xBC\xA2\xE5\xAD\x97", true},
        {"\xE2\x91\xA0 \xE2\x88\x91 \xC3\xA9 \xE2\x82\xAC \xEF\xBD\x9E", true},   // unmapped or best fit
        {"\xF0\x9F\x98\x80 beyond the plane", false},
        {"cut \xE3\x81", false},
        {"\xC0\xAF overlong", false},
        {"\xED\xA0\x80 surrogate", false},
    };
    for (const Case& c : cases) {
        for (size_t width : {520u, 8u, 7u, 2u, 1u}) {
            char bySystem[520];
            Utf8ToAnsiField(c.utf8, strlen(c.utf8), bySystem, width);
            char byTable[520];
            bool taken = table.Convert(c.utf8, strlen(c.utf8), byTable, width);
            // A cut before the bytes the table cannot take leaves it able to.
            if (width == 520) {
                EXPECT_EQ(taken, c.byTable) << c.utf8;
            }
            if (taken) {
                EXPECT_STREQ(byTable, bySystem) << c.utf8 << " width " << width;
            }
        }
    }
}

TEST_F(XmlStore, BothLayoutsWithAndWithoutByteOrderMarkReadAlike)
{
    StoreTree tree = SmallTree();
    for (StoreLayout layout : {StoreLayout::Indented, StoreLayout::Compact}) {
        for (bool bom : {false, true}) {
            UseStore(tree, {layout, bom, false});
            EXPECT_EQ(LayoutOf(Bytes()), layout);
            EXPECT_TRUE(StoreHolds(path_, tree)) << LayoutName(layout) << " bom " << bom;
            EXPECT_EQ(store_.FolderCount(), 3);
        }
    }
}

// Values the file must give back byte for byte after a load, an indented
// save, a plain save and the program's own writes of them.
TEST_F(XmlStore, ValuesSurviveEveryKindOfWriteByteForByte)
{
    std::string longTitle;
    for (int i = 0; i < 259; ++i)
        longTitle += "あ";
    std::string longComment;
    for (int i = 0; i < 511; ++i)
        longComment += "表";
    struct Row {
        std::string title, list, comment;
    } rows[] = {
        {"a & & b", "http://e.com/?a=1&b=2", "<a> <b>"},
        {"  lead and trail  ", " http://e.com/ ", " - "},
        {"表示ソフト能力ポ", "http://e.com/表", "ソ|ポ\\"},   // trail bytes 5C and 7C
        {"t", "http://e.com/", "line1\r\nline2\r\n"},
        {longTitle + "x", std::string(1023, 'u'), longComment + "x"},   // the longest values
        {"\"q\" 'a'\tb", "http://e.com/'\"", "-"},
    };
    StoreTree tree = {Folder(0, std::string(259, 'n'), {Note(0, "表ソ能ポ")})};
    auto& entries = tree[0].notes[0].entries;
    for (const Row& row : rows) {
        entries.push_back(SampleEntry(static_cast<int>(entries.size()), row.title));
        entries.back().list = row.list;
        entries.back().comment = row.comment;
    }
    // A CR in a value stands in the file as a reference.
    std::string xml = StoreXml(tree, {StoreLayout::Compact});
    for (size_t at = xml.find('\r', xml.find("<root>")); at != std::string::npos; at = xml.find('\r', at))
        xml.replace(at, 1, "&#13;");
    ASSERT_TRUE(WriteWholeFile(path_, xml));
    store_.SetStorePath(path_.c_str());
    EXPECT_TRUE(StoreHolds(path_, tree)) << "read";
    ASSERT_EQ(store_.NewFolder(nullptr), 1);
    tree.push_back(Folder(1, "新規作成"));
    EXPECT_TRUE(StoreHolds(path_, tree, {true, StoreLayout::Indented})) << "indented save";
    ASSERT_EQ(store_.RenameNote("表ソ能ポ", 0, 0, nullptr), 1);
    EXPECT_TRUE(StoreHolds(path_, tree, {true, StoreLayout::Compact})) << "plain save";

    store_.ClearSnapshot();
    ASSERT_EQ(store_.LoadSnapshot(), 1);
    std::vector<EntryRecord> records = store_.Snapshot()[0].notes[0].entries;
    for (const EntryRecord& record : records)
        ASSERT_EQ(store_.EditEntry(record, nullptr), 1);
    EXPECT_TRUE(StoreHolds(path_, tree, {true, StoreLayout::Compact})) << "edited";
    for (EntryRecord record : records) {
        record.entryPos = static_cast<int>(tree[0].notes[0].entries.size());
        ASSERT_EQ(store_.AddEntry(record, nullptr), 1);
        ExpectedEntry added = tree[0].notes[0].entries[static_cast<size_t>(record.entryPos) - records.size()];
        tree[0].notes[0].entries.push_back(added);
    }
    EXPECT_TRUE(StoreHolds(path_, Renumbered(tree), {true, StoreLayout::Indented})) << "added";
}

TEST_F(XmlStore, IndentedWriteHasTheCleanLayoutAndValuesReadBackByteIdentical)
{
    StoreTree tree = SmallTree();
    UseStore(tree, {StoreLayout::Compact});
    ASSERT_EQ(store_.NewFolder(nullptr), 1);
    tree.push_back(Folder(3, "新規作成"));
    EXPECT_TRUE(StoreHolds(path_, tree, {true, StoreLayout::Indented}));
    std::string bytes = Bytes();
    EXPECT_TRUE(StartsWith(bytes, "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>\r\n<root>\r\n\t<dir>\r\n\t\t<id>0</id>\r\n"))
        << bytes.substr(0, 120);
    EXPECT_NE(bytes.find("\t\t\t\t\t\t<title>Q&amp;A &lt;tips&gt; \"quoted\" 'single'</title>\r\n"), std::string::npos);
    // A plain save afterwards writes the compact layout; the rename sorts
    // the folders by their bytes (z 7A before 仕 8E 64, 趣 8E EF, 新 90 56).
    ASSERT_EQ(store_.RenameFolder("zeta", 2, nullptr), 1);
    StoreTree sorted = Renumbered({tree[2], tree[0], tree[1], tree[3]});
    EXPECT_TRUE(StoreHolds(path_, sorted, {true, StoreLayout::Compact}));
}

TEST_F(XmlStore, BackupLiesBesideTheStoreWithOldXmlInPlaceOfTheExtension)
{
    EXPECT_EQ(BackupPathFor("C:\\data\\links.xml"), "C:\\data\\links_old.xml");
    EXPECT_EQ(BackupPathFor("C:\\data\\links"), "C:\\data\\links_old.xml");
    EXPECT_EQ(BackupPathFor("C:\\data.d\\links"), "C:\\data.d\\links_old.xml");
    EXPECT_EQ(BackupPathFor("C:\\data\\a.b.xml"), "C:\\data\\a.b_old.xml");
    // 表 ends in the byte 5C; the file name starts after the real backslash.
    EXPECT_EQ(BackupPathFor("C:\\表.d\\表"), "C:\\表.d\\表_old.xml");
    // The longest store path gets its backup name without overflow.
    std::string longest = "C:\\" + std::string(252, 'x') + ".xml";
    ASSERT_EQ(longest.size(), 259u);
    EXPECT_EQ(BackupPathFor(longest.c_str()), longest.substr(0, 255) + "_old.xml");

    std::string bare = folder_.File("links");
    ASSERT_TRUE(WriteStore(bare, SmallTree()));
    store_.SetStorePath(bare.c_str());
    store_.BackupStore();
    std::string original, backup;
    ASSERT_TRUE(ReadWholeFile(bare, &original));
    ASSERT_TRUE(ReadWholeFile(folder_.File("links_old.xml"), &backup));
    EXPECT_EQ(backup, original);
}

TEST_F(XmlStore, RestoreBringsTheBackupBackAndIsQuietWithoutOne)
{
    UseStore(SmallTree());
    std::string original = Bytes();
    store_.BackupStore();
    ASSERT_TRUE(WriteWholeFile(path_, "broken"));
    store_.RestoreStore();
    EXPECT_EQ(Bytes(), original);
    DeleteFileA(BackupPath().c_str());
    store_.RestoreStore();
    EXPECT_EQ(Bytes(), original);
}

TEST_F(XmlStore, MalformedFileLeavesTheSnapshotEmpty)
{
    std::string xml = StoreXml(SmallTree());
    ASSERT_TRUE(WriteWholeFile(path_, xml.substr(0, xml.size() / 2)));
    MessageBoxAnswerer boxes;
    store_.SetStorePath(path_.c_str());
    EXPECT_EQ(store_.FolderCount(), 0);
    ASSERT_TRUE(WriteWholeFile(path_, ""));
    store_.ClearSnapshot();
    EXPECT_EQ(store_.LoadSnapshot(), 0);
    EXPECT_EQ(store_.FolderCount(), 0);
    EXPECT_EQ(boxes.Count(), 0u);
    auto lines = LogLines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_NE(lines[1].find("Code: 80004003"), std::string::npos);
}

TEST_F(XmlStore, AFileWithoutARootIsReportedWithWhyAndWhere)
{
    struct Case {
        const char* bytes;   // nullptr: no file
        std::string fields;
    } cases[] = {
        {nullptr, "Source: CmyXml Description: the store file cannot be read: "},
        {"<?xml version=\"1.0\"?>\r\n<root>\r\n<dir></array>",
         "Source: pugixml Description: Start-end tags mismatch (status 14) at line 3, column 8 Line="},
    };
    for (const Case& c : cases) {
        DeleteFileA(path_.c_str());
        DeleteFileA(folder_.File("linkcairn_error.log").c_str());
        if (c.bytes != nullptr) {
            ASSERT_TRUE(WriteWholeFile(path_, c.bytes));
        }
        store_.SetStorePath(path_.c_str());
        auto lines = LogLines();
        ASSERT_EQ(lines.size(), 1u);
        EXPECT_NE(lines[0].find(", Code: 80004003 Code meaning: "), std::string::npos) << lines[0];
        EXPECT_NE(lines[0].find(c.fields), std::string::npos) << lines[0];
    }
}

// A read that stops part-way keeps the folders read completely before it,
// shows nothing and logs one invalid-pointer line per load.
TEST_F(XmlStore, ANodeTheReadCannotUseStopsItAfterTheFoldersBeforeIt)
{
    StoreTree tree = SmallTree();
    std::string xml = StoreXml(tree, {StoreLayout::Compact});
    std::string withComment = xml;
    withComment.insert(xml.find("<dir><id>1</id>"), "<!-- a note by hand -->");
    std::string withoutArray = xml;
    size_t third = xml.find("<dir><id>2</id>");
    withoutArray.erase(xml.find("<array></array>", third), strlen("<array></array>"));
    // Text where a folder, note or entry should begin, as each first child.
    auto textAt = [&xml](size_t at) { return xml.substr(0, at) + "stray" + xml.substr(at); };
    const size_t second = xml.find("<dir><id>1</id>");
    const std::string textInRoot = textAt(xml.find("<dir>"));
    const std::string textInFolder = textAt(xml.find("<booklist>", second));
    const std::string textInNote = textAt(xml.find("<array>", xml.find("<booklist>", second)) + strlen("<array>"));
    struct Case {
        const std::string& xml;
        StoreTree kept;
    } cases[] = {{withComment, {tree[0]}},  {withoutArray, {tree[0], tree[1]}}, {textInRoot, {}},
                 {textInFolder, {tree[0]}}, {textInNote, {tree[0]}}};
    MessageBoxAnswerer boxes;
    size_t logged = 0;
    for (const Case& c : cases) {
        ASSERT_TRUE(WriteWholeFile(path_, c.xml));
        store_.ClearSnapshot();
        store_.SetStorePath(path_.c_str());
        EXPECT_TRUE(SnapshotHolds(store_.Snapshot(), c.kept));
        store_.ClearSnapshot();
        EXPECT_EQ(store_.LoadSnapshot(), 0);
        EXPECT_TRUE(SnapshotHolds(store_.Snapshot(), c.kept));
        auto lines = LogLines();
        ASSERT_EQ(lines.size(), logged + 2);
        for (; logged < lines.size(); ++logged)
            EXPECT_NE(lines[logged].find("Code: 80004003"), std::string::npos) << lines[logged];
    }
    EXPECT_EQ(boxes.Count(), 0u);
}

TEST_F(XmlStore, AnEmptyArrayReadsAsNoChildren)
{
    StoreTree tree = {Folder(0, "empty"), Folder(1, "one", {Note(0, "bare")})};
    UseStore(tree);
    ASSERT_EQ(store_.FolderCount(), 2);
    EXPECT_TRUE(store_.Snapshot()[0].notes.empty());
    EXPECT_TRUE(store_.Snapshot()[1].notes[0].entries.empty());
}

// ---- Failures of a write: the old store always stays whole.

TEST_F(XmlStore, ReadOnlyStoreFileIsNotReplacedByAPlainSave)
{
    StoreTree tree = SmallTree();
    UseStore(tree, {StoreLayout::Indented});
    std::string before = Bytes();
    ASSERT_TRUE(SetFileAttributesA(path_.c_str(), FILE_ATTRIBUTE_READONLY));
    MessageBoxAnswerer boxes;
    EXPECT_EQ(store_.RenameFolder("aaa", 2, nullptr), 0);
    SetFileAttributesA(path_.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(Bytes(), before);
    EXPECT_TRUE(StoreHolds(path_, tree));
    EXPECT_FALSE(FileExists(path_ + ".tmp"));
    auto seen = boxes.Seen();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].caption, "Error");
    EXPECT_EQ(seen[0].icon, "warning");
    EXPECT_EQ(CodeLine(seen[0].text), "Code: 80070005");
    EXPECT_NE(seen[0].text.find("\nLine="), std::string::npos);
    EXPECT_NE(seen[0].text.find(", File=.\\CXml\nxml=" + path_), std::string::npos);
    ASSERT_EQ(LogLines().size(), 1u);
    EXPECT_NE(LogLines()[0].find("Code: 80070005 Code meaning: "), std::string::npos);
}

TEST_F(XmlStore, ReadOnlyStoreFileIsNotReplacedByAnIndentedWrite)
{
    StoreTree tree = SmallTree();
    UseStore(tree, {StoreLayout::Compact});
    std::string before = Bytes();
    ASSERT_TRUE(SetFileAttributesA(path_.c_str(), FILE_ATTRIBUTE_READONLY));
    MessageBoxAnswerer boxes;
    EXPECT_EQ(store_.NewFolder(nullptr), 0);
    SetFileAttributesA(path_.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(Bytes(), before);
    EXPECT_TRUE(StoreHolds(path_, tree));
    auto seen = boxes.Seen();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(CodeLine(seen[0].text), "Code: 80070005");
    EXPECT_EQ(seen[1].caption, "Error");
    EXPECT_EQ(seen[1].icon, "warning");
    EXPECT_EQ(seen[1].text, kConversionHint);
    EXPECT_EQ(LogLines().size(), 1u);
}

TEST_F(XmlStore, AFolderThatRefusesNewFilesLeavesTheStoreIntact)
{
    // Root may write anywhere under Wine; a folder in the place of the
    // temporary file's name refuses the write whoever runs the test.
    StoreTree tree = SmallTree();
    UseStore(tree, {StoreLayout::Indented});
    std::string before = Bytes();
    ASSERT_TRUE(CreateDirectoryA((path_ + ".tmp").c_str(), nullptr));
    MessageBoxAnswerer boxes;
    EXPECT_EQ(store_.DeleteFolder(0, nullptr), 0);
    EXPECT_EQ(store_.MoveNote(0, 0, 1, nullptr), 0);
    EXPECT_EQ(Bytes(), before);
    EXPECT_TRUE(StoreHolds(path_, tree));
    // Plain save: one report; indented write: report and hint.
    EXPECT_EQ(boxes.Count(), 3u);
    EXPECT_EQ(LogLines().size(), 2u);
    RemoveDirectoryA((path_ + ".tmp").c_str());
    EXPECT_EQ(store_.DeleteFolder(0, nullptr), 1);
}

TEST_F(XmlStore, AFailureBetweenWriteAndReplaceKeepsTheOldStore)
{
    StoreTree tree = SmallTree();
    UseStore(tree, {StoreLayout::Compact});
    std::string before = Bytes();
    MessageBoxAnswerer boxes;
    store_.SetBeforeReplaceHook(FailBeforeReplace);
    EXPECT_EQ(store_.RecordAccess("0-0-0", nullptr), 0);
    EXPECT_EQ(store_.AddEntry(EntryRecord{}, nullptr), 0);
    store_.SetBeforeReplaceHook(nullptr);
    EXPECT_EQ(Bytes(), before);
    EXPECT_FALSE(FileExists(path_ + ".tmp"));
    EXPECT_TRUE(StoreHolds(path_, tree));
    auto seen = boxes.Seen();
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(CodeLine(seen[0].text), "Code: 80004005");
    EXPECT_EQ(CodeLine(seen[1].text), "Code: 80004005");
    EXPECT_EQ(seen[2].text, kConversionHint);
    // The backup restored after the failed indented write is the old store.
    std::string backup;
    ASSERT_TRUE(ReadWholeFile(BackupPath(), &backup));
    EXPECT_EQ(backup, before);
}

TEST_F(XmlStore, AFailedIndentedWriteNeverRestoresABackupOfAnEarlierState)
{
    UseStore(SmallTree());
    store_.BackupStore();
    StoreTree later = SmallTree();
    later.pop_back();
    UseStore(later);
    std::string before = Bytes();
    // The backup can be read but not written: this operation's backup fails
    // and the file holds the earlier state.
    HANDLE lock = CreateFileA(BackupPath().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    MessageBoxAnswerer boxes;
    g_replacesToFail = 1;
    store_.SetBeforeReplaceHook(FailFirstReplace);
    EXPECT_EQ(store_.NewFolder(nullptr), 0);
    store_.SetBeforeReplaceHook(nullptr);
    CloseHandle(lock);
    EXPECT_EQ(boxes.Count(), 2u);
    EXPECT_EQ(Bytes(), before);
    EXPECT_TRUE(StoreHolds(path_, later));
}

// The death test's child runs in a process of its own: it finds the
// parent's store through the environment and dies between the complete
// write of the temporary file and the replace.
void KillDuringSave(const std::string& path, bool indented)
{
    CmyXml store;
    store.SetStorePath(path.c_str());
    store.SetBeforeReplaceHook(DieBeforeReplace);
    if (indented)
        store.NewFolder(nullptr);
    else
        store.RenameFolder("a", 0, nullptr);
}

TEST(StoreKilledWrite, LeavesTheOldStoreReadable)
{
    const char kVariable[] = "LINKCAIRN_KILLED_WRITE_STORE";
    char inherited[MAX_PATH] = {};
    std::unique_ptr<TempFolder> folder;
    std::string path;
    if (GetEnvironmentVariableA(kVariable, inherited, MAX_PATH) > 0) {
        path = inherited;
    } else {
        folder = std::make_unique<TempFolder>("lckill");
        path = folder->File("links.xml");
        ASSERT_TRUE(WriteStore(path, SmallTree(), {StoreLayout::Indented}));
        SetEnvironmentVariableA(kVariable, path.c_str());
    }
    std::string before;
    ASSERT_TRUE(ReadWholeFile(path, &before));
    for (bool indented : {false, true}) {
        EXPECT_EXIT(KillDuringSave(path, indented), ::testing::ExitedWithCode(7), "");
        std::string after;
        ASSERT_TRUE(ReadWholeFile(path, &after));
        EXPECT_EQ(after, before);
        EXPECT_TRUE(StoreHolds(path, SmallTree()));
        // The child got as far as a complete temporary file.
        EXPECT_TRUE(FileExists(path + ".tmp"));
    }
    SetEnvironmentVariableA(kVariable, nullptr);
    // The leftover temporary file is simply written over next time.
    CmyXml store;
    store.SetStorePath(path.c_str());
    ASSERT_EQ(store.NewFolder(nullptr), 1);
    StoreTree tree = SmallTree();
    tree.push_back(Folder(3, "新規作成"));
    EXPECT_TRUE(StoreHolds(path, tree, {true, StoreLayout::Indented}));
    EXPECT_FALSE(FileExists(path + ".tmp"));
}

TEST(SafeReplace, TempFileStaysBesideTheStoreForAnyPathLength)
{
    EXPECT_EQ(TempPathFor("C:\\d\\links.xml"), "C:\\d\\links.xml.tmp");
    std::string longest = "C:\\" + std::string(252, 'x') + ".xml";
    EXPECT_EQ(TempPathFor(longest.c_str()), longest.substr(0, 258) + "~");
    std::string tilde = longest.substr(0, 258) + "~";
    EXPECT_EQ(TempPathFor(tilde.c_str()), longest.substr(0, 258) + "!");
    // A last character of two bytes is replaced whole.
    std::string japanese = "C:\\" + std::string(254, 'x') + "表";
    EXPECT_EQ(TempPathFor(japanese.c_str()), "C:\\" + std::string(254, 'x') + "~");
}

// ---- The failure report

TEST(StoreFailureReport, HasSevenFieldsInOrder)
{
    StoreFailure failure{E_POINTER, 321, "msxml3.dll", "no root"};
    std::string report = FormatFailureReport(failure, "C:\\d\\links.xml");
    std::string meaning = ResultCodeMeaning(E_POINTER);
    EXPECT_FALSE(meaning.empty());
    EXPECT_EQ(meaning.find("\r\n"), std::string::npos);
    EXPECT_EQ(report, "Code: 80004003\nCode meaning: " + meaning +
                          "\nSource: msxml3.dll\nDescription: no root\nLine=321, File=.\\CXml\nxml=C:\\d\\links.xml");
}

TEST(StoreFailureReport, CodesWithoutSystemTextGetAFallbackMeaning)
{
    EXPECT_EQ(ResultCodeMeaning(static_cast<HRESULT>(0x80040201)), "IDispatch error #1");
    EXPECT_EQ(ResultCodeMeaning(static_cast<HRESULT>(0xA0051234)), "Unknown error 0xA0051234");
}

TEST(StoreFailureReport, IsCutTo1023Characters)
{
    StoreFailure failure{E_FAIL, 1, "s", std::string(3000, 'd')};
    EXPECT_EQ(FormatFailureReport(failure, "x").size(), 1023u);
}

TEST_F(XmlStore, AnOperationFailureShowsTheReportOwnedByTheOwner)
{
    // A folder whose name element is missing cannot be renamed.
    std::string xml = StoreXml(SmallTree(), {StoreLayout::Compact});
    size_t name = xml.find("<name>zeta</name>");
    xml.erase(name, strlen("<name>zeta</name>"));
    ASSERT_TRUE(WriteWholeFile(path_, xml));
    store_.SetStorePath(path_.c_str());
    HWND owner = CreateWindowExA(0, "STATIC", "owner", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                                 nullptr, nullptr);
    MessageBoxAnswerer boxes;
    EXPECT_EQ(store_.RenameFolder("x", 2, owner), 0);
    EXPECT_EQ(Bytes(), xml);
    auto seen = boxes.Seen();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].caption, "Error");
    EXPECT_EQ(seen[0].icon, "warning");
    EXPECT_EQ(seen[0].owner, owner);
    EXPECT_TRUE(StartsWith(seen[0].text, "Code: 80004003\nCode meaning: ")) << seen[0].text;
    EXPECT_NE(seen[0].text.find("\nSource: CmyXml\nDescription: "), std::string::npos);
    DestroyWindow(owner);
}
