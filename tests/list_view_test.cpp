#include <gtest/gtest.h>

#include <cstdlib>

#include "resources/resource.h"
#include "support/dialog_watcher.h"
#include "support/frame_fixture.h"
#include "support/frame_harness.h"

namespace {

std::vector<std::string> opened;

void RecordOpen(const char* address)
{
    opened.push_back(address);
}

StoreTree FiveEntries()
{
    std::vector<ExpectedEntry> entries = SampleEntries(5, "e");
    const char* counts[] = {"9", "10", "2", "100", "9"};
    for (int i = 0; i < 5; ++i)
        entries[i].count = counts[i];
    return {Folder(0, "f", {Note(0, "five", entries), Note(1, "three", SampleEntries(3, "t")),
                            Note(2, "none")})};
}

class ListView : public FrameTest {
protected:
    void SetUp() override
    {
        opened.clear();
        SetBrowserLauncher(RecordOpen);
    }
    void TearDown() override { SetBrowserLauncher(nullptr); }

    void Command(int id) { SendMessageA(ListHost(), WM_COMMAND, id, 0); }
    void ClickColumn(int column)
    {
        NMLISTVIEW click = {};
        click.hdr.hwndFrom = List();
        click.hdr.idFrom = 500;
        click.hdr.code = LVN_COLUMNCLICK;
        click.iItem = -1;
        click.iSubItem = column;
        SendMessageA(ListHost(), WM_NOTIFY, 500, reinterpret_cast<LPARAM>(&click));
    }
    std::vector<std::string> Column(int column) const
    {
        std::vector<std::string> texts;
        for (int i = 0; i < RowCount(); ++i)
            texts.push_back(RowText(i, column));
        return texts;
    }
    int RowOfTitle(const std::string& title) const
    {
        for (int i = 0; i < RowCount(); ++i) {
            if (RowText(i, 0) == title)
                return i;
        }
        return -1;
    }
    void EditTitle(int row, const char* text, bool escape)
    {
        SetFocus(List());
        HWND editor = ListView_EditLabel(List(), row);
        ASSERT_NE(editor, nullptr);
        SetWindowTextA(editor, text);
        SendMessageA(editor, WM_KEYDOWN, escape ? VK_ESCAPE : VK_RETURN, 0);
        PumpMessages(20);
    }
    std::string Clipboard() const
    {
        std::string text;
        if (!OpenClipboard(nullptr))
            return text;
        if (HANDLE data = GetClipboardData(CF_TEXT)) {
            text = static_cast<const char*>(GlobalLock(data));
            GlobalUnlock(data);
        }
        CloseClipboard();
        return text;
    }
};

}  // namespace

TEST_F(ListView, CountSortsNumericallyDescendingThenAscending)
{
    StartWithStore(FiveEntries());
    Show();
    Select(0, 0);
    ClickColumn(6);
    EXPECT_EQ(Column(6), (std::vector<std::string>{"100", "10", "9", "9", "2"}));
    ClickColumn(6);
    EXPECT_EQ(Column(6), (std::vector<std::string>{"2", "9", "9", "10", "100"}));
    ClickColumn(0);
    EXPECT_EQ(Column(0), (std::vector<std::string>{"e4", "e3", "e2", "e1", "e0"}));
    Select(0, 1);
    EXPECT_EQ(Column(0), (std::vector<std::string>{"t0", "t1", "t2"})) << "a fill comes in store order";
}

TEST_F(ListView, AfterSortingCopyAndOpenActOnTheRowsOwnEntry)
{
    StartWithStore(FiveEntries());
    Show();
    Select(0, 0);
    ClickColumn(0);
    if (RowOfTitle("e4") != 0)
        ClickColumn(0);   // the direction flags live for the whole run
    ASSERT_EQ(RowOfTitle("e4"), 0);
    SelectRows({RowOfTitle("e4")});
    Command(ID_COPY_ADDRESS);
    StoreTree expected = FiveEntries();
    EXPECT_EQ(Clipboard(), expected[0].notes[0].entries[4].list);

    SelectRows({RowOfTitle("e0")});
    Command(ID_OPEN_IN_BROWSER);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], expected[0].notes[0].entries[0].list);

    // Both count an access: one more, today's date.
    const std::string today = TodayText();
    expected[0].notes[0].entries[4].count = "10";
    expected[0].notes[0].entries[4].access = today;
    expected[0].notes[0].entries[0].count = "10";
    expected[0].notes[0].entries[0].access = today;
    EXPECT_TRUE(StoreHolds(storePath_, expected));
}

TEST_F(ListView, NothingSelectedReportsTheItemError)
{
    StartWithStore(FiveEntries());
    Show();
    Select(0, 0);
    SelectRows({});
    std::vector<SeenBox> seen;
    {
        MessageBoxAnswerer boxes;
        Command(ID_COPY_ADDRESS);
        seen = boxes.Seen();
    }
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].caption, "ERROR");
    EXPECT_EQ(seen[0].icon, "error");
    auto lines = LogLines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find("アイテムの取得に失敗しました。"), std::string::npos);
    EXPECT_NE(lines[0].find(".\\CListCtrl"), std::string::npos);
}

TEST_F(ListView, DeletingTwoRowsAsksWithTheCountAndRenumbers)
{
    StartWithStore(FiveEntries());
    Show();
    Select(0, 0);
    SelectRows({1, 3});
    std::vector<SeenBox> seen;
    {
        MessageBoxAnswerer boxes({IDYES});
        Command(ID_DELETE);
        seen = boxes.Seen();
    }
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, "' 2 ' 個のピンロールを削除しますか？");
    EXPECT_EQ(seen[0].caption, "削除の確認");
    EXPECT_EQ(Column(0), (std::vector<std::string>{"e0", "e2", "e4"}));
    EXPECT_EQ(Column(8), (std::vector<std::string>{"0-0-0", "0-0-1", "0-0-2"}));
    StoreTree expected = FiveEntries();
    auto& entries = expected[0].notes[0].entries;
    entries.erase(entries.begin() + 3);
    entries.erase(entries.begin() + 1);
    EXPECT_TRUE(StoreHolds(storePath_, Renumbered(expected)));
}

TEST_F(ListView, DeletingOneRowAsksWithItsTitleAndNoKeepsIt)
{
    StartWithStore(FiveEntries());
    Show();
    Select(0, 0);
    SelectRows({2});
    std::string before = StoreBytes();
    std::vector<SeenBox> seen;
    {
        MessageBoxAnswerer boxes({IDNO});
        Command(ID_DELETE);
        seen = boxes.Seen();
    }
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, "'e2' を削除しますか？");
    EXPECT_EQ(StoreBytes(), before);
    EXPECT_EQ(RowCount(), 5);
}

TEST_F(ListView, TitleEditsStoreTheTypedTextOnEnterAndEsc)
{
    StartWithStore(FiveEntries());
    Show();
    Select(0, 0);
    StoreTree expected = FiveEntries();

    EditTitle(1, "新しい題名", false);
    expected[0].notes[0].entries[1].title = "新しい題名";
    EXPECT_TRUE(StoreHolds(storePath_, expected));
    EXPECT_EQ(RowText(1, 0), "新しい題名");

    EditTitle(2, "typed then Esc", true);
    expected[0].notes[0].entries[2].title = "typed then Esc";
    EXPECT_TRUE(StoreHolds(storePath_, expected));
    EXPECT_EQ(RowText(2, 0), "typed then Esc");

    std::string before = StoreBytes();
    EditTitle(3, "", false);
    EXPECT_EQ(RowText(3, 0), "e3") << "an empty title restores the old one";
    EditTitle(3, "e3", false);
    EXPECT_EQ(StoreBytes(), before) << "the same title does not touch the store";
}

TEST_F(ListView, SelectAllSelectsEveryRowAndFocusesOne)
{
    StartWithStore(FiveEntries());
    Show();
    Select(0, 0);
    Command(ID_SELECT_ALL);
    EXPECT_EQ(ListView_GetSelectedCount(List()), 5u);
    EXPECT_GE(ListView_GetNextItem(List(), -1, LVNI_FOCUSED), 0);
}

TEST_F(ListView, RefreshRereadsTheStoreAndAnEmptyListShowsTheSelectedNote)
{
    StartWithStore(FiveEntries());
    Show();
    Select(0, 1);
    StoreTree changed = FiveEntries();
    changed[0].notes[1].entries[0].title = "changed outside";
    ASSERT_TRUE(WriteStore(storePath_, changed));
    Command(ID_REFRESH);
    EXPECT_EQ(RowText(0, 0), "changed outside");
    EXPECT_EQ(StatusText(2), "");

    ListView_DeleteAllItems(List());
    Command(ID_REFRESH);
    EXPECT_EQ(RowCount(), 3) << "the tree's selected note";
    ListView_DeleteAllItems(List());
    Select(0, -1);
    Command(ID_REFRESH);
    EXPECT_EQ(RowCount(), 0) << "a folder selected: nothing to show";
}

TEST_F(ListView, ContextMenuGraying)
{
    HMENU menu = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDM_CONTEXT));
    HMENU popup = GetSubMenu(menu, 1);
    const UINT all[] = {ID_DELETE, ID_EDIT, ID_NEW_ENTRY, ID_COPY_ADDRESS, ID_OPEN_IN_BROWSER,
                        ID_CHECK_UPDATES, ID_PROPERTIES, ID_REFRESH};
    auto grayedSet = [&](bool rowFlag) {
        for (UINT id : all)
            EnableMenuItem(popup, id, MF_BYCOMMAND | MF_ENABLED);
        Child().list.EnableListMenu(popup, rowFlag, Tree());
        std::vector<UINT> grayed;
        for (UINT id : all) {
            if (GetMenuState(popup, id, MF_BYCOMMAND) & MF_GRAYED)
                grayed.push_back(id);
        }
        return grayed;
    };
    using Ids = std::vector<UINT>;
    StartWithStore(FiveEntries());
    Show();

    EXPECT_EQ(grayedSet(false), (Ids{ID_DELETE, ID_EDIT, ID_NEW_ENTRY, ID_COPY_ADDRESS,
                                     ID_OPEN_IN_BROWSER, ID_CHECK_UPDATES, ID_PROPERTIES, ID_REFRESH}))
        << "nothing selected in the tree, empty list";
    Select(0, 2);
    EXPECT_EQ(grayedSet(false), (Ids{ID_DELETE, ID_EDIT, ID_COPY_ADDRESS, ID_OPEN_IN_BROWSER,
                                     ID_CHECK_UPDATES, ID_PROPERTIES, ID_REFRESH}))
        << "a note with no entries: only new entry stays";
    Select(0, -1);
    EXPECT_EQ(grayedSet(false), (Ids{ID_DELETE, ID_EDIT, ID_NEW_ENTRY, ID_COPY_ADDRESS,
                                     ID_OPEN_IN_BROWSER, ID_CHECK_UPDATES, ID_PROPERTIES, ID_REFRESH}))
        << "a folder and an empty list";
    Select(0, 0);
    SelectRows({});
    EXPECT_EQ(grayedSet(false), (Ids{ID_DELETE, ID_EDIT, ID_COPY_ADDRESS, ID_OPEN_IN_BROWSER,
                                     ID_PROPERTIES}));
    SelectRows({1});
    EXPECT_EQ(grayedSet(true), (Ids{ID_NEW_ENTRY}));
    SelectRows({1, 2});
    EXPECT_EQ(grayedSet(true), (Ids{ID_EDIT, ID_NEW_ENTRY, ID_COPY_ADDRESS, ID_OPEN_IN_BROWSER,
                                    ID_PROPERTIES}));
    DestroyMenu(menu);
}

TEST_F(ListView, RowColoursAlternate)
{
    Start();
    NMLVCUSTOMDRAW cd = {};
    cd.nmcd.dwDrawStage = CDDS_PREPAINT;
    EXPECT_EQ(Child().list.DrawListRow(&cd), CDRF_NOTIFYITEMDRAW);
    cd.nmcd.dwDrawStage = CDDS_ITEMPREPAINT;
    for (DWORD row : {0u, 1u, 2u}) {
        cd.nmcd.dwItemSpec = row;
        cd.clrTextBk = 7;
        EXPECT_EQ(Child().list.DrawListRow(&cd), CDRF_DODEFAULT);
        EXPECT_EQ(cd.clrTextBk, row % 2 == 0 ? RGB(200, 210, 255) : 7u);
    }
}

TEST_F(ListView, DefaultLauncherHandsTheAddressToTheBrowser)
{
    const char* log = getenv("LINKCAIRN_BROWSER_LOG");
    if (log == nullptr || log[0] != '/')
        GTEST_SKIP() << "no browser stand-in configured";
    SetBrowserLauncher(nullptr);
    StoreTree tree = FiveEntries();
    std::string unique = "http://127.0.0.1:9/browser-check-" + std::to_string(GetTickCount());
    tree[0].notes[0].entries[0].list = unique;
    StartWithStore(tree);
    Show();
    Select(0, 0);
    SelectRows({0});
    Command(ID_OPEN_IN_BROWSER);
    std::string path = std::string("Z:") + log;
    for (char& c : path) {
        if (c == '/')
            c = '\\';
    }
    std::string text;
    for (int i = 0; i < 100 && text.find(unique) == std::string::npos; ++i) {
        Sleep(50);
        ReadWholeFile(path, &text);
    }
    EXPECT_NE(text.find(unique), std::string::npos);
}
