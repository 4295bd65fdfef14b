// Dragging a row onto a note of the tree: the drag itself, and the move
// once the host has the drop.
#include <cstdio>

#include "store/entry_key.h"
#include "store/xml_store.h"
#include "ui/list_ctrl.h"

namespace {

HTREEITEM NoteAt(HWND tree, POINT screen)
{
    HTREEITEM hit = TreeItemAt(tree, screen);
    return IsNoteItem(tree, hit) ? hit : nullptr;
}

}  // namespace

void CListCtrl::BeginRowDrag(const NMLISTVIEW* info, HWND tree)
{
    if (info->iItem < 0)
        return;
    selectedAtDragStart_ = TreeView_GetSelection(tree);
    // Only the row under the pointer moves, however many are selected.
    draggedRow_ = info->iItem;
    POINT corner = {0, 0};
    HIMAGELIST images = ListView_CreateDragImage(control, info->iItem, &corner);
    ClientToScreen(control, &corner);
    POINT pointer;
    GetCursorPos(&pointer);
    ShowDropCursor(instance, true);
    drag_.Begin(GetParent(control), images, pointer, corner);
}

void CListCtrl::RowDragMove(HWND tree, POINT hostPoint)
{
    if (!drag_.Active())
        return;
    POINT screen = HostPointOnScreen(control, hostPoint);
    drag_.Move(instance, tree, NoteAt(tree, screen), screen);
}

void CListCtrl::RowDrop(HWND tree, POINT hostPoint)
{
    if (drag_.Active())
        drag_.Drop(tree, WM_ENTRY_DROPPED, NoteAt(tree, HostPointOnScreen(control, hostPoint)),
                   selectedAtDragStart_);
}

void CListCtrl::CancelRowDrag(HWND tree)
{
    if (!drag_.Active())
        return;
    draggedRow_ = -1;
    drag_.Drop(tree, WM_ENTRY_DROPPED, nullptr, selectedAtDragStart_);
}

bool CListCtrl::MoveEntryByDrop(const char* targetLabel, int targetFolder, int targetNote)
{
    const int row = draggedRow_;
    draggedRow_ = -1;
    if (row < 0 || row >= ListView_GetItemCount(control)) {
        ReportItemError("アイテムの取得に失敗しました。", "ｱｲﾃﾑの取得に失敗しました。", __LINE__);
        return false;
    }
    char title[520] = {};
    ListView_GetItemText(control, row, kTitleColumn, title, sizeof title);
    char question[1200];
    snprintf(question, sizeof question, "' %s ' を ' %s ' に移動しますか？", title, targetLabel);
    if (MessageBoxA(control, question, "移動の確認", MB_YESNO | MB_ICONWARNING) != IDYES)
        return true;

    // The strict reading: a row without a usable key must not move entry 0-0-0.
    char key[kEntryKeySize];
    EntryPositions at;
    if (!RowKey(row, key, sizeof key) || !ReadEntryKey(key, &at)) {
        ReportItemError("アイテムの取得に失敗しました。", nullptr, __LINE__);
        return false;
    }
    if (at.folder == targetFolder && at.note == targetNote) {
        MessageBoxA(control, "移動できません。移動先と移動元がおんなじです!", "移動確認", MB_OK | MB_ICONERROR);
        return false;
    }
    if (!store->MoveEntry(at.folder, at.note, at.entry, targetFolder, targetNote, control))
        return false;
    // Every remaining row's key must name its entry's new position.
    ReloadList(at.folder, at.note);
    return true;
}
