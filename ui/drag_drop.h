#pragma once
#include <windows.h>
#include <commctrl.h>

#include "app/owned_handle.h"

// What both views share for dragging a note onto a folder and a row onto a
// note: the messages a drop posts to the view's host, the drag image, the
// cursors and the tree's hit test.

// lParam: the target folder item.
const UINT WM_NOTE_DROPPED = WM_APP + 1;
// lParam: the target note item.
const UINT WM_ENTRY_DROPPED = WM_APP + 2;

// A drag image on the screen that keeps the pointer's offset from the
// image's corner as it was when the drag began.
class DragImage {
public:
    DragImage() = default;
    ~DragImage() { End(); }
    DragImage(const DragImage&) = delete;
    DragImage& operator=(const DragImage&) = delete;

    // Takes over images (may be nullptr: a drag without a picture).
    // pointer and corner in screen coordinates.
    void Begin(HIMAGELIST images, POINT pointer, POINT corner);
    void Move(POINT pointer);
    // The image leaves the screen (and unlocks it) while change runs and a
    // window repaints, then comes back at the pointer.
    template <class Change>
    void WhileHidden(POINT pointer, Change change)
    {
        Hide();
        change();
        Show(pointer);
    }
    void End();

private:
    void Hide();
    void Show(POINT pointer);

    OwnedImageList images_;
    POINT offset_ = {0, 0};
    bool shown_ = false;
};

// The drag cursor (107) over an acceptable target, else the slashed circle.
void ShowDropCursor(HINSTANCE instance, bool acceptable);

// The tree item whose image or label lies under a screen point, or nullptr.
HTREEITEM TreeItemAt(HWND tree, POINT screen);
// A note has a parent and no child; every other item is a folder.
bool IsNoteItem(HWND tree, HTREEITEM item);
// Shows item (or none) as the drop target.
void SetDropHighlight(HWND tree, HTREEITEM item);
// Gives the drop highlight back to item (the selection when a drag began).
void RestoreDropHighlight(HWND tree, HTREEITEM item);

// The tree's own drag image of an item, or, where the control gives an
// empty one (Wine), the item's image and label drawn into a list of our
// own. *corner receives the image's top-left corner in tree coordinates.
HIMAGELIST MakeTreeDragImage(HWND tree, HTREEITEM item, POINT* corner);
