#include "dialogs/countdown.h"

void Countdown::Start(HWND dialog)
{
    seconds_ = kSeconds;
    SetTimer(dialog, kTimerId, 1000, nullptr);
}

void Countdown::Stop(HWND dialog)
{
    KillTimer(dialog, kTimerId);
}

int Countdown::Tick()
{
    if (seconds_ > 0)
        --seconds_;
    return seconds_;
}
