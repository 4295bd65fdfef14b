// What the user does with rows: keys, selection, title edits, deleting,
// copying and opening addresses, refreshing.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>

#include "app/error_log.h"
#include "app/ini_settings.h"
#include "store/entry_key.h"
#include "store/xml_store.h"
#include "ui/list_ctrl.h"
#include "ui/toolbar.h"
#include "ui/tree_ctrl.h"
#include "ui/view_helpers.h"

namespace {

void ShellOpen(const char* address)
{
    ShellExecuteA(nullptr, nullptr, address, nullptr, nullptr, SW_SHOWNORMAL);
}

BrowserLauncher browserLauncher = ShellOpen;

}  // namespace

void SetBrowserLauncher(BrowserLauncher launcher)
{
    browserLauncher = launcher != nullptr ? launcher : ShellOpen;
}

int CListCtrl::FirstSelectedRow() const
{
    return ListView_GetNextItem(control, -1, LVNI_SELECTED);
}

void CListCtrl::FocusList()
{
    SetFocus(control);
    int row = FirstSelectedRow();
    if (row < 0)
        row = 0;
    ListView_SetItemState(control, row, LVIS_FOCUSED, LVIS_FOCUSED);
}

void CListCtrl::OnListKey(const NMLVKEYDOWN* key, HWND tree)
{
    if (key->wVKey == VK_TAB)
        SetFocus(tree);
    else if (key->wVKey == VK_F2)
        StartRowRename();
}

void CListCtrl::SelectAllRows()
{
    // Selected and focused together in one call selects nothing under Wine.
    ListView_SetItemState(control, -1, LVIS_SELECTED, LVIS_SELECTED);
    int focus = ListView_GetNextItem(control, -1, LVNI_FOCUSED);
    ListView_SetItemState(control, focus >= 0 ? focus : 0, LVIS_FOCUSED, LVIS_FOCUSED);
}

void CListCtrl::StartRowRename()
{
    int row = FirstSelectedRow();
    if (row >= 0) {
        SetFocus(control);
        ListView_EditLabel(control, row);
    }
}

void CListCtrl::OnBeginLabelEdit()
{
    labelEditor = ListView_GetEditControl(control);
    savedTitle[0] = '\0';
    if (labelEditor != nullptr)
        GetWindowTextA(labelEditor, savedTitle, sizeof savedTitle);
}

void CListCtrl::CommitRowRename(const NMLVDISPINFOA* info, HWND owner)
{
    // The editor's text counts however the edit ended: Esc keeps it too.
    char typed[520];
    if (!TakeLabelText(&labelEditor, typed, sizeof typed))
        return;
    if (lstrcmpA(typed, savedTitle) == 0)
        return;
    char key[12] = {};
    ListView_GetItemText(control, info->item.iItem, 8, key, sizeof key);
    if (store->SetEntryTitle(typed, key, owner))
        ListView_SetItemText(control, info->item.iItem, 0, typed);
}

bool CListCtrl::DeleteRows(HWND owner)
{
    int selected = ListView_GetSelectedCount(control);
    char question[700];
    if (selected < 2) {
        int row = FirstSelectedRow();
        if (row < 0)
            return true;
        char title[520] = {};
        ListView_GetItemText(control, row, 0, title, sizeof title);
        snprintf(question, sizeof question, "'%s' を削除しますか？", title);
    } else {
        snprintf(question, sizeof question, "' %d ' 個のピンロールを削除しますか？", selected);
    }
    if (MessageBoxA(owner, question, "削除の確認", MB_YESNO | MB_ICONWARNING) != IDYES)
        return true;

    char key[12] = {};
    ListView_GetItemText(control, 0, 8, key, sizeof key);
    EntryPositions shown = ParseEntryKey(key);
    if (!store->DeleteSelectedEntries(control, owner))
        return false;
    SetBusy(true);
    store->ClearSnapshot();
    store->LoadSnapshot();
    FillList(shown.folder, shown.note);
    SetBusy(false);
    return true;
}

void CListCtrl::ReportItemError(const char* message, const char* boxText, int line)
{
    ReportModuleError(control, message, boxText, MB_ICONERROR, line, ".\\CListCtrl",
                      settings != nullptr ? settings->ExeDir() : "");
}

void CListCtrl::RecordAccessOfRow(int row, HWND owner)
{
    char key[12] = {};
    ListView_GetItemText(control, row, 8, key, sizeof key);
    SetBusy(true);
    store->RecordAccess(key, owner);
    SetBusy(false);
}

void CListCtrl::CopyAddress(HWND owner)
{
    int row = FirstSelectedRow();
    if (row < 0) {
        ReportItemError("アイテムの取得に失敗しました。", "ｱｲﾃﾑの取得に失敗しました。", __LINE__);
        return;
    }
    char address[1024] = {};
    ListView_GetItemText(control, row, 1, address, sizeof address);
    if (address[0] == '\0') {
        ReportItemError("アイテムの取得に失敗しました。", nullptr, __LINE__);
        return;
    }
    if (!PutOnClipboard(address)) {
        ReportItemError("クリップボードの処理に失敗しました。", nullptr, __LINE__);
        return;
    }
    RecordAccessOfRow(row, owner);
}

bool CListCtrl::PutOnClipboard(const char* text)
{
    size_t size = strlen(text) + 1;
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
    if (memory == nullptr) {
        MessageBoxA(control, "GlobalAllocエラー", "Error", MB_OK);
        return false;
    }
    if (void* p = GlobalLock(memory)) {
        memcpy(p, text, size);
        GlobalUnlock(memory);
    }
    if (!OpenClipboard(nullptr)) {
        GlobalFree(memory);
        MessageBoxA(control, "クリップボードのオープンに失敗しました。", "ERROR", MB_OK | MB_ICONERROR);
        return true;
    }
    EmptyClipboard();
    // The clipboard owns the memory once it took it.
    if (SetClipboardData(CF_TEXT, memory) == nullptr)
        GlobalFree(memory);
    CloseClipboard();
    return true;
}

void CListCtrl::OpenInBrowser(HWND owner)
{
    int row = FirstSelectedRow();
    if (row < 0) {
        ReportItemError("アイテムの取得に失敗しました。", nullptr, __LINE__);
        return;
    }
    char address[1024] = {};
    char key[12] = {};
    ListView_GetItemText(control, row, 1, address, sizeof address);
    ListView_GetItemText(control, row, 8, key, sizeof key);
    if (address[0] == '\0' || key[0] == '\0')
        return;
    browserLauncher(address);
    RecordAccessOfRow(row, owner);
}

void CListCtrl::RefreshList(const CTreeCtrl* tree)
{
    SetBusy(true);
    store->ClearSnapshot();
    store->LoadSnapshot();
    char key[12] = {};
    if (ListView_GetItemCount(control) > 0) {
        ListView_GetItemText(control, 0, 8, key, sizeof key);
        EntryPositions shown = ParseEntryKey(key);
        FillList(shown.folder, shown.note);
    } else if (tree != nullptr) {
        // An empty list has no key to go by: show the tree's selected note.
        TreePosition pos;
        if (tree->GetSelectedPosition(&pos))
            FillList(pos.folder, pos.note);
    }
    if (statusBar != nullptr)
        statusBar->SetText(2, "");
    SetBusy(false);
}

int CListCtrl::GetSelectedRowText(int column, char* buffer, int size) const
{
    int row = FirstSelectedRow();
    if (row < 0)
        return -1;
    buffer[0] = '\0';
    ListView_GetItemText(control, row, column, buffer, size);
    return lstrlenA(buffer);
}

bool CListCtrl::GetRowText(bool onlySelected, int row, int column, char* buffer, int size) const
{
    if (onlySelected &&
        ListView_GetItemState(control, row, LVIS_SELECTED | LVIS_FOCUSED) == 0)
        return buffer[0] != '\0';
    ListView_GetItemText(control, row, column, buffer, size);
    return buffer[0] != '\0';
}
