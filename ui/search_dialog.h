#pragma once
#include <windows.h>

#include "app/window_object.h"
#include "ui/search_engine.h"

class CListCtrl;
class CTreeCtrl;
class CmyXml;
class CINI;

// The notification code of the hand-over: command 2 posted by F3 in the
// dialog to itself, then command 40051 sent to the main window's host with
// the request.
constexpr WORD kHandOffCode = 123;

// The modeless search dialog "PinRoll - 検索" (template 112), a member of
// the host and opened again and again. 次を検索 searches from here; F3 hands
// the search over to the main window and closes the dialog.
class Dlg_ItemSearch : public WindowObject {
public:
    Dlg_ItemSearch() = default;
    ~Dlg_ItemSearch() override;
    Dlg_ItemSearch(const Dlg_ItemSearch&) = delete;
    Dlg_ItemSearch& operator=(const Dlg_ItemSearch&) = delete;

    // Creates and shows the dialog, owned by owner, with a cleared request.
    bool Start(HINSTANCE instance, int templateId, HWND owner, CListCtrl* list, CTreeCtrl* tree,
               CmyXml* store, CINI* settings);
    BOOL HandleMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam,
                       LRESULT* result) override;
    // Reads the controls into the request; false when the text is empty.
    bool CollectRequest();
    // F3 in the dialog: the request, downward unless Shift is held, goes to
    // the owner as command 40051.
    void HandOffSearch();

    HWND Window() const { return dialog_; }

private:
    void OnInitDialog(HWND dialog);
    void OnCommand(WORD id, WORD code);
    void Close();

    CListCtrl* list_ = nullptr;
    CTreeCtrl* tree_ = nullptr;
    CmyXml* store_ = nullptr;
    CINI* settings_ = nullptr;
    HINSTANCE instance_ = nullptr;
    HWND dialog_ = nullptr;
    HWND text_ = nullptr;
    HWND target_ = nullptr;
    HWND wholeField_ = nullptr;
    HWND matchCase_ = nullptr;
    HWND up_ = nullptr;
    HWND down_ = nullptr;
    HWND findNext_ = nullptr;
    HWND owner_ = nullptr;
    SearchRequest request_ = {};
};
