#pragma once
#include "ui/tree_ctrl.h"

class CmyXml;
class CListCtrl;
class CINI;
class CStatusBarWnd;
class CToolBarWnd;

// The one way the views follow the store file after a change: each entry
// reloads the snapshot once and refills what is shown. Window thread only;
// workers post their outcome and the dialog calls in here.
class ViewSync {
public:
    CmyXml* store = nullptr;
    CTreeCtrl* tree = nullptr;
    CListCtrl* list = nullptr;
    CINI* settings = nullptr;
    CStatusBarWnd* statusBar = nullptr;
    CToolBarWnd* toolbar = nullptr;

    // The note selected in the tree and its entries in the list.
    void ShowNote(int folder, int note);
    // The entries of a note changed: the list is refilled when it shows
    // that note (or is empty and the tree's selection is that note).
    void NoteChanged(int folder, int note);
    // The list again from the file: the note it shows, or the tree's.
    void RefreshList();
    // Folders or notes changed: the tree is rebuilt and `select` (when
    // it names an item) selected, which fills the list for a note. True
    // when a note ends up selected; else the caller decides about the list.
    bool TreeChanged(const TreePosition* select);
    // Another store, or the same one changed as a whole: tree and list
    // again from the file (or from a snapshot just loaded, without
    // reload), the selection kept by position where it can.
    void StoreReplaced(bool keepSelection, bool reload = true);

private:
    bool RebuildTree(const TreePosition* select);
};
