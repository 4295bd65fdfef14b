#include "ui/base_wnd.h"

#include <windowsx.h>

#include "app/pane_layout.h"
#include "resources/resource.h"

bool CBaseWnd::CreatePanes(HINSTANCE instance, HWND frame)
{
    hInst = instance;
    RegisterObjectClass(instance, "BaseWndClass", GetSysColorBrush(COLOR_3DLIGHT), nullptr,
                        nullptr, nullptr);
    hwndFrame = frame;
    hwndLeft = nullptr;
    hwndRight = nullptr;
    splitX = 200;
    dragging = 0;
    const DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN;
    hwndLeft = CreateWindowExA(0, "BaseWndClass", "", style, 0, 0, 0, 0, frame,
                               reinterpret_cast<HMENU>(IDC_LEFT_PANE), instance, this);
    hwndRight = CreateWindowExA(0, "BaseWndClass", "", style, 0, 0, 0, 0, frame,
                                reinterpret_cast<HMENU>(IDC_RIGHT_PANE), instance, this);
    child.toolbar = toolbar;
    child.statusBar = statusBar;
    return hwndLeft != nullptr && hwndRight != nullptr;
}

void CBaseWnd::LayoutPanes(int cxFrame, int cyFrame, const RECT& frameClient,
                           const RECT& toolbarClient, const RECT& statusClient)
{
    RECT outer;
    GetWindowRect(hwndFrame, &outer);
    PaneMetrics m;
    m.cxFrame = cxFrame;
    m.cyFrame = cyFrame;
    m.outerWidth = outer.right - outer.left;
    m.clientWidth = frameClient.right - frameClient.left;
    m.clientHeight = frameClient.bottom - frameClient.top;
    m.toolbarHeight = toolbarClient.bottom;
    m.statusHeight = statusClient.bottom;
    Box left;
    Box right;
    ComputePanes(&splitX, dragging != 0, m, &left, &right);
    SetWindowPos(hwndLeft, nullptr, left.x, left.y, left.width, left.height, SWP_NOZORDER);
    SetWindowPos(hwndRight, nullptr, right.x, right.y, right.width, right.height, SWP_NOZORDER);
}

BOOL CBaseWnd::HandleMessage(HWND hwnd, UINT msg, WPARAM, LPARAM lParam, LRESULT* result)
{
    int id = GetDlgCtrlID(hwnd);
    switch (msg) {
    case WM_SIZE:
        if (hwndLeft != nullptr && hwndRight != nullptr)
            child.LayoutHosts(hwndLeft, hwndRight);
        return TRUE;
    case WM_SETCURSOR:
        SetCursor(LoadCursorA(nullptr, id == IDC_LEFT_PANE ? IDC_SIZEWE : IDC_ARROW));
        *result = TRUE;
        return TRUE;
    case WM_LBUTTONDOWN:
        if (id == IDC_LEFT_PANE) {
            SetCapture(hwnd);
            dragging = 1;
        }
        return TRUE;
    case WM_MOUSEMOVE:
        if (dragging) {
            // The capture belongs to pane 1: x is in its client coordinates.
            splitX = GET_X_LPARAM(lParam);
            SendMessageA(hwndFrame, WM_SIZE, 0, 0);
        }
        return TRUE;
    case WM_LBUTTONUP:
        if (dragging) {
            ReleaseCapture();
            dragging = 0;
        }
        return TRUE;
    default:
        return FALSE;
    }
}
