// What the user does to the tree itself: keys, label edits (renames), new
// items and deletion. Every change goes through the store and then rebuilds
// the tree from the reloaded snapshot.
#include <cstdio>
#include <cstring>

#include "app/ansi_text.h"
#include "store/xml_store.h"
#include "ui/list_ctrl.h"
#include "ui/tree_ctrl.h"
#include "ui/view_helpers.h"

namespace {

const char kNewName[] = "新規作成";

}  // namespace

LRESULT CTreeCtrl::OnTreeKey(const NMTVKEYDOWN* key)
{
    if (key->wVKey == VK_TAB) {
        if (list != nullptr)
            list->FocusList();
    } else if (key->wVKey == VK_F2) {
        StartTreeRename();
    }
    return 1;
}

void CTreeCtrl::StartTreeRename()
{
    HTREEITEM selected = TreeView_GetSelection(control);
    if (selected != nullptr) {
        SetFocus(control);
        TreeView_EditLabel(control, selected);
    }
}

void CTreeCtrl::OnBeginLabelEdit()
{
    labelEditor = TreeView_GetEditControl(control);
}

void CTreeCtrl::CommitTreeLabel(const NMTVDISPINFOA* info)
{
    char typed[260];
    if (!TakeLabelText(&labelEditor, typed, sizeof typed))
        return;
    // Esc: the control offers no text; the item keeps its label.
    if (info->item.pszText == nullptr)
        return;

    TVITEMA item;
    ZeroMemory(&item, sizeof item);
    item.mask = TVIF_TEXT;
    item.hItem = info->item.hItem;
    item.pszText = info->item.pszText;
    SendMessageA(control, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    char name[520] = {};
    if (!GetItemLabel(info->item.hItem, name, sizeof name))
        return;
    // A name holds at most 259 bytes.
    CutAnsiInPlace(name, 259);

    TreePosition pos;
    bool isNote = GetItemPosition(info->item.hItem, &pos);
    if (!CheckPosition(pos)) {
        SetBusy(true);
        ReloadTree();
        SetBusy(false);
        return;
    }
    if (isNote)
        store->RenameNote(name, pos.folder, pos.note, control);
    else
        store->RenameFolder(name, pos.folder, control);

    SetBusy(true);
    ReloadTree();
    // The store sorts by name: find the item at its new place.
    TreePosition found;
    found.folder = isNote ? pos.folder : store->FindFolderByName(name);
    found.note = isNote ? store->FindNoteByName(pos.folder, name) : -1;
    if (found.folder != -1 && (!isNote || found.note != -1)) {
        HTREEITEM again = FindItemAtPosition(found);
        if (again != nullptr) {
            TreeView_EnsureVisible(control, again);
            TreeView_SelectItem(control, again);
        }
    }
    SetBusy(false);
}

HTREEITEM CTreeCtrl::AppendNewItem(HTREEITEM parent, int image, int selected)
{
    HTREEITEM item = InsertTreeItem(control, parent, kNewName, image, selected);
    if (item == nullptr)
        return nullptr;
    TreeView_EnsureVisible(control, item);
    SetFocus(control);
    TreeView_EditLabel(control, item);
    return item;
}

bool CTreeCtrl::AddFolderItem()
{
    return AppendNewItem(TVI_ROOT, 1, 0) != nullptr;
}

bool CTreeCtrl::AddNoteItem(HTREEITEM folder)
{
    return folder != nullptr && AppendNewItem(folder, 2, 3) != nullptr;
}

bool CTreeCtrl::DeleteTreeItem()
{
    HTREEITEM selected = TreeView_GetSelection(control);
    if (selected == nullptr)
        return true;
    char label[520] = {};
    if (!GetItemLabel(selected, label, sizeof label)) {
        MessageBoxA(control, "ﾃｷｽﾄの取得に失敗しました。", "ERROR", MB_OK | MB_ICONERROR);
        return true;
    }
    TreePosition pos;
    bool isNote = GetItemPosition(selected, &pos);
    if (!CheckPosition(pos))
        return true;
    char question[600];
    snprintf(question, sizeof question, "'%s' を削除しますか？", label);
    if (MessageBoxA(control, question, "削除の確認", MB_YESNO | MB_ICONWARNING) != IDYES)
        return true;

    int done = isNote ? store->DeleteNote(pos.folder, pos.note, control)
                      : store->DeleteFolder(pos.folder, control);
    if (!done) {
        MessageBoxA(control, isNote ? "ノートの削除に失敗しました" : "フォルダの削除に失敗しました",
                    "ERROR", MB_OK | MB_ICONERROR);
        return true;
    }
    TreeView_DeleteItem(control, selected);

    SetBusy(true);
    ReloadTree();
    bool noteSelected = false;
    if (isNote) {
        // The next note, the folder's last note, or the folder itself.
        HTREEITEM next = FindItemAtPosition(pos);
        if (next != nullptr) {
            TreeView_SelectItem(control, next);
            TreePosition now;
            noteSelected = GetItemPosition(next, &now);
        }
    }
    SetBusy(false);
    return noteSelected;
}
