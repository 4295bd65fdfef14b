// Entry operations: add, edit, retitle, count accesses, delete the list's
// selected rows, move, and write check results.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <cstring>

#include "store/entry_key.h"
#include "support/dialog_watcher.h"
#include "support/store_fixture.h"

namespace {

const StoreCheck kIndented{true, StoreLayout::Indented};
const StoreCheck kCompact{true, StoreLayout::Compact};

template <size_t N>
void Put(char (&field)[N], const std::string& text)
{
    lstrcpynA(field, text.c_str(), N);
}

void Put(RecordText& field, const std::string& text)
{
    field = text;
}

EntryRecord RecordOf(const ExpectedEntry& e, int f, int n, int position)
{
    EntryRecord r;
    r.folderPos = f;
    r.notePos = n;
    r.entryPos = position;
    FormatEntryKey(f, n, position, r.key, sizeof r.key);
    Put(r.id, e.id);
    Put(r.count, e.count);
    Put(r.valid, e.valid);
    Put(r.date, e.date);
    Put(r.access, e.access);
    Put(r.update, e.update);
    Put(r.list, e.list);
    Put(r.title, e.title);
    Put(r.comment, e.comment);
    return r;
}

// One folder, one note with five entries, a second note with three.
StoreTree FiveAndThree()
{
    return {Folder(0, "f", {Note(0, "five", SampleEntries(5, "五")), Note(1, "three", SampleEntries(3, "三"))})};
}


std::string BackupBytes(const std::string& path)
{
    std::string bytes;
    ReadWholeFile(path, &bytes);
    return bytes;
}

}  // namespace

using EntryOps = StoreTest;

TEST_F(EntryOps, AddEntryAppendsNineValuesInOrderAndKeepsTheOldFileAsBackup)
{
    StoreTree tree = {Folder(0, "f", {Note(0, "n", SampleEntries(4, "title"))})};
    UseStore(tree, {StoreLayout::Compact});
    std::string before = Bytes();
    ExpectedEntry added = SampleEntry(4, "表示 & <ソフト>");
    added.comment = "メモ";
    ASSERT_EQ(store_.AddEntry(RecordOf(added, 0, 0, 4), nullptr), 1);
    tree[0].notes[0].entries.push_back(added);
    EXPECT_TRUE(StoreHolds(path_, tree, kIndented));
    EXPECT_EQ(BackupBytes(BackupPath()), before);
}

// Records hold any length: the store holds each value to its width, cut
// between characters, whether it adds or edits.
TEST_F(EntryOps, AddAndEditHoldLongValuesToTheirWidths)
{
    StoreTree tree = {Folder(0, "f", {Note(0, "n", SampleEntries(1, "title"))})};
    UseStore(tree, {StoreLayout::Compact});
    std::string wide;
    for (int i = 0; i < 600; ++i)
        wide += "あ";
    ExpectedEntry typed = SampleEntry(1, "");
    typed.title = wide;
    typed.list = std::string(1500, 'u');
    typed.comment = "x" + wide;
    ExpectedEntry held = typed;
    held.title = wide.substr(0, 518);
    held.list = std::string(1023, 'u');
    held.comment = "x" + wide.substr(0, 1022);
    ASSERT_EQ(store_.AddEntry(RecordOf(typed, 0, 0, 1), nullptr), 1);
    ASSERT_EQ(store_.EditEntry(RecordOf(typed, 0, 0, 0), nullptr), 1);
    ExpectedEntry& edited = tree[0].notes[0].entries[0];
    edited.title = held.title;
    edited.list = held.list;
    edited.comment = held.comment;
    tree[0].notes[0].entries.push_back(held);
    EXPECT_TRUE(StoreHolds(path_, tree, kCompact));
}

TEST_F(EntryOps, AddEntryIntoAMissingNoteWritesNothing)
{
    UseStore(FiveAndThree());
    std::string before = Bytes();
    MessageBoxAnswerer boxes;
    EXPECT_EQ(store_.AddEntry(RecordOf(SampleEntry(0, "x"), 0, 2, 0), nullptr), 0);
    EXPECT_EQ(store_.AddEntry(RecordOf(SampleEntry(0, "x"), 1, 0, 0), nullptr), 0);
    EXPECT_EQ(Bytes(), before);
    EXPECT_EQ(boxes.Count(), 0u);
}

TEST_F(EntryOps, AddEntryRefusesA1001stEntry)
{
    StoreTree tree = {Folder(0, "f", {Note(0, "full", SampleEntries(1000, "e"))})};
    UseStore(tree, {StoreLayout::Compact});
    std::string before = Bytes();
    EXPECT_EQ(store_.AddEntry(RecordOf(SampleEntry(1000, "x"), 0, 0, 1000), nullptr), 0);
    EXPECT_EQ(Bytes(), before);
}

TEST_F(EntryOps, EditEntryRewritesTitleAddressAndCommentOnly)
{
    StoreTree tree = FiveAndThree();
    UseStore(tree);
    ExpectedEntry edited{"2", "7", "0", "2023/01/02", "2023/02/03", "2023/03/04",
                         "https://example.org/新", "新しい題名", "コメント"};
    ASSERT_EQ(store_.EditEntry(RecordOf(edited, 0, 1, 2), nullptr), 1);
    // The count, state and dates the file holds win over the caller's.
    ExpectedEntry& kept = tree[0].notes[1].entries[2];
    kept.list = edited.list;
    kept.title = edited.title;
    kept.comment = edited.comment;
    EXPECT_TRUE(StoreHolds(path_, tree, kCompact));
    std::string before = Bytes();
    EXPECT_EQ(store_.EditEntry(RecordOf(edited, 0, 1, 3), nullptr), 0);
    EXPECT_EQ(Bytes(), before);
}

TEST_F(EntryOps, EditEntryOnAnEntryMissingAValueReportsAndWritesNothing)
{
    std::string xml = StoreXml(FiveAndThree(), {StoreLayout::Compact});
    std::string title = AnsiToUtf8("<title>三1</title>");
    xml.erase(xml.find(title), title.size());
    ASSERT_TRUE(WriteWholeFile(path_, xml));
    store_.SetStorePath(path_.c_str());
    MessageBoxAnswerer boxes;
    EXPECT_EQ(store_.EditEntry(RecordOf(SampleEntry(1, "x"), 0, 1, 1), nullptr), 0);
    EXPECT_EQ(Bytes(), xml);
    auto seen = boxes.Seen();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].caption, "Error");
    EXPECT_EQ(seen[0].text.substr(0, 14), "Code: 80004003");
}

TEST_F(EntryOps, SetEntryTitleChangesOnlyTheTitle)
{
    StoreTree tree = FiveAndThree();
    UseStore(tree);
    ASSERT_EQ(store_.SetEntryTitle("題名 <新>", "0-0-4", nullptr), 1);
    tree[0].notes[0].entries[4].title = "題名 <新>";
    EXPECT_TRUE(StoreHolds(path_, tree, kCompact));
}

TEST_F(EntryOps, SetEntryTitleOnAMissingEntryLeavesTheFileByteIdentical)
{
    UseStore(FiveAndThree());
    std::string before = Bytes();
    MessageBoxAnswerer boxes;
    EXPECT_EQ(store_.SetEntryTitle("x", "0-1-9", nullptr), 0);
    EXPECT_EQ(store_.SetEntryTitle("x", "0-2-0", nullptr), 0);
    EXPECT_EQ(store_.SetEntryTitle("x", "3-0-0", nullptr), 0);
    EXPECT_EQ(Bytes(), before);
    EXPECT_EQ(boxes.Count(), 0u);
    EXPECT_TRUE(LogLines().empty());
}

TEST_F(EntryOps, ControlCharactersNeverMakeTheFileUnreadable)
{
    // Such bytes come with badly encoded page titles; written as they are,
    // the next load would fail and every later operation with it.
    StoreTree tree = FiveAndThree();
    UseStore(tree);
    ASSERT_EQ(store_.SetEntryTitle("a\x01" "b\x0b" "c\td", "0-0-0", nullptr), 1);
    ExpectedEntry added = SampleEntry(3, "t\x1f");
    added.comment = "line\x02";
    ASSERT_EQ(store_.AddEntry(RecordOf(added, 0, 1, 3), nullptr), 1);
    ASSERT_EQ(store_.RenameNote("n\x07", 0, 0, nullptr), 1);
    tree[0].notes[0].entries[0].title = "a?b?c\td";
    added.title = "t?";
    added.comment = "line?";
    tree[0].notes[1].entries.push_back(added);
    tree[0].notes[0].name = "n?";
    EXPECT_TRUE(StoreHolds(path_, tree, kCompact));
}

TEST_F(EntryOps, RecordAccessCountsUpAndDatesTheAccess)
{
    StoreTree tree = FiveAndThree();
    UseStore(tree);
    DayWindow days;
    ASSERT_EQ(store_.RecordAccess("0-0-3", nullptr), 1);
    ASSERT_EQ(store_.RecordAccess("0-0-3", nullptr), 1);
    days.Close();
    tree[0].notes[0].entries[3].count = "3";
    EXPECT_TRUE(StoreHoldsOnEitherDay(path_, days, [&](const std::string& today) {
        StoreTree t = tree;
        t[0].notes[0].entries[3].access = today;
        return t;
    }, kCompact));
    std::string before = Bytes();
    EXPECT_EQ(store_.RecordAccess("0-0-5", nullptr), 0);
    EXPECT_EQ(Bytes(), before);
}

TEST_F(EntryOps, AccessCountStopsAt999AndOddCountsRestart)
{
    StoreTree tree = FiveAndThree();
    tree[0].notes[0].entries[0].count = "999";
    tree[0].notes[0].entries[1].count = "998";
    tree[0].notes[0].entries[2].count = "many";
    UseStore(tree);
    DayWindow days;
    for (const char* key : {"0-0-0", "0-0-1", "0-0-1", "0-0-2"})
        ASSERT_EQ(store_.RecordAccess(key, nullptr), 1) << key;
    days.Close();
    tree[0].notes[0].entries[1].count = "999";
    tree[0].notes[0].entries[2].count = "1";
    EXPECT_TRUE(StoreHoldsOnEitherDay(path_, days, [&](const std::string& today) {
        StoreTree t = tree;
        for (int e : {0, 1, 2})
            t[0].notes[0].entries[e].access = today;
        return t;
    }, kCompact));
}

TEST_F(EntryOps, AnEmptyValueCanStillBeChanged)
{
    StoreTree tree = FiveAndThree();
    std::string xml = StoreXml(tree, {StoreLayout::Compact});
    size_t count = xml.find("<count>1</count>");
    xml.replace(count, strlen("<count>1</count>"), "<count/>");
    std::string title = AnsiToUtf8("<title>五1</title>");
    xml.replace(xml.find(title), title.size(), "<title></title>");
    ASSERT_TRUE(WriteWholeFile(path_, xml));
    store_.SetStorePath(path_.c_str());
    MessageBoxAnswerer boxes;
    DayWindow days;
    ASSERT_EQ(store_.RecordAccess("0-0-0", nullptr), 1);
    days.Close();
    ASSERT_EQ(store_.SetEntryTitle("戻った", "0-0-1", nullptr), 1);
    tree[0].notes[0].entries[1].title = "戻った";
    EXPECT_TRUE(StoreHoldsOnEitherDay(path_, days, [&](const std::string& today) {
        StoreTree t = tree;
        t[0].notes[0].entries[0].access = today;
        return t;
    }, kCompact));
    EXPECT_EQ(boxes.Count(), 0u);
}

TEST_F(EntryOps, DeleteEntriesRemovesWhatTheKeysNamedAndRenumbers)
{
    StoreTree tree = FiveAndThree();
    UseStore(tree);
    ASSERT_EQ(store_.DeleteEntries({"0-0-1", "0-0-3"}, nullptr), 1);
    auto& entries = tree[0].notes[0].entries;
    entries = {entries[0], entries[2], entries[4]};
    EXPECT_TRUE(StoreHolds(path_, Renumbered(tree), kCompact));
}

TEST_F(EntryOps, DeleteEntriesTakesEachKeyOnceAndSkipsUnknownKeys)
{
    StoreTree tree = FiveAndThree();
    UseStore(tree);
    MessageBoxAnswerer boxes;
    // The last keys name nothing in the file, one is given twice.
    ASSERT_EQ(store_.DeleteEntries({"0-0-0", "0-0-1", "0-0-1", "0-0-4", "0-0-9", "7-0-0", "0-5-1", "x"}, nullptr), 1);
    auto& entries = tree[0].notes[0].entries;
    entries = {entries[2], entries[3]};
    EXPECT_TRUE(StoreHolds(path_, Renumbered(tree), kCompact));
    EXPECT_EQ(boxes.Count(), 0u);
}

TEST_F(EntryOps, DeleteEntriesWithNothingToDeleteWritesNothing)
{
    UseStore(FiveAndThree());
    std::string before = Bytes();
    EXPECT_EQ(store_.DeleteEntries({}, nullptr), 0);
    EXPECT_EQ(store_.DeleteEntries({"0-0-7"}, nullptr), 0);
    EXPECT_EQ(Bytes(), before);
}

TEST_F(EntryOps, MoveEntryAppendsItToTheDestinationAndRenumbersBoth)
{
    StoreTree tree = FiveAndThree();
    UseStore(tree, {StoreLayout::Compact});
    std::string before = Bytes();
    ASSERT_EQ(store_.MoveEntry(0, 0, 2, 0, 1, nullptr), 1);
    auto& five = tree[0].notes[0].entries;
    ExpectedEntry moved = five[2];
    five.erase(five.begin() + 2);
    tree[0].notes[1].entries.push_back(moved);
    StoreTree expected = Renumbered(tree);
    EXPECT_EQ(expected[0].notes[1].entries[3].id, "3");
    EXPECT_TRUE(StoreHolds(path_, expected, kIndented));
    EXPECT_EQ(BackupBytes(BackupPath()), before);
}

TEST_F(EntryOps, MoveEntryIntoAnEmptyNoteAndAcrossFolders)
{
    StoreTree tree = FiveAndThree();
    tree.push_back(Folder(1, "g", {Note(0, "empty")}));
    UseStore(tree);
    ASSERT_EQ(store_.MoveEntry(0, 1, 0, 1, 0, nullptr), 1);
    auto& three = tree[0].notes[1].entries;
    tree[1].notes[0].entries.push_back(three[0]);
    three.erase(three.begin());
    EXPECT_TRUE(StoreHolds(path_, Renumbered(tree), kIndented));
}

TEST_F(EntryOps, MoveEntryThatCannotHappen)
{
    StoreTree tree = FiveAndThree();
    tree[0].notes.push_back(Note(2, "full", SampleEntries(1000, "e")));
    tree[0].notes.push_back(Note(3, "empty"));
    UseStore(tree, {StoreLayout::Compact});
    std::string before = Bytes();
    MessageBoxAnswerer boxes;
    EXPECT_EQ(store_.MoveEntry(0, 0, 0, 0, 2, nullptr), 0);   // destination full
    EXPECT_EQ(store_.MoveEntry(0, 0, 9, 0, 1, nullptr), 0);   // no such entry
    EXPECT_EQ(store_.MoveEntry(0, 0, 0, 0, 9, nullptr), 0);   // no such note
    EXPECT_EQ(store_.MoveEntry(4, 0, 0, 0, 1, nullptr), 0);   // no such folder
    EXPECT_EQ(boxes.Count(), 0u);
    // A missing entry into an empty note is used untested: a report.
    EXPECT_EQ(store_.MoveEntry(0, 0, 9, 0, 3, nullptr), 0);
    EXPECT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(Bytes(), before);
}

TEST_F(EntryOps, ApplyCheckResultsWritesValidAndUpdateOnly)
{
    StoreTree tree = FiveAndThree();
    UseStore(tree);
    std::vector<EntryRecord> results;
    for (int e = 0; e < 5; ++e)
        results.push_back(RecordOf(tree[0].notes[0].entries[e], 0, 0, e));
    Put(results[1].valid, "0");
    Put(results[3].update, "2024/12/24");
    Put(results[3].title, "not written");
    EntryRecord missing = results[0];
    Put(missing.key, "0-0-9");
    Put(missing.valid, "0");
    results.push_back(missing);
    ASSERT_EQ(store_.ApplyCheckResults(results, nullptr), 1);
    tree[0].notes[0].entries[1].valid = "0";
    tree[0].notes[0].entries[3].update = "2024/12/24";
    EXPECT_TRUE(StoreHolds(path_, tree, kCompact));
}

TEST_F(EntryOps, ApplyCheckResultsSavesOnceEvenWhenNothingDiffers)
{
    StoreTree tree = FiveAndThree();
    UseStore(tree, {StoreLayout::Indented});
    std::vector<EntryRecord> same = {RecordOf(tree[0].notes[0].entries[0], 0, 0, 0)};
    ASSERT_EQ(store_.ApplyCheckResults(same, nullptr), 1);
    // Saved: the plain save turned the indented file compact.
    EXPECT_TRUE(StoreHolds(path_, tree, kCompact));
    // Nothing to write at all: no save, still 1.
    UseStore(tree, {StoreLayout::Indented});
    std::string before = Bytes();
    EntryRecord nowhere = same[0];
    Put(nowhere.key, "5-5-5");
    EXPECT_EQ(store_.ApplyCheckResults({nowhere}, nullptr), 1);
    EXPECT_EQ(store_.ApplyCheckResults({}, nullptr), 1);
    EXPECT_EQ(Bytes(), before);
}
