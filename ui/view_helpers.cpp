#include "ui/view_helpers.h"

void SetControlBusy(HWND control, bool on)
{
    if (on) {
        SetCursor(LoadCursorA(nullptr, IDC_WAIT));
        SetCapture(control);
        LockWindowUpdate(control);
    } else {
        ReleaseCapture();
        SetCursor(LoadCursorA(nullptr, IDC_ARROW));
        LockWindowUpdate(nullptr);
        UpdateWindow(control);
    }
}

bool TakeLabelText(HWND* editor, char* text, int size)
{
    HWND taken = *editor;
    *editor = nullptr;
    text[0] = '\0';
    if (taken == nullptr)
        return false;
    GetWindowTextA(taken, text, size);
    if (text[0] == '\0') {
        SendMessageA(taken, EM_UNDO, 0, 0);
        return false;
    }
    return true;
}
