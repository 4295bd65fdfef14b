#include "ui/tree_ctrl.h"

#include <vector>

#include "app/error_log.h"
#include "app/ini_settings.h"
#include "store/xml_store.h"
#include "resources/resource.h"
#include "ui/view_helpers.h"
#include "ui/list_ctrl.h"
#include "ui/toolbar.h"

HTREEITEM InsertTreeItem(HWND tree, HTREEITEM parent, const char* text, int image, int selected)
{
    TVINSERTSTRUCTA ins;
    ZeroMemory(&ins, sizeof ins);
    ins.hParent = parent;
    ins.hInsertAfter = TVI_LAST;
    ins.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    ins.item.pszText = const_cast<char*>(text);
    ins.item.iImage = image;
    ins.item.iSelectedImage = selected;
    return reinterpret_cast<HTREEITEM>(
        SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&ins)));
}

namespace {

int CountFromFirst(HWND tree, HTREEITEM first, HTREEITEM item)
{
    int index = 0;
    for (HTREEITEM it = first; it != nullptr && it != item; it = TreeView_GetNextSibling(tree, it))
        ++index;
    return index;
}

}  // namespace

CTreeCtrl::~CTreeCtrl() = default;

bool CTreeCtrl::CreateTree(HINSTANCE instance, HWND parent)
{
    instance_ = instance;
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_TREEVIEW_CLASSES};
    InitCommonControlsEx(&icc);
    images.Reset(ImageList_Create(16, 16, ILC_MASK | ILC_COLOR4, 2, 0));
    const int icons[] = {104, 105, 103, 106};
    for (int id : icons) {
        HICON icon = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(id), IMAGE_ICON,
                                                   16, 16, LR_DEFAULTCOLOR));
        ImageList_AddIcon(images.Get(), icon);
        if (icon != nullptr)
            DestroyIcon(icon);
    }
    const DWORD style = WS_CHILD | WS_VISIBLE | WS_BORDER | TVS_HASBUTTONS | TVS_LINESATROOT |
                        TVS_EDITLABELS | TVS_SHOWSELALWAYS | TVS_TRACKSELECT |
                        TVS_SINGLEEXPAND | TVS_FULLROWSELECT;
    control = CreateWindowExA(0, WC_TREEVIEWA, "", style, 0, 0, 0, 0, parent,
                              reinterpret_cast<HMENU>(IDC_TREE_VIEW), instance, nullptr);
    if (control == nullptr)
        return false;
    TreeView_SetImageList(control, images.Get(), TVSIL_NORMAL);
    if (settings != nullptr && settings->CurXml()[0] != '\0') {
        FillTree();
        if (statusBar != nullptr)
            statusBar->ShowStoreFile(*settings);
    }
    TreeView_SetItemHeight(control, 16);
    return true;
}

void CTreeCtrl::FillTree()
{
    SendMessageA(control, WM_SETREDRAW, FALSE, 0);
    TreeView_DeleteAllItems(control);
    for (const FolderRecord& folder : store->Snapshot()) {
        HTREEITEM item = InsertTreeItem(control, TVI_ROOT, folder.name, 1, 0);
        for (const NoteRecord& note : folder.notes)
            InsertTreeItem(control, item, note.name, 2, 3);
    }
    SendMessageA(control, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(control, nullptr, TRUE);
}

bool CTreeCtrl::GetItemPosition(HTREEITEM item, TreePosition* pos) const
{
    HTREEITEM parent = TreeView_GetParent(control, item);
    HTREEITEM child = TreeView_GetChild(control, item);
    HTREEITEM root = TreeView_GetRoot(control);
    if (child == nullptr && parent != nullptr) {
        pos->note = CountFromFirst(control, TreeView_GetChild(control, parent), item);
        pos->folder = CountFromFirst(control, root, parent);
        return true;
    }
    pos->folder = CountFromFirst(control, root, item);
    pos->note = -1;
    return false;
}

HTREEITEM CTreeCtrl::FindItemAtPosition(const TreePosition& pos) const
{
    HTREEITEM folder = TreeView_GetRoot(control);
    for (int i = 0; i < pos.folder && folder != nullptr; ++i)
        folder = TreeView_GetNextSibling(control, folder);
    if (folder == nullptr || pos.note == -1)
        return folder;
    HTREEITEM note = TreeView_GetChild(control, folder);
    if (note == nullptr)
        return folder;
    for (int i = 0; i < pos.note; ++i) {
        HTREEITEM next = TreeView_GetNextSibling(control, note);
        if (next == nullptr)
            break;
        note = next;
    }
    return note;
}

bool CTreeCtrl::GetSelectedPosition(TreePosition* pos) const
{
    HTREEITEM selected = TreeView_GetSelection(control);
    if (selected == nullptr)
        return false;
    return GetItemPosition(selected, pos);
}

bool CTreeCtrl::CheckPosition(const TreePosition& pos) const
{
    const std::vector<FolderRecord>& folders = store->Snapshot();
    bool known = pos.folder >= 0 && pos.folder < static_cast<int>(folders.size()) &&
                 pos.note < static_cast<int>(folders[static_cast<size_t>(pos.folder)].notes.size());
    if (!known)
        ReportModuleError(control, "アイテムの取得に失敗しました。", "ｱｲﾃﾑの取得に失敗しました。",
                          MB_ICONERROR, __LINE__, ".\\CTreeCtrl", settings != nullptr ? settings->ExeDir() : "");
    return known;
}

bool CTreeCtrl::GetItemLabel(HTREEITEM item, char* buffer, int size) const
{
    TVITEMA tvi;
    ZeroMemory(&tvi, sizeof tvi);
    tvi.mask = TVIF_TEXT;
    tvi.hItem = item;
    tvi.pszText = buffer;
    tvi.cchTextMax = size;
    return SendMessageA(control, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&tvi)) != 0;
}

void CTreeCtrl::SetBusy(bool on)
{
    SetControlBusy(control, on);
}

void CTreeCtrl::OnSelectionChanged(CToolBarWnd* toolbar)
{
    TreePosition pos;
    bool isNote = GetSelectedPosition(&pos);
    if (isNote && list != nullptr) {
        list->FillList(pos.folder, pos.note);
        list->ShowItemCount();
    }
    if (toolbar != nullptr)
        toolbar->EnableButton(isNote ? TRUE : FALSE, ID_NEW_ENTRY);
    TreeView_Select(control, nullptr, TVGN_DROPHILITE);
}
