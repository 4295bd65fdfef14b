// Every change acts on what the user named and writes what the file holds:
// questions and the search window, property edits after an access, long
// Japanese text, a damaged store's backup, export targets, failed writes.
#include <gtest/gtest.h>

#include "resources/resource.h"
#include "store/xml_store.h"
#include "support/dialog_watcher.h"
#include "support/frame_fixture.h"
#include "support/frame_harness.h"
#include "support/modal_driver.h"

namespace {

class RightTarget : public FrameTest {
protected:
    void Open(std::vector<ExpectedEntry> entries)
    {
        StartWithStore({Folder(0, "f", {Note(0, "n", std::move(entries))}), Folder(1, "g", {Note(0, "m")})});
        Show();
        Select(0, 0);
    }
    std::vector<std::string> FileTitles()
    {
        CmyXml file;
        file.SetStorePath(storePath_.c_str());
        std::vector<std::string> titles;
        for (const EntryRecord& e : file.Snapshot()[0].notes[0].entries)
            titles.push_back(e.title.c_str());
        return titles;
    }
    EntryRecord FileEntry(int entry)
    {
        CmyXml file;
        file.SetStorePath(storePath_.c_str());
        return file.Snapshot()[0].notes[0].entries[static_cast<size_t>(entry)];
    }
    // F3 in the main window: the search handed over last.
    void Search(const char* text)
    {
        SearchRequest& request = Child().lastRequest;
        request = SearchRequest{};
        lstrcpynA(request.text, text, sizeof request.text);
        request.downward = 1;
        SendMessageA(TreeHost(), WM_COMMAND, ID_SEARCH_AGAIN, 0);
    }
    std::string SelectedTitle() const
    {
        int row = ListView_GetNextItem(List(), -1, LVNI_SELECTED);
        return row < 0 ? "" : RowText(row, 0);
    }
};

std::vector<ExpectedEntry> Titled(std::initializer_list<const char*> titles)
{
    std::vector<ExpectedEntry> entries;
    for (const char* title : titles)
        entries.push_back(SampleEntry(static_cast<int>(entries.size()), title));
    return entries;
}

}  // namespace

TEST_F(RightTarget, TheDeleteQuestionDeletesWhatItNamedAndTheSearchGoesOnFromThere)
{
    Open(Titled({"a", "foo 1", "foo 2", "foo 3", "b"}));
    Search("foo");
    ASSERT_EQ(SelectedTitle(), "foo 1");
    {
        // F3 while the question is up must not move the selection.
        MessageBoxAnswerer boxes({IDYES});
        PostMessageA(TreeHost(), WM_COMMAND, ID_SEARCH_AGAIN, 0);
        SendMessageA(ListHost(), WM_COMMAND, ID_DELETE, 0);
        ASSERT_EQ(boxes.Count(), 1u);
    }
    PumpMessages(50);
    EXPECT_EQ(FileTitles(), (std::vector<std::string>{"a", "foo 2", "foo 3", "b"}));
    // After the change no hit is skipped, none shown twice.
    Search("foo");
    EXPECT_EQ(SelectedTitle(), "foo 2");
    SendMessageA(TreeHost(), WM_COMMAND, ID_SEARCH_AGAIN, 0);
    EXPECT_EQ(SelectedTitle(), "foo 3");

    // A delete the file refuses leaves every row of the file on show.
    SelectRows({0});
    SetFileAttributesA(storePath_.c_str(), FILE_ATTRIBUTE_READONLY);
    {
        MessageBoxAnswerer boxes({IDYES, IDOK, IDOK, IDOK});
        SendMessageA(ListHost(), WM_COMMAND, ID_DELETE, 0);
    }
    SetFileAttributesA(storePath_.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(Column(0), FileTitles());
}

TEST_F(RightTarget, PropertiesKeepTheFilesCountAndLongTextKeepsWholeCharacters)
{
    Open(Titled({"t"}));
    SelectRows({0});
    SendMessageA(ListHost(), WM_COMMAND, ID_COPY_ADDRESS, 0);
    ASSERT_EQ(std::string(FileEntry(0).count), "2");
    const std::string today = TodayText();
    std::string wide;
    for (int i = 0; i < 300; ++i)
        wide += "あ";
    ASSERT_TRUE(DriveModal(ListHost(), ID_PROPERTIES, "のプロパティ", [&](HWND d) {
        SetDlgItemTextA(d, IDC_TITLE, wide.c_str());
        SetDlgItemTextA(d, IDC_COMMENT, "new comment");
        PressButton(d, IDOK);
    }));
    EntryRecord stored = FileEntry(0);
    EXPECT_STREQ(stored.count, "2");
    EXPECT_EQ(std::string(stored.access), today);
    EXPECT_STREQ(stored.comment, "new comment");
    EXPECT_EQ(std::string(stored.title), wide.substr(0, 518)) << "259 whole characters, no half one";
}

TEST_F(RightTarget, ADamagedStoreKeepsItsBackupAndExportNeverWritesOverTheStore)
{
    Open(Titled({"t"}));
    const std::string backup = BackupPathFor(storePath_.c_str());
    const std::string good = StoreBytes();
    for (const std::string& target : {storePath_, backup}) {
        ASSERT_TRUE(WriteWholeFile(backup, good));
        FileDialogDriver driver(target, "ブックマークファイルの保存");
        SetFocus(Tree());
        SendMessageA(Frame(), WM_COMMAND, ID_EXPORT, 0);
        std::vector<SeenBox> boxes = driver.Boxes();
        ASSERT_FALSE(boxes.empty()) << target;
        EXPECT_EQ(boxes.back().caption, "ERROR");
        std::string bytes;
        EXPECT_TRUE(ReadWholeFile(target, &bytes) && bytes == good) << target;
    }

    // Cut short outside the program: its backup is the only good copy.
    const std::string cut = good.substr(0, good.size() / 2);
    ASSERT_TRUE(WriteWholeFile(storePath_, cut));
    std::vector<SeenBox> boxes;
    {
        MessageBoxAnswerer answerer;
        SendMessageA(TreeHost(), WM_COMMAND, ID_NEW_FOLDER, 0);
        boxes = answerer.Seen();
    }
    ASSERT_GE(boxes.size(), 2u) << "the store's report, then the command's";
    EXPECT_EQ(boxes.back().text, "フォルダの作成に失敗しました");
    std::string bytes;
    EXPECT_TRUE(ReadWholeFile(backup, &bytes) && bytes == good);
    EXPECT_EQ(StoreBytes(), cut);
}
