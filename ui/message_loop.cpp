#include "ui/message_loop.h"

#include "ui/duplicate_window.h"

const char kSearchDialogTitle[] = "PinRoll - 検索";

namespace {

// Keys typed into an edit control (a label editor, any edit box) are its
// own: Delete, Ctrl+A, Ctrl+C and Ctrl+X edit the text there instead of
// deleting, selecting, copying or hiding in the main window.
bool IsKeyForEditControl(const MSG* msg)
{
    if (msg->message < WM_KEYFIRST || msg->message > WM_KEYLAST || msg->hwnd == nullptr)
        return false;
    char className[16] = {};
    GetClassNameA(msg->hwnd, className, sizeof className);
    return lstrcmpiA(className, "Edit") == 0;
}

}  // namespace

bool RouteMessage(MSG* msg, HWND frame, HACCEL frameAccel, HACCEL searchAccel)
{
    HWND search = FindWindowA(nullptr, kSearchDialogTitle);
    if (search != nullptr && IsDialogMessageA(search, msg)) {
        // After the dialog manager: F3 / Shift+F3 reach the dialog as 40069.
        TranslateAcceleratorA(search, searchAccel, msg);
        return true;
    }
    // The duplicates window's keys are its own: Delete there must not
    // delete in the main window.
    HWND duplicates = FindWindowA(nullptr, kDuplicatesTitle);
    if (duplicates != nullptr && IsDialogMessageA(duplicates, msg))
        return true;
    if (IsKeyForEditControl(msg))
        return false;
    return TranslateAcceleratorA(frame, frameAccel, msg) != 0;
}

int RunMessageLoop(HWND frame, HACCEL frameAccel, HACCEL searchAccel)
{
    MSG msg;
    for (;;) {
        BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0)
            return static_cast<int>(msg.wParam);
        if (got == -1) {
            MessageBoxA(nullptr, "GetMessageエラー", "Error", MB_OK);
            return static_cast<int>(msg.wParam);
        }
        if (RouteMessage(&msg, frame, frameAccel, searchAccel))
            continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}
