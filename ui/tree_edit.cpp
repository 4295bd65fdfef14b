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
#include "ui/view_sync.h"

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
    char typed[kNameSize];
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
    char name[kTitleSize] = {};
    if (!GetItemLabel(info->item.hItem, name, sizeof name))
        return;
    // A name holds at most kNameSize - 1 bytes.
    CutAnsiInPlace(name, kNameSize - 1);

    TreePosition pos;
    bool isNote = GetItemPosition(info->item.hItem, &pos);
    if (!CheckPosition(pos)) {
        views->TreeChanged(nullptr);
        return;
    }
    // The store sorts by name: the item is selected at its new place.
    int moved = -1;
    int done = isNote ? store->RenameNote(name, pos.folder, pos.note, control, &moved)
                      : store->RenameFolder(name, pos.folder, control, &moved);
    TreePosition found = pos;
    if (done && moved >= 0)
        (isNote ? found.note : found.folder) = moved;
    views->TreeChanged(&found);
}

void CTreeCtrl::EditNewItem(const TreePosition& created)
{
    // The tree again from the file, the selection as it was; the new item
    // opens for its name.
    TreePosition selected;
    HTREEITEM selection = TreeView_GetSelection(control);
    bool hadSelection = selection != nullptr;
    if (hadSelection)
        GetItemPosition(selection, &selected);
    views->TreeChanged(hadSelection ? &selected : nullptr);
    HTREEITEM item = FindItemAtPosition(created);
    if (item == nullptr)
        return;
    TreeView_EnsureVisible(control, item);
    SetFocus(control);
    TreeView_EditLabel(control, item);
}

bool CTreeCtrl::DeleteTreeItem()
{
    HTREEITEM selected = TreeView_GetSelection(control);
    if (selected == nullptr)
        return true;
    char label[kTitleSize] = {};
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
    // A note: the next note, the folder's last note, or the folder itself.
    return views->TreeChanged(isNote ? &pos : nullptr);
}
