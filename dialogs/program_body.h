#pragma once
#include <windows.h>

// The program's body after the single-instance check: builds the main window
// with the dialogs it runs and runs the message loop until the program ends;
// returns the exit code.
int RunProgram(HINSTANCE instance);
