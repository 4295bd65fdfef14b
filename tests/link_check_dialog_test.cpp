// The link check of the whole collection and of one folder, through the
// menus, against loopback hosts: one write with its backup, the results
// in their groups, a double-click that shows the entry, a stop at once.
#include <gtest/gtest.h>

#include "resources/resource.h"
#include "store/xml_store.h"
#include "support/dialog_watcher.h"
#include "support/frame_fixture.h"
#include "support/frame_harness.h"
#include "support/loopback_http.h"
#include "support/modal_driver.h"

namespace {

class LinkCheckDialog : public FrameTest {
protected:
    void SetUp() override
    {
        LoopbackPage page{"200 OK", {"Last-Modified: Mon, 05 Mar 2007 23:30:00 GMT"}, "<title>t</title>"};
        a_.Serve("/ok", page);
        b_.Serve("/new", page);
        a_.Serve("/moved", LoopbackPage{"301 Moved Permanently", {"Location: " + b_.Url("/new")}, ""});
        a_.Serve("/busy", LoopbackPage{"503 Service Unavailable", {}, ""});
        LoopbackPage quiet;
        quiet.silent = true;
        silent_.Serve("/s", quiet);
    }
    ExpectedEntry Entry(int id, const std::string& title, const std::string& list)
    {
        ExpectedEntry e = SampleEntry(id, title);
        e.list = list;
        return e;
    }
    std::vector<std::string> Column(HWND list, int column) const
    {
        std::vector<std::string> texts;
        for (int row = 0; row < ListView_GetItemCount(list); ++row) {
            char text[1024] = {};
            ListView_GetItemText(list, row, column, text, sizeof text);
            texts.push_back(text);
        }
        return texts;
    }

    LoopbackHttp a_{"127.0.0.11"};
    LoopbackHttp b_{"127.0.0.12"};
    LoopbackHttp silent_{"127.0.0.13"};
    MessageBoxAnswerer boxes_;
};

}  // namespace

TEST_F(LinkCheckDialog, TheWholeCollectionIsCheckedWrittenOnceAndShownInGroups)
{
    StoreTree tree = {Folder(0, "f", {Note(0, "n", {Entry(0, "ok", a_.Url("/ok")), Entry(1, "gone", a_.Url("/gone")),
                                                     Entry(2, "moved", a_.Url("/moved"))})}),
                      Folder(1, "g", {Note(0, "m", {Entry(0, "busy", a_.Url("/busy"))})})};
    StartWithStore(tree);
    Show();
    Select(0, 0);
    const std::string before = StoreBytes();
    std::vector<std::string> groups;
    std::vector<std::string> titles;
    std::string summary;
    std::string selected;
    ASSERT_TRUE(DriveModal([&] { SendMessageA(Frame(), WM_COMMAND, ID_CHECK_ALL_LINKS, 0); }, "結果", [&](HWND d) {
        HWND list = GetDlgItem(d, IDC_LINK_LIST);
        groups = Column(list, 0);
        titles = Column(list, 3);
        summary = ItemText(d, IDC_LINK_SUMMARY);
        // A double-click on the moved link shows it in the main window.
        ListView_SetItemState(list, 1, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        NMITEMACTIVATE click = {};
        click.hdr.hwndFrom = list;
        click.hdr.idFrom = IDC_LINK_LIST;
        click.hdr.code = NM_DBLCLK;
        click.iItem = 1;
        SendMessageA(d, WM_NOTIFY, IDC_LINK_LIST, reinterpret_cast<LPARAM>(&click));
        int row = ListView_GetNextItem(List(), -1, LVNI_SELECTED);
        selected = row < 0 ? "" : RowText(row, 0);
        PressButton(d, IDCANCEL);
    }));
    EXPECT_EQ(groups, (std::vector<std::string>{"無効になったリンク", "移動したリンク", "確認が必要なリンク"}));
    EXPECT_EQ(titles, (std::vector<std::string>{"gone", "moved", "busy"}));
    EXPECT_EQ(summary, "無効になったリンク: 1 件　移動したリンク: 1 件　確認が必要なリンク: 1 件");
    EXPECT_EQ(selected, "moved");
    // Dead link "0", dates of the live ones; the doubtful one as it was.
    tree[0].notes[0].entries[0].update = "2007/03/05";
    tree[0].notes[0].entries[1].valid = "0";
    tree[0].notes[0].entries[2].update = "2007/03/05";
    EXPECT_TRUE(StoreHolds(storePath_, tree));
    std::string backup;
    ASSERT_TRUE(ReadWholeFile(BackupPathFor(storePath_.c_str()), &backup));
    EXPECT_EQ(backup, before);
    EXPECT_EQ(boxes_.Count(), 0u);
}

TEST_F(LinkCheckDialog, AStopEndsTheCheckAtOnceAndKeepsWhatWasFound)
{
    std::vector<ExpectedEntry> entries = {Entry(0, "gone", a_.Url("/gone"))};
    for (int i = 1; i < 6; ++i)
        entries.push_back(Entry(i, "silent", silent_.Url("/s")));
    StoreTree tree = {Folder(0, "f", {Note(0, "n", entries)}), Folder(1, "other", {Note(0, "x", {Entry(0, "x", a_.Url("/gone2"))})})};
    StartWithStore(tree);
    Show();
    Select(0, -1);
    DWORD stopped = 0;
    DWORD closed = 0;
    std::string summary;
    ASSERT_TRUE(DriveModal([&] { SendMessageA(TreeHost(), WM_COMMAND, ID_CHECK_FOLDER_LINKS, 0); }, "リンクの一括確認",
                           [&](HWND d) {
        WaitUntil([&] { return a_.Requests("/gone") > 0 && silent_.Requests("/s") > 0; });
        Sleep(300);   // the gone link decided meanwhile; the silent host holds on
        stopped = GetTickCount();
        PressButton(d, IDCANCEL);
        WaitUntil([&] { return !IsWindow(d); });
        closed = GetTickCount();
        HWND results = nullptr;
        WaitUntil([&] { return (results = FindOwnDialog("結果")) != nullptr; });
        summary = ItemText(results, IDC_LINK_SUMMARY);
        PressButton(results, IDCANCEL);
    }));
    EXPECT_LT(closed - stopped, 1000u);
    EXPECT_NE(summary.find("無効になったリンク: 1 件"), std::string::npos) << summary;
    EXPECT_NE(summary.find("中止"), std::string::npos) << summary;
    EXPECT_EQ(a_.Requests("/gone2"), 0) << "the folder's links only";
    tree[0].notes[0].entries[0].valid = "0";
    EXPECT_TRUE(StoreHolds(storePath_, tree));
}
