#pragma once
#include <windows.h>
#include <commctrl.h>

#include <functional>

// Small pieces both views share.

// Shows part `sub` of the context menu resource at screen, for owner:
// loaded, prepared (items grayed), tracked and destroyed in one place.
// tray: the icon's menu, which needs the owner in the foreground first and
// a message after, or it does not close on a click elsewhere.
void ShowContextMenu(HINSTANCE instance, int sub, HWND owner, POINT screen, UINT flags,
                     const std::function<void(HMENU popup)>& prepare, bool tray = false);

// Around every rebuild of a view: wait cursor, mouse captured by the control
// and its drawing locked; off releases all three and repaints at once.
void SetControlBusy(HWND control, bool on);

// Takes the text of a label edit that is ending and forgets the editor, so
// that only the first end-of-edit notification of an edit counts (Wine
// sends a second one while it destroys the editor, with the typed text even
// after Esc). An empty text is undone in the editor. True when there is a
// non-empty text to store.
bool TakeLabelText(HWND* editor, char* text, int size);
