// The duplicates window through the frame: its groups over a generated
// store, what it ticks, one deletion and its write, a double-click that
// shows the entry, and its word when the file changes behind it.
#include <gtest/gtest.h>

#include "resources/resource.h"
#include "support/dialog_watcher.h"
#include "support/frame_fixture.h"
#include "support/frame_harness.h"
#include "support/mouse_input.h"
#include "ui/duplicate_window.h"

namespace {

ExpectedEntry Link(int id, const std::string& address, const std::string& count, const std::string& access)
{
    ExpectedEntry e = SampleEntry(id, "t" + std::to_string(id));
    e.list = address;
    e.count = count;
    e.access = access;
    return e;
}

// A generated note of 30 entries in which every seventh holds the same
// address (five of them, the fourth accessed last); two smaller groups across
// folders: a likely one of three and a same one of two. `gone` drops
// entries by key, as the store leaves them after a deletion.
StoreTree Collection(const std::vector<std::string>& gone = {})
{
    std::vector<ExpectedEntry> many;
    for (int e = 0; e < 30; ++e) {
        ExpectedEntry entry = SampleEntry(e, "g" + std::to_string(e));
        entry.list = e % 7 == 0 ? "http://g.example/dup" : "http://g.example/" + std::to_string(e);
        many.push_back(entry);
    }
    StoreTree tree = {
        Folder(0, "仕事", {Note(0, "資料", {Link(0, "http://example.com/a", "1", "2024/05/01"),
                                            Link(1, "http://b.example/p", "7", "2024/01/01")}),
                           Note(1, "feeds", {Link(0, "HTTP://EXAMPLE.COM:80/a", "4", "2024/05/02")})}),
        Folder(1, "solo", {Note(0, "only", {Link(0, "http://b.example/p#", "2", "2024/09/09"),
                                            Link(1, "https://www.example.com/a/", "4", "2024/06/01")})}),
        Folder(2, "gen", {Note(0, "many", many)}),
    };
    for (const std::string& key : gone) {
        int f = 0, n = 0, e = 0;
        sscanf(key.c_str(), "%d-%d-%d", &f, &n, &e);
        auto& entries = tree[static_cast<size_t>(f)].notes[static_cast<size_t>(n)].entries;
        entries[static_cast<size_t>(e)].id = "gone";
    }
    for (auto& folder : tree) {
        for (auto& note : folder.notes) {
            std::vector<ExpectedEntry> kept;
            for (auto& entry : note.entries) {
                if (entry.id != "gone")
                    kept.push_back(entry);
            }
            note.entries = kept;
        }
    }
    return Renumbered(tree);
}

class DuplicateWindow : public FrameTest {
protected:
    void Open()
    {
        StartWithStore(Collection());
        Show();
        SetFocus(Tree());
        SendMessageA(Frame(), WM_COMMAND, ID_FIND_DUPLICATES, 0);
        window_ = FindWindowA(nullptr, kDuplicatesTitle);
        ASSERT_NE(window_, nullptr);
        rows_ = GetDlgItem(window_, IDC_DUP_LIST);
    }
    std::vector<std::string> Cells(int column) const
    {
        std::vector<std::string> cells;
        for (int row = 0; row < ListView_GetItemCount(rows_); ++row) {
            char text[1024] = {};
            ListView_GetItemText(rows_, row, column, text, sizeof text);
            cells.push_back(text);
        }
        return cells;
    }
    std::string Ticks() const
    {
        std::string ticks;
        for (int row = 0; row < ListView_GetItemCount(rows_); ++row)
            ticks += ListView_GetCheckState(rows_, row) ? '1' : '0';
        return ticks;
    }
    std::string State() const { return ItemText(IDC_DUP_STATE); }
    std::string ItemText(int id) const
    {
        char text[256] = {};
        GetDlgItemTextA(window_, id, text, sizeof text);
        return text;
    }

    HWND window_ = nullptr;
    HWND rows_ = nullptr;
};

}  // namespace

TEST_F(DuplicateWindow, GroupsLargestFirstTicksAllButTheMostUsedAndDeletesInOneWrite)
{
    Open();
    Select(1, 0);
    EXPECT_EQ(Cells(0), (std::vector<std::string>{"1 同一", "1 同一", "1 同一", "1 同一", "1 同一", "2 類似", "2 類似",
                                                  "2 類似", "3 同一", "3 同一"}));
    EXPECT_EQ(Cells(4), (std::vector<std::string>{"http://g.example/dup", "http://g.example/dup", "http://g.example/dup",
                                                  "http://g.example/dup", "http://g.example/dup", "http://example.com/a",
                                                  "HTTP://EXAMPLE.COM:80/a", "https://www.example.com/a/",
                                                  "http://b.example/p", "http://b.example/p#"}))
        << "addresses as stored";
    const std::vector<std::string> row6 = {"2 類似", "仕事", "feeds", "t0", "HTTP://EXAMPLE.COM:80/a", "2024/05/01",
                                           "2024/05/02", "4"};
    for (size_t c = 0; c < row6.size(); ++c)
        EXPECT_EQ(Cells(static_cast<int>(c))[6], row6[c]) << "column " << c;
    // Kept: the latest access among equal counts, the higher count of a tie
    // broken by access, the highest count.
    EXPECT_EQ(Ticks(), "1110111001");
    EXPECT_EQ(State(), "3 グループ、10 件。チェックした 7 件を削除できます。");
    PumpMessages(50);
    SaveWindowShot(window_, "duplicates.bmp");

    ListView_SetCheckState(rows_, 6, FALSE);
    EXPECT_EQ(State(), "3 グループ、10 件。チェックした 6 件を削除できます。");
    const std::string before = StoreBytes();
    MessageBoxAnswerer boxes({IDYES});
    PressButton(window_, IDC_DUP_DELETE);
    ASSERT_TRUE(PumpUntil([&] { return ListView_GetItemCount(rows_) == 2; }));
    ASSERT_EQ(boxes.Count(), 1u) << "asked once";
    EXPECT_EQ(boxes.Seen()[0].text, "チェックした 6 件のピンロールを削除しますか？");
    EXPECT_TRUE(StoreHolds(storePath_, Collection({"2-0-0", "2-0-7", "2-0-14", "2-0-28", "0-0-0", "1-0-0"}),
                           StoreCheck{true, StoreLayout::Indented}));
    std::string backup;
    ASSERT_TRUE(ReadWholeFile(folder_.File("links_old.xml"), &backup));
    EXPECT_EQ(backup, before);
    EXPECT_EQ(Column(kKeyColumn), (std::vector<std::string>{"1-0-0"})) << "the shown note follows the file";
    EXPECT_EQ(Cells(4), (std::vector<std::string>{"HTTP://EXAMPLE.COM:80/a", "https://www.example.com/a/"}));
    EXPECT_EQ(Ticks(), "10");
}

TEST_F(DuplicateWindow, DoubleClickShowsTheEntryAndAWriteElsewhereMakesItOutOfDate)
{
    Open();
    RECT cell;
    ListView_GetItemRect(rows_, 7, &cell, LVIR_LABEL);
    SendMessageA(rows_, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM((cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2));
    EXPECT_EQ(SelectedLabel(), "only");
    const int selected = ListView_GetNextItem(List(), -1, LVNI_SELECTED);
    ASSERT_GE(selected, 0);
    EXPECT_EQ(RowText(selected, kKeyColumn), "1-0-1");
    EXPECT_EQ(ListView_GetSelectedCount(List()), 1u);
    EXPECT_EQ(State(), "3 グループ、10 件。チェックした 7 件を削除できます。") << "showing changes nothing";

    ASSERT_TRUE(Child().store.RecordAccess("0-0-0", nullptr));
    ASSERT_TRUE(PumpUntil([&] { return State().find("最新ではありません") != std::string::npos; }, 5000));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(window_, IDC_DUP_DELETE)));
    PressButton(window_, IDC_DUP_RESCAN);
    ASSERT_TRUE(PumpUntil([&] { return State().find("最新ではありません") == std::string::npos; }));
    EXPECT_EQ(Cells(7)[5], "2") << "the count as the file holds it now";
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(window_, IDC_DUP_DELETE)));

    HMENU menu = GetMenu(Frame());
    for (bool store : {true, false}) {
        if (!store)
            Child().store.SetStorePath("");
        SendMessageA(Frame(), WM_INITMENU, reinterpret_cast<WPARAM>(menu), 0);
        EXPECT_EQ((GetMenuState(menu, ID_FIND_DUPLICATES, MF_BYCOMMAND) & MF_GRAYED) == 0, store);
    }
}
