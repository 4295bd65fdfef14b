#include <windows.h>

#include <string>

#include "dialogs/program_body.h"
#include "ui/link_capture.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    // "linkcairn.exe <address>" files that page; any other argument is ignored.
    std::string link;
    ReadCommandLineLink(&link);
    // One copy per desktop; the handle stays open for the process's life.
    HANDLE mutex = CreateMutexA(nullptr, FALSE, "linkcairn");
    if (mutex != nullptr && GetLastError() == ERROR_ALREADY_EXISTS) {
        // A second copy never runs a window: it hands its address over.
        if (link.empty() || !SendLinkToRunningCopy(link))
            MessageBoxA(nullptr, "すでに起動されています。\n二重起動は出来ません。", "linkcairn",
                        MB_OK | MB_ICONERROR);
        CloseHandle(mutex);
        return 0;
    }
    int code = RunProgram(instance, link);
    if (mutex != nullptr)
        CloseHandle(mutex);
    return code;
}
