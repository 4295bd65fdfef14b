// Dragging a note onto another folder: the drag itself, and the move once
// the host has the drop.
#include <cstdio>

#include "app/error_log.h"
#include "app/ini_settings.h"
#include "store/xml_store.h"
#include "ui/tree_ctrl.h"

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
    char note[520] = {};
    char folder[520] = {};
    if (dragged == nullptr || !GetItemLabel(dragged, note, sizeof note) ||
        !GetItemLabel(target, folder, sizeof folder)) {
        ReportModuleError(control, "アイテムの取得に失敗しました。", "ｱｲﾃﾑの取得に失敗しました。",
                          MB_ICONERROR, __LINE__, ".\\CTreeCtrl", settings != nullptr ? settings->ExeDir() : "");
        return false;
    }
    // Taken before the question: when its box closes, the frame's focus
    // handler collapses the first folder, which would move the selection.
    TreePosition selected;
    HTREEITEM selection = TreeView_GetSelection(control);
    if (selection != nullptr)
        GetItemPosition(selection, &selected);
    char question[1200];
    snprintf(question, sizeof question, "' %s ' を ' %s ' に移動しますか？", note, folder);
    // Where nothing moves, the highlight leaves the target again.
    bool confirmed = MessageBoxA(control, question, "移動の確認", MB_YESNO | MB_ICONWARNING) == IDYES;
    RestoreDropHighlight(control, selectedAtDragStart_);
    if (!confirmed)
        return true;
    TreePosition from;
    TreePosition to;
    GetItemPosition(dragged, &from);
    GetItemPosition(target, &to);
    if (to.folder == from.folder) {
        MessageBoxA(control, "移動できません。移動先と移動元がおんなじです!", "移動確認", MB_OK | MB_ICONERROR);
        return false;
    }
    if (!CheckPosition(from) || !CheckPosition(TreePosition{to.folder, -1}))
        return false;

    store->MoveNote(from.folder, from.note, to.folder, control);
    SetBusy(true);
    ReloadTree();
    SetBusy(false);
    // Items do not survive the rebuild: the selection is found again by
    // its position.
    HTREEITEM again = selection != nullptr ? FindItemAtPosition(selected) : nullptr;
    if (again == nullptr)
        return false;
    TreeView_SelectItem(control, again);
    return IsNoteItem(control, again);
}
