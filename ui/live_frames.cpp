#include "ui/live_frames.h"

#include <windows.h>

namespace {
int liveFrames = 0;
}

void FrameCreated()
{
    ++liveFrames;
}

void FrameDestroyed()
{
    if (--liveFrames == 0)
        PostQuitMessage(0);
}

int LiveFrameCount()
{
    return liveFrames;
}
