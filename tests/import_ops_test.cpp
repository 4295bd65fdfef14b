// ImportEntries, the import's one store write: a plan made from the
// snapshot is written only to the file it was made from.
#include <gtest/gtest.h>

#include "store/bookmark_merge.h"
#include "support/dialog_watcher.h"
#include "support/store_fixture.h"

namespace {

class ImportOps : public StoreTest {
protected:
    // One link into folder/note, planned against the snapshot.
    MergePlan Plan(const std::string& folder, const std::string& note, const std::string& address,
                   const std::string& title = "n", const std::string& comment = "-")
    {
        ImportedEntry entry{title, address, comment, "2023/11/15", "2023/11/16"};
        return PlanMerge(store_.Snapshot(), {ImportedNote{folder, note, {entry}}});
    }

    MessageBoxAnswerer boxes_;
};

}  // namespace

TEST_F(ImportOps, WritesThePlanWithTheValuesAsTheStoreHoldsThem)
{
    UseStore(SmallTree());
    const std::string before = Bytes();
    ASSERT_EQ(store_.ImportEntries(Plan("仕事", "資料", "https://x.example/?a=1&b=<2>", "t\x01<&>]]>", "a\r\nb\tc"),
                                   nullptr), 1);
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
    const std::string taken = SmallTree()[0].notes[0].entries[0].list;
    const struct {
        StoreTree onDisk;   // the file when the plan is written
        std::string folder, note, address;
        int result;
    } rows[] = {
        {renamed, "仕事", "資料", "https://new.example/", 0},
        {grown, "趣味", "new", "https://new.example/", 0},
        {SmallTree(), "仕事", "資料", taken, 1},   // a duplicate only
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.note + " " + row.address);
        UseStore(SmallTree());
        DeleteFileA(BackupPath().c_str());
        const MergePlan plan = Plan(row.folder, row.note, row.address);
        ASSERT_TRUE(WriteStore(path_, row.onDisk));
        const std::string before = Bytes();
        EXPECT_EQ(store_.ImportEntries(plan, nullptr), row.result);
        EXPECT_EQ(Bytes(), before);
        EXPECT_EQ(FileExists(BackupPath()), row.result == 0) << "a backup only where a write was begun";
    }
    EXPECT_EQ(boxes_.Count(), 0u) << "a plan that does not fit is no failure of the file";
}
