#pragma once
#include <windows.h>

#include <string>

class CListCtrl;
class CTreeCtrl;
class CmyXml;
class CINI;
class ViewSync;

// A page handed in from outside (a drop, a paste, another copy of the
// program): the new-entry dialog opens filled in with it.
struct NewEntryRequest {
    // The destination note; -1: the dialog's own choice.
    int folder = -1;
    int note = -1;
    std::string address;
    // Empty: the title is fetched (自動的に取得する ticked).
    std::string title;
};

// What a modal dialog of the main window works on: its objects, not owned.
struct DialogHost {
    HINSTANCE instance = nullptr;
    HWND owner = nullptr;
    CListCtrl* list = nullptr;
    CTreeCtrl* tree = nullptr;
    CmyXml* store = nullptr;
    CINI* settings = nullptr;
    // Views change only through here, on the window thread.
    ViewSync* views = nullptr;
    // The folder a command is about (-1: the whole collection).
    int folder = -1;
    // The new-entry dialog's filling, when it was handed a page.
    const NewEntryRequest* request = nullptr;
};

// Runs the modal dialog of a template (109 new entry, 110 properties, 111
// update check, 114 about, 115 import of the bookmark file at path) and
// returns when it has ended. The dialogs build on the views, so the hosts
// only hold this pointer, which the program's body (or a test) hands to
// the frame.
using ModalDialogRunner = void (*)(int templateId, const DialogHost& host, const char* path);
