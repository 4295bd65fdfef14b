#pragma once
#include <windows.h>

// The program's body after the single-instance check: builds the main window
// and runs the message loop until the program ends; returns the exit code.
// Declared here for the entry point and defined by the user interface, so
// that the entry point needs nothing above this folder.
int RunProgram(HINSTANCE instance);
