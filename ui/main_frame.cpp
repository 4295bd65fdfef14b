#include "ui/main_frame.h"

#include <commctrl.h>

#include "ui/link_capture.h"
#include "ui/live_frames.h"
#include "ui/message_loop.h"
#include "ui/view_helpers.h"
#include "resources/resource.h"

MYWND::MYWND(HINSTANCE instance, const char* modulePath, ModalDialogRunner runDialog)
    : panes(modulePath)
{
    panes.child.runDialog = runDialog;
    ZeroMemory(&trayData, sizeof trayData);
    hInst = instance;
    FrameCreated();
    hwnd = nullptr;

    HICON icon = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_LINKCAIRN),
                                               IMAGE_ICON, 0, 0, LR_SHARED | LR_DEFAULTSIZE));
    HICON small = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_LINKCAIRN),
                                                IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                                GetSystemMetrics(SM_CYSMICON), LR_SHARED));
    RegisterObjectClass(instance, "linkcairn_class", GetSysColorBrush(COLOR_WINDOW), icon,
                        small, MAKEINTRESOURCEA(IDM_MAIN));
    // Explorer announces a new notification area with this message; the
    // icon must come back or a hidden program could not be reached again.
    taskbarCreated_ = RegisterWindowMessageA("TaskbarCreated");
    hwnd = CreateWindowExA(0, "linkcairn_class", "linkcairn", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                           CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance,
                           this);
    ShowWindow(hwnd, SW_HIDE);
    SetTrayIcon(TRUE);
    UpdateWindow(hwnd);
}

MYWND::~MYWND()
{
    SetTrayIcon(FALSE);
    if (hwnd != nullptr && IsWindow(hwnd))
        DestroyWindow(hwnd);
    FrameDestroyed();
}

void MYWND::CreateContents()
{
    toolbar.Create(hInst, hwnd);
    statusBar.Create(hInst, hwnd);
    panes.toolbar = &toolbar;
    panes.statusBar = &statusBar;
    panes.CreatePanes(hInst, hwnd);
    panes.child.CreateHosts(hInst, panes.hwndLeft, panes.hwndRight);
    Layout();
}

void MYWND::Layout()
{
    if (statusBar.hwnd == nullptr || toolbar.hwnd == nullptr || panes.hwndLeft == nullptr)
        return;
    SendMessageA(statusBar.hwnd, WM_SIZE, 0, 0);
    statusBar.SetParts(hwnd);
    SendMessageA(toolbar.hwnd, WM_SIZE, 0, 0);
    RECT status;
    RECT bar;
    RECT client;
    GetClientRect(statusBar.hwnd, &status);
    GetClientRect(toolbar.hwnd, &bar);
    GetClientRect(hwnd, &client);
    panes.LayoutPanes(GetSystemMetrics(SM_CXFRAME), GetSystemMetrics(SM_CYFRAME), client, bar,
                      status);
}

void MYWND::SetTrayIcon(BOOL add)
{
    if (add) {
        ZeroMemory(&trayData, sizeof trayData);
        trayData.cbSize = sizeof trayData;
        trayData.hWnd = hwnd;
        trayData.uID = ID_TRAY_ICON;
        trayData.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
        trayData.uCallbackMessage = WM_TRAYICON;
        if (!trayIcon_)
            trayIcon_.Reset(static_cast<HICON>(
                LoadImageA(hInst, MAKEINTRESOURCEA(IDI_LINKCAIRN), IMAGE_ICON, 0, 0, LR_DEFAULTCOLOR)));
        trayData.hIcon = trayIcon_.Get();
        lstrcpynA(trayData.szTip, "linkcairn", sizeof trayData.szTip);
        Shell_NotifyIconA(NIM_ADD, &trayData);
    } else {
        Shell_NotifyIconA(NIM_DELETE, &trayData);
    }
}

void MYWND::ShowTrayMenu()
{
    POINT pt;
    GetCursorPos(&pt);
    ShowContextMenu(hInst, 2, hwnd, pt, TPM_BOTTOMALIGN, [&](HMENU popup) {
        EnableMenuItem(popup, ID_SHOW_WINDOW,
                       MF_BYCOMMAND | (IsWindowVisible(hwnd) ? MF_GRAYED : MF_ENABLED));
        // A modal dialog (the frame is disabled meanwhile) and its worker use
        // the objects that ending the program would delete.
        EnableMenuItem(popup, ID_EXIT, MF_BYCOMMAND | (IsWindowEnabled(hwnd) ? MF_ENABLED : MF_GRAYED));
    }, true);
}

void MYWND::EnableMenu(HMENU menu)
{
    const UINT enabled[] = {ID_OPEN_STORE,   ID_NEW_NOTE,       ID_NEW_FOLDER, ID_NEW_ENTRY,
                            ID_HIDE,   ID_DELETE,         ID_EDIT,       ID_SELECT_ALL,
                            ID_COPY_ADDRESS, ID_SEARCH,   ID_CHECK_UPDATES, ID_ABOUT};
    for (UINT id : enabled)
        EnableMenuItem(menu, id, MF_BYCOMMAND | MF_ENABLED);
    EnableMenuItem(menu, ID_REFRESH, MF_BYCOMMAND | MF_GRAYED);

    CChildWnd& child = panes.child;
    HWND focus = GetFocus();
    int focusId = focus != nullptr ? GetDlgCtrlID(focus) : 0;
    if (focusId == IDC_TREE_VIEW) {
        child.tree.EnableTreeMenu(TreeView_GetSelection(child.tree.control), menu);
    } else if (focusId == IDC_LIST_VIEW) {
        child.list.EnableListMenu(menu, child.list.HasSelectedRow(), child.tree.control);
        EnableMenuItem(menu, ID_NEW_NOTE, MF_BYCOMMAND | MF_GRAYED);
        EnableMenuItem(menu, ID_NEW_FOLDER, MF_BYCOMMAND | MF_GRAYED);
    }
    if (FindWindowA(nullptr, kSearchDialogTitle) != nullptr)
        EnableMenuItem(menu, ID_SEARCH, MF_BYCOMMAND | MF_GRAYED);
    // Import, export and the duplicates need a store file, whichever view
    // is focused.
    const UINT withStore = child.store.StorePath()[0] != '\0' ? MF_ENABLED : MF_GRAYED;
    EnableMenuItem(menu, ID_IMPORT, MF_BYCOMMAND | withStore);
    EnableMenuItem(menu, ID_EXPORT, MF_BYCOMMAND | withStore);
    EnableMenuItem(menu, ID_CHECK_ALL_LINKS, MF_BYCOMMAND | withStore);
    EnableMenuItem(menu, ID_FIND_DUPLICATES, MF_BYCOMMAND | withStore);
    // Also what Ctrl+V obeys: nothing happens without an address to paste.
    std::string address;
    const bool canPaste = withStore == MF_ENABLED && ReadClipboardLink(hwnd, &address);
    EnableMenuItem(menu, ID_PASTE_LINK, MF_BYCOMMAND | (canPaste ? MF_ENABLED : MF_GRAYED));
}

void MYWND::OpenHandedLink(const std::string& address)
{
    ShowWindow(hwnd, IsIconic(hwnd) ? SW_RESTORE : SW_SHOW);
    SetForegroundWindow(hwnd);
    NewEntryRequest link;
    link.address = address;
    panes.child.QueueLink(link);
}

BOOL MYWND::HandleMessage(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (msg == taskbarCreated_ && taskbarCreated_ != 0) {
        Shell_NotifyIconA(NIM_ADD, &trayData);
        return TRUE;
    }
    switch (msg) {
    case WM_SIZE:
        Layout();
        return TRUE;
    case WM_SETFOCUS: {
        HWND tree = panes.child.tree.control;
        if (tree != nullptr) {
            SetFocus(tree);
            SendMessageA(tree, TVM_EXPAND, TVE_COLLAPSE,
                         reinterpret_cast<LPARAM>(TreeView_GetRoot(tree)));
        }
        return TRUE;
    }
    case WM_CLOSE:
        ShowWindow(window, SW_HIDE);
        return TRUE;
    case WM_ERASEBKGND:
        return TRUE;
    case WM_INITMENU:
        EnableMenu(reinterpret_cast<HMENU>(wParam));
        return TRUE;
    case WM_COMMAND:
        return OnCommand(LOWORD(wParam));
    case WM_TRAYICON:
        return OnTrayIcon(wParam, lParam);
    case WM_COPYDATA: {
        // Another copy started with an address hands it over and ends.
        std::string address;
        *result = ReadHandedLink(reinterpret_cast<const COPYDATASTRUCT*>(lParam), &address) ? TRUE : FALSE;
        if (*result)
            OpenHandedLink(address);
        return TRUE;
    }
    default:
        return FALSE;
    }
}

BOOL MYWND::OnCommand(int command)
{
    // Commands go to the host of the focused view (or of whatever has the focus).
    HWND focus = GetFocus();
    HWND target = focus != nullptr ? GetParent(focus) : nullptr;
    // With the focus on a child of the frame itself (the toolbar, the status
    // bar), its parent is the frame: sending there again would never end.
    if (target == hwnd)
        target = panes.child.hwndTreeHost;
    switch (command) {
    case ID_OPEN_STORE:
    case ID_NEW_FOLDER:
    case ID_NEW_NOTE:
    case ID_IMPORT:
    case ID_EXPORT:
    case ID_CHECK_ALL_LINKS:
    case ID_FIND_DUPLICATES:
        SendMessageA(target, WM_COMMAND, command, 0);
        return TRUE;
    case ID_NEW_ENTRY:
    case ID_DELETE:
    case ID_EDIT:
    case ID_SELECT_ALL:
    case ID_COPY_ADDRESS:
    case ID_SEARCH:
    case ID_CHECK_UPDATES:
    case ID_ABOUT:
    case ID_SEARCH_AGAIN:
    case ID_PASTE_LINK:
        SendMessageA(target, WM_COMMAND, command, 0);
        return FALSE;
    case ID_HIDE:
        CloseWindow(hwnd);
        return FALSE;
    case ID_SHOW_WINDOW:
        ShowWindow(hwnd, SW_SHOWNORMAL);
        return TRUE;
    case ID_EXIT:
        delete this;
        return TRUE;
    default:
        return FALSE;
    }
}

BOOL MYWND::OnTrayIcon(WPARAM id, LPARAM mouse)
{
    if (id != ID_TRAY_ICON)
        return FALSE;
    if (mouse == WM_LBUTTONDBLCLK) {
        ShowWindow(hwnd, SW_SHOW);
        SetForegroundWindow(hwnd);
        return TRUE;
    }
    if (mouse == WM_RBUTTONUP) {
        ShowTrayMenu();
        return TRUE;
    }
    return FALSE;
}
