#include "support/mouse_input.h"

namespace {

void SendMouse(DWORD flags, LONG dx = 0, LONG dy = 0)
{
    INPUT input;
    ZeroMemory(&input, sizeof input);
    input.type = INPUT_MOUSE;
    input.mi.dx = dx;
    input.mi.dy = dy;
    input.mi.dwFlags = flags;
    SendInput(1, &input, sizeof input);
}

// Absolute coordinates run from 0 to 65535 across the screen; rounded up
// so that they map back onto the very pixel.
LONG Normalised(LONG pixel, int extent)
{
    return static_cast<LONG>((static_cast<long long>(pixel) * 65536 + extent - 1) / extent);
}

void SendMouseAt(DWORD flags, POINT screen)
{
    SendMouse(flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, Normalised(screen.x, GetSystemMetrics(SM_CXSCREEN)),
              Normalised(screen.y, GetSystemMetrics(SM_CYSCREEN)));
}

}  // namespace

void MoveMouse(POINT screen)
{
    SendMouseAt(0, screen);
}

void PressLeft(POINT screen)
{
    SendMouseAt(MOUSEEVENTF_LEFTDOWN, screen);
}

void ReleaseLeft(POINT screen)
{
    SendMouseAt(MOUSEEVENTF_LEFTUP, screen);
}

bool MoveMouseUntil(POINT screen, const std::function<bool()>& condition)
{
    auto rests = [&] {
        POINT cursor;
        return GetCursorPos(&cursor) && cursor.x == screen.x && cursor.y == screen.y && condition();
    };
    const DWORD start = GetTickCount();
    do {
        MoveMouse(screen);
        if (WaitUntil(rests, 500))
            return true;
        // The move was lost to a late motion: come again from a pixel away,
        // since a move onto the cursor's own point gives no message.
        MoveMouse(POINT{screen.x + 1, screen.y});
    } while (GetTickCount() - start < 20000);
    return false;
}

POINT OnScreen(HWND window, POINT client)
{
    ClientToScreen(window, &client);
    return client;
}

POINT CentreOnScreen(HWND window, const RECT& client)
{
    return OnScreen(window, POINT{(client.left + client.right) / 2, (client.top + client.bottom) / 2});
}

HWND CaptureOf(DWORD thread)
{
    GUITHREADINFO info;
    ZeroMemory(&info, sizeof info);
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(thread, &info) ? info.hwndCapture : nullptr;
}

bool PumpUntil(const std::function<bool()>& condition, DWORD timeout)
{
    DWORD start = GetTickCount();
    for (;;) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(msg.wParam));
                return false;
            }
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        if (condition())
            return true;
        if (GetTickCount() - start > timeout)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}
