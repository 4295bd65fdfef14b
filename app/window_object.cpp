#include "app/window_object.h"

LRESULT CALLBACK CommonWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    WindowObject* object;
    if (msg == WM_CREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        object = static_cast<WindowObject*>(create->lpCreateParams);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(object));
    } else {
        object = reinterpret_cast<WindowObject*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
        if (msg == WM_DESTROY)
            SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
    }
    if (object == nullptr)
        return DefWindowProcA(hwnd, msg, wParam, lParam);

    LRESULT result = 0;
    if (object->HandleMessage(hwnd, msg, wParam, lParam, &result))
        return result;
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

namespace {

// Shared part of both dialog procedures; returns false when nobody handled it.
bool DeliverToDialogObject(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    WindowObject* object;
    if (msg == WM_INITDIALOG) {
        object = reinterpret_cast<WindowObject*>(lParam);
        SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(object));
    } else {
        object = reinterpret_cast<WindowObject*>(GetWindowLongPtrA(dialog, DWLP_USER));
        if (msg == WM_DESTROY) {
            SetWindowLongPtrA(dialog, DWLP_USER, 0);
            return false;
        }
    }
    if (object == nullptr)
        return false;
    *result = 0;
    if (!object->HandleMessage(dialog, msg, wParam, lParam, result))
        return false;
    SetWindowLongPtrA(dialog, DWLP_MSGRESULT, *result);
    return true;
}

}  // namespace

INT_PTR CALLBACK DialogProcBool(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    return DeliverToDialogObject(dialog, msg, wParam, lParam, &result) ? TRUE : FALSE;
}

INT_PTR CALLBACK DialogProcValue(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (!DeliverToDialogObject(dialog, msg, wParam, lParam, &result))
        return FALSE;
    return result != 0 ? static_cast<INT_PTR>(result) : TRUE;
}

bool RegisterObjectClass(HINSTANCE instance, const char* className, HBRUSH background,
                         HICON icon, HICON smallIcon, const char* menuName)
{
    WNDCLASSEXA wc;
    ZeroMemory(&wc, sizeof wc);
    wc.cbSize = sizeof wc;
    wc.style = 0;
    wc.lpfnWndProc = CommonWndProc;
    wc.hInstance = instance;
    wc.hIcon = icon;
    wc.hIconSm = smallIcon;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = background;
    wc.lpszMenuName = menuName;
    wc.lpszClassName = className;
    if (RegisterClassExA(&wc) != 0)
        return true;
    return GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}
