// ImportEntries, the import's one store write: a plan made from the
// snapshot is written only to the file it was made from.
#include <gtest/gtest.h>

#include "bookmarks/bookmark_merge.h"
#include "support/dialog_watcher.h"
#include "support/store_fixture.h"

class ImportOps : public StoreTest {};

TEST_F(ImportOps, APlanThatNoLongerFitsTheFileOrAddsNothingWritesNothing)
{
    MessageBoxAnswerer boxes;
    StoreTree renamed = SmallTree();
    renamed[0].name = "仕事2";
    StoreTree grown = SmallTree();
    grown[1].notes.push_back(Note(1, "後から"));
    const struct {
        StoreTree onDisk;   // the file when the plan is written
        std::string folder, note, address;
        int result;
    } rows[] = {
        {renamed, "仕事", "資料", "https://new.example/", 0},
        {grown, "趣味", "new", "https://new.example/", 0},
        {SmallTree(), "仕事", "資料", SmallTree()[0].notes[0].entries[0].list, 1},   // a duplicate only
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.note + " " + row.address);
        UseStore(SmallTree());
        DeleteFileA(BackupPath().c_str());
        const ImportedEntry link{"n", row.address, "-", "2023/11/15", "2023/11/15"};
        const MergePlan plan = PlanMerge(store_.Snapshot(), {ImportedNote{row.folder, row.note, {link}}});
        ASSERT_TRUE(WriteStore(path_, row.onDisk));
        const std::string before = Bytes();
        EXPECT_EQ(store_.ImportEntries(plan, nullptr), row.result);
        EXPECT_EQ(Bytes(), before);
        EXPECT_EQ(FileExists(BackupPath()), row.result == 0) << "a backup only where a write was begun";
    }
    EXPECT_EQ(boxes.Count(), 0u) << "a plan that does not fit is no failure of the file";
}
