#pragma once
#include <windows.h>
#include <commctrl.h>

#include <vector>

#include "app/owned_handle.h"

class CmyXml;
class CINI;
class CListCtrl;
class CStatusBarWnd;

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
    // Reads the store file again and rebuilds every item (inside SetBusy).
    void ReloadTree();
    void EnableTreeMenu(HTREEITEM item, HMENU menu) const;
    // Selection change: fills the list for a note, follows with the toolbar.
    void OnSelectionChanged(class CToolBarWnd* toolbar);

    // Tab moves to the list, F2 renames; every key is swallowed so typed
    // letters never jump to an item.
    LRESULT OnTreeKey(const NMTVKEYDOWN* key);
    void StartTreeRename();
    void OnBeginLabelEdit();
    void CommitTreeLabel(const NMTVDISPINFOA* info);
    bool AddFolderItem();
    bool AddNoteItem(HTREEITEM folder);
    // False when the caller must empty the list (no note selected any more).
    bool DeleteTreeItem();
    void ShowTreeMenu(HINSTANCE instance, POINT screen);
    LRESULT DrawTreeItem(const NMTVCUSTOMDRAW* draw) const;

private:
    HTREEITEM AppendNewItem(HTREEITEM parent, int image, int selected);
    bool IsStoreOpen() const;
};
