#pragma once
#include <windows.h>
#include <commctrl.h>

// One owner for a handle that a Free function releases: icons, bitmaps,
// fonts, image lists. Copying is deleted; moving hands the handle over.
template <class Handle, BOOL(WINAPI* Free)(Handle)>
class Owned {
public:
    Owned() = default;
    explicit Owned(Handle handle) : handle_(handle) {}
    ~Owned() { Reset(); }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;
    Owned(Owned&& other) noexcept : handle_(other.Release()) {}
    Owned& operator=(Owned&& other) noexcept
    {
        if (this != &other)
            Reset(other.Release());
        return *this;
    }

    Handle Get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }
    void Reset(Handle handle = nullptr)
    {
        if (handle_ != nullptr && handle_ != handle)
            Free(handle_);
        handle_ = handle;
    }
    // Gives the handle up, e.g. to a control that takes it over.
    Handle Release()
    {
        Handle handle = handle_;
        handle_ = nullptr;
        return handle;
    }

private:
    Handle handle_ = nullptr;
};

inline BOOL WINAPI DeleteBitmapHandle(HBITMAP bitmap)
{
    return DeleteObject(bitmap);
}
inline BOOL WINAPI DeleteFontHandle(HFONT font)
{
    return DeleteObject(font);
}

using OwnedIcon = Owned<HICON, DestroyIcon>;
using OwnedBitmap = Owned<HBITMAP, DeleteBitmapHandle>;
using OwnedFont = Owned<HFONT, DeleteFontHandle>;
using OwnedImageList = Owned<HIMAGELIST, ImageList_Destroy>;
