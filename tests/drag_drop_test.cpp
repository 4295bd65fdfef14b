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

StoreTree Shelves()
{
    return {Folder(0, "仕事", {Note(0, "a-note", SampleEntries(3, "a")), Note(1, "m-note", SampleEntries(5, "m"))}),
            Folder(1, "趣味", {Note(0, "b-note", SampleEntries(2, "b")), Note(1, "z-note", SampleEntries(1, "z"))}),
            Folder(2, "空")};
}

class DragDrop : public FrameTest {
protected:
    void Open()
    {
        StartWithStore(Shelves());
        Show();
        // Activation collapses the first folder (the frame's focus
        // handler): the points of the items are taken after it.
        PumpUntil([this] { return GetForegroundWindow() == Frame() && GetFocus() == Tree(); });
        for (HTREEITEM f = TreeView_GetRoot(Tree()); f != nullptr; f = TreeView_GetNextSibling(Tree(), f))
            TreeView_Expand(Tree(), f, TVE_EXPAND);
        PumpMessages(20);
    }
    HTREEITEM Item(int folder, int note) const
    {
        TreePosition pos;
        pos.folder = folder;
        pos.note = note;
        return Child().tree.FindItemAtPosition(pos);
    }
    POINT Label(int folder, int note) const
    {
        RECT r = {};
        TreeView_GetItemRect(Tree(), Item(folder, note), &r, TRUE);
        return CentreOnScreen(Tree(), r);
    }
    POINT EmptySpace() const
    {
        RECT r;
        GetClientRect(Tree(), &r);
        return OnScreen(Tree(), POINT{r.right / 2, r.bottom - 8});
    }
    POINT Row(int row) const
    {
        RECT r = {};
        ListView_GetItemRect(List(), row, &r, LVIR_LABEL);
        return CentreOnScreen(List(), r);
    }
    // Presses the left button at from, moves past the drag threshold, on to
    // to and releases there, from a thread of its own; runs this thread's
    // messages meanwhile, until the drop and what it posted are done.
    void Drag(POINT from, POINT to, HWND host)
    {
        // Two presses on one spot in quick succession make a double-click.
        from.x += (presses_++ % 2 == 0) ? -3 : 3;
        const DWORD ui = GetCurrentThreadId();
        std::atomic<bool> began{false};
        std::atomic<bool> done{false};
        std::thread hand([&] {
            MoveMouse(from);
            PressLeft();
            MoveMouse(POINT{from.x + 10, from.y + 2});
            began = WaitUntil([&] { return CaptureOf(ui) == host; });
            MoveMouse(POINT{(from.x + to.x) / 2, (from.y + to.y) / 2});
            MoveMouse(to);
            ReleaseLeft();
            WaitUntil([&] { return CaptureOf(ui) != host; });
            done = true;
        });
        bool finished = PumpUntil([&] { return done.load(); }, 30000);
        hand.join();
        EXPECT_TRUE(finished);
        EXPECT_TRUE(began) << "the host took the mouse for the drag";
        EXPECT_EQ(GetCapture(), nullptr);
    }
    std::vector<std::string> NoteLabels(int folder) const
    {
        std::vector<std::string> labels;
        for (HTREEITEM n = TreeView_GetChild(Tree(), Item(folder, -1)); n != nullptr;
             n = TreeView_GetNextSibling(Tree(), n)) {
            char text[520] = {};
            Child().tree.GetItemLabel(n, text, sizeof text);
            labels.push_back(text);
        }
        return labels;
    }
    std::vector<std::string> Column(int column) const
    {
        std::vector<std::string> texts;
        for (int i = 0; i < RowCount(); ++i)
            texts.push_back(RowText(i, column));
        return texts;
    }
    // No item but the selection shows the drop highlight.
    bool HighlightBackOnSelection() const
    {
        HTREEITEM highlighted = TreeView_GetDropHilight(Tree());
        return highlighted == nullptr || highlighted == TreeView_GetSelection(Tree());
    }

    int presses_ = 0;
};

using Labels = std::vector<std::string>;

}  // namespace

TEST_F(DragDrop, NoteOntoAnotherFolderMovesItThereInNameOrder)
{
    Open();
    Select(0, 0);
    std::vector<SeenBox> seen;
    {
        MessageBoxAnswerer boxes({IDYES});
        Drag(Label(0, 1), Label(1, -1), TreeHost());
        seen = boxes.Seen();
    }
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].caption, "移動の確認");
    EXPECT_EQ(seen[0].text, "' m-note ' を ' 趣味 ' に移動しますか？");
    EXPECT_EQ(seen[0].icon, "warning");

    StoreTree expected = Shelves();
    ExpectedNote moved = expected[0].notes[1];
    expected[0].notes.pop_back();
    expected[1].notes.insert(expected[1].notes.begin() + 1, moved);
    EXPECT_TRUE(StoreHolds(storePath_, Renumbered(expected)));
    EXPECT_EQ(NoteLabels(1), (Labels{"b-note", "m-note", "z-note"}));
    EXPECT_EQ(SelectedLabel(), "a-note") << "the selection is found again by its position";
    EXPECT_EQ(RowCount(), 3);
}

TEST_F(DragDrop, NoteOntoItsOwnFolderAsksThenRefusesAndEmptiesTheList)
{
    Open();
    Select(0, 0);
    ASSERT_EQ(RowCount(), 3);
    std::string before = StoreBytes();
    std::vector<SeenBox> seen;
    {
        MessageBoxAnswerer boxes({IDYES, IDOK});
        Drag(Label(0, 1), Label(0, -1), TreeHost());
        seen = boxes.Seen();
    }
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
    Open();
    Select(0, 0);
    std::string before = StoreBytes();
    struct Case {
        const char* name;
        POINT from;
        POINT to;
    } cases[] = {
        {"a note onto another note", Label(0, 1), Label(1, 0)},
        {"a note onto empty space", Label(0, 1), EmptySpace()},
        {"a folder onto another folder", Label(0, -1), Label(1, -1)},
    };
    for (const Case& c : cases) {
        MessageBoxAnswerer boxes({IDNO});
        Drag(c.from, c.to, TreeHost());
        EXPECT_EQ(boxes.Count(), 0u) << c.name;
        EXPECT_TRUE(HighlightBackOnSelection()) << c.name;
        EXPECT_EQ(RowCount(), 3) << c.name;
    }
    EXPECT_EQ(StoreBytes(), before);
}

TEST_F(DragDrop, RowOntoAnotherNoteMovesOnlyThatRowAndTheRestKeepTheirEntries)
{
    Open();
    Select(0, 1);
    SelectRows({1, 2, 3});
    std::vector<SeenBox> seen;
    {
        MessageBoxAnswerer boxes({IDYES});
        Drag(Row(2), Label(1, 0), ListHost());
        seen = boxes.Seen();
    }
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].caption, "移動の確認");
    EXPECT_EQ(seen[0].text, "' m2 ' を ' b-note ' に移動しますか？");
    StoreTree expected = Shelves();
    auto& from = expected[0].notes[1].entries;
    expected[1].notes[0].entries.push_back(from[2]);
    from.erase(from.begin() + 2);
    EXPECT_TRUE(StoreHolds(storePath_, Renumbered(expected)));
    EXPECT_EQ(Column(0), (Labels{"m0", "m1", "m3", "m4"}));
    EXPECT_EQ(Column(8), (Labels{"0-1-0", "0-1-1", "0-1-2", "0-1-3"}));
    EXPECT_NE(TreeView_GetDropHilight(Tree()), Item(1, 0)) << "the target is no longer highlighted";

    // The row of m3 now deletes m3.
    SelectRows({2});
    {
        MessageBoxAnswerer boxes({IDYES});
        SendMessageA(ListHost(), WM_COMMAND, ID_DELETE, 0);
    }
    from.erase(from.begin() + 2);
    EXPECT_TRUE(StoreHolds(storePath_, Renumbered(expected)));
    EXPECT_EQ(Column(0), (Labels{"m0", "m1", "m4"}));
}

TEST_F(DragDrop, RowOntoItsOwnNoteIsRefusedAndNoOrAFolderChangesNothing)
{
    Open();
    Select(0, 1);
    std::string before = StoreBytes();
    std::vector<SeenBox> seen;
    {
        MessageBoxAnswerer boxes({IDYES, IDOK});
        Drag(Row(0), Label(0, 1), ListHost());
        seen = boxes.Seen();
    }
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[1].text, "移動できません。移動先と移動元がおんなじです!");
    EXPECT_EQ(seen[1].caption, "移動確認");
    {
        MessageBoxAnswerer boxes({IDNO});
        Drag(Row(0), Label(1, 0), ListHost());
        EXPECT_EQ(boxes.Count(), 1u);
    }
    {
        MessageBoxAnswerer boxes({IDYES});
        Drag(Row(0), Label(1, -1), ListHost());
        EXPECT_EQ(boxes.Count(), 0u) << "a folder takes no row";
    }
    EXPECT_EQ(StoreBytes(), before);
    EXPECT_EQ(RowCount(), 5);
    EXPECT_TRUE(HighlightBackOnSelection());
}

TEST_F(DragDrop, TreeDragImageHasOneImageEvenWhereTheControlGivesNone)
{
    Open();
    POINT corner = {};
    HIMAGELIST images = MakeTreeDragImage(Tree(), Item(0, 1), &corner);
    ASSERT_NE(images, nullptr);
    EXPECT_EQ(ImageList_GetImageCount(images), 1);
    RECT label = {};
    TreeView_GetItemRect(Tree(), Item(0, 1), &label, TRUE);
    int width = 0;
    int height = 0;
    ImageList_GetIconSize(images, &width, &height);
    EXPECT_GE(width, label.right - label.left) << "the label fits";
    ImageList_Destroy(images);
}
