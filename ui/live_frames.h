#pragma once

// Program-wide count of frame objects; the quit message is posted when the
// last one goes.
void FrameCreated();
void FrameDestroyed();
int LiveFrameCount();
