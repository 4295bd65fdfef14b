#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// Polls condition until it holds (true) or the timeout passes (false),
// without handling this thread's messages.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = 20000);

// Runs the message queue of this thread for a while, so that posted and
// timer-driven work happens.
void PumpMessages(DWORD milliseconds);

// Records the WM_COMMAND ids that windows of this thread receive (a
// WH_CALLWNDPROC hook), optionally only those sent to one window.
class CommandRecorder {
public:
    explicit CommandRecorder(HWND only = nullptr);
    ~CommandRecorder();
    CommandRecorder(const CommandRecorder&) = delete;
    CommandRecorder& operator=(const CommandRecorder&) = delete;
    bool Saw(int command) const;
    void Clear() { commands_.clear(); }

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam);
    HWND only_;
    HHOOK hook_;
    std::vector<int> commands_;
};

// Holds keys down in this thread's keyboard state (for accelerator checks).
class HeldKeys {
public:
    explicit HeldKeys(std::initializer_list<int> keys);
    ~HeldKeys();

private:
    BYTE saved_[256];
};

// Writes the screen area of a window to a 24-bit BMP file; the folder comes
// from LINKCAIRN_ARTIFACTS (a Linux path) when set. Returns the path written
// or an empty string.
std::string SaveWindowShot(HWND window, const char* name);

// The clipboard's text (CF_TEXT), empty when there is none.
std::string ClipboardText();

// Path of a file beside the test program (e.g. "..\\linkcairn.exe").
std::string BesideTestProgram(const char* relative);
