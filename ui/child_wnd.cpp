#include "ui/child_wnd.h"

#include <commctrl.h>
#include <windowsx.h>

#include "app/pane_layout.h"
#include "resources/resource.h"
#include "ui/link_capture.h"
#include "ui/message_loop.h"
#include "ui/toolbar.h"

namespace {

// While a modal dialog holds the window, a handed-in page waits this long
// before it asks again.
const UINT_PTR kLinkRetryTimer = 1;

void MoveTo(HWND window, const Box& box)
{
    SetWindowPos(window, nullptr, box.x, box.y, box.width, box.height, SWP_NOZORDER);
}

}  // namespace

CChildWnd::CChildWnd(const char* modulePath)
    : settings(modulePath)
{
}

CChildWnd::~CChildWnd()
{
    RevokeDropTargets();
}

void CChildWnd::RevokeDropTargets()
{
    // Before the views go: OLE keeps a reference to each target.
    for (LinkDropTarget** target : {&listDrop_, &treeDrop_}) {
        if (*target != nullptr)
            (*target)->Revoke();
        *target = nullptr;
    }
}

bool CChildWnd::CreateHosts(HINSTANCE instance, HWND leftPane, HWND rightPane)
{
    hInst = instance;
    RegisterObjectClass(instance, "ChildWndClass", GetSysColorBrush(COLOR_HOTLIGHT), nullptr,
                        nullptr, nullptr);
    const DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN;
    hwndTreeHost = CreateWindowExA(0, "ChildWndClass", "", style, 0, 0, 0, 0, leftPane,
                                   reinterpret_cast<HMENU>(IDC_TREE_HOST), instance, this);
    hwndListHost = CreateWindowExA(WS_EX_CLIENTEDGE | WS_EX_WINDOWEDGE, "ChildWndClass", "",
                                   style, 0, 0, 0, 0, rightPane, reinterpret_cast<HMENU>(IDC_LIST_HOST),
                                   instance, this);
    if (hwndTreeHost == nullptr || hwndListHost == nullptr)
        return false;

    store.SetSettings(&settings);
    tree.settings = &settings;
    tree.list = &list;
    tree.statusBar = statusBar;
    tree.store = &store;
    list.settings = &settings;
    list.statusBar = statusBar;
    views.store = &store;
    views.tree = &tree;
    views.list = &list;
    views.settings = &settings;
    views.statusBar = statusBar;
    views.toolbar = toolbar;
    tree.views = &views;
    list.views = &views;
    store.SetStorePath(settings.CurXml());

    // An empty toolbar that only takes room above the tree.
    strip = CreateWindowExA(0, TOOLBARCLASSNAMEA, nullptr, WS_CHILD | WS_VISIBLE | WS_BORDER | TBSTYLE_LIST,
                            0, 0, 0, 0, hwndTreeHost, reinterpret_cast<HMENU>(IDC_STRIP), instance, nullptr);
    if (strip != nullptr)
        SendMessageA(strip, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    if (!tree.CreateTree(instance, hwndTreeHost) || !list.CreateList(instance, hwndListHost, &store))
        return false;
    listDrop_ = LinkDropTarget::Register(list.control, this);
    treeDrop_ = LinkDropTarget::Register(tree.control, this);
    return true;
}

void CChildWnd::LayoutHosts(HWND leftPane, HWND rightPane)
{
    if (hwndTreeHost == nullptr || hwndListHost == nullptr)
        return;
    int d = GetSystemMetrics(SM_CYFRAME);
    RECT p1;
    RECT p2;
    GetClientRect(leftPane, &p1);
    GetClientRect(rightPane, &p2);
    MoveTo(hwndTreeHost, TreeHostBox(d, p1.right, p1.bottom));
    MoveTo(hwndListHost, ListHostBox(d, p2.right, p2.bottom));
    if (strip != nullptr)
        SendMessageA(strip, WM_SIZE, 0, 0);

    RECT stripRect = {0, 0, 0, 0};
    if (strip != nullptr)
        GetClientRect(strip, &stripRect);
    RECT th;
    RECT lh;
    GetClientRect(hwndTreeHost, &th);
    GetClientRect(hwndListHost, &lh);
    if (tree.control != nullptr)
        MoveTo(tree.control, TreeViewBox(d, stripRect.bottom, th.right, th.bottom));
    if (list.control != nullptr)
        MoveTo(list.control, ListViewBox(d, lh.right, lh.bottom));
}

BOOL CChildWnd::HandleMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    switch (msg) {
    case WM_SIZE:
    case WM_ERASEBKGND:
        return TRUE;
    case WM_NOTIFY:
        return OnNotify(hwnd, reinterpret_cast<NMHDR*>(lParam), result);
    case WM_CONTEXTMENU: {
        POINT pt = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        if (lParam == -1)
            GetCursorPos(&pt);   // from the keyboard: show it where the mouse is
        if (GetDlgCtrlID(hwnd) == IDC_TREE_HOST)
            tree.ShowTreeMenu(hInst, pt);
        else
            list.ShowListMenu(pt, tree.control);
        return TRUE;
    }
    case WM_COMMAND:
        if (OnSearchCommand(hwnd, wParam, lParam))
            return TRUE;
        return OnCommand(hwnd, LOWORD(wParam));
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
        OnDragMouse(hwnd, msg, lParam);
        return TRUE;
    case WM_NOTE_DROPPED:
        if (!tree.MoveNoteByDrop(reinterpret_cast<HTREEITEM>(lParam)))
            ListView_DeleteAllItems(list.control);
        return TRUE;
    case WM_ENTRY_DROPPED:
        OnEntryDropped(reinterpret_cast<HTREEITEM>(lParam));
        return TRUE;
    case WM_OPEN_LINK:
        OpenQueuedLink(false);
        return TRUE;
    case WM_TIMER:
        if (wParam != kLinkRetryTimer)
            return FALSE;
        KillTimer(hwnd, kLinkRetryTimer);
        OpenQueuedLink(true);
        return TRUE;
    case WM_DESTROY:
        RevokeDropTargets();
        return FALSE;
    default:
        return FALSE;
    }
}

BOOL CChildWnd::OnSearchCommand(HWND host, WPARAM wParam, LPARAM lParam)
{
    switch (LOWORD(wParam)) {
    case ID_SEARCH:
        // One dialog at most, known by its title.
        if (FindWindowA(nullptr, kSearchDialogTitle) == nullptr)
            search.Start(hInst, IDD_SEARCH, host, &list, &tree, &store, &settings);
        return TRUE;
    case ID_SEARCH_AGAIN:
        SearchAgain(wParam, lParam);
        return TRUE;
    default:
        return FALSE;
    }
}

void CChildWnd::SearchAgain(WPARAM wParam, LPARAM lParam)
{
    bool run;
    if (HIWORD(wParam) == kHandOffCode && lParam != 0) {
        lastRequest = *reinterpret_cast<const SearchRequest*>(lParam);
        run = true;
    } else {
        // F3 or Shift+F3 here: the last handed-over search, if any.
        lastRequest.downward = GetKeyState(VK_SHIFT) < 0 ? 0 : 1;
        run = lastRequest.text[0] != '\0';
    }
    lastRequest.dialog = nullptr;
    if (run)
        tree.FindNext(lastRequest);
}

void CChildWnd::OnDragMouse(HWND host, UINT msg, LPARAM lParam)
{
    POINT pt = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    bool fromTree = GetDlgCtrlID(host) == IDC_TREE_HOST;
    if (msg == WM_MOUSEMOVE) {
        if (fromTree)
            tree.TreeDragMove(pt);
        else
            list.RowDragMove(tree.control, pt);
    } else if (msg == WM_LBUTTONUP) {
        if (fromTree)
            tree.TreeDrop(pt);
        else
            list.RowDrop(tree.control, pt);
    } else if (fromTree) {
        tree.CancelTreeDrag();
    } else {
        list.CancelRowDrag(tree.control);
    }
}

void CChildWnd::OnEntryDropped(HTREEITEM target)
{
    char label[kTitleSize] = {};
    if (!tree.GetItemLabel(target, label, sizeof label))
        return;
    TreePosition pos;
    tree.GetItemPosition(target, &pos);
    if (tree.CheckPosition(pos))
        list.MoveEntryByDrop(label, pos.folder, pos.note);
    RestoreDropHighlight(tree.control, list.SelectionAtDragStart());
}

void CChildWnd::NewFolderCommand()
{
    const int created = static_cast<int>(store.Snapshot().size());
    if (!store.NewFolder(hwndTreeHost)) {
        MessageBoxA(hwndTreeHost, "フォルダの作成に失敗しました", "ERROR", MB_OK | MB_ICONERROR);
        return;
    }
    tree.EditNewItem(TreePosition{created, -1});
}

void CChildWnd::NewNoteCommand()
{
    HTREEITEM selected = TreeView_GetSelection(tree.control);
    if (selected == nullptr)
        return;
    TreePosition pos;
    tree.GetItemPosition(selected, &pos);
    if (!tree.CheckPosition(TreePosition{pos.folder, -1}))
        return;
    const int created = static_cast<int>(store.Snapshot()[static_cast<size_t>(pos.folder)].notes.size());
    if (!store.NewNote(pos.folder, 999, hwndTreeHost)) {
        MessageBoxA(hwndTreeHost, "ノートの作成に失敗しました", "ERROR", MB_OK | MB_ICONERROR);
        return;
    }
    tree.EditNewItem(TreePosition{pos.folder, created});
}

BOOL CChildWnd::OnCommand(HWND host, int command)
{
    bool fromTree = GetDlgCtrlID(host) == IDC_TREE_HOST;
    switch (command) {
    case ID_OPEN_STORE:
        OpenStore(host);
        return TRUE;
    case ID_IMPORT:
        ImportBookmarks(host);
        return TRUE;
    case ID_EXPORT:
        ExportBookmarks(host);
        return TRUE;
    case ID_CHECK_ALL_LINKS:
    case ID_CHECK_FOLDER_LINKS:
        CheckLinks(command == ID_CHECK_FOLDER_LINKS);
        return TRUE;
    case ID_FIND_DUPLICATES:
        if (store.StorePath()[0] != '\0')
            duplicates.Start(hInst, host, &store, &list, &views);
        return TRUE;
    case ID_NEW_FOLDER:
        NewFolderCommand();
        return TRUE;
    case ID_NEW_NOTE:
        NewNoteCommand();
        return TRUE;
    case ID_DELETE:
        if (fromTree) {
            if (!tree.DeleteTreeItem())
                ListView_DeleteAllItems(list.control);
        } else if (!list.DeleteRows(hwndListHost)) {
            MessageBoxA(hwndTreeHost, "ピンロールの削除に失敗しました", "ERROR", MB_OK | MB_ICONERROR);
        }
        return TRUE;
    case ID_EDIT:
        if (fromTree)
            tree.StartTreeRename();
        else
            list.StartRowRename();
        return TRUE;
    case ID_SELECT_ALL:
        list.SelectAllRows();
        return TRUE;
    case ID_COPY_ADDRESS:
        list.CopyAddress(hwndListHost);
        return TRUE;
    case ID_OPEN_IN_BROWSER:
        list.OpenInBrowser(hwndListHost);
        return TRUE;
    case ID_REFRESH:
        views.RefreshList();
        return TRUE;
    case ID_NEW_ENTRY:
        RunDialog(IDD_NEW_ENTRY);
        return TRUE;
    case ID_PROPERTIES:
        RunDialog(IDD_PROPERTY);
        return TRUE;
    case ID_CHECK_UPDATES:
        RunDialog(IDD_UPDATE_CHECK);
        return TRUE;
    case ID_ABOUT:
        RunDialog(IDD_ABOUT);
        return TRUE;
    case ID_PASTE_LINK:
        PasteLink();
        return TRUE;
    default:
        return FALSE;
    }
}

BOOL CChildWnd::OnNotify(HWND host, NMHDR* header, LRESULT* result)
{
    if (GetDlgCtrlID(host) == IDC_TREE_HOST && header->hwndFrom == tree.control)
        return OnTreeNotify(header, result);
    if (GetDlgCtrlID(host) == IDC_LIST_HOST && header->hwndFrom == list.control)
        return OnListNotify(header, result);
    return FALSE;
}

BOOL CChildWnd::OnTreeNotify(NMHDR* header, LRESULT* result)
{
    switch (header->code) {
    case TVN_SELCHANGEDA:
        tree.OnSelectionChanged(toolbar);
        return TRUE;
    case TVN_KEYDOWN:
        *result = tree.OnTreeKey(reinterpret_cast<NMTVKEYDOWN*>(header));
        return TRUE;
    case TVN_BEGINLABELEDITA:
        tree.OnBeginLabelEdit();
        return TRUE;
    case TVN_ENDLABELEDITA:
        tree.CommitTreeLabel(reinterpret_cast<NMTVDISPINFOA*>(header));
        return TRUE;
    case TVN_BEGINDRAGA:
        tree.BeginTreeDrag(reinterpret_cast<NMTREEVIEWA*>(header));
        return TRUE;
    case NM_CUSTOMDRAW:
        *result = tree.DrawTreeItem(reinterpret_cast<NMTVCUSTOMDRAW*>(header));
        return TRUE;
    case NM_SETFOCUS:
    case NM_CLICK:
        return TRUE;
    default:
        return FALSE;
    }
}

BOOL CChildWnd::OnListNotify(NMHDR* header, LRESULT* result)
{
    switch (header->code) {
    case LVN_KEYDOWN:
        list.OnListKey(reinterpret_cast<NMLVKEYDOWN*>(header), tree.control);
        break;
    case LVN_BEGINDRAG:
        list.BeginRowDrag(reinterpret_cast<NMLISTVIEW*>(header), tree.control);
        break;
    case LVN_COLUMNCLICK:
        list.SortByColumn(reinterpret_cast<NMLISTVIEW*>(header));
        break;
    case LVN_BEGINLABELEDITA:
        list.OnBeginLabelEdit();
        break;
    case LVN_ENDLABELEDITA:
        list.CommitRowRename(reinterpret_cast<NMLVDISPINFOA*>(header), hwndListHost);
        break;
    case NM_CUSTOMDRAW:
        *result = list.DrawListRow(reinterpret_cast<NMLVCUSTOMDRAW*>(header));
        break;
    default:
        break;
    }
    return TRUE;
}

void CChildWnd::RunDialog(int templateId, const char* path, int folder, const NewEntryRequest* request)
{
    if (runDialog != nullptr)
        runDialog(templateId, DialogHost{hInst, hwndTreeHost, &list, &tree, &store, &settings, &views, folder, request},
                  path);
}

void CChildWnd::CheckLinks(bool selectedFolder)
{
    if (store.StorePath()[0] == '\0')
        return;
    int folder = -1;
    if (selectedFolder) {
        TreePosition pos;
        HTREEITEM item = TreeView_GetSelection(tree.control);
        // The tree's menu offers it on a folder only.
        if (item == nullptr || tree.GetItemPosition(item, &pos) || !tree.CheckPosition(pos))
            return;
        folder = pos.folder;
    }
    RunDialog(IDD_LINK_CHECK, nullptr, folder);
}

bool CChildWnd::NoteExists(int folder, int note) const
{
    const std::vector<FolderRecord>& folders = store.Snapshot();
    return folder >= 0 && folder < static_cast<int>(folders.size()) && note >= 0 &&
           note < static_cast<int>(folders[static_cast<size_t>(folder)].notes.size());
}

void CChildWnd::QueueLink(const NewEntryRequest& link)
{
    links_.push_back(link);
    if (links_.back().note < 0)
        list.ShownNote(&links_.back().folder, &links_.back().note);
    // Never inside the drop or the other copy's message: their sender
    // waits until they return.
    PostMessageA(hwndListHost, WM_OPEN_LINK, 0, 0);
}

void CChildWnd::OpenQueuedLink(bool retry)
{
    if (links_.empty())
        return;
    HWND frame = GetAncestor(hwndListHost, GA_ROOT);
    if (!IsWindowEnabled(frame)) {
        // A dialog or message box holds the window and perhaps the store:
        // the page waits for it, which comes forward once, not at every
        // retry (the user may be working elsewhere meanwhile).
        if (!retry)
            SetForegroundWindow(GetLastActivePopup(frame));
        SetTimer(hwndListHost, kLinkRetryTimer, 500, nullptr);
        return;
    }
    NewEntryRequest link = links_.front();
    links_.pop_front();
    RunDialog(IDD_NEW_ENTRY, nullptr, -1, &link);
    if (!links_.empty())
        PostMessageA(hwndListHost, WM_OPEN_LINK, 0, 0);
}

void CChildWnd::PasteLink()
{
    NewEntryRequest link;
    if (!ReadClipboardLink(hwndListHost, &link.address))
        return;
    list.ShownNote(&link.folder, &link.note);
    RunDialog(IDD_NEW_ENTRY, nullptr, -1, &link);
}

bool CChildWnd::LinkDropNote(HWND view, POINT screen, bool feedback, int* folder, int* note)
{
    // Not while a modal dialog holds the window: it may be using the store.
    if (!IsWindowEnabled(GetAncestor(view, GA_ROOT)))
        return false;
    if (view == list.control) {
        list.ShownNote(folder, note);
        return NoteExists(*folder, *note);
    }
    HTREEITEM item = TreeItemAt(tree.control, screen);
    bool onNote = item != nullptr && IsNoteItem(tree.control, item);
    if (feedback) {
        if (onNote)
            SetDropHighlight(tree.control, item);
        else
            LinkDropEnded(view);
    }
    TreePosition pos;
    if (!onNote || !tree.GetItemPosition(item, &pos))
        return false;
    *folder = pos.folder;
    *note = pos.note;
    return NoteExists(pos.folder, pos.note);
}

void CChildWnd::LinkDropEnded(HWND view)
{
    if (view == tree.control)
        RestoreDropHighlight(tree.control, TreeView_GetSelection(tree.control));
}
