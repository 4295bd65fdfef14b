// Keeps Wine's desktop (and the clipboard with it) alive for a whole test run.
// "test_keepalive.exe" waits; "test_keepalive.exe stop" ends the waiting copy.
#include <windows.h>
#include <cstring>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR cmdLine, int)
{
    const char* eventName = "linkcairn_test_keepalive";
    if (cmdLine != nullptr && strstr(cmdLine, "stop") != nullptr) {
        HANDLE stop = OpenEventA(EVENT_MODIFY_STATE, FALSE, eventName);
        if (stop != nullptr) {
            SetEvent(stop);
            CloseHandle(stop);
        }
        return 0;
    }
    HANDLE stop = CreateEventA(nullptr, TRUE, FALSE, eventName);
    if (stop == nullptr)
        return 1;
    HWND window = CreateWindowExA(0, "STATIC", "keepalive", WS_POPUP, 0, 0, 1, 1,
                                  nullptr, nullptr, instance, nullptr);
    for (;;) {
        DWORD r = MsgWaitForMultipleObjects(1, &stop, FALSE, INFINITE, QS_ALLINPUT);
        if (r != WAIT_OBJECT_0 + 1)
            break;
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    if (window != nullptr)
        DestroyWindow(window);
    CloseHandle(stop);
    return 0;
}
