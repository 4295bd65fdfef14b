// Dragging a row onto a note of the tree: the drag itself, and the move
// once the host has the drop.
#include <cstdio>

#include "store/entry_key.h"
#include "store/xml_store.h"
#include "ui/list_ctrl.h"
#include "ui/view_sync.h"

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
    // Only the row under the pointer moves, however many are selected; it
    // is known by its key from here on, not by where its row stands.
    if (!RowKey(info->iItem, draggedKey_, sizeof draggedKey_))
        draggedKey_[0] = '\0';
    draggedTitle_[0] = '\0';
    ListView_GetItemText(control, info->iItem, kTitleColumn, draggedTitle_, sizeof draggedTitle_);
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
    draggedKey_[0] = '\0';
    drag_.Drop(tree, WM_ENTRY_DROPPED, nullptr, selectedAtDragStart_);
}

bool CListCtrl::MoveEntryByDrop(const char* targetLabel, int targetFolder, int targetNote)
{
    // The strict reading: a row without a usable key must not move entry 0-0-0.
    EntryPositions at;
    const bool known = ReadEntryKey(draggedKey_, &at);
    draggedKey_[0] = '\0';
    if (!known) {
        ReportItemError("アイテムの取得に失敗しました。", "ｱｲﾃﾑの取得に失敗しました。", __LINE__);
        return false;
    }
    const bool samePlace = at.folder == targetFolder && at.note == targetNote;
    const std::vector<FolderRecord>& folders = store->Snapshot();
    if (!samePlace && targetFolder >= 0 && targetFolder < static_cast<int>(folders.size()) && targetNote >= 0 &&
        targetNote < static_cast<int>(folders[static_cast<size_t>(targetFolder)].notes.size()) &&
        folders[static_cast<size_t>(targetFolder)].notes[static_cast<size_t>(targetNote)].entries.size() >=
            static_cast<size_t>(kMaxChildren)) {
        MessageBoxA(control, kTargetFullText, "移動確認", MB_OK | MB_ICONERROR);
        return false;
    }
    char question[1200];
    snprintf(question, sizeof question, "' %s ' を ' %s ' に移動しますか？", draggedTitle_, targetLabel);
    if (MessageBoxA(control, question, "移動の確認", MB_YESNO | MB_ICONWARNING) != IDYES)
        return true;
    if (samePlace) {
        MessageBoxA(control, "移動できません。移動先と移動元がおんなじです!", "移動確認", MB_OK | MB_ICONERROR);
        return false;
    }

    const bool moved = store->MoveEntry(at.folder, at.note, at.entry, targetFolder, targetNote, control) != 0;
    if (!moved)
        MessageBoxA(control, "ピンロールの移動に失敗しました", "ERROR", MB_OK | MB_ICONERROR);
    // Every remaining row's key must name its entry's new position.
    views->NoteChanged(at.folder, at.note);
    return moved;
}
