#include "ui/list_ctrl.h"

#include <cstdio>
#include <vector>

#include "store/entry_key.h"
#include "store/xml_store.h"
#include "resources/resource.h"
#include "ui/view_helpers.h"
#include "ui/toolbar.h"

namespace {

struct Column {
    const char* header;
    int width;
};

const Column kColumns[kListColumnCount] = {
    {"タイトル", 180}, {"アドレス", 180}, {"コメント", 200}, {"作成日付", 100},
    {"最終日付", 100}, {"更新日付", 100}, {"回数", 40},    {"リンク", 60},
    {"ID", 60},
};

void SetCell(HWND list, int row, int column, const char* text)
{
    LVITEMA item;
    ZeroMemory(&item, sizeof item);
    item.iSubItem = column;
    item.pszText = const_cast<char*>(text);
    SendMessageA(list, LVM_SETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
}

}  // namespace

CListCtrl::~CListCtrl() = default;

bool CListCtrl::CreateList(HINSTANCE inst, HWND parent, CmyXml* xml)
{
    instance = inst;
    store = xml;
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&icc);
    const DWORD style = WS_CHILD | WS_VISIBLE | WS_BORDER | LVS_REPORT | LVS_EDITLABELS |
                        LVS_SHOWSELALWAYS;
    control = CreateWindowExA(0, WC_LISTVIEWA, "", style, 0, 0, 0, 0, parent,
                              reinterpret_cast<HMENU>(IDC_LIST_VIEW), inst, nullptr);
    if (control == nullptr)
        return false;
    DWORD ex = ListView_GetExtendedListViewStyle(control);
    ListView_SetExtendedListViewStyle(
        control, ex | LVS_EX_GRIDLINES | LVS_EX_HEADERDRAGDROP | LVS_EX_FULLROWSELECT);
    AddColumns();
    return true;
}

void CListCtrl::AddColumns()
{
    for (int i = 0; i < kListColumnCount; ++i) {
        LVCOLUMNA col;
        ZeroMemory(&col, sizeof col);
        col.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
        col.fmt = LVCFMT_LEFT;
        col.cx = kColumns[i].width;
        col.pszText = const_cast<char*>(kColumns[i].header);
        col.iSubItem = i;
        SendMessageA(control, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&col));
    }
}

const char* CListCtrl::LinkText(const char* code)
{
    return lstrcmpA(code, "0") == 0 ? "無効" : "有効";
}

void CListCtrl::FillList(int folder, int note)
{
    // The row image list is made once and kept for every later fill; the
    // control owns it.
    if (images_ == nullptr) {
        images_ = ImageList_Create(16, 16, ILC_MASK | ILC_COLOR4, 1, 0);
        HICON icon = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_LINKCAIRN),
                                                   IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR));
        ImageList_AddIcon(images_, icon);
        if (icon != nullptr)
            DestroyIcon(icon);
        ListView_SetImageList(control, images_, LVSIL_SMALL);
    }

    // Read straight from the snapshot: a copy of a large store costs more
    // than filling the rows, and nothing changes it while we read.
    const std::vector<FolderRecord>& folders = store->Snapshot();
    if (folder < 0 || folder >= static_cast<int>(folders.size()) ||
        folders[folder].notes.empty())
        return;
    // Drawing is held before the old rows go: deleting them drawn costs
    // a third of the whole fill.
    SendMessageA(control, WM_SETREDRAW, FALSE, 0);
    ListView_DeleteAllItems(control);
    const FolderRecord& f = folders[folder];
    if (note < 0 || note >= static_cast<int>(f.notes.size())) {
        SendMessageA(control, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(control, nullptr, TRUE);
        return;
    }
    const std::vector<EntryRecord>& entries = f.notes[note].entries;
    shownFolder_ = folder;
    shownNote_ = note;
    ListView_SetItemCount(control, static_cast<int>(entries.size()));
    for (int i = 0; i < static_cast<int>(entries.size()); ++i) {
        const EntryRecord& e = entries[i];
        LVITEMA item;
        ZeroMemory(&item, sizeof item);
        item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
        item.iItem = i;
        item.pszText = const_cast<char*>(e.title.c_str());
        item.iImage = 0;
        item.lParam = i;
        int row = static_cast<int>(SendMessageA(control, LVM_INSERTITEMA, 0,
                                                reinterpret_cast<LPARAM>(&item)));
        char key[kEntryKeySize];
        FormatEntryKey(folder, note, i, key, sizeof key);
        SetCell(control, row, 1, e.list);
        SetCell(control, row, 2, e.comment);
        SetCell(control, row, 3, e.date);
        SetCell(control, row, 4, e.access);
        SetCell(control, row, 5, e.update);
        SetCell(control, row, 6, e.count);
        SetCell(control, row, 7, LinkText(e.valid));
        SetCell(control, row, kKeyColumn, key);
    }
    SendMessageA(control, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(control, nullptr, TRUE);
}

void CListCtrl::ShowItemCount()
{
    char text[64];
    snprintf(text, sizeof text, "%d 個のｱｲﾃﾑ", ListView_GetItemCount(control));
    if (statusBar != nullptr)
        statusBar->SetText(0, text);
}

bool CListCtrl::HasSelectedRow() const
{
    return ListView_GetSelectedCount(control) > 0;
}

void CListCtrl::EnableListMenu(HMENU menu, bool rowFlag, HWND tree) const
{
    auto gray = [menu](UINT id) { EnableMenuItem(menu, id, MF_BYCOMMAND | MF_GRAYED); };
    int rows = ListView_GetItemCount(control);
    if (rowFlag) {
        gray(ID_NEW_ENTRY);
        if (ListView_GetSelectedCount(control) > 1) {
            gray(ID_EDIT);
            gray(ID_COPY_ADDRESS);
            gray(ID_OPEN_IN_BROWSER);
            gray(ID_PROPERTIES);
        }
        return;
    }
    gray(ID_DELETE);
    gray(ID_EDIT);
    gray(ID_COPY_ADDRESS);
    gray(ID_OPEN_IN_BROWSER);
    gray(ID_PROPERTIES);
    HTREEITEM selected = TreeView_GetSelection(tree);
    // A folder is an item that is not a note: no parent, or it has children.
    bool folderSelected = selected != nullptr && (TreeView_GetParent(tree, selected) == nullptr ||
                                                  TreeView_GetChild(tree, selected) != nullptr);
    if (selected == nullptr || (folderSelected && rows == 0))
        gray(ID_NEW_ENTRY);
    if (rows == 0) {
        gray(ID_CHECK_UPDATES);
        gray(ID_REFRESH);
    }
}

void CListCtrl::SetBusy(bool on)
{
    SetControlBusy(control, on);
}

void CListCtrl::ShowListMenu(POINT screen, HWND tree)
{
    LVHITTESTINFO hit;
    ZeroMemory(&hit, sizeof hit);
    GetCursorPos(&hit.pt);
    ScreenToClient(control, &hit.pt);
    bool rowFlag = ListView_HitTest(control, &hit) >= 0;
    ShowContextMenu(instance, 1, GetParent(control), screen, TPM_LEFTBUTTON,
                    [&](HMENU popup) { EnableListMenu(popup, rowFlag, tree); });
}

int CListCtrl::FindRowByKey(const char* key) const
{
    char text[kEntryKeySize];
    int rows = ListView_GetItemCount(control);
    for (int row = 0; row < rows; ++row) {
        text[0] = '\0';
        ListView_GetItemText(control, row, kKeyColumn, text, sizeof text);
        if (lstrcmpA(text, key) == 0)
            return row;
    }
    return -1;
}

void CListCtrl::ShowEntryRow(int folder, int note, int entry)
{
    char key[kEntryKeySize];
    // An entry beyond the key's range has no row that names it.
    if (!FormatEntryKey(folder, note, entry, key, sizeof key))
        return;
    int row = FindRowByKey(key);
    if (row < 0 && (folder != shownFolder_ || note != shownNote_)) {
        FillList(folder, note);
        row = FindRowByKey(key);
    }
    ListView_SetItemState(control, -1, 0, LVIS_SELECTED);
    if (row < 0)
        return;
    ListView_EnsureVisible(control, row, TRUE);
    ListView_SetItemState(control, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}
