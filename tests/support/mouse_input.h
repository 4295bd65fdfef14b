#pragma once
#include <windows.h>

#include <functional>

#include "support/frame_harness.h"

// Real mouse input, as a hand on the mouse gives it. Inject it from a thread
// other than the windows': the controls' drag-detect loops run inside
// WM_LBUTTONDOWN on the windows' thread and wait there for what follows.
void MoveMouse(POINT screen);
void PressLeft();
void ReleaseLeft();

// A point of a window's client area in screen coordinates.
POINT OnScreen(HWND window, POINT client);
// The centre of a rectangle of a window's client area, on the screen.
POINT CentreOnScreen(HWND window, const RECT& client);

// The window that holds the mouse capture for a thread (any thread may ask).
HWND CaptureOf(DWORD thread);

// Runs this thread's messages until condition holds with the queue empty;
// false after timeout.
bool PumpUntil(const std::function<bool()>& condition, DWORD timeout = 10000);
