#pragma once
#include <windows.h>

// Title by which the loop finds the modeless search dialog.
extern const char kSearchDialogTitle[];

// The program's one message loop: keyboard input of the search dialog goes
// through the dialog manager and accelerator table 4 (F3 as 40069 there),
// that of the duplicates window through the dialog manager alone,
// keys typed into an edit control go to it alone, everything else through
// the frame's table 113. Returns the exit code.
int RunMessageLoop(HWND frame, HACCEL frameAccel, HACCEL searchAccel);

// One message through the same routing; true when it was consumed by the
// search dialog or an accelerator. Shared with tests that pump by hand.
bool RouteMessage(MSG* msg, HWND frame, HACCEL frameAccel, HACCEL searchAccel);
