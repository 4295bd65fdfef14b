#pragma once
#include <windows.h>

#include <deque>

#include "app/com_types.h"
#include "app/ini_settings.h"
#include "app/window_object.h"
#include "store/xml_store.h"
#include "ui/dialog_runner.h"
#include "ui/duplicate_window.h"
#include "ui/link_drop.h"
#include "ui/list_ctrl.h"
#include "ui/search_dialog.h"
#include "ui/tree_ctrl.h"
#include "ui/view_sync.h"

class CToolBarWnd;
class CStatusBarWnd;

// Posted to the list host: open the next page handed in (a drop, another
// copy of the program) in the new-entry dialog.
const UINT WM_OPEN_LINK = WM_APP + 6;

// Host of the tree (window id 3, left pane) and of the list (id 4, right
// pane). Owns the settings, the store and both views, and carries out every
// command that reaches the hosts.
class CChildWnd : public WindowObject, public LinkDropSite {
public:
    HINSTANCE hInst = nullptr;
    HWND hwndTreeHost = nullptr;
    HWND hwndListHost = nullptr;
    HWND strip = nullptr;
    CTreeCtrl tree;
    CListCtrl list;
    CINI settings;
    CToolBarWnd* toolbar = nullptr;
    CStatusBarWnd* statusBar = nullptr;
    CmyXml store;
    Dlg_ItemSearch search;
    ViewSync views;
    // Declared after what it uses, so that it goes first.
    Dlg_Duplicates duplicates;
    // The search last handed over from the dialog; F3 in the main window
    // repeats it.
    SearchRequest lastRequest = {};
    ModalDialogRunner runDialog = nullptr;

    // modulePath places the settings as if the program were there (tests);
    // nullptr means the running executable.
    explicit CChildWnd(const char* modulePath = nullptr);
    ~CChildWnd() override;
    CChildWnd(const CChildWnd&) = delete;
    CChildWnd& operator=(const CChildWnd&) = delete;

    // Creates both hosts in the panes, loads the stored store path, creates
    // the strip and the views.
    bool CreateHosts(HINSTANCE instance, HWND leftPane, HWND rightPane);
    void LayoutHosts(HWND leftPane, HWND rightPane);
    BOOL HandleMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam,
                       LRESULT* result) override;

    // Command 40009: choose a store file (or a new name) and open it.
    void OpenStore(HWND host);
    // Browsers' bookmark files: import one into the store (its dialog),
    // export the whole store as one. Nothing happens without a store.
    void ImportBookmarks(HWND host);
    void ExportBookmarks(HWND host);

    // Pages handed in from outside, each opened in the new-entry dialog
    // filled in; a note of -1 goes to the note the list shows.
    void QueueLink(const NewEntryRequest& link) override;
    // Command 40300: the clipboard's address, for the note the list shows.
    void PasteLink();
    bool LinkDropNote(HWND view, POINT screen, bool feedback, int* folder, int* note) override;
    void LinkDropEnded(HWND view) override;
    // The drop targets of the list and the tree (nullptr without OLE).
    LinkDropTarget* ListDropTarget() const { return listDrop_; }
    LinkDropTarget* TreeDropTarget() const { return treeDrop_; }

private:
    BOOL OnSearchCommand(HWND host, WPARAM wParam, LPARAM lParam);
    void SearchAgain(WPARAM wParam, LPARAM lParam);
    void OnDragMouse(HWND host, UINT msg, LPARAM lParam);
    void OnEntryDropped(HTREEITEM target);
    BOOL OnCommand(HWND host, int command);
    BOOL OnNotify(HWND host, NMHDR* header, LRESULT* result);
    BOOL OnTreeNotify(NMHDR* header, LRESULT* result);
    BOOL OnListNotify(NMHDR* header, LRESULT* result);
    void NewFolderCommand();
    void NewNoteCommand();
    // Picks the store file named in the settings' buffers; false after a
    // message box said why not.
    bool SelectChosenStore();
    void RunDialog(int templateId, const char* path = nullptr, int folder = -1,
                   const NewEntryRequest* request = nullptr);
    // The link check of the whole collection, or of the selected folder.
    void CheckLinks(bool selectedFolder);
    // retry: from the timer that waits for a modal dialog to end.
    void OpenQueuedLink(bool retry);
    bool NoteExists(int folder, int note) const;
    void RevokeDropTargets();

    OleSession ole_;
    LinkDropTarget* listDrop_ = nullptr;
    LinkDropTarget* treeDrop_ = nullptr;
    std::deque<NewEntryRequest> links_;
};
