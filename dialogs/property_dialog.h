#pragma once
#include <windows.h>

#include "app/owned_handle.h"
#include "app/window_object.h"
#include "dialogs/countdown.h"
#include "dialogs/dialog_context.h"
#include "dialogs/worker_thread.h"
#include "store/records.h"

// The property dialog (template 110): every value of the list's selected
// entry; title, address and comment can be changed. "取得" refetches the
// title in the chosen character set on a worker (RefetchTitle); "OK" writes
// the entry back when title, address or comment changed. Runs modally
// inside its constructor.
class Dlg_Property : public WindowObject {
public:
    Dlg_Property(HINSTANCE instance, int templateId, HWND owner, CListCtrl* list, CTreeCtrl* tree,
                 CmyXml* store, CINI* settings);
    BOOL HandleMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    ~Dlg_Property() override;

    INT_PTR Result() const { return result_; }

private:
    void OnInitDialog(HWND dialog);
    void OnRefetch();
    void OnOk();
    void End(INT_PTR result);
    LRESULT OnStaticColour(HDC dc, HWND control);
    // Reads the boxes into record; false after telling the user what is
    // missing.
    bool Validate(EntryRecord* record);
    bool Changed() const;
    // The update on "OK": false when the entry could not be written.
    bool Update();

    // On the worker thread.
    void RefetchTitle();
    void EnableControls(bool enable);

    DialogContext context_;
    INT_PTR result_ = 0;
    HWND dialog_ = nullptr;
    HWND title_ = nullptr;
    HWND address_ = nullptr;
    HWND comment_ = nullptr;
    HWND charset_ = nullptr;
    HWND created_ = nullptr;
    HWND lastAccess_ = nullptr;
    HWND updated_ = nullptr;
    HWND entryKey_ = nullptr;
    HWND accessCount_ = nullptr;
    HWND linkState_ = nullptr;
    HWND hint_ = nullptr;
    HWND refetch_ = nullptr;
    OwnedFont hintFont_;
    Countdown countdown_;
    EntryRecord record_;
    EntryRecord initial_;   // title, address and comment as first shown
    WorkerThread worker_;   // last: ends (waits) before the fields it uses
};
