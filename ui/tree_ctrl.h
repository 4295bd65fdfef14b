#pragma once
#include <windows.h>
#include <commctrl.h>

#include <vector>

#include "app/owned_handle.h"
#include "ui/drag_drop.h"
#include "ui/search_engine.h"

class CmyXml;
class CINI;
class CListCtrl;
class CStatusBarWnd;
class ViewSync;

// (folder index, note index); a folder's note index is -1.
struct TreePosition {
    int folder = -1;
    int note = -1;
};

// Appends an item with its text and both images (no data value).
HTREEITEM InsertTreeItem(HWND tree, HTREEITEM parent, const char* text, int image, int selected);

// The folder tree (control id 400): folders at the top level, their notes
// below. Items carry no data; an item is known by its position alone.
class CTreeCtrl {
public:
    HWND control = nullptr;
    OwnedImageList images;   // a tree view never frees its image list
    CmyXml* store = nullptr;
    CINI* settings = nullptr;
    CListCtrl* list = nullptr;
    CStatusBarWnd* statusBar = nullptr;
    ViewSync* views = nullptr;
    HWND labelEditor = nullptr;

    ~CTreeCtrl();

    bool CreateTree(HINSTANCE instance, HWND parent);
    void FillTree();
    // True for a note; a folder gives note index -1.
    bool GetItemPosition(HTREEITEM item, TreePosition* pos) const;
    HTREEITEM FindItemAtPosition(const TreePosition& pos) const;
    // False when nothing or a folder is selected.
    bool GetSelectedPosition(TreePosition* pos) const;
    // Whether pos names a folder (note -1) or a note that the snapshot
    // holds; when not, the user is told and false returned. Every change
    // made through a tree position asks this first.
    bool CheckPosition(const TreePosition& pos) const;
    bool GetItemLabel(HTREEITEM item, char* buffer, int size) const;
    void SetBusy(bool on);
    void EnableTreeMenu(HTREEITEM item, HMENU menu) const;
    // Selection change: fills the list for a note, follows with the toolbar.
    void OnSelectionChanged(class CToolBarWnd* toolbar);

    // Tab moves to the list, F2 renames; every key is swallowed so typed
    // letters never jump to an item.
    LRESULT OnTreeKey(const NMTVKEYDOWN* key);
    void StartTreeRename();
    void OnBeginLabelEdit();
    void CommitTreeLabel(const NMTVDISPINFOA* info);
    // After a new folder or note was written at `created`.
    void EditNewItem(const TreePosition& created);
    // False when the caller must empty the list (no note selected any more).
    bool DeleteTreeItem();
    void ShowTreeMenu(HINSTANCE instance, POINT screen);
    LRESULT DrawTreeItem(const NMTVCUSTOMDRAW* draw) const;

    // ---- Search ----
    // Where the search stands, for the whole run.
    SearchState searchState = {};
    // One search step: the hit's note is selected in the tree and its row
    // in the list; at the end of the walk the user is told.
    void FindNext(const SearchRequest& request);
    // Status-bar part 1: the search text and count, or empty (text nullptr).
    void ShowSearchStatus(const char* text, int count);

    // ---- Dragging a note onto another folder ----
    // The host's mouse messages come in host coordinates.
    void BeginTreeDrag(const NMTREEVIEWA* info);
    void TreeDragMove(POINT hostPoint);
    void TreeDrop(POINT hostPoint);
    // The host lost the mouse before the button came up: nothing drops.
    void CancelTreeDrag();
    // After a drop on a folder: asks, moves. False when the caller must
    // empty the list (refused, failed, or no note selected afterwards).
    bool MoveNoteByDrop(HTREEITEM target);

private:
    bool IsStoreOpen() const;
    void ShowSearchHit(const SearchHit& hit);
    HTREEITEM FolderDropTarget(POINT screen) const;

    HINSTANCE instance_ = nullptr;
    HTREEITEM draggedItem_ = nullptr;
    HTREEITEM selectedAtDragStart_ = nullptr;
    ViewDrag drag_;
};
