#include "dialogs/countdown.h"

#include <cstdio>

void Countdown::Start(HWND dialog)
{
    seconds_ = kSeconds;
    SetTimer(dialog, kTimerId, 1000, nullptr);
}

void Countdown::Stop(HWND dialog)
{
    KillTimer(dialog, kTimerId);
}

void Countdown::OnMessage(HWND dialog, WPARAM stop, const char* caption)
{
    if (stop == 0) {
        Start(dialog);
        return;
    }
    Stop(dialog);
    if (caption != nullptr)
        SetWindowTextA(dialog, caption);
}

void Countdown::Tick(HWND dialog, const char* format)
{
    int left = seconds_;
    if (left > 0)
        seconds_.compare_exchange_strong(left, left - 1);   // a reset meanwhile wins
    char caption[64];
    snprintf(caption, sizeof caption, format, seconds_.load());
    SetWindowTextA(dialog, caption);
}
