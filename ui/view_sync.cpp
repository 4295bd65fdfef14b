#include "ui/view_sync.h"

#include "resources/resource.h"
#include "store/xml_store.h"
#include "ui/list_ctrl.h"
#include "ui/toolbar.h"

void ViewSync::ShowNote(int folder, int note)
{
    store->ReloadSnapshot();
    tree->SetBusy(true);
    HTREEITEM item = tree->FindItemAtPosition(TreePosition{folder, note});
    if (item != nullptr) {
        TreeView_EnsureVisible(tree->control, item);
        // Selecting another note fills the list through the selection change.
        if (TreeView_GetSelection(tree->control) != item)
            TreeView_SelectItem(tree->control, item);
        else
            list->FillList(folder, note);
    }
    tree->SetBusy(false);
    list->ShowItemCount();
}

void ViewSync::NoteChanged(int folder, int note)
{
    store->ReloadSnapshot();
    int shownFolder = -1;
    int shownNote = -1;
    list->ShownNote(&shownFolder, &shownNote);
    if (ListView_GetItemCount(list->control) == 0) {
        TreePosition pos;
        if (tree->GetSelectedPosition(&pos)) {
            shownFolder = pos.folder;
            shownNote = pos.note;
        }
    }
    if (shownFolder != folder || shownNote != note)
        return;
    list->SetBusy(true);
    list->FillList(folder, note);
    list->SetBusy(false);
}

void ViewSync::RefreshList()
{
    store->ReloadSnapshot();
    list->SetBusy(true);
    int folder = -1;
    int note = -1;
    list->ShownNote(&folder, &note);
    if (ListView_GetItemCount(list->control) > 0) {
        list->FillList(folder, note);
    } else {
        // An empty list has no key to go by: show the tree's selected note.
        TreePosition pos;
        if (tree->GetSelectedPosition(&pos))
            list->FillList(pos.folder, pos.note);
    }
    if (statusBar != nullptr)
        statusBar->SetText(2, "");
    list->SetBusy(false);
}

bool ViewSync::TreeChanged(const TreePosition* select)
{
    store->ReloadSnapshot();
    return RebuildTree(select);
}

bool ViewSync::RebuildTree(const TreePosition* select)
{
    tree->SetBusy(true);
    tree->FillTree();
    HTREEITEM item = select != nullptr ? tree->FindItemAtPosition(*select) : nullptr;
    bool noteSelected = false;
    if (item != nullptr) {
        TreeView_EnsureVisible(tree->control, item);
        noteSelected = IsNoteItem(tree->control, item);
        // A rebuilt tree may select an item by itself: then no change comes
        // to fill the list.
        if (TreeView_GetSelection(tree->control) != item)
            TreeView_SelectItem(tree->control, item);
        else if (noteSelected)
            list->FillList(select->folder, select->note);
    }
    tree->SetBusy(false);
    if (toolbar != nullptr)
        toolbar->EnableButton(noteSelected ? TRUE : FALSE, ID_NEW_ENTRY);
    return noteSelected;
}

void ViewSync::StoreReplaced(bool keepSelection, bool reload)
{
    TreePosition selected;
    const bool hadSelection = keepSelection && TreeView_GetSelection(tree->control) != nullptr;
    if (hadSelection)
        tree->GetSelectedPosition(&selected);
    // Positions of the old file mean nothing in the new one.
    tree->searchState = SearchState{};
    if (!keepSelection)
        ListView_DeleteAllItems(list->control);
    if (reload)
        store->ReloadSnapshot();
    RebuildTree(hadSelection ? &selected : nullptr);
    // The list keeps showing its note, from the file as it is now.
    int folder = -1;
    int note = -1;
    list->ShownNote(&folder, &note);
    if (keepSelection && ListView_GetItemCount(list->control) > 0)
        list->FillList(folder, note);
    if (statusBar != nullptr && settings != nullptr && store->StorePath()[0] != '\0')
        statusBar->ShowStoreFile(*settings);
}
