// ImportEntries, the import's one store write: a plan made from the
// snapshot is written only to the file it was made from.
#include <gtest/gtest.h>

#include "store/bookmark_merge.h"
#include "support/dialog_watcher.h"
#include "support/store_fixture.h"

namespace {

class ImportOps : public StoreTest {
protected:
    // One link for note `note` of folder `folder`, planned against the snapshot.
    MergePlan Plan(const std::string& folder, const std::string& note, const ImportedEntry& entry)
    {
        return PlanMerge(store_.Snapshot(), {ImportedNote{folder, note, {entry}}});
    }

    MessageBoxAnswerer boxes_;
};

ImportedEntry Link(const std::string& address, const std::string& title, const std::string& comment = "-")
{
    ImportedEntry entry;
    entry.address = address;
    entry.title = title;
    entry.comment = comment;
    snprintf(entry.date, sizeof entry.date, "2023/11/15");
    snprintf(entry.access, sizeof entry.access, "2023/11/16");
    return entry;
}

}  // namespace

TEST_F(ImportOps, WritesThePlanWithTheValuesAsTheStoreHoldsThem)
{
    UseStore(SmallTree());
    const std::string before = Bytes();
    const MergePlan plan = Plan("仕事", "資料", Link("https://x.example/?a=1&b=<2>", "t\x01<&>]]>", "a\r\nb\tc"));
    ASSERT_EQ(store_.ImportEntries(plan, nullptr), 1);

    StoreTree expected = SmallTree();
    expected[0].notes[0].entries.push_back(ExpectedEntry{"2", "1", "1", "2023/11/15", "2023/11/16", "-",
                                                         "https://x.example/?a=1&b=<2>", "t?<&>]]>", "a\r\nb\tc"});
    EXPECT_TRUE(StoreHolds(path_, expected, StoreCheck{true, StoreLayout::Indented}));
    std::string backup;
    ASSERT_TRUE(ReadWholeFile(BackupPath(), &backup));
    EXPECT_EQ(backup, before);
}

TEST_F(ImportOps, APlanThatNoLongerFitsTheFileOrAddsNothingWritesNothing)
{
    StoreTree renamed = SmallTree();
    renamed[0].name = "仕事2";
    StoreTree grown = SmallTree();
    grown[1].notes.push_back(Note(1, "後から"));
    const struct {
        const char* name;
        StoreTree onDisk;      // the file when the plan is written
        std::string folder, note;
        int result;
    } rows[] = {
        {"folder renamed", renamed, "仕事", "資料", 0},
        {"note added", grown, "趣味", "new", 0},
        {"duplicate only", SmallTree(), "仕事", "資料", 1},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        UseStore(SmallTree());
        DeleteFileA(BackupPath().c_str());
        // The snapshot's first entry of 仕事/資料 is a duplicate there.
        const std::string address = std::string(row.name) == "duplicate only"
                                        ? store_.Snapshot()[0].notes[0].entries[0].list
                                        : "https://new.example/";
        const MergePlan plan = Plan(row.folder, row.note, Link(address, "n"));
        ASSERT_TRUE(WriteStore(path_, row.onDisk));
        const std::string before = Bytes();
        EXPECT_EQ(store_.ImportEntries(plan, nullptr), row.result);
        EXPECT_EQ(Bytes(), before);
        EXPECT_EQ(FileExists(BackupPath()), row.result == 0) << "a backup only where a write was begun";
    }
    EXPECT_EQ(boxes_.Count(), 0u) << "a plan that does not fit is no failure of the file";
}
