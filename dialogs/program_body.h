#pragma once
#include <windows.h>

#include <string>

// The program's body after the single-instance check: builds the main window
// with the dialogs it runs and runs the message loop until the program ends;
// returns the exit code. link: an address from the command line, opened in
// the new-entry dialog after start-up (empty: none).
int RunProgram(HINSTANCE instance, const std::string& link = std::string());
