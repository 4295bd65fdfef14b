#include <gtest/gtest.h>

#include "resources/resource.h"
#include "support/dialog_watcher.h"
#include "support/frame_fixture.h"

namespace {

class OpenStore : public FrameTest {
protected:
    std::string IniText() const
    {
        std::string text;
        ReadWholeFile(folder_.File("linkcairn.ini"), &text);
        return text;
    }
    void Open() { SendMessageA(TreeHost(), WM_COMMAND, ID_OPEN_STORE, 0); }
};

const char kTemplate[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>\r\n<root>\r\n</root>\r\n";

}  // namespace

TEST_F(OpenStore, NewNameWithoutExtensionCreatesTheTemplateAndOpensIt)
{
    Start();
    Show();
    std::string bytes;
    {
        // Wine's dialog returns "fresh" as typed; Windows' adds ".xml".
        FileDialogDriver driver(folder_.File("fresh"));
        Open();
        EXPECT_EQ(driver.Prompts(), 1) << "the dialog asks before a new file";
    }
    std::string created = folder_.File("fresh.xml");
    ASSERT_TRUE(ReadWholeFile(created, &bytes));
    EXPECT_EQ(bytes, kTemplate);
    EXPECT_NE(IniText().find("curxml=" + created), std::string::npos);
    EXPECT_EQ(std::string(Child().store.StorePath()), created);
    EXPECT_EQ(std::string(Child().settings.CurXml()), created);
    EXPECT_EQ(TreeView_GetCount(Tree()), 0u);
    EXPECT_EQ(RowCount(), 0);
}

TEST_F(OpenStore, ExistingFileIsRecordedAndShown)
{
    ASSERT_TRUE(WriteStore(storePath_, {Folder(0, "仕事", {Note(0, "資料")}), Folder(1, "趣味")}));
    Start();
    Show();
    {
        FileDialogDriver driver(storePath_);
        Open();
        EXPECT_EQ(driver.Prompts(), 0);
    }
    EXPECT_NE(IniText().find("curxml=" + storePath_), std::string::npos);
    EXPECT_EQ(TreeView_GetCount(Tree()), 3u);
    EXPECT_EQ(StatusText(3), "links.xml");
    char size[128];
    CINI::FormatFileSize(Child().settings.GetStoreFileSize(), size);
    EXPECT_EQ(StatusText(2), size);
    EXPECT_NE(StatusText(2), "0 Byte ( 0 )");
}

TEST_F(OpenStore, OpeningAStoreWithoutFoldersEmptiesTheTree)
{
    std::string empty = folder_.File("empty.xml");
    ASSERT_TRUE(WriteWholeFile(empty, kTemplate));
    StartWithStore({Folder(0, "old", {Note(0, "n", SampleEntries(2, "e"))})});
    Show();
    Select(0, 0);
    EXPECT_EQ(RowCount(), 2);
    {
        FileDialogDriver driver(empty);
        Open();
    }
    EXPECT_EQ(TreeView_GetCount(Tree()), 0u) << "no item may name a folder the snapshot lacks";
    EXPECT_EQ(RowCount(), 0);
    EXPECT_FALSE(SendMessageA(frame_->toolbar.hwnd, TB_ISBUTTONENABLED, ID_NEW_ENTRY, 0));
}

TEST_F(OpenStore, UnwritableIniShowsTheBoxAndChangesNothing)
{
    ASSERT_TRUE(WriteStore(storePath_, {Folder(0, "a")}));
    Start();
    Show();
    // The ini's name taken by a folder: no write can succeed, even as root.
    DeleteFileA(folder_.File("linkcairn.ini").c_str());
    ASSERT_TRUE(CreateDirectoryA(folder_.File("linkcairn.ini").c_str(), nullptr));
    std::vector<SeenBox> boxes;
    {
        FileDialogDriver driver(storePath_);
        Open();
        boxes = driver.Boxes();
    }
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "CHK");
    EXPECT_EQ(boxes[0].text, "iniﾌｧｲﾙへの書き込みに失敗しました");
    EXPECT_EQ(boxes[0].icon, "error");
    EXPECT_EQ(boxes[0].owner, nullptr);
    EXPECT_STREQ(Child().store.StorePath(), "");
    EXPECT_EQ(TreeView_GetCount(Tree()), 0u);
    EXPECT_TRUE(LogLines().empty()) << "the store selection's boxes are not logged";
}

TEST_F(OpenStore, CancelChangesNothing)
{
    StartWithStore({Folder(0, "keep")});
    {
        FileDialogDriver driver("");
        Open();
    }
    EXPECT_EQ(std::string(Child().store.StorePath()), storePath_);
    EXPECT_EQ(TreeView_GetCount(Tree()), 1u);
}

TEST_F(OpenStore, MissingStoreAtStartUpGivesAnEmptyTreeAndOneLogLine)
{
    MessageBoxAnswerer boxes;
    std::string ini = "[ini]\r\npath=x\r\n[xml]\r\ncurxml=" + folder_.File("gone.xml") + "\r\n";
    ASSERT_TRUE(WriteWholeFile(folder_.File("linkcairn.ini"), ini));
    Start();
    EXPECT_EQ(TreeView_GetCount(Tree()), 0u);
    EXPECT_EQ(StatusText(3), "gone.xml");
    EXPECT_EQ(StatusText(2), "0 Byte ( 0 )");
    EXPECT_EQ(LogLines().size(), 1u);
    EXPECT_EQ(boxes.Count(), 0u);
}

TEST_F(OpenStore, ExistingStoresAreOpenedAndNeverReplaced)
{
    struct Case {
        const char* onDisk;   // the filled store
        const char* typed;    // what the user types in the dialog
    };
    const Case cases[] = {
        {"links", "links"},         // a store without extension
        {"mine.xml", "mine"},       // the bare name of a store with ".xml"
        {"x.y", "x.y"},             // another extension
    };
    Start();
    Show();
    for (const Case& c : cases) {
        std::string path = folder_.File(c.onDisk);
        ASSERT_TRUE(WriteStore(path, {Folder(0, "仕事", {Note(0, "資料", SampleEntries(3, "e"))}),
                                      Folder(1, "趣味")}));
        std::string before;
        ASSERT_TRUE(ReadWholeFile(path, &before));
        {
            FileDialogDriver driver(folder_.File(c.typed));
            Open();
        }
        std::string after;
        ASSERT_TRUE(ReadWholeFile(path, &after));
        EXPECT_EQ(after, before) << c.onDisk << " must not become the empty template";
        EXPECT_EQ(std::string(Child().store.StorePath()), path) << c.typed;
        EXPECT_NE(IniText().find("curxml=" + path), std::string::npos) << c.typed;
        EXPECT_EQ(TreeView_GetCount(Tree()), 3u) << c.typed;
    }
}
