#include <windows.h>
#include <commctrl.h>

#include "app/message_loop.h"
#include "resources/resource.h"
#include "ui/main_frame.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    // One copy per desktop; the handle stays open for the process's life.
    HANDLE mutex = CreateMutexA(nullptr, FALSE, "linkcairn");
    if (mutex != nullptr && GetLastError() == ERROR_ALREADY_EXISTS) {
        MessageBoxA(nullptr, "すでに起動されています。\n二重起動は出来ません。", "linkcairn",
                    MB_OK | MB_ICONERROR);
        CloseHandle(mutex);
        return 0;
    }

    // Deleted by the tray menu's exit command, which also ends the loop.
    MYWND* frame = new MYWND(instance);
    frame->CreateContents();
    HACCEL frameAccel = LoadAcceleratorsA(instance, MAKEINTRESOURCEA(IDR_FRAME_ACCEL));
    HACCEL searchAccel = LoadAcceleratorsA(instance, MAKEINTRESOURCEA(IDR_SEARCH_ACCEL));
    int code = RunMessageLoop(frame->hwnd, frameAccel, searchAccel);
    if (mutex != nullptr)
        CloseHandle(mutex);
    return code;
}
