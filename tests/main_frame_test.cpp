#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <atomic>
#include <thread>

#include "ui/live_frames.h"
#include "ui/message_loop.h"
#include "resources/resource.h"
#include "support/dialog_watcher.h"
#include "support/frame_fixture.h"
#include "support/frame_harness.h"
#include "support/store_fixture.h"
#include "support/temp_folder.h"
#include "ui/main_frame.h"

namespace {

HINSTANCE Instance()
{
    return GetModuleHandleA(nullptr);
}

class MainFrame : public FrameTest {};
class MainFrameLayout : public FrameTest {};
class MainFrameMenu : public FrameTest {};
class MessageLoop : public FrameTest {};

bool Grayed(HMENU menu, UINT id)
{
    return (GetMenuState(menu, id, MF_BYCOMMAND) & MF_GRAYED) != 0;
}

}  // namespace

TEST_F(MainFrame, StartsHiddenWithItsNotificationIcon)
{
    Start();
    EXPECT_TRUE(IsWindow(Frame()));
    EXPECT_FALSE(IsWindowVisible(Frame()));
    char cls[64] = {};
    GetClassNameA(Frame(), cls, sizeof cls);
    EXPECT_STREQ(cls, "linkcairn_class");
    EXPECT_EQ(WindowText(Frame()), "linkcairn");
    EXPECT_NE(GetMenu(Frame()), nullptr);

    const NOTIFYICONDATAA& tray = frame_->trayData;
    EXPECT_EQ(tray.cbSize, sizeof(NOTIFYICONDATAA));
    EXPECT_EQ(tray.hWnd, Frame());
    EXPECT_EQ(tray.uID, 600u);
    EXPECT_EQ(tray.uFlags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP));
    EXPECT_EQ(tray.uCallbackMessage, static_cast<UINT>(WM_APP + 4));
    EXPECT_NE(tray.hIcon, nullptr);
    EXPECT_STREQ(tray.szTip, "linkcairn");

    // Toolbar: separator, open, new entry (disabled at start), separator.
    HWND bar = frame_->toolbar.hwnd;
    EXPECT_EQ(SendMessageA(bar, TB_BUTTONCOUNT, 0, 0), 4);
    EXPECT_TRUE(SendMessageA(bar, TB_ISBUTTONENABLED, ID_OPEN_STORE, 0));
    EXPECT_FALSE(SendMessageA(bar, TB_ISBUTTONENABLED, ID_NEW_ENTRY, 0));
    EXPECT_NE(SendMessageA(bar, TB_GETTOOLTIPS, 0, 0), 0);
    EXPECT_EQ(GetDlgCtrlID(Tree()), 400);
    EXPECT_EQ(GetDlgCtrlID(List()), 500);
    EXPECT_EQ(GetDlgCtrlID(GetParent(Tree())), 3);
    EXPECT_EQ(GetDlgCtrlID(GetParent(List())), 4);
}

TEST_F(MainFrame, IconDoubleClickShowsAndCloseBoxOnlyHides)
{
    Start();
    SendMessageA(Frame(), WM_TRAYICON, 601, WM_LBUTTONDBLCLK);
    EXPECT_FALSE(IsWindowVisible(Frame())) << "another icon's message does nothing";
    Show();
    EXPECT_TRUE(IsWindowVisible(Frame()));
    SendMessageA(Frame(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindowVisible(Frame()));
    EXPECT_TRUE(IsWindow(Frame())) << "closing only hides";
    SendMessageA(Frame(), WM_COMMAND, ID_SHOW_WINDOW, 0);
    EXPECT_TRUE(IsWindowVisible(Frame()));
}

TEST(MainFrameExit, ExitRemovesEverythingAndEndsTheLoopWithZero)
{
    int before = LiveFrameCount();
    MYWND* frame;
    {
        TempFolder folder;
        frame = new MYWND(Instance(), folder.File("linkcairn.exe").c_str());
        frame->CreateContents();
        HWND hwnd = frame->hwnd;
        EXPECT_EQ(LiveFrameCount(), before + 1);
        PostMessageA(hwnd, WM_COMMAND, ID_EXIT, 0);
        int code = RunMessageLoop(hwnd, nullptr, nullptr);
        EXPECT_EQ(code, 0);
        EXPECT_FALSE(IsWindow(hwnd));
    }
    EXPECT_EQ(LiveFrameCount(), before);
}

TEST_F(MainFrame, IconComesBackWhenTheNotificationAreaIsRecreated)
{
    Start();
    NOTIFYICONDATAA probe = frame_->trayData;
    ASSERT_TRUE(Shell_NotifyIconA(NIM_MODIFY, &probe)) << "the icon is there after start-up";
    // The shell restarts: its icons are gone until their programs add them again.
    Shell_NotifyIconA(NIM_DELETE, &probe);
    ASSERT_FALSE(Shell_NotifyIconA(NIM_MODIFY, &probe));
    SendMessageA(Frame(), RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    EXPECT_TRUE(Shell_NotifyIconA(NIM_MODIFY, &probe));

    SendMessageA(Frame(), WM_COMMAND, ID_EXIT, 0);
    EXPECT_FALSE(Shell_NotifyIconA(NIM_MODIFY, &probe)) << "exit removes the icon";
}

TEST_F(MainFrame, TrayMenuGraysShowWhileVisible)
{
    Start();
    struct Seen {
        std::atomic<int> showState{-1};
        std::atomic<int> exitState{-1};
    } seen;
    auto inspect = [&seen]() {
        for (int i = 0; i < 200; ++i) {
            HWND popup = FindWindowA("#32768", nullptr);
            if (popup != nullptr && IsWindowVisible(popup)) {
                HMENU menu = reinterpret_cast<HMENU>(SendMessageA(popup, MN_GETHMENU, 0, 0));
                seen.showState = GetMenuState(menu, ID_SHOW_WINDOW, MF_BYCOMMAND);
                seen.exitState = GetMenuState(menu, ID_EXIT, MF_BYCOMMAND);
                EndMenu();
                PostMessageA(popup, WM_KEYDOWN, VK_ESCAPE, 0);
                return;
            }
            Sleep(20);
        }
    };
    {
        std::thread watcher(inspect);
        frame_->ShowTrayMenu();
        watcher.join();
        EXPECT_EQ(seen.showState & MF_GRAYED, 0) << "hidden: show is enabled";
        EXPECT_EQ(seen.exitState & MF_GRAYED, 0);
    }
    Show();
    ShowWindow(Frame(), SW_MINIMIZE);
    {
        std::thread watcher(inspect);
        frame_->ShowTrayMenu();
        watcher.join();
        EXPECT_NE(seen.showState & MF_GRAYED, 0) << "a minimised window counts as visible";
    }
    EnableWindow(Frame(), FALSE);   // as while a modal dialog runs
    {
        std::thread watcher(inspect);
        frame_->ShowTrayMenu();
        watcher.join();
        EXPECT_NE(seen.exitState & MF_GRAYED, 0) << "no exit from under a dialog";
    }
    EnableWindow(Frame(), TRUE);
}

TEST_F(MainFrameMenu, GrayingFollowsTheFocusedView)
{
    Start();
    Show();
    HMENU menu = GetMenu(Frame());

    SetFocus(Tree());
    SendMessageA(Frame(), WM_INITMENU, reinterpret_cast<WPARAM>(menu), 0);
    EXPECT_FALSE(Grayed(menu, ID_OPEN_STORE));
    EXPECT_FALSE(Grayed(menu, ID_HIDE));
    EXPECT_FALSE(Grayed(menu, ID_SEARCH));
    EXPECT_FALSE(Grayed(menu, ID_ABOUT));
    for (UINT id : {ID_DELETE, ID_EDIT, ID_NEW_NOTE, ID_NEW_ENTRY, ID_CHECK_UPDATES,
                    ID_SELECT_ALL, ID_COPY_ADDRESS, ID_REFRESH})
        EXPECT_TRUE(Grayed(menu, id)) << id << " with nothing selected in the tree";
    EXPECT_TRUE(Grayed(menu, ID_NEW_FOLDER)) << "no store open";

    SetFocus(List());
    SendMessageA(Frame(), WM_INITMENU, reinterpret_cast<WPARAM>(menu), 0);
    for (UINT id : {ID_DELETE, ID_EDIT, ID_COPY_ADDRESS, ID_NEW_ENTRY, ID_CHECK_UPDATES,
                    ID_REFRESH, ID_NEW_NOTE, ID_NEW_FOLDER})
        EXPECT_TRUE(Grayed(menu, id)) << id << " with an empty list focused";
    EXPECT_FALSE(Grayed(menu, ID_SELECT_ALL));
    EXPECT_FALSE(Grayed(menu, ID_SEARCH));

    SetFocus(frame_->toolbar.hwnd);
    SendMessageA(Frame(), WM_INITMENU, reinterpret_cast<WPARAM>(menu), 0);
    for (UINT id : {ID_OPEN_STORE, ID_NEW_NOTE, ID_NEW_FOLDER, ID_NEW_ENTRY, ID_HIDE, ID_DELETE,
                    ID_EDIT, ID_SELECT_ALL, ID_COPY_ADDRESS, ID_SEARCH, ID_CHECK_UPDATES,
                    ID_ABOUT})
        EXPECT_FALSE(Grayed(menu, id)) << id << " with neither view focused";
    EXPECT_TRUE(Grayed(menu, ID_REFRESH));

    HWND search = CreateWindowExA(0, "STATIC", kSearchDialogTitle, WS_POPUP, 0, 0, 1, 1, nullptr,
                                  nullptr, Instance(), nullptr);
    SendMessageA(Frame(), WM_INITMENU, reinterpret_cast<WPARAM>(menu), 0);
    EXPECT_TRUE(Grayed(menu, ID_SEARCH)) << "the search dialog is open";
    DestroyWindow(search);
}

TEST_F(MainFrameMenu, ACommandWithTheToolbarFocusedReachesTheTreeHost)
{
    Start();
    Show();
    SetFocus(frame_->toolbar.hwnd);
    ASSERT_EQ(GetFocus(), frame_->toolbar.hwnd);
    CommandRecorder commands(TreeHost());
    SendMessageA(Frame(), WM_COMMAND, ID_REFRESH, 0);
    SendMessageA(Frame(), WM_COMMAND, ID_SELECT_ALL, 0);
    EXPECT_TRUE(commands.Saw(ID_SELECT_ALL)) << "and not back to the frame without end";
}

TEST_F(MainFrameMenu, AcceleratorsObeyGrayedItems)
{
    Start();
    Show();
    HACCEL accel = LoadAcceleratorsA(Instance(), MAKEINTRESOURCEA(IDR_FRAME_ACCEL));
    ASSERT_NE(accel, nullptr);
    SetFocus(Tree());
    CommandRecorder commands(Frame());
    HeldKeys ctrl({VK_CONTROL});

    MSG f5 = {Tree(), WM_KEYDOWN, VK_F5, 0x003F0001, 0, {0, 0}};
    RouteMessage(&f5, Frame(), accel, nullptr);
    EXPECT_FALSE(commands.Saw(ID_REFRESH)) << "Ctrl+F5 never reaches the frame";

    MSG u = {Tree(), WM_KEYDOWN, 'U', 0x00160001, 0, {0, 0}};
    RouteMessage(&u, Frame(), accel, nullptr);
    EXPECT_FALSE(commands.Saw(ID_CHECK_UPDATES)) << "grayed while the tree is focused";

    MSG x = {Tree(), WM_KEYDOWN, 'X', 0x002D0001, 0, {0, 0}};
    EXPECT_TRUE(RouteMessage(&x, Frame(), accel, nullptr));
    EXPECT_TRUE(commands.Saw(ID_HIDE)) << "Ctrl+X hides (minimises)";
    EXPECT_TRUE(IsIconic(Frame()));
}

namespace {

// A modeless dialog titled like the search dialog that records its commands.
class FakeSearch : public WindowObject {
public:
    std::vector<int> commands;
    BOOL HandleMessage(HWND, UINT msg, WPARAM wParam, LPARAM, LRESULT*) override
    {
        if (msg == WM_COMMAND)
            commands.push_back(LOWORD(wParam));
        return msg == WM_INITDIALOG || msg == WM_COMMAND;
    }
};

}  // namespace

TEST_F(MessageLoop, F3GoesToTheSearchDialogWhenItHasTheKey)
{
    Start();
    Show();
    HACCEL frameAccel = LoadAcceleratorsA(Instance(), MAKEINTRESOURCEA(IDR_FRAME_ACCEL));
    HACCEL searchAccel = LoadAcceleratorsA(Instance(), MAKEINTRESOURCEA(IDR_SEARCH_ACCEL));
    ASSERT_NE(searchAccel, nullptr);

    alignas(4) WORD words[64] = {};
    auto* t = reinterpret_cast<DLGTEMPLATE*>(words);
    t->style = WS_POPUP | WS_CAPTION | WS_VISIBLE;
    t->cx = 100;
    t->cy = 40;
    FakeSearch search;
    HWND dlg = CreateDialogIndirectParamA(Instance(), t, Frame(), DialogProcValue,
                                          reinterpret_cast<LPARAM>(&search));
    ASSERT_NE(dlg, nullptr);
    SetWindowTextA(dlg, kSearchDialogTitle);
    CommandRecorder frameCommands(Frame());

    MSG toDialog = {dlg, WM_KEYDOWN, VK_F3, 0x003D0001, 0, {0, 0}};
    EXPECT_TRUE(RouteMessage(&toDialog, Frame(), frameAccel, searchAccel));
    ASSERT_EQ(search.commands.size(), 1u);
    EXPECT_EQ(search.commands[0], ID_SEARCH_HAND_OFF);
    EXPECT_FALSE(frameCommands.Saw(ID_SEARCH_AGAIN));

    MSG toFrame = {Tree(), WM_KEYDOWN, VK_F3, 0x003D0001, 0, {0, 0}};
    EXPECT_TRUE(RouteMessage(&toFrame, Frame(), frameAccel, searchAccel));
    EXPECT_TRUE(frameCommands.Saw(ID_SEARCH_AGAIN));
    EXPECT_EQ(search.commands.size(), 1u);
    DestroyWindow(dlg);
}

TEST_F(MainFrameLayout, SplitterDragIsClampedAndResizeKeepsIt)
{
    Start();
    Show();
    CBaseWnd& panes = frame_->panes;
    SetWindowPos(Frame(), nullptr, 0, 0, 700, 500, SWP_NOZORDER);
    PumpMessages(20);
    EXPECT_EQ(panes.splitX, 200);

    SendMessageA(panes.hwndLeft, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(198, 100));
    EXPECT_EQ(panes.dragging, 1);
    SendMessageA(panes.hwndLeft, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(static_cast<WORD>(-300), 100));
    EXPECT_EQ(panes.splitX, GetSystemMetrics(SM_CXFRAME));
    SendMessageA(panes.hwndLeft, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(5000, 100));
    EXPECT_EQ(panes.splitX, 700 - 2 * GetSystemMetrics(SM_CYFRAME));
    SendMessageA(panes.hwndLeft, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(250, 100));
    SendMessageA(panes.hwndLeft, WM_LBUTTONUP, 0, MAKELPARAM(250, 100));
    EXPECT_EQ(panes.dragging, 0);
    EXPECT_EQ(panes.splitX, 250);

    RECT right;
    GetWindowRect(panes.hwndRight, &right);
    POINT pt = {right.left, right.top};
    ScreenToClient(Frame(), &pt);
    EXPECT_EQ(pt.x, 250);

    SetWindowPos(Frame(), nullptr, 0, 0, 200, 300, SWP_NOZORDER);
    PumpMessages(20);
    EXPECT_EQ(panes.splitX, 250) << "resizing without a drag keeps the splitter";
}

TEST_F(MainFrameLayout, StatusBarPartsFollowTheWidth)
{
    Start();
    Show();
    for (int width : {900, 500, 380, 300}) {
        SetWindowPos(Frame(), nullptr, 0, 0, width, 400, SWP_NOZORDER);
        PumpMessages(10);
        RECT client;
        GetClientRect(Frame(), &client);
        int edges[4] = {};
        ASSERT_EQ(SendMessageA(frame_->statusBar.hwnd, SB_GETPARTS, 4, reinterpret_cast<LPARAM>(edges)), 4);
        int w = client.right;
        EXPECT_EQ(edges[0], 100);
        EXPECT_EQ(edges[1], w - 280);
        EXPECT_EQ(edges[2], w - 150);
        EXPECT_EQ(edges[3], w);
    }
}

TEST_F(MainFrameLayout, ScreenshotOfTheShownFrame)
{
    StartWithStore(SmallTree());
    Show();
    SetWindowPos(Frame(), nullptr, 20, 20, 760, 480, SWP_NOZORDER);
    TreeView_Expand(Tree(), TreeView_GetRoot(Tree()), TVE_EXPAND);
    Select(0, 1);
    SetFocus(Tree());
    PumpMessages(300);
    RedrawWindow(Frame(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    PumpMessages(200);
    std::string shot = SaveWindowShot(Frame(), "main_frame.bmp");
    EXPECT_FALSE(shot.empty());
}

TEST(StartUp, SecondInstanceShowsTheMessageAndLeavesTheFirst)
{
    TempFolder folder;
    std::string exe = folder.File("linkcairn.exe");
    ASSERT_TRUE(CopyFileA(BesideTestProgram("..\\linkcairn.exe").c_str(), exe.c_str(), FALSE));

    auto start = [&exe](PROCESS_INFORMATION* pi) {
        STARTUPINFOA si = {};
        si.cb = sizeof si;
        std::string cmd = "\"" + exe + "\"";
        return CreateProcessA(exe.c_str(), &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                              &si, pi) != 0;
    };
    PROCESS_INFORMATION first = {};
    ASSERT_TRUE(start(&first));
    WaitForInputIdle(first.hProcess, 5000);
    HWND frame = nullptr;
    for (int i = 0; i < 200 && frame == nullptr; ++i) {
        Sleep(25);
        HWND w = FindWindowA("linkcairn_class", nullptr);
        DWORD pid = 0;
        if (w != nullptr)
            GetWindowThreadProcessId(w, &pid);
        if (pid == first.dwProcessId)
            frame = w;
    }
    ASSERT_NE(frame, nullptr);
    EXPECT_FALSE(IsWindowVisible(frame));

    PROCESS_INFORMATION second = {};
    ASSERT_TRUE(start(&second));
    {
        MessageBoxAnswerer boxes({IDOK}, second.dwProcessId);
        EXPECT_EQ(WaitForSingleObject(second.hProcess, 15000), WAIT_OBJECT_0);
        auto seen = boxes.Seen();
        ASSERT_EQ(seen.size(), 1u);
        EXPECT_EQ(seen[0].caption, "linkcairn");
        EXPECT_EQ(seen[0].text, "すでに起動されています。\n二重起動は出来ません。");
    }
    DWORD code = 99;
    GetExitCodeProcess(second.hProcess, &code);
    EXPECT_EQ(code, 0u);
    EXPECT_EQ(WaitForSingleObject(first.hProcess, 0), static_cast<DWORD>(WAIT_TIMEOUT))
        << "the first copy keeps running";

    PostMessageA(frame, WM_COMMAND, ID_EXIT, 0);
    EXPECT_EQ(WaitForSingleObject(first.hProcess, 15000), WAIT_OBJECT_0);
    GetExitCodeProcess(first.hProcess, &code);
    EXPECT_EQ(code, 0u);
    for (PROCESS_INFORMATION* pi : {&first, &second}) {
        CloseHandle(pi->hThread);
        CloseHandle(pi->hProcess);
    }
}

namespace {

// Sends a key as the program's loop would: through RouteMessage, and what
// it leaves through TranslateMessage and DispatchMessage, with the WM_CHAR
// that TranslateMessage posts.
void TypeKey(HWND window, UINT key, HACCEL accel, HWND frame)
{
    MSG msg = {window, WM_KEYDOWN, key, 1, 0, {0, 0}};
    for (;;) {
        if (!RouteMessage(&msg, frame, accel, nullptr)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        if (!PeekMessageA(&msg, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE))
            break;
    }
    MSG up = {window, WM_KEYUP, key, 0xC0000001, 0, {0, 0}};
    if (!RouteMessage(&up, frame, accel, nullptr))
        DispatchMessageA(&up);
}

}  // namespace

TEST_F(MessageLoop, KeysTypedIntoALabelEditorStayThere)
{
    StartWithStore({Folder(0, "ノート000", {Note(0, "n", SampleEntries(3, "e"))})});
    Show();
    HACCEL accel = LoadAcceleratorsA(Instance(), MAKEINTRESOURCEA(IDR_FRAME_ACCEL));
    const std::string before = StoreBytes();
    for (bool inList : {false, true}) {
        Select(0, 0);
        HWND editor;
        if (inList) {
            SetFocus(List());
            editor = ListView_EditLabel(List(), 1);
        } else {
            SetFocus(Tree());
            editor = TreeView_EditLabel(Tree(), TreeView_GetSelection(Tree()));
        }
        ASSERT_NE(editor, nullptr);
        SetWindowTextA(editor, "abc");
        SendMessageA(editor, EM_SETSEL, 0, 0);
        CommandRecorder commands;
        MessageBoxAnswerer boxes({IDNO});

        TypeKey(editor, VK_DELETE, accel, Frame());
        EXPECT_EQ(WindowText(editor), "bc") << "Delete deletes a character";
        {
            HeldKeys ctrl({VK_CONTROL});
            TypeKey(editor, 'A', accel, Frame());
            DWORD end = 0;
            SendMessageA(editor, EM_GETSEL, 0, reinterpret_cast<LPARAM>(&end));
            EXPECT_EQ(end, 2u) << "Ctrl+A selects the editor's text";
            TypeKey(editor, 'C', accel, Frame());
            EXPECT_EQ(ClipboardText(), "bc");
            TypeKey(editor, 'X', accel, Frame());
        }
        EXPECT_EQ(WindowText(editor), "") << "Ctrl+X cuts";
        EXPECT_FALSE(IsIconic(Frame()));
        for (int id : {ID_DELETE, ID_SELECT_ALL, ID_COPY_ADDRESS, ID_HIDE})
            EXPECT_FALSE(commands.Saw(id)) << id << (inList ? " from the list's editor" : " from the tree's");
        EXPECT_EQ(boxes.Count(), 0u);
        SendMessageA(editor, WM_KEYDOWN, VK_ESCAPE, 0);
        PumpMessages(20);
    }
    EXPECT_EQ(StoreBytes(), before);
}

TEST(MainFrameExit, TheTrayIconAndTheToolbarBitmapGoWithTheFrame)
{
    TempFolder folder;
    MYWND* frame = new MYWND(Instance(), folder.File("linkcairn.exe").c_str());
    frame->CreateContents();
    HICON icon = frame->trayData.hIcon;
    HBITMAP strip = frame->toolbar.Strip();
    ICONINFO info = {};
    BITMAP bitmap = {};
    ASSERT_TRUE(GetIconInfo(icon, &info));
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    ASSERT_NE(GetObjectA(strip, sizeof bitmap, &bitmap), 0);
    SendMessageA(frame->hwnd, WM_COMMAND, ID_EXIT, 0);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
    EXPECT_FALSE(GetIconInfo(icon, &info)) << "the tray icon was freed";
    EXPECT_EQ(GetObjectA(strip, sizeof bitmap, &bitmap), 0) << "the toolbar bitmap was freed";
}
