#include "dialogs/program_body.h"

#include "dialogs/modal_dialogs.h"
#include "resources/resource.h"
#include "ui/main_frame.h"
#include "ui/message_loop.h"

int RunProgram(HINSTANCE instance, const std::string& link)
{
    // Deleted by the tray menu's exit command, which also ends the loop.
    MYWND* frame = new MYWND(instance, nullptr, RunModalDialog);
    frame->CreateContents();
    if (!link.empty())
        frame->OpenHandedLink(link);   // opens once the loop runs
    HACCEL frameAccel = LoadAcceleratorsA(instance, MAKEINTRESOURCEA(IDR_FRAME_ACCEL));
    HACCEL searchAccel = LoadAcceleratorsA(instance, MAKEINTRESOURCEA(IDR_SEARCH_ACCEL));
    return RunMessageLoop(frame->hwnd, frameAccel, searchAccel);
}
