#pragma once
#include <windows.h>

// Appends one line "YYYY/MM/DD hh:mm:ss, text" (LF only) to
// folder\linkcairn_error.log. Line feeds in text become blanks, in place.
// Nothing that goes wrong here is reported: the line is simply lost.
void WriteErrorLog(char* text, const char* folder);

// A module error: message box (caption "ERROR", owner, icon), then the log
// line "message, line, module". boxText may differ from the logged message
// (one site shows a half-width twin); pass nullptr to show the message itself.
void ReportModuleError(HWND owner, const char* message, const char* boxText,
                       UINT icon, int line, const char* module, const char* exeDir);

// The same report from a worker thread that nobody needs to confirm: log only.
void LogModuleError(const char* message, int line, const char* module, const char* exeDir);
