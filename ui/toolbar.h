#pragma once
#include <windows.h>

#include "app/owned_handle.h"

class CINI;

// The frame's toolbar: open (standard image) and new entry (bitmap 116).
class CToolBarWnd {
public:
    HWND hwnd = nullptr;
    HINSTANCE hInst = nullptr;

    bool Create(HINSTANCE instance, HWND parent);
    // Enables or disables each of 40009 and 40053 whose id bits are all in command.
    void EnableButton(BOOL enable, int command);
    HBITMAP Strip() const { return strip_.Get(); }

private:
    // The toolbar only borrows a bitmap added by handle; it must outlive
    // the toolbar window, which goes with the frame before this object.
    OwnedBitmap strip_;
};

// The four-part status bar: item count, search position, store size, store name.
class CStatusBarWnd {
public:
    HWND hwnd = nullptr;

    bool Create(HINSTANCE instance, HWND parent);
    void SetParts(HWND parent);
    void SetText(int part, const char* text);
    // Part 3 the current store's file name, part 2 its size.
    void ShowStoreFile(const CINI& settings);
};
