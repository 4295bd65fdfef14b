// Folder and note operations: create, rename with sorting, delete, move,
// find; ids always equal positions (a new note's "999" aside).
#include <gtest/gtest.h>
#include <windows.h>

#include "support/dialog_watcher.h"
#include "support/store_fixture.h"

namespace {

const char kNewName[] = "新規作成";

const StoreCheck kIndented{true, StoreLayout::Indented};
const StoreCheck kCompact{true, StoreLayout::Compact};

// Folders named as given, each with one note named after it.
StoreTree FoldersNamed(std::initializer_list<const char*> names)
{
    StoreTree tree;
    for (const char* name : names)
        tree.push_back(Folder(static_cast<int>(tree.size()), name,
                              {Note(0, std::string("note of ") + name, SampleEntries(1, name))}));
    return tree;
}

StoreTree WithIds(StoreTree tree)
{
    return Renumbered(std::move(tree));
}

}  // namespace

using FolderOps = StoreTest;

TEST_F(FolderOps, NewFolderIsAppendedWithItsPositionAsIdAndNotSorted)
{
    // All three names sort after 新規作成 (90 56): 表 95 5C, 読書 93 C7, ﾒﾓ D2.
    StoreTree tree = FoldersNamed({"表", "読書", "ﾒﾓ"});
    UseStore(tree, {StoreLayout::Compact});
    std::string before = Bytes();
    ASSERT_EQ(store_.NewFolder(nullptr), 1);
    tree.push_back(Folder(3, kNewName));
    EXPECT_TRUE(StoreHolds(path_, tree, kIndented));
    std::string backup;
    ASSERT_TRUE(ReadWholeFile(BackupPath(), &backup));
    EXPECT_EQ(backup, before);
}

TEST_F(FolderOps, NewFolderTakesItsIdFromTheFileNotFromAStaleSnapshot)
{
    UseStore(FoldersNamed({"a", "b"}));
    store_.ClearSnapshot();
    ASSERT_EQ(store_.FolderCount(), 0);
    ASSERT_EQ(store_.NewFolder(nullptr), 1);
    ASSERT_EQ(store_.NewFolder(nullptr), 1);
    StoreTree tree = FoldersNamed({"a", "b"});
    tree.push_back(Folder(2, kNewName));
    tree.push_back(Folder(3, kNewName));
    EXPECT_TRUE(StoreHolds(path_, tree, kIndented));
}

TEST_F(FolderOps, NewFolderWithoutARootIsReportedAndWritesNothing)
{
    MessageBoxAnswerer boxes;
    store_.SetStorePath(folder_.File("missing.xml").c_str());
    size_t logged = LogLines().size();
    EXPECT_EQ(store_.NewFolder(nullptr), 0);
    EXPECT_FALSE(FileExists(folder_.File("missing.xml")));
    EXPECT_FALSE(FileExists(folder_.File("missing_old.xml")));
    EXPECT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(LogLines().size(), logged + 1);
}

TEST_F(FolderOps, NewNoteKeeps999UntilItsFolderIsRenumbered)
{
    StoreTree tree = SmallTree();
    UseStore(tree);
    ASSERT_EQ(store_.NewNote(1, 999, nullptr), 1);
    ASSERT_EQ(store_.NewNote(1, 999, nullptr), 1);
    tree[1].notes.push_back(Note(999, kNewName));
    tree[1].notes.push_back(Note(999, kNewName));
    EXPECT_TRUE(StoreHolds(path_, tree, kIndented));

    // Changes elsewhere leave the 999s alone.
    ASSERT_EQ(store_.RenameNote("資料2", 0, 1, nullptr), 1);
    tree[0].notes[1].name = "資料2";
    ASSERT_EQ(store_.NewFolder(nullptr), 1);
    tree.push_back(Folder(3, kNewName));
    EXPECT_TRUE(StoreHolds(path_, tree, kIndented));

    // Renaming a note of that folder sorts and renumbers all its notes:
    // 旅行 (97 B7) sorts after 新規作成 (90 56) and "abc".
    ASSERT_EQ(store_.RenameNote("abc", 1, 2, nullptr), 1);
    tree[1].notes = {Note(0, "abc"), Note(1, kNewName), Note(2, "旅行")};
    EXPECT_TRUE(StoreHolds(path_, tree, kCompact));
}

TEST_F(FolderOps, NewNoteInAMissingFolderWritesNothing)
{
    UseStore(SmallTree());
    std::string before = Bytes();
    MessageBoxAnswerer boxes;
    EXPECT_EQ(store_.NewNote(3, 999, nullptr), 0);
    EXPECT_EQ(store_.NewNote(-1, 999, nullptr), 0);
    EXPECT_EQ(Bytes(), before);
    EXPECT_EQ(boxes.Count(), 0u);
}

TEST_F(FolderOps, RenameSortsFoldersAndRenumbersThem)
{
    StoreTree tree = FoldersNamed({"alpha2", "beta", "zeta"});
    UseStore(tree);
    ASSERT_EQ(store_.RenameFolder("alpha", 2, nullptr), 1);
    tree[2].name = "alpha";
    EXPECT_TRUE(StoreHolds(path_, WithIds({tree[2], tree[0], tree[1]}), kCompact));
    store_.ClearSnapshot();
    ASSERT_EQ(store_.LoadSnapshot(), 1);
    EXPECT_EQ(store_.FindFolderByName("alpha"), 0);
}

TEST_F(FolderOps, SortIsStableAndFoldsOnlyAsciiCase)
{
    // b, A, a: A and a compare equal and keep their order.
    StoreTree tree = FoldersNamed({"b", "A", "a"});
    UseStore(tree);
    ASSERT_EQ(store_.RenameFolder("b", 0, nullptr), 1);
    EXPECT_TRUE(StoreHolds(path_, WithIds({tree[1], tree[2], tree[0]}), kCompact));

    // ア (83 41) and ッ (83 62) differ although 41 is 'A' and 62 'b'.
    tree = FoldersNamed({"ッ", "ア", "a"});
    UseStore(tree);
    ASSERT_EQ(store_.RenameFolder("ッ", 0, nullptr), 1);
    EXPECT_TRUE(StoreHolds(path_, WithIds({tree[2], tree[1], tree[0]}), kCompact));
}

TEST_F(FolderOps, RenameOfAMissingFolderOrNoteWritesNothing)
{
    UseStore(SmallTree());
    std::string before = Bytes();
    MessageBoxAnswerer boxes;
    EXPECT_EQ(store_.RenameFolder("x", 3, nullptr), 0);
    EXPECT_EQ(store_.RenameNote("x", 5, 0, nullptr), 0);
    EXPECT_EQ(store_.RenameNote("x", 1, 1, nullptr), 0);
    EXPECT_EQ(Bytes(), before);
    EXPECT_EQ(boxes.Count(), 0u);
}

TEST_F(FolderOps, RenamingTheOnlyNoteGivesItIdZero)
{
    StoreTree tree = {Folder(0, "f", {Note(999, "solo", SampleEntries(2, "e"))})};
    UseStore(tree);
    ASSERT_EQ(store_.RenameNote("ソロ", 0, 0, nullptr), 1);
    tree[0].notes[0] = Note(0, "ソロ", SampleEntries(2, "e"));
    EXPECT_TRUE(StoreHolds(path_, tree, kCompact));
}

TEST_F(FolderOps, ANameWithoutTextCanStillBeChanged)
{
    StoreTree tree = FoldersNamed({"a", "b"});
    std::string xml = StoreXml(tree, {StoreLayout::Compact});
    size_t at = xml.find("<name>b</name>");
    xml.replace(at, strlen("<name>b</name>"), "<name/>");
    ASSERT_TRUE(WriteWholeFile(path_, xml));
    store_.SetStorePath(path_.c_str());
    MessageBoxAnswerer boxes;
    ASSERT_EQ(store_.RenameFolder("c", 1, nullptr), 1);
    tree[1].name = "c";
    EXPECT_TRUE(StoreHolds(path_, tree, kCompact));
    EXPECT_EQ(boxes.Count(), 0u);
}

TEST_F(FolderOps, ASortThatCannotReadANameReportsAndSavesNothing)
{
    StoreTree tree = SmallTree();
    std::string xml = StoreXml(tree, {StoreLayout::Compact});
    size_t at = xml.find("<name>news</name>");
    xml.erase(at, strlen("<name>news</name>"));
    ASSERT_TRUE(WriteWholeFile(path_, xml));
    store_.SetStorePath(path_.c_str());
    MessageBoxAnswerer boxes;
    EXPECT_EQ(store_.RenameNote("zzz", 0, 0, nullptr), 0);
    EXPECT_EQ(Bytes(), xml);
    auto seen = boxes.Seen();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].caption, "Error");
    EXPECT_EQ(seen[0].text.substr(0, 14), "Code: 80004003");
}

TEST_F(FolderOps, DeleteFolderRenumbersTheRest)
{
    StoreTree tree = SmallTree();
    UseStore(tree);
    ASSERT_EQ(store_.DeleteFolder(0, nullptr), 1);
    EXPECT_TRUE(StoreHolds(path_, WithIds({tree[1], tree[2]}), kCompact));
    ASSERT_EQ(store_.DeleteFolder(1, nullptr), 1);
    ASSERT_EQ(store_.DeleteFolder(0, nullptr), 1);
    EXPECT_TRUE(StoreHolds(path_, {}, kCompact));
    std::string before = Bytes();
    EXPECT_EQ(store_.DeleteFolder(0, nullptr), 0);
    EXPECT_EQ(Bytes(), before);
}

TEST_F(FolderOps, DeleteNoteRenumbersItsFolder)
{
    StoreTree tree = {Folder(0, "f", {Note(0, "a"), Note(1, "b", SampleEntries(2, "x")), Note(2, "c")})};
    UseStore(tree);
    ASSERT_EQ(store_.DeleteNote(0, 0, nullptr), 1);
    tree[0].notes.erase(tree[0].notes.begin());
    EXPECT_TRUE(StoreHolds(path_, WithIds(tree), kCompact));
    std::string before = Bytes();
    EXPECT_EQ(store_.DeleteNote(0, 2, nullptr), 0);
    EXPECT_EQ(store_.DeleteNote(1, 0, nullptr), 0);
    EXPECT_EQ(Bytes(), before);
}

TEST_F(FolderOps, MovingANoteIntoAnEmptyFolderMakesItTheOnlyNote)
{
    StoreTree tree = SmallTree();
    UseStore(tree);
    std::string before = Bytes();
    ASSERT_EQ(store_.MoveNote(0, 1, 2, nullptr), 1);
    ExpectedNote moved = tree[0].notes[1];
    tree[0].notes.erase(tree[0].notes.begin() + 1);
    tree[2].notes.push_back(moved);
    EXPECT_TRUE(StoreHolds(path_, WithIds(tree), kIndented));
    std::string backup;
    ASSERT_TRUE(ReadWholeFile(BackupPath(), &backup));
    EXPECT_EQ(backup, before);
}

TEST_F(FolderOps, MovingANoteSortsBothFolders)
{
    StoreTree tree = {Folder(0, "from", {Note(0, "b"), Note(1, "m"), Note(2, "z")}),
                      Folder(1, "to", {Note(0, "a"), Note(1, "n", SampleEntries(1, "keep"))})};
    UseStore(tree);
    ASSERT_EQ(store_.MoveNote(0, 1, 1, nullptr), 1);
    StoreTree expected = {Folder(0, "from", {Note(0, "b"), Note(1, "z")}),
                          Folder(1, "to", {Note(0, "a"), Note(1, "m"), Note(2, "n", SampleEntries(1, "keep"))})};
    EXPECT_TRUE(StoreHolds(path_, expected, kIndented));
}

TEST_F(FolderOps, MovingAMissingNote)
{
    StoreTree tree = SmallTree();
    UseStore(tree);
    std::string before = Bytes();
    MessageBoxAnswerer boxes;
    // Into a folder with notes: nothing to move, nothing said.
    EXPECT_EQ(store_.MoveNote(0, 7, 1, nullptr), 0);
    EXPECT_EQ(store_.MoveNote(9, 0, 1, nullptr), 0);
    EXPECT_EQ(store_.MoveNote(0, 0, 9, nullptr), 0);
    EXPECT_EQ(boxes.Count(), 0u);
    // Into an empty folder the missing note is used untested: a report.
    EXPECT_EQ(store_.MoveNote(0, 7, 2, nullptr), 0);
    EXPECT_EQ(Bytes(), before);
    auto seen = boxes.Seen();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text.substr(0, 14), "Code: 80004003");
}

TEST_F(FolderOps, FindByNameSearchesTheSnapshotExactly)
{
    StoreTree tree = {Folder(0, "alpha", {Note(0, "dup"), Note(1, "dup"), Note(2, "x")}), Folder(1, "Alpha")};
    UseStore(tree);
    EXPECT_EQ(store_.FindFolderByName("alpha"), 0);
    EXPECT_EQ(store_.FindFolderByName("Alpha"), 1);
    EXPECT_EQ(store_.FindFolderByName("ALPHA"), -1);
    EXPECT_EQ(store_.FindNoteByName(0, "dup"), 0);
    EXPECT_EQ(store_.FindNoteByName(0, "x"), 2);
    EXPECT_EQ(store_.FindNoteByName(1, "dup"), -1);
    EXPECT_EQ(store_.FindNoteByName(5, "dup"), -1);
}

TEST_F(FolderOps, NoContainerGetsA1001stChild)
{
    StoreTree tree;
    for (int f = 0; f < 1000; ++f)
        tree.push_back(Folder(f, "f" + std::to_string(f)));
    for (int n = 0; n < 1000; ++n)
        tree[0].notes.push_back(Note(n, "n" + std::to_string(n)));
    tree[1].notes.push_back(Note(0, "mover"));
    UseStore(tree, {StoreLayout::Compact});
    std::string before = Bytes();
    MessageBoxAnswerer boxes;
    EXPECT_EQ(store_.NewFolder(nullptr), 0);
    EXPECT_EQ(store_.NewNote(0, 999, nullptr), 0);
    EXPECT_EQ(store_.MoveNote(1, 0, 0, nullptr), 0);
    EXPECT_EQ(Bytes(), before);
    EXPECT_EQ(boxes.Count(), 0u);
    // One below the limit is still fine.
    EXPECT_EQ(store_.NewNote(1, 999, nullptr), 1);
}
