#pragma once
#include <windows.h>

class CListCtrl;
class CTreeCtrl;
class CmyXml;
class CINI;

// Runs the modal dialog of a template (109 new entry, 110 properties, 111
// update check, 114 about, 115 import of the bookmark file at path) over
// owner, with the main window's views, store and settings; returns when the
// dialog has ended. The dialogs build on the views, so the hosts only hold
// this pointer, which the program's body (or a test) hands to the frame.
using ModalDialogRunner = void (*)(HINSTANCE instance, int templateId, HWND owner, CListCtrl* list,
                                   CTreeCtrl* tree, CmyXml* store, CINI* settings, const char* path);
