#pragma once
#include <windows.h>

#include "app/window_object.h"
#include "ui/child_wnd.h"

class CToolBarWnd;
class CStatusBarWnd;

// The frame's two side-by-side panes (control ids 1 and 2) and the splitter
// between them; pane 1 shows as the grab band where the tree host leaves it
// uncovered.
class CBaseWnd : public WindowObject {
public:
    HINSTANCE hInst = nullptr;
    HWND hwndFrame = nullptr;
    HWND hwndLeft = nullptr;
    HWND hwndRight = nullptr;
    int splitX = 200;
    int dragging = 0;
    CChildWnd child;
    CToolBarWnd* toolbar = nullptr;
    CStatusBarWnd* statusBar = nullptr;

    explicit CBaseWnd(const char* modulePath = nullptr) : child(modulePath) {}

    bool CreatePanes(HINSTANCE instance, HWND frame);
    void LayoutPanes(int cxFrame, int cyFrame, const RECT& frameClient,
                     const RECT& toolbarClient, const RECT& statusClient);
    BOOL HandleMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam,
                       LRESULT* result) override;
};
