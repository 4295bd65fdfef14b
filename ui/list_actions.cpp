// What the user does with rows: keys, selection, title edits, deleting,
// copying and opening addresses, refreshing.
#include <windows.h>

#include <cstdio>

#include "app/error_log.h"
#include "app/ini_settings.h"
#include "store/entry_key.h"
#include "store/xml_store.h"
#include "ui/list_ctrl.h"
#include "ui/view_helpers.h"
#include "ui/view_sync.h"

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
    char typed[kTitleSize];
    if (!TakeLabelText(&labelEditor, typed, sizeof typed))
        return;
    if (lstrcmpA(typed, savedTitle) == 0)
        return;
    char key[kEntryKeySize] = {};
    if (!RowKey(info->item.iItem, key, sizeof key)) {
        ReportItemError("アイテムの取得に失敗しました。", nullptr, __LINE__);
        return;
    }
    if (store->SetEntryTitle(typed, key, owner))
        ListView_SetItemText(control, info->item.iItem, kTitleColumn, typed);
}

bool CListCtrl::RowKey(int row, char* key, int size) const
{
    key[0] = '\0';
    ListView_GetItemText(control, row, kKeyColumn, key, size);
    EntryPositions at;
    if (!ReadEntryKey(key, &at))
        return false;
    // The key must name an entry the store holds now, not merely parse.
    const std::vector<FolderRecord>& folders = store->Snapshot();
    if (at.folder >= static_cast<int>(folders.size()))
        return false;
    const std::vector<NoteRecord>& notes = folders[static_cast<size_t>(at.folder)].notes;
    return at.note < static_cast<int>(notes.size()) &&
           at.entry < static_cast<int>(notes[static_cast<size_t>(at.note)].entries.size());
}

bool CListCtrl::SelectedKeys(std::vector<std::string>* keys) const
{
    char key[kEntryKeySize];
    for (int row = FirstSelectedRow(); row >= 0; row = ListView_GetNextItem(control, row, LVNI_SELECTED)) {
        if (!RowKey(row, key, sizeof key))
            return false;
        keys->push_back(key);
    }
    return true;
}

bool CListCtrl::DeleteRows(HWND owner)
{
    int selected = ListView_GetSelectedCount(control);
    char question[700];
    if (selected < 2) {
        int row = FirstSelectedRow();
        if (row < 0)
            return true;
        char title[kTitleSize] = {};
        ListView_GetItemText(control, row, kTitleColumn, title, sizeof title);
        snprintf(question, sizeof question, "'%s' を削除しますか？", title);
    } else {
        snprintf(question, sizeof question, "' %d ' 個のピンロールを削除しますか？", selected);
    }
    // The entries the question names, whatever the selection is when it is
    // answered; a row without a usable key would delete some other entry.
    std::vector<std::string> keys;
    if (!SelectedKeys(&keys)) {
        ReportItemError("アイテムの取得に失敗しました。", nullptr, __LINE__);
        return true;
    }
    if (MessageBoxA(owner, question, "削除の確認", MB_YESNO | MB_ICONWARNING) != IDYES)
        return true;

    const int folder = shownFolder_;
    const int note = shownNote_;
    const bool deleted = store->DeleteEntries(keys, owner) != 0;
    // Written or not, the rows show what the file holds.
    views->NoteChanged(folder, note);
    return deleted;
}

void CListCtrl::ReportItemError(const char* message, const char* boxText, int line)
{
    ReportModuleError(control, message, boxText, MB_ICONERROR, line, ".\\CListCtrl",
                      settings != nullptr ? settings->ExeDir() : "");
}

void CListCtrl::RecordAccessOfRow(const char* key, HWND owner)
{
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
    char address[kAddressSize] = {};
    char key[kEntryKeySize];
    ListView_GetItemText(control, row, kAddressColumn, address, sizeof address);
    if (address[0] == '\0' || !RowKey(row, key, sizeof key)) {
        ReportItemError("アイテムの取得に失敗しました。", nullptr, __LINE__);
        return;
    }
    // Only a copy that reached the clipboard counts as an access.
    bool told = false;
    if (!PutOnClipboard(address, &told)) {
        if (told)
            LogModuleError("クリップボードの処理に失敗しました。", __LINE__, ".\\CListCtrl",
                           settings != nullptr ? settings->ExeDir() : "");
        else
            ReportItemError("クリップボードの処理に失敗しました。", nullptr, __LINE__);
        return;
    }
    RecordAccessOfRow(key, owner);
}

bool CListCtrl::PutOnClipboard(const char* text, bool* toldUser)
{
    if (toldUser != nullptr)
        *toldUser = false;
    size_t size = strlen(text) + 1;
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
    if (memory == nullptr) {
        MessageBoxA(control, "GlobalAllocエラー", "Error", MB_OK);
        if (toldUser != nullptr)
            *toldUser = true;
        return false;
    }
    if (void* p = GlobalLock(memory)) {
        memcpy(p, text, size);
        GlobalUnlock(memory);
    }
    if (!OpenClipboard(nullptr)) {
        GlobalFree(memory);
        MessageBoxA(control, "クリップボードのオープンに失敗しました。", "ERROR", MB_OK | MB_ICONERROR);
        if (toldUser != nullptr)
            *toldUser = true;
        return false;
    }
    EmptyClipboard();
    // The clipboard owns the memory once it took it.
    bool placed = SetClipboardData(CF_TEXT, memory) != nullptr;
    if (!placed)
        GlobalFree(memory);
    CloseClipboard();
    return placed;
}

void CListCtrl::OpenInBrowser(HWND owner)
{
    int row = FirstSelectedRow();
    if (row < 0) {
        ReportItemError("アイテムの取得に失敗しました。", nullptr, __LINE__);
        return;
    }
    char address[kAddressSize] = {};
    char key[kEntryKeySize] = {};
    ListView_GetItemText(control, row, kAddressColumn, address, sizeof address);
    if (address[0] == '\0')
        return;
    // A row past the key's range has an empty key: it is refused like any
    // key that names no entry, and the user is told.
    if (!RowKey(row, key, sizeof key)) {
        ReportItemError("アイテムの取得に失敗しました。", nullptr, __LINE__);
        return;
    }
    OpenInDefaultBrowser(address);
    RecordAccessOfRow(key, owner);
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
