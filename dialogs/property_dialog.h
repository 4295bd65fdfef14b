#pragma once
#include <windows.h>

#include <memory>
#include <string>

#include "app/owned_handle.h"
#include "app/window_object.h"
#include "dialogs/countdown.h"
#include "dialogs/dialog_context.h"
#include "dialogs/detached_work.h"
#include "store/records.h"

// The property dialog (template 110): every value of the list's selected
// entry; title, address and comment can be changed. "取得" refetches the
// title in the chosen character set on a worker (RefetchTitle); "OK" writes
// the entry back when title, address or comment changed. Runs modally
// inside its constructor.
class Dlg_Property : public WindowObject {
public:
    Dlg_Property(int templateId, const DialogHost& host);
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

    void EnableControls(bool enable);
    // The refetch has posted: the title box and the controls again.
    void ApplyRefetch(WPARAM job);
    void OnRefetchTooLong();

    // What a refetch found, written by the worker before it posts.
    struct Refetch {
        bool reached = true;
        bool found = false;
        bool converted = false;
        std::string title;
    };
    // On the refetch's own thread.
    static Refetch RefetchTitle(const std::string& address, int charset);

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
    std::string caption_;   // put back when a refetch ends
    std::shared_ptr<Refetch> fetched_;
    DetachedWork work_;
};
