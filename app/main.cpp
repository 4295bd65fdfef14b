#include <windows.h>

#include "dialogs/program_body.h"

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
    int code = RunProgram(instance);
    if (mutex != nullptr)
        CloseHandle(mutex);
    return code;
}
