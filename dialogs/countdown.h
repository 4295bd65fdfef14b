#pragma once
#include <windows.h>

#include <atomic>

// Sent by a worker to its dialog: wParam 0 (re)starts the countdown, any
// other value stops it. The dialog's own thread sets and kills the timer:
// a timer must belong to the thread that owns the window.
const UINT WM_COUNTDOWN = WM_APP + 3;

// The seconds a dialog shows in its caption while its worker waits for a
// server: timer 1000 takes one off each second, from 30 down to 0, where it
// stays (the fetch itself is never cut off).
class Countdown {
public:
    static constexpr UINT_PTR kTimerId = 1000;
    static constexpr int kSeconds = 30;

    void Start(HWND dialog);
    void Stop(HWND dialog);
    // WM_COUNTDOWN: wParam 0 starts; else stops and, when given, puts
    // caption back.
    void OnMessage(HWND dialog, WPARAM stop, const char* caption);
    // Back to 30 without touching the timer; any thread may call it.
    void Reset() { seconds_ = kSeconds; }
    // One second less, never below 0; the dialog's caption becomes format
    // (one %d) with the new value.
    void Tick(HWND dialog, const char* format);

private:
    std::atomic<int> seconds_{kSeconds};
};
