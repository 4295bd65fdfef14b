#pragma once
#include <windows.h>

#include <string>

#include "store/record_text.h"
#include "ui/dialog_runner.h"

// What the entry dialogs work on: the main window's objects, not owned.
struct DialogContext : DialogHost {
    explicit DialogContext(const DialogHost& host) : DialogHost(host) {}
    // The folder of the error log.
    const char* ExeDir() const;
};

// A control's text, at most size - 1 bytes and never half a character
// (Get/SetWindowText work from a worker too: they send to the control's
// thread).
std::string ControlText(HWND control, int size);
// Copies text into a fixed-width record field, cut to fit.
template <size_t N>
void PutField(char (&field)[N], const std::string& text)
{
    lstrcpynA(field, text.c_str(), N);
}
// The same for a long value, whose width is given.
void PutField(RecordText& field, const std::string& text, size_t width);

// The boxes take as many characters as their fields take bytes; what is
// read from them is cut to the field on a character boundary.
void LimitEntryBoxes(HWND title, HWND address, HWND comment);
// Today's local date as "%d/%02d/%02d" into out (11 bytes).
void FormatToday(char* out, size_t size);
// Stored link state from the text the list shows: "無効" is "0", else "1".
const char* StoredValid(const char* shown);
// The modules' report when a worker thread could not be created.
void ReportThreadFailure(HWND dialog, const DialogContext& context, int line, const char* module);
