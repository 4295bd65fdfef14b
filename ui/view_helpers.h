#pragma once
#include <windows.h>
#include <commctrl.h>

// Small pieces both views share.

// Around every rebuild of a view: wait cursor, mouse captured by the control
// and its drawing locked; off releases all three and repaints at once.
void SetControlBusy(HWND control, bool on);

// Takes the text of a label edit that is ending and forgets the editor, so
// that only the first end-of-edit notification of an edit counts (Wine
// sends a second one while it destroys the editor, with the typed text even
// after Esc). An empty text is undone in the editor. True when there is a
// non-empty text to store.
bool TakeLabelText(HWND* editor, char* text, int size);
