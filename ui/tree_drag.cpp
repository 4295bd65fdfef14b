// Dragging a note onto another folder: the drag itself, and the move once
// the host has the drop.
#include <cstdio>

#include "app/error_log.h"
#include "app/ini_settings.h"
#include "store/xml_store.h"
#include "ui/tree_ctrl.h"
#include "ui/view_sync.h"

void CTreeCtrl::BeginTreeDrag(const NMTREEVIEWA* info)
{
    HTREEITEM item = info->itemNew.hItem;
    if (item == nullptr)
        return;
    draggedItem_ = item;
    selectedAtDragStart_ = TreeView_GetSelection(control);
    POINT corner = {0, 0};
    HIMAGELIST images = MakeTreeDragImage(control, item, &corner);
    ClientToScreen(control, &corner);
    POINT pointer;
    GetCursorPos(&pointer);
    drag_.Begin(GetParent(control), images, pointer, corner);
}

HTREEITEM CTreeCtrl::FolderDropTarget(POINT screen) const
{
    // Only a note moves, and only onto a folder (a top-level item).
    if (!IsNoteItem(control, draggedItem_))
        return nullptr;
    HTREEITEM hit = TreeItemAt(control, screen);
    return hit != nullptr && TreeView_GetParent(control, hit) == nullptr ? hit : nullptr;
}

void CTreeCtrl::TreeDragMove(POINT hostPoint)
{
    if (!drag_.Active())
        return;
    POINT screen = HostPointOnScreen(control, hostPoint);
    drag_.Move(instance_, control, FolderDropTarget(screen), screen);
}

void CTreeCtrl::TreeDrop(POINT hostPoint)
{
    // The point where the button comes up decides, as the highlight showed.
    if (drag_.Active())
        drag_.Drop(control, WM_NOTE_DROPPED, FolderDropTarget(HostPointOnScreen(control, hostPoint)),
                   selectedAtDragStart_);
}

void CTreeCtrl::CancelTreeDrag()
{
    if (!drag_.Active())
        return;
    draggedItem_ = nullptr;
    drag_.Drop(control, WM_NOTE_DROPPED, nullptr, selectedAtDragStart_);
}

bool CTreeCtrl::MoveNoteByDrop(HTREEITEM target)
{
    HTREEITEM dragged = draggedItem_;
    draggedItem_ = nullptr;
    char note[kTitleSize] = {};
    char folder[kTitleSize] = {};
    if (dragged == nullptr || !GetItemLabel(dragged, note, sizeof note) ||
        !GetItemLabel(target, folder, sizeof folder)) {
        ReportModuleError(control, "アイテムの取得に失敗しました。", "ｱｲﾃﾑの取得に失敗しました。",
                          MB_ICONERROR, __LINE__, ".\\CTreeCtrl", settings != nullptr ? settings->ExeDir() : "");
        return false;
    }
    // Taken before the question: when its box closes, the frame's focus
    // handler collapses the first folder, which would move the selection;
    // and the move is of the items the question names.
    TreePosition selected;
    HTREEITEM selection = TreeView_GetSelection(control);
    const bool hadNote = selection != nullptr && GetItemPosition(selection, &selected);
    TreePosition from;
    TreePosition to;
    GetItemPosition(dragged, &from);
    GetItemPosition(target, &to);
    if (!CheckPosition(from) || !CheckPosition(TreePosition{to.folder, -1})) {
        RestoreDropHighlight(control, selectedAtDragStart_);
        return false;
    }
    if (to.folder != from.folder &&
        store->Snapshot()[static_cast<size_t>(to.folder)].notes.size() >= static_cast<size_t>(kMaxChildren)) {
        RestoreDropHighlight(control, selectedAtDragStart_);
        MessageBoxA(control, kTargetFullText, "移動確認", MB_OK | MB_ICONERROR);
        return false;
    }
    char question[1200];
    snprintf(question, sizeof question, "' %s ' を ' %s ' に移動しますか？", note, folder);
    // Where nothing moves, the highlight leaves the target again.
    bool confirmed = MessageBoxA(control, question, "移動の確認", MB_YESNO | MB_ICONWARNING) == IDYES;
    RestoreDropHighlight(control, selectedAtDragStart_);
    if (!confirmed)
        return true;
    if (to.folder == from.folder) {
        MessageBoxA(control, "移動できません。移動先と移動元がおんなじです!", "移動確認", MB_OK | MB_ICONERROR);
        return false;
    }

    int movedTo = -1;
    if (!store->MoveNote(from.folder, from.note, to.folder, control, &movedTo)) {
        MessageBoxA(control, "ノートの移動に失敗しました", "ERROR", MB_OK | MB_ICONERROR);
        return views->TreeChanged(hadNote ? &selected : nullptr);
    }
    // The note the user had selected stays selected, wherever it now stands.
    TreePosition keep = selected;
    if (hadNote) {
        if (selected.folder == from.folder && selected.note == from.note)
            keep = TreePosition{to.folder, movedTo};
        else if (selected.folder == from.folder && selected.note > from.note)
            --keep.note;
        else if (selected.folder == to.folder && selected.note >= movedTo)
            ++keep.note;
    }
    return views->TreeChanged(hadNote ? &keep : nullptr);
}
