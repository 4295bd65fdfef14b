// The search dialog, its hand-over to the main window and F3 there, through
// the program's own message routing.
#include <gtest/gtest.h>

#include "resources/resource.h"
#include "support/dialog_watcher.h"
#include "support/frame_fixture.h"
#include "support/frame_harness.h"
#include "support/mouse_input.h"
#include "ui/message_loop.h"

namespace {

// "news" stands in two entries: folder 0's second note, and folder 1.
StoreTree Stories()
{
    return {Folder(0, "仕事", {Note(0, "資料", SampleEntries(2, "doc")),
                               Note(1, "feeds", {SampleEntry(0, "morning news"), SampleEntry(1, "weather")})}),
            Folder(1, "solo", {Note(0, "only", {SampleEntry(0, "x"), SampleEntry(1, "NEWS digest")})})};
}

BOOL CALLBACK CountTitled(HWND window, LPARAM count)
{
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid == GetCurrentProcessId() && WindowText(window) == kSearchDialogTitle)
        ++*reinterpret_cast<int*>(count);
    return TRUE;
}

class SearchDialog : public FrameTest {
protected:
    void Open()
    {
        StartWithStore(Stories());
        Show();
        frameAccel_ = LoadAcceleratorsA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_FRAME_ACCEL));
        searchAccel_ = LoadAcceleratorsA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_SEARCH_ACCEL));
        SetFocus(Tree());
    }
    // A key pressed in window, through the program's routing.
    void Key(HWND window, WPARAM key)
    {
        MSG msg = {window, WM_KEYDOWN, key, 0x00010001, GetTickCount(), {0, 0}};
        if (!RouteMessage(&msg, Frame(), frameAccel_, searchAccel_)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        PumpMessages(10);
    }
    HWND Dialog() const { return FindWindowA(nullptr, kSearchDialogTitle); }
    int DialogCount() const
    {
        int count = 0;
        EnumWindows(CountTitled, reinterpret_cast<LPARAM>(&count));
        return count;
    }
    void OpenDialog(const char* text)
    {
        SendMessageA(TreeHost(), WM_COMMAND, ID_SEARCH, 0);
        ASSERT_NE(Dialog(), nullptr);
        SetDlgItemTextA(Dialog(), IDC_SEARCH_TEXT, text);
    }
    // 次を検索 as a click gives it; waits for the status text or a box.
    void FindNext(MessageBoxAnswerer& boxes)
    {
        std::string before = StatusText(1);
        size_t seen = boxes.Count();
        PressButton(Dialog(), IDC_FIND_NEXT);
        PumpUntil([&] { return StatusText(1) != before || boxes.Count() > seen; });
    }
    std::string SelectedRowTitle() const
    {
        int row = ListView_GetNextItem(List(), -1, LVNI_SELECTED);
        return row < 0 ? "" : RowText(row, 0);
    }

    HACCEL frameAccel_ = nullptr;
    HACCEL searchAccel_ = nullptr;
};

}  // namespace

TEST_F(SearchDialog, CtrlFTwiceOpensOneDialog)
{
    Open();
    HeldKeys ctrl({VK_CONTROL});
    Key(Tree(), 'F');
    ASSERT_EQ(DialogCount(), 1);
    Key(Tree(), 'F');
    SendMessageA(TreeHost(), WM_COMMAND, ID_SEARCH, 0);
    EXPECT_EQ(DialogCount(), 1);
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(Dialog(), IDC_FIND_NEXT))) << "no text yet";
    SetDlgItemTextA(Dialog(), IDC_SEARCH_TEXT, "x");
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(Dialog(), IDC_FIND_NEXT)));
}

TEST_F(SearchDialog, FindNextStepsToTheEndAndStartsAgainAndLeavesF3Nothing)
{
    Open();
    OpenDialog("news");
    MessageBoxAnswerer boxes;
    FindNext(boxes);
    EXPECT_EQ(SelectedLabel(), "feeds");
    EXPECT_EQ(SelectedRowTitle(), "morning news");
    EXPECT_EQ(StatusText(1), "[検索] news, 1 個目");
    FindNext(boxes);
    EXPECT_EQ(SelectedLabel(), "only");
    EXPECT_EQ(SelectedRowTitle(), "NEWS digest");
    EXPECT_EQ(StatusText(1), "[検索] news, 2 個目");
    FindNext(boxes);
    ASSERT_EQ(boxes.Count(), 1u);
    SeenBox end = boxes.Seen()[0];
    EXPECT_EQ(end.text, "最後まで検索しました。");
    EXPECT_EQ(end.caption, "検索終了");
    EXPECT_EQ(end.icon, "information");
    EXPECT_EQ(end.owner, Dialog()) << "searched from the dialog";
    EXPECT_EQ(StatusText(1), "");
    FindNext(boxes);
    EXPECT_EQ(StatusText(1), "[検索] news, 1 個目");
    EXPECT_EQ(SelectedRowTitle(), "morning news");

    // Without a hand-over F3 in the main window has nothing to repeat.
    PressButton(Dialog(), IDCANCEL);
    PumpUntil([&] { return Dialog() == nullptr; });
    SetFocus(Tree());
    Key(Tree(), VK_F3);
    EXPECT_EQ(StatusText(1), "[検索] news, 1 個目");
    EXPECT_EQ(SelectedRowTitle(), "morning news");
    EXPECT_EQ(boxes.Count(), 1u);
}

TEST_F(SearchDialog, F3InTheDialogHandsOverAndTheMainWindowOwnsTheEnd)
{
    Open();
    OpenDialog("no such text");
    MessageBoxAnswerer boxes;
    Key(GetDlgItem(Dialog(), IDC_SEARCH_TEXT), VK_F3);
    PumpUntil([&] { return boxes.Count() == 1 && Dialog() == nullptr; });
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Seen()[0].text, "最後まで検索しました。");
    EXPECT_EQ(boxes.Seen()[0].owner, Frame());
    EXPECT_EQ(Dialog(), nullptr) << "the hand-over closes the dialog";

    OpenDialog("news");
    Key(GetDlgItem(Dialog(), IDC_SEARCH_TEXT), VK_F3);
    PumpUntil([&] { return Dialog() == nullptr; });
    EXPECT_EQ(StatusText(1), "[検索] news, 1 個目");
    SetFocus(Tree());
    Key(Tree(), VK_F3);
    EXPECT_EQ(StatusText(1), "[検索] news, 2 個目") << "F3 in the main window goes on";
    EXPECT_EQ(SelectedRowTitle(), "NEWS digest");
    {
        HeldKeys shift({VK_SHIFT});
        Key(Tree(), VK_F3);
    }
    EXPECT_EQ(StatusText(1), "[検索] news, 1 個目") << "Shift+F3 goes back";
    EXPECT_EQ(SelectedRowTitle(), "morning news");
}
