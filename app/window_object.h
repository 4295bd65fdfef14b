#pragma once
#include <windows.h>

// What every window and dialog object offers the framework: its message
// handler first, then its deleting destructor. Non-zero from HandleMessage
// means handled; *result is then handed back to the system.
class WindowObject {
public:
    virtual BOOL HandleMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam,
                               LRESULT* result) = 0;
    virtual ~WindowObject() = default;
};

// Window procedure of every window class of the program. The object comes
// from the creation parameters at WM_CREATE and lives in GWLP_USERDATA; it
// still receives WM_DESTROY, after which the slot is cleared.
LRESULT CALLBACK CommonWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// Dialog procedures: the object comes with WM_INITDIALOG's lParam and lives
// in DWLP_USER; dialogs never see WM_DESTROY. DialogProcBool answers TRUE for
// every handled message; DialogProcValue answers the handler's result when it
// is non-zero (a brush for WM_CTLCOLOR...), else TRUE.
INT_PTR CALLBACK DialogProcBool(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK DialogProcValue(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam);

// Registers a class that uses CommonWndProc (class style 0, no extra bytes,
// arrow cursor). Registering an existing class again is not an error.
bool RegisterObjectClass(HINSTANCE instance, const char* className, HBRUSH background,
                         HICON icon, HICON smallIcon, const char* menuName);
