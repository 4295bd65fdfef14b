// Dragging notes onto folders and rows onto notes with real mouse input.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "resources/resource.h"
#include "support/dialog_watcher.h"
#include "support/frame_fixture.h"
#include "support/frame_harness.h"
#include "support/mouse_input.h"

namespace {

using Labels = std::vector<std::string>;

StoreTree Shelves()
{
    return {Folder(0, "仕事", {Note(0, "a-note", SampleEntries(3, "a")), Note(1, "m-note", SampleEntries(5, "m"))}),
            Folder(1, "趣味", {Note(0, "b-note", SampleEntries(2, "b")), Note(1, "z-note", SampleEntries(1, "z"))}),
            Folder(2, "空")};
}

class DragDrop : public FrameTest {
protected:
    // Shelves shown with every folder open and (folder, note) selected.
    void Open(int folder, int note)
    {
        StartWithStore(Shelves());
        Show();
        // Activation collapses the first folder (the frame's focus handler):
        // the folders are opened after it.
        PumpUntil([this] { return GetForegroundWindow() == Frame() && GetFocus() == Tree(); });
        for (HTREEITEM f = TreeView_GetRoot(Tree()); f != nullptr; f = TreeView_GetNextSibling(Tree(), f))
            TreeView_Expand(Tree(), f, TVE_EXPAND);
        Select(folder, note);
    }
    POINT Label(int folder, int note) const
    {
        RECT r = {};
        TreeView_GetItemRect(Tree(), Child().tree.FindItemAtPosition(TreePosition{folder, note}), &r, TRUE);
        return CentreOnScreen(Tree(), r);
    }
    POINT Row(int row) const
    {
        RECT r = {};
        ListView_GetItemRect(List(), row, &r, LVIR_LABEL);
        return CentreOnScreen(List(), r);
    }
    // From a thread of its own: the left button goes down at from, moves
    // past the drag threshold, on to to, and comes up there. This thread's
    // messages run meanwhile, until the drop and what it posted are done;
    // the boxes it brings are answered as answers says.
    std::vector<SeenBox> Drag(POINT from, POINT to, HWND host, std::vector<int> answers = {IDYES})
    {
        MessageBoxAnswerer boxes(answers);
        // Two presses on one spot in quick succession make a double-click.
        from.x += (presses_++ % 2 == 0) ? -3 : 3;
        const DWORD ui = GetCurrentThreadId();
        std::atomic<bool> began{false};
        std::atomic<bool> done{false};
        std::thread hand([&] {
            MoveMouse(from);
            PressLeft(from);
            MoveMouse(POINT{from.x + 10, from.y + 2});
            began = WaitUntil([&] { return CaptureOf(ui) == host; });
            MoveMouse(POINT{(from.x + to.x) / 2, (from.y + to.y) / 2});
            MoveMouse(to);
            ReleaseLeft(to);
            WaitUntil([&] { return CaptureOf(ui) != host; });
            done = true;
        });
        EXPECT_TRUE(PumpUntil([&] { return done.load(); }, 30000));
        hand.join();
        EXPECT_TRUE(began) << "the host took the mouse for the drag";
        return boxes.Seen();
    }
    // No item but the selection shows the drop highlight.
    bool HighlightBackOnSelection() const
    {
        HTREEITEM highlighted = TreeView_GetDropHilight(Tree());
        return highlighted == nullptr || highlighted == TreeView_GetSelection(Tree());
    }

    int presses_ = 0;
};

}  // namespace

TEST_F(DragDrop, NoteOntoAnotherFolderMovesItThereInNameOrder)
{
    Open(0, 0);
    std::vector<SeenBox> seen = Drag(Label(0, 1), Label(1, -1), TreeHost());
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].caption, "移動の確認");
    EXPECT_EQ(seen[0].text, "' m-note ' を ' 趣味 ' に移動しますか？");
    EXPECT_EQ(seen[0].icon, "warning");

    StoreTree expected = Shelves();
    expected[1].notes.insert(expected[1].notes.begin() + 1, expected[0].notes[1]);
    expected[0].notes.pop_back();
    EXPECT_TRUE(StoreHolds(storePath_, Renumbered(expected)));
    Labels notes;
    for (HTREEITEM n = TreeView_GetChild(Tree(), TreeView_GetNextSibling(Tree(), TreeView_GetRoot(Tree())));
         n != nullptr; n = TreeView_GetNextSibling(Tree(), n)) {
        char text[520] = {};
        Child().tree.GetItemLabel(n, text, sizeof text);
        notes.push_back(text);
    }
    EXPECT_EQ(notes, (Labels{"b-note", "m-note", "z-note"}));
    EXPECT_EQ(SelectedLabel(), "a-note") << "the selection is found again by its position";
    EXPECT_EQ(RowCount(), 3);
}

TEST_F(DragDrop, NoteOntoItsOwnFolderAsksThenRefusesAndEmptiesTheList)
{
    Open(0, 0);
    std::string before = StoreBytes();
    std::vector<SeenBox> seen = Drag(Label(0, 1), Label(0, -1), TreeHost(), {IDYES, IDOK});
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].caption, "移動の確認");
    EXPECT_EQ(seen[1].caption, "移動確認");
    EXPECT_EQ(seen[1].text, "移動できません。移動先と移動元がおんなじです!");
    EXPECT_EQ(seen[1].icon, "error");
    EXPECT_EQ(RowCount(), 0);
    EXPECT_EQ(StoreBytes(), before);
}

TEST_F(DragDrop, DropsThatChangeNothing)
{
    Open(0, 0);
    std::string before = StoreBytes();
    RECT client;
    GetClientRect(Tree(), &client);
    const struct {
        const char* name;
        POINT from, to;
    } cases[] = {
        {"a note onto another note", Label(0, 1), Label(1, 0)},
        {"a note onto empty space", Label(0, 1), OnScreen(Tree(), POINT{client.right / 2, client.bottom - 8})},
        {"a folder onto another folder", Label(0, -1), Label(1, -1)},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Drag(c.from, c.to, TreeHost(), {IDNO}).size(), 0u) << c.name;
        EXPECT_TRUE(HighlightBackOnSelection()) << c.name;
        EXPECT_EQ(RowCount(), 3) << c.name;
    }
    EXPECT_EQ(StoreBytes(), before);
}

TEST_F(DragDrop, RowsMoveOneAtATimeOntoOtherNotesOnly)
{
    Open(0, 1);
    std::string before = StoreBytes();
    std::vector<SeenBox> seen = Drag(Row(0), Label(0, 1), ListHost(), {IDYES, IDOK});
    ASSERT_EQ(seen.size(), 2u) << "its own note: asked, then refused";
    EXPECT_EQ(seen[1].text, "移動できません。移動先と移動元がおんなじです!");
    EXPECT_EQ(Drag(Row(0), Label(1, 0), ListHost(), {IDNO}).size(), 1u);
    EXPECT_EQ(Drag(Row(0), Label(1, -1), ListHost()).size(), 0u) << "a folder takes no row";
    EXPECT_EQ(StoreBytes(), before);

    SelectRows({1, 2, 3});
    seen = Drag(Row(2), Label(1, 0), ListHost());
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, "' m2 ' を ' b-note ' に移動しますか？");
    StoreTree expected = Shelves();
    auto& from = expected[0].notes[1].entries;
    expected[1].notes[0].entries.push_back(from[2]);
    from.erase(from.begin() + 2);
    EXPECT_TRUE(StoreHolds(storePath_, Renumbered(expected))) << "only the dragged row moved";
    EXPECT_EQ(Column(0), (Labels{"m0", "m1", "m3", "m4"}));
    EXPECT_EQ(Column(8), (Labels{"0-1-0", "0-1-1", "0-1-2", "0-1-3"}));

    // The rows left act on their own entries: the row of m3 deletes m3.
    SelectRows({2});
    {
        MessageBoxAnswerer boxes({IDYES});
        SendMessageA(ListHost(), WM_COMMAND, ID_DELETE, 0);
    }
    from.erase(from.begin() + 2);
    EXPECT_TRUE(StoreHolds(storePath_, Renumbered(expected)));
}

TEST_F(DragDrop, TreeDragImageHasOneImageEvenWhereTheControlGivesNone)
{
    Open(0, 0);
    HTREEITEM note = Child().tree.FindItemAtPosition(TreePosition{0, 1});
    POINT corner = {};
    OwnedImageList images(MakeTreeDragImage(Tree(), note, &corner));
    ASSERT_TRUE(images);
    EXPECT_EQ(ImageList_GetImageCount(images.Get()), 1);
    RECT label = {};
    TreeView_GetItemRect(Tree(), note, &label, TRUE);
    int width = 0;
    int height = 0;
    ImageList_GetIconSize(images.Get(), &width, &height);
    EXPECT_GE(width, label.right - label.left) << "the label fits";
}

TEST_F(DragDrop, TheSelectedNoteStaysSelectedWhereverItNowStands)
{
    // x-note moves up one place when a-note leaves its folder.
    StartWithStore({Folder(0, "仕事", {Note(0, "a-note", SampleEntries(1, "a")), Note(1, "m-note", SampleEntries(1, "m")),
                                       Note(2, "x-note", SampleEntries(2, "x"))}),
                    Folder(1, "趣味")});
    Show();
    PumpUntil([this] { return GetForegroundWindow() == Frame() && GetFocus() == Tree(); });
    TreeView_Expand(Tree(), TreeView_GetRoot(Tree()), TVE_EXPAND);
    Select(0, 2);
    ASSERT_EQ(Drag(Label(0, 0), Label(1, -1), TreeHost()).size(), 1u);
    EXPECT_EQ(SelectedLabel(), "x-note");
    EXPECT_EQ(Column(0), (Labels{"x0", "x1"}));
}

TEST_F(DragDrop, AFullNoteIsRefusedBeforeAnyQuestion)
{
    StartWithStore({Folder(0, "仕事", {Note(0, "a-note", SampleEntries(1, "a")), Note(1, "full", SampleEntries(1000, "x"))}),
                    Folder(1, "趣味")});
    Show();
    PumpUntil([this] { return GetForegroundWindow() == Frame() && GetFocus() == Tree(); });
    TreeView_Expand(Tree(), TreeView_GetRoot(Tree()), TVE_EXPAND);
    Select(0, 0);
    const std::string before = StoreBytes();
    std::vector<SeenBox> seen = Drag(Row(0), Label(0, 1), ListHost(), {IDOK});
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].caption, "移動確認");
    EXPECT_EQ(seen[0].text, "移動できません。移動先にはこれ以上追加できません (1000 個まで)。");
    EXPECT_EQ(StoreBytes(), before);
}
