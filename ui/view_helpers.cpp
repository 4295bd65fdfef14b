#include "ui/view_helpers.h"

#include <algorithm>
#include <vector>

#include "app/ansi_text.h"
#include "resources/resource.h"

void ShowContextMenu(HINSTANCE instance, int sub, HWND owner, POINT screen, UINT flags,
                     const std::function<void(HMENU popup)>& prepare, bool tray)
{
    HMENU menu = LoadMenuA(instance, MAKEINTRESOURCEA(IDM_CONTEXT));
    if (menu == nullptr)
        return;
    HMENU popup = GetSubMenu(menu, sub);
    if (popup != nullptr) {
        prepare(popup);
        if (tray)
            SetForegroundWindow(owner);
        TrackPopupMenu(popup, flags, screen.x, screen.y, 0, owner, nullptr);
        if (tray)
            PostMessageA(owner, WM_NULL, 0, 0);
    }
    DestroyMenu(menu);
}

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
    // Read whole, then cut on a character boundary.
    std::vector<char> whole(static_cast<size_t>(std::max(GetWindowTextLengthA(taken), 0)) + 1, '\0');
    GetWindowTextA(taken, whole.data(), static_cast<int>(whole.size()));
    CutAnsiInPlace(whole.data(), size > 0 ? static_cast<size_t>(size - 1) : 0);
    lstrcpynA(text, whole.data(), size);
    if (text[0] == '\0') {
        SendMessageA(taken, EM_UNDO, 0, 0);
        return false;
    }
    return true;
}
