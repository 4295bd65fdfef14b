#pragma once
#include <windows.h>
#include <commctrl.h>

#include "app/owned_handle.h"
#include "store/records.h"

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
    // Off the screen, which it keeps locked while shown.
    void Hide();
    void Show(POINT pointer);
    void End();

private:
    OwnedImageList images_;
    POINT offset_ = {0, 0};
    bool shown_ = false;
};

// One drag out of a view, while the view's host holds the mouse and hands
// the view its mouse messages; the targets are items of the tree.
class ViewDrag {
public:
    // Captures the mouse for host; images as for DragImage::Begin.
    void Begin(HWND host, HIMAGELIST images, POINT pointer, POINT corner);
    bool Active() const { return host_ != nullptr; }
    // The pointer moved: the cursor tells whether target (nullptr: none)
    // takes the drop, the tree highlights it, the image follows.
    void Move(HINSTANCE instance, HWND tree, HTREEITEM target, POINT screen);
    // Ends the drag: image gone, mouse released, arrow cursor. Then a drop
    // on target posts message with it to the host; without a target the
    // highlight goes back to restore.
    void Drop(HWND tree, UINT message, HTREEITEM target, HTREEITEM restore);

private:
    HWND host_ = nullptr;
    DragImage image_;
};

// A point of a view's host (its mouse messages) on the screen.
POINT HostPointOnScreen(HWND view, POINT hostPoint);

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

// Said instead of the move question when the target already holds as many
// children as a container can.
extern const char kTargetFullText[];

// The tree's own drag image of an item, or, where the control gives an
// empty one (Wine), the item's image and label drawn into a list of our
// own. *corner receives the image's top-left corner in tree coordinates.
HIMAGELIST MakeTreeDragImage(HWND tree, HTREEITEM item, POINT* corner);
