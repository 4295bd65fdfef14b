#pragma once
#include <windows.h>

#include <functional>

#include "support/frame_harness.h"

// Real mouse input, as a hand on the mouse gives it. Inject it from a thread
// other than the windows': the controls' drag-detect loops run inside
// WM_LBUTTONDOWN on the windows' thread and wait there for what follows.
//
// Under Wine each injected move also warps the X pointer, and the motion
// event of that warp reaches the windows' thread late: it can put the cursor
// back where an earlier move left it, and its mouse move replaces a newer
// one still queued. Buttons therefore carry their point, and a move that
// something must follow waits for it with the cursor resting on the point.
void MoveMouse(POINT screen);
void PressLeft(POINT screen);
void ReleaseLeft(POINT screen);

// Moves to a point and waits until condition holds with the cursor there,
// moving again while a late motion keeps it from holding.
bool MoveMouseUntil(POINT screen, const std::function<bool()>& condition);

// A point of a window's client area in screen coordinates.
POINT OnScreen(HWND window, POINT client);
// The centre of a rectangle of a window's client area, on the screen.
POINT CentreOnScreen(HWND window, const RECT& client);

// The window that holds the mouse capture for a thread (any thread may ask).
HWND CaptureOf(DWORD thread);

// Runs this thread's messages until condition holds with the queue empty;
// false after timeout.
bool PumpUntil(const std::function<bool()>& condition, DWORD timeout = 10000);
