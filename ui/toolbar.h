#pragma once
#include <windows.h>

// The frame's toolbar: open (standard image) and new entry (bitmap 116).
class CToolBarWnd {
public:
    HWND hwnd = nullptr;
    HINSTANCE hInst = nullptr;

    bool Create(HINSTANCE instance, HWND parent);
    // Enables or disables each of 40009 and 40053 whose id bits are all in command.
    void EnableButton(BOOL enable, int command);
};

// The four-part status bar: item count, search position, store size, store name.
class CStatusBarWnd {
public:
    HWND hwnd = nullptr;

    bool Create(HINSTANCE instance, HWND parent);
    void SetParts(HWND parent);
    void SetText(int part, const char* text);
};
