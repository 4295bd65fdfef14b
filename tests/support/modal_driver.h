#pragma once
#include <windows.h>

#include <functional>
#include <string>

#include "support/frame_harness.h"

// The first visible dialog (#32770) of this process whose caption contains
// caption, or nullptr.
HWND FindOwnDialog(const char* caption);

// Sends command to host, which runs a modal dialog and so blocks this
// thread; meanwhile script runs on a thread of its own with the dialog once
// it is shown (nullptr when none appeared within the time limit). The script
// must end the dialog; one still open a minute after the script returned is
// cancelled. Returns false when that happened.
bool DriveModal(HWND host, int command, const char* caption, const std::function<void(HWND dialog)>& script);
// The same around any action of this thread that may run a modal dialog.
bool DriveModal(const std::function<void()>& action, const char* caption,
                const std::function<void(HWND dialog)>& script);

// The text of a dialog's control and whether it is enabled.
std::string ItemText(HWND dialog, int id);
bool ItemEnabled(HWND dialog, int id);
