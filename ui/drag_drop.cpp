#include "ui/drag_drop.h"

#include <algorithm>

#include "resources/resource.h"

namespace {

class ClientDc {
public:
    explicit ClientDc(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~ClientDc()
    {
        if (dc_ != nullptr)
            ReleaseDC(window_, dc_);
    }
    ClientDc(const ClientDc&) = delete;
    ClientDc& operator=(const ClientDc&) = delete;
    HDC Get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

class MemoryDc {
public:
    explicit MemoryDc(HDC like) : dc_(CreateCompatibleDC(like)) {}
    ~MemoryDc()
    {
        if (dc_ != nullptr)
            DeleteDC(dc_);
    }
    MemoryDc(const MemoryDc&) = delete;
    MemoryDc& operator=(const MemoryDc&) = delete;
    HDC Get() const { return dc_; }

private:
    HDC dc_;
};

// Selects an object into a DC and puts the previous one back.
class Selected {
public:
    Selected(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
    ~Selected() { SelectObject(dc_, old_); }
    Selected(const Selected&) = delete;
    Selected& operator=(const Selected&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

// The item's image and label as the tree shows them, on the highlight colour.
HIMAGELIST DrawLabelImage(HWND tree, HTREEITEM item, const RECT& label, POINT* corner)
{
    char text[kTitleSize] = {};
    TVITEMA tvi;
    ZeroMemory(&tvi, sizeof tvi);
    tvi.mask = TVIF_TEXT | TVIF_IMAGE;
    tvi.hItem = item;
    tvi.pszText = text;
    tvi.cchTextMax = sizeof text;
    SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&tvi));

    HIMAGELIST icons = TreeView_GetImageList(tree, TVSIL_NORMAL);
    int iconWidth = 0;
    int iconHeight = 0;
    if (icons != nullptr)
        ImageList_GetIconSize(icons, &iconWidth, &iconHeight);
    const int gap = 3;
    const int width = iconWidth + gap + (label.right - label.left);
    const int height = std::max(static_cast<int>(label.bottom - label.top), iconHeight);
    if (width <= gap || height <= 0)
        return nullptr;

    ClientDc screen(tree);
    MemoryDc memory(screen.Get());
    OwnedBitmap bitmap(CreateCompatibleBitmap(screen.Get(), width, height));
    if (screen.Get() == nullptr || memory.Get() == nullptr || !bitmap)
        return nullptr;
    {
        Selected keepBitmap(memory.Get(), bitmap.Get());
        RECT all = {0, 0, width, height};
        FillRect(memory.Get(), &all, GetSysColorBrush(COLOR_HIGHLIGHT));
        if (icons != nullptr)
            ImageList_Draw(icons, tvi.iImage, memory.Get(), 0, (height - iconHeight) / 2, ILD_TRANSPARENT);
        HGDIOBJ font = reinterpret_cast<HGDIOBJ>(SendMessageA(tree, WM_GETFONT, 0, 0));
        Selected keepFont(memory.Get(), font != nullptr ? font : GetStockObject(DEFAULT_GUI_FONT));
        SetBkMode(memory.Get(), TRANSPARENT);
        SetTextColor(memory.Get(), GetSysColor(COLOR_HIGHLIGHTTEXT));
        RECT textRect = {iconWidth + gap, 0, width, height};
        DrawTextA(memory.Get(), text, -1, &textRect, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    }
    // The list keeps a copy of the bitmap.
    HIMAGELIST images = ImageList_Create(width, height, ILC_COLOR24, 1, 0);
    if (images != nullptr && ImageList_Add(images, bitmap.Get(), nullptr) < 0) {
        ImageList_Destroy(images);
        return nullptr;
    }
    *corner = POINT{label.left - iconWidth - gap, label.top};
    return images;
}

}  // namespace

void DragImage::Begin(HIMAGELIST images, POINT pointer, POINT corner)
{
    End();
    images_.Reset(images);
    offset_ = POINT{pointer.x - corner.x, pointer.y - corner.y};
    if (images_ && ImageList_BeginDrag(images_.Get(), 0, 0, 0))
        Show(pointer);
    else
        images_.Reset();
}

void DragImage::Move(POINT pointer)
{
    if (shown_)
        ImageList_DragMove(pointer.x - offset_.x, pointer.y - offset_.y);
}

void DragImage::Hide()
{
    if (shown_) {
        ImageList_DragLeave(nullptr);
        shown_ = false;
    }
}

void DragImage::Show(POINT pointer)
{
    // On the whole screen: the image crosses from one view into the other.
    if (images_ && !shown_) {
        ImageList_DragEnter(nullptr, pointer.x - offset_.x, pointer.y - offset_.y);
        shown_ = true;
    }
}

void DragImage::End()
{
    if (!images_)
        return;
    Hide();
    ImageList_EndDrag();
    images_.Reset();
}

void ViewDrag::Begin(HWND host, HIMAGELIST images, POINT pointer, POINT corner)
{
    // The host gets every mouse message until the button comes up.
    SetCapture(host);
    host_ = host;
    image_.Begin(images, pointer, corner);
}

void ViewDrag::Move(HINSTANCE instance, HWND tree, HTREEITEM target, POINT screen)
{
    ShowDropCursor(instance, target != nullptr);
    if (target != nullptr && target != TreeView_GetDropHilight(tree)) {
        // The image leaves the screen while the tree repaints.
        image_.Hide();
        SetDropHighlight(tree, target);
        UpdateWindow(tree);
        image_.Show(screen);
    }
    image_.Move(screen);
}

void ViewDrag::Drop(HWND tree, UINT message, HTREEITEM target, HTREEITEM restore)
{
    HWND host = host_;
    // Cleared first: the capture released here is no lost drag.
    host_ = nullptr;
    image_.End();
    if (GetCapture() == host)
        ReleaseCapture();
    SetCursor(LoadCursorA(nullptr, IDC_ARROW));
    if (target != nullptr)
        PostMessageA(host, message, 0, reinterpret_cast<LPARAM>(target));
    else
        RestoreDropHighlight(tree, restore);
    InvalidateRect(tree, nullptr, TRUE);
}

POINT HostPointOnScreen(HWND view, POINT hostPoint)
{
    ClientToScreen(GetParent(view), &hostPoint);
    return hostPoint;
}

void ShowDropCursor(HINSTANCE instance, bool acceptable)
{
    SetCursor(acceptable ? LoadCursorA(instance, MAKEINTRESOURCEA(IDC_DRAG_CURSOR))
                         : LoadCursorA(nullptr, IDC_NO));
}

HTREEITEM TreeItemAt(HWND tree, POINT screen)
{
    TVHITTESTINFO hit;
    ZeroMemory(&hit, sizeof hit);
    hit.pt = screen;
    ScreenToClient(tree, &hit.pt);
    HTREEITEM item = TreeView_HitTest(tree, &hit);
    return (hit.flags & TVHT_ONITEM) != 0 ? item : nullptr;
}

bool IsNoteItem(HWND tree, HTREEITEM item)
{
    return item != nullptr && TreeView_GetChild(tree, item) == nullptr &&
           TreeView_GetParent(tree, item) != nullptr;
}

void SetDropHighlight(HWND tree, HTREEITEM item)
{
    // Wine applies the single-expand style to the drop highlight as well:
    // the target would open and the other folders close under the pointer.
    // The style is off while the highlight moves.
    const LONG_PTR style = GetWindowLongPtrA(tree, GWL_STYLE);
    const bool single = (style & TVS_SINGLEEXPAND) != 0;
    if (single)
        SetWindowLongPtrA(tree, GWL_STYLE, style & ~static_cast<LONG_PTR>(TVS_SINGLEEXPAND));
    TreeView_SelectDropTarget(tree, item);
    if (single)
        SetWindowLongPtrA(tree, GWL_STYLE, style);
}

void RestoreDropHighlight(HWND tree, HTREEITEM item)
{
    // Cleared first: Wine ignores a drop highlight on the selected item and
    // would leave it on the last target.
    SetDropHighlight(tree, nullptr);
    SetDropHighlight(tree, item);
}

HIMAGELIST MakeTreeDragImage(HWND tree, HTREEITEM item, POINT* corner)
{
    RECT label = {0, 0, 0, 0};
    TreeView_GetItemRect(tree, item, &label, TRUE);
    HIMAGELIST made = TreeView_CreateDragImage(tree, item);
    if (made != nullptr && ImageList_GetImageCount(made) > 0) {
        int width = 0;
        int height = 0;
        ImageList_GetIconSize(made, &width, &height);
        // The control's image ends with the label.
        *corner = POINT{label.right - width, label.top};
        return made;
    }
    if (made != nullptr)
        ImageList_Destroy(made);
    return DrawLabelImage(tree, item, label, corner);
}

const char kTargetFullText[] = "移動できません。移動先にはこれ以上追加できません (1000 個まで)。";
