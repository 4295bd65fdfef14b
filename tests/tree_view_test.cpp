#include <gtest/gtest.h>

#include "resources/resource.h"
#include "support/dialog_watcher.h"
#include "support/frame_fixture.h"
#include "support/frame_harness.h"

namespace {

class TreeView : public FrameTest {
protected:
    // Edits the selected item's label to text and ends the edit (Enter, or
    // Esc when cancel is set).
    void RenameSelected(const char* text, bool cancel = false)
    {
        SetFocus(Tree());
        HWND editor = TreeView_EditLabel(Tree(), TreeView_GetSelection(Tree()));
        ASSERT_NE(editor, nullptr);
        SetWindowTextA(editor, text);
        TreeView_EndEditLabelNow(Tree(), cancel ? TRUE : FALSE);
        PumpMessages(10);
    }
    void Command(int id) { SendMessageA(TreeHost(), WM_COMMAND, id, 0); }
    bool NewEntryButtonEnabled() const
    {
        return SendMessageA(frame_->toolbar.hwnd, TB_ISBUTTONENABLED, ID_NEW_ENTRY, 0) != 0;
    }
    std::vector<std::string> TopLabels() const
    {
        std::vector<std::string> labels;
        for (HTREEITEM it = TreeView_GetRoot(Tree()); it != nullptr;
             it = TreeView_GetNextSibling(Tree(), it)) {
            char text[520] = {};
            Child().tree.GetItemLabel(it, text, sizeof text);
            labels.push_back(text);
        }
        return labels;
    }
};

StoreTree TwoNotes()
{
    return {Folder(0, "仕事", {Note(0, "資料", SampleEntries(2, "doc")),
                               Note(1, "news", SampleEntries(3, "ニュース"))}),
            Folder(1, "solo", {Note(0, "only", SampleEntries(1, "x"))}),
            Folder(2, "empty")};
}

}  // namespace

TEST_F(TreeView, SelectingANoteFillsTheListInStoreOrder)
{
    StoreTree tree = TwoNotes();
    tree[0].notes[1].entries[1].valid = "0";
    tree[0].notes[1].entries[2].update = "2024/06/01";
    StartWithStore(tree);
    Show();
    Select(0, 1);
    ASSERT_EQ(RowCount(), 3);
    for (int i = 0; i < 3; ++i) {
        const ExpectedEntry& e = tree[0].notes[1].entries[i];
        EXPECT_EQ(RowText(i, 0), e.title);
        EXPECT_EQ(RowText(i, 1), e.list);
        EXPECT_EQ(RowText(i, 2), e.comment);
        EXPECT_EQ(RowText(i, 3), e.date);
        EXPECT_EQ(RowText(i, 4), e.access);
        EXPECT_EQ(RowText(i, 5), e.update);
        EXPECT_EQ(RowText(i, 6), e.count);
        EXPECT_EQ(RowText(i, 7), i == 1 ? "無効" : "有効");
        EXPECT_EQ(RowText(i, 8), "0-1-" + std::to_string(i));
    }
    EXPECT_EQ(StatusText(0), "3 個のｱｲﾃﾑ");
    EXPECT_TRUE(NewEntryButtonEnabled());
    EXPECT_EQ(StatusText(3), "links.xml");

    Select(2, -1);
    EXPECT_EQ(RowCount(), 3) << "a folder keeps the rows";
    EXPECT_FALSE(NewEntryButtonEnabled());
}

TEST_F(TreeView, RenameResortsAndKeepsTheItemSelected)
{
    StartWithStore({Folder(0, "alpha2"), Folder(1, "beta"), Folder(2, "zeta")});
    Show();
    Select(2, -1);
    RenameSelected("alpha");
    EXPECT_TRUE(StoreHolds(storePath_, {Folder(0, "alpha"), Folder(1, "alpha2"), Folder(2, "beta")}));
    EXPECT_EQ(TopLabels(), (std::vector<std::string>{"alpha", "alpha2", "beta"}));
    EXPECT_EQ(SelectedLabel(), "alpha");
    EXPECT_EQ(TreeView_GetSelection(Tree()), TreeView_GetRoot(Tree()));
}

TEST_F(TreeView, EmptyOrCancelledLabelEditsChangeNothing)
{
    StoreTree tree = TwoNotes();
    StartWithStore(tree);
    Show();
    std::string before = StoreBytes();
    Select(0, 1);
    RenameSelected("");
    EXPECT_EQ(SelectedLabel(), "news");
    RenameSelected("changed", true);
    EXPECT_EQ(SelectedLabel(), "news");
    EXPECT_EQ(StoreBytes(), before);
}

TEST_F(TreeView, DeletingTheOnlyNoteSelectsItsFolderAndEmptiesTheList)
{
    StartWithStore(TwoNotes());
    Show();
    Select(1, 0);
    ASSERT_EQ(RowCount(), 1);
    std::vector<SeenBox> seen;
    {
        MessageBoxAnswerer boxes({IDYES});
        Command(ID_DELETE);
        seen = boxes.Seen();
    }
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].caption, "削除の確認");
    EXPECT_EQ(seen[0].text, "'only' を削除しますか？");
    EXPECT_EQ(seen[0].icon, "warning");
    EXPECT_EQ(SelectedLabel(), "solo");
    EXPECT_EQ(RowCount(), 0);
    StoreTree expected = TwoNotes();
    expected[1].notes.clear();
    EXPECT_TRUE(StoreHolds(storePath_, expected));
}

TEST_F(TreeView, DeletingANoteSelectsTheNextOne)
{
    StartWithStore(TwoNotes());
    Show();
    Select(0, 0);
    {
        MessageBoxAnswerer boxes({IDYES});
        Command(ID_DELETE);
    }
    EXPECT_EQ(SelectedLabel(), "news");
    EXPECT_EQ(RowCount(), 3) << "the next note's rows";
    StoreTree expected = TwoNotes();
    expected[0].notes.erase(expected[0].notes.begin());
    EXPECT_TRUE(StoreHolds(storePath_, Renumbered(expected)));
}

TEST_F(TreeView, DeletingAFolderEmptiesTheListAndNoChangesNothing)
{
    StartWithStore(TwoNotes());
    Show();
    Select(0, 1);
    std::string before = StoreBytes();
    Select(0, -1);
    {
        MessageBoxAnswerer boxes({IDNO});
        Command(ID_DELETE);
    }
    EXPECT_EQ(StoreBytes(), before);
    EXPECT_EQ(RowCount(), 3);
    {
        MessageBoxAnswerer boxes({IDYES});
        Command(ID_DELETE);
    }
    EXPECT_EQ(RowCount(), 0);
    StoreTree expected = TwoNotes();
    expected.erase(expected.begin());
    EXPECT_TRUE(StoreHolds(storePath_, Renumbered(expected)));
}

TEST_F(TreeView, TypedLettersNeverMoveTheSelection)
{
    StartWithStore({Folder(0, "alpha"), Folder(1, "beta"), Folder(2, "gamma")});
    Show();
    Select(0, -1);
    SetFocus(Tree());
    SendMessageA(Tree(), WM_KEYDOWN, 'G', 0);
    SendMessageA(Tree(), WM_CHAR, 'g', 0);
    SendMessageA(Tree(), WM_KEYDOWN, 'B', 0);
    SendMessageA(Tree(), WM_CHAR, 'b', 0);
    EXPECT_EQ(SelectedLabel(), "alpha");
}

TEST_F(TreeView, TabMovesBetweenTreeAndList)
{
    StartWithStore(TwoNotes());
    Show();
    Select(0, 1);
    SetFocus(Tree());
    SendMessageA(Tree(), WM_KEYDOWN, VK_TAB, 0);
    EXPECT_EQ(GetFocus(), List());
    EXPECT_EQ(ListView_GetNextItem(List(), -1, LVNI_FOCUSED), 0) << "row 0 gets the focus mark";
    SendMessageA(List(), WM_KEYDOWN, VK_TAB, 0);
    EXPECT_EQ(GetFocus(), Tree());
}

TEST_F(TreeView, ContextMenuGraying)
{
    HMENU menu = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDM_CONTEXT));
    HMENU popup = GetSubMenu(menu, 0);
    auto grayed = [popup](UINT id) { return (GetMenuState(popup, id, MF_BYCOMMAND) & MF_GRAYED) != 0; };
    auto reset = [popup]() {
        for (UINT id : {ID_DELETE, ID_EDIT, ID_NEW_NOTE, ID_NEW_FOLDER, ID_NEW_ENTRY})
            EnableMenuItem(popup, id, MF_BYCOMMAND | MF_ENABLED);
    };

    Start();   // no store
    Child().tree.EnableTreeMenu(nullptr, popup);
    for (UINT id : {ID_DELETE, ID_EDIT, ID_NEW_NOTE, ID_NEW_ENTRY, ID_NEW_FOLDER})
        EXPECT_TRUE(grayed(id)) << id;
    SendMessageA(Frame(), WM_COMMAND, ID_EXIT, 0);

    reset();
    StartWithStore(TwoNotes());
    Child().tree.EnableTreeMenu(Select(0, -1), popup);
    EXPECT_TRUE(grayed(ID_NEW_ENTRY)) << "a folder";
    EXPECT_FALSE(grayed(ID_NEW_FOLDER));
    EXPECT_FALSE(grayed(ID_DELETE));
    reset();
    Child().tree.EnableTreeMenu(Select(0, 0), popup);
    for (UINT id : {ID_DELETE, ID_EDIT, ID_NEW_NOTE, ID_NEW_FOLDER, ID_NEW_ENTRY})
        EXPECT_FALSE(grayed(id)) << id << " with a note";
    DestroyMenu(menu);
}

TEST_F(TreeView, CustomDrawColours)
{
    Start();
    NMTVCUSTOMDRAW cd = {};
    cd.nmcd.dwDrawStage = CDDS_PREPAINT;
    EXPECT_EQ(Child().tree.DrawTreeItem(&cd), CDRF_NOTIFYITEMDRAW);
    struct Case {
        UINT state;
        COLORREF text;
        COLORREF back;
    } cases[] = {
        {0, RGB(0, 0, 255), 7},
        {CDIS_HOT, RGB(0, 0, 255), 7},
        {CDIS_SELECTED | CDIS_FOCUS, RGB(0, 255, 255), 7},
        {CDIS_SELECTED, RGB(0, 0, 255), RGB(210, 210, 200)},
        {CDIS_SELECTED | CDIS_FOCUS | CDIS_HOT, 5, 7},
        {CDIS_FOCUS, RGB(0, 0, 0), RGB(210, 210, 200)},
    };
    for (const Case& c : cases) {
        cd.nmcd.dwDrawStage = CDDS_ITEMPREPAINT;
        cd.nmcd.uItemState = c.state;
        cd.clrText = 5;
        cd.clrTextBk = 7;
        EXPECT_EQ(Child().tree.DrawTreeItem(&cd), CDRF_DODEFAULT);
        EXPECT_EQ(cd.clrText, c.text) << c.state;
        EXPECT_EQ(cd.clrTextBk, c.back) << c.state;
    }
}

TEST_F(TreeView, ThousandthFolderIsTheLast)
{
    StoreTree full;
    for (int i = 0; i < 1000; ++i)
        full.push_back(Folder(i, "f" + std::to_string(i)));
    StartWithStore(full);
    Show();
    std::string before = StoreBytes();
    std::vector<SeenBox> seen;
    {
        MessageBoxAnswerer boxes;
        Command(ID_NEW_FOLDER);
        seen = boxes.Seen();
    }
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, "フォルダの作成に失敗しました");
    EXPECT_EQ(seen[0].caption, "ERROR");
    EXPECT_EQ(seen[0].icon, "error");
    EXPECT_EQ(StoreBytes(), before) << "keys hold three digits: no 1001st folder";
    EXPECT_EQ(TreeView_GetCount(Tree()), 1000u);
    EXPECT_EQ(TreeView_GetEditControl(Tree()), nullptr);
}

// Builds a collection from nothing through the commands alone, checking the
// file after every step.
TEST_F(TreeView, EndToEndThroughCommands)
{
    std::string empty =
        "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>\r\n<root>\r\n</root>\r\n";
    ASSERT_TRUE(WriteWholeFile(storePath_, empty));
    ASSERT_TRUE(WriteWholeFile(folder_.File("linkcairn.ini"),
                               "[ini]\r\npath=x\r\n[xml]\r\ncurxml=" + storePath_ + "\r\n"));
    Start();
    Show();

    Command(ID_NEW_FOLDER);
    EXPECT_TRUE(StoreHolds(storePath_, {Folder(0, "新規作成")}));
    HWND editor = TreeView_GetEditControl(Tree());
    ASSERT_NE(editor, nullptr) << "the new folder's label is open for editing";
    SetWindowTextA(editor, "仕事");
    TreeView_EndEditLabelNow(Tree(), FALSE);
    EXPECT_TRUE(StoreHolds(storePath_, {Folder(0, "仕事")}));
    EXPECT_EQ(SelectedLabel(), "仕事");

    Command(ID_NEW_NOTE);
    EXPECT_TRUE(StoreHolds(storePath_, {Folder(0, "仕事", {Note(999, "新規作成")})}));
    editor = TreeView_GetEditControl(Tree());
    ASSERT_NE(editor, nullptr);
    SetWindowTextA(editor, "資料");
    TreeView_EndEditLabelNow(Tree(), FALSE);
    EXPECT_TRUE(StoreHolds(storePath_, {Folder(0, "仕事", {Note(0, "資料")})}));
    EXPECT_EQ(SelectedLabel(), "資料");

    Command(ID_NEW_FOLDER);
    TreeView_EndEditLabelNow(Tree(), TRUE);   // Esc: it stays "新規作成"
    EXPECT_TRUE(StoreHolds(storePath_, {Folder(0, "仕事", {Note(0, "資料")}), Folder(1, "新規作成")}));

    Select(0, 0);
    {
        MessageBoxAnswerer boxes({IDYES});
        Command(ID_DELETE);
    }
    EXPECT_TRUE(StoreHolds(storePath_, {Folder(0, "仕事"), Folder(1, "新規作成")}));
    EXPECT_EQ(SelectedLabel(), "仕事");
}

TEST_F(TreeView, ANewNoteShowsItsOwnEmptyListEvenAfterEsc)
{
    StartWithStore(TwoNotes());
    Show();
    Select(0, 1);
    ASSERT_EQ(RowCount(), 3);
    Select(2, -1);   // a folder without notes: the list keeps its rows
    ASSERT_EQ(RowCount(), 3);
    Command(ID_NEW_NOTE);
    HWND editor = TreeView_GetEditControl(Tree());
    ASSERT_NE(editor, nullptr);
    TreeView_EndEditLabelNow(Tree(), TRUE);
    PumpMessages(10);
    Select(2, 0);
    EXPECT_EQ(SelectedLabel(), "新規作成");
    EXPECT_EQ(RowCount(), 0) << "no rows of the note shown before";
}

TEST_F(TreeView, AnItemTheStoreLacksChangesNothing)
{
    StartWithStore(TwoNotes());
    Show();
    // An item the snapshot does not hold, as a view that ran ahead of the store would have.
    HTREEITEM folder = Select(2, -1);
    HTREEITEM ghost = InsertTreeItem(Tree(), folder, "ghost", 2, 3);
    const std::string before = StoreBytes();
    std::vector<SeenBox> seen;
    {
        MessageBoxAnswerer boxes({IDYES});
        TreeView_SelectItem(Tree(), ghost);
        Command(ID_DELETE);
        TreeView_SelectItem(Tree(), ghost);
        RenameSelected("renamed");
        seen = boxes.Seen();
    }
    ASSERT_EQ(seen.size(), 2u) << "no delete question, one refusal each";
    for (const SeenBox& box : seen)
        EXPECT_EQ(box.text, "ｱｲﾃﾑの取得に失敗しました。");
    EXPECT_EQ(StoreBytes(), before);
}
