#pragma once
#include <windows.h>

#include <atomic>
#include <mutex>
#include <string>
#include <vector>

#include "app/window_object.h"
#include "dialogs/countdown.h"
#include "dialogs/dialog_context.h"
#include "dialogs/worker_thread.h"
#include "store/records.h"

class CInet;

// The update check (template 111): the rows to check are read when it
// opens (all rows of the list, or the selected and focused ones); a worker
// (CheckUpdates) asks each entry's server for the page's Last-Modified
// date, records new dates and unreachable
// addresses, writes them in one go when anything changed and reloads the
// list. "キャンセル" stops it before the next entry and writes nothing.
// Runs modally inside its constructor; result 1 finished, 2 cancelled.
class Dlg_Updatechk : public WindowObject {
public:
    Dlg_Updatechk(int templateId, const DialogHost& host);
    BOOL HandleMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    ~Dlg_Updatechk() override;

    INT_PTR Result() const { return result_; }

private:
    void OnInitDialog(HWND dialog);
    void End(INT_PTR result);
    void OnShowText();

    // The rows to check: the selected and focused ones when any row is
    // selected, else all.
    void Collect();

    // On the worker thread.
    void CheckUpdates();
    // Asks each collected entry's server until cancelled.
    void Examine(CInet& inet, bool* changed);
    void Show(const char* text);
    void Fail();

    DialogContext context_;
    HWND dialog_ = nullptr;
    INT_PTR result_ = 0;
    Countdown countdown_;
    // Cleared by the dialog's thread to ask the worker to stop.
    std::atomic<bool> running_{true};
    // Set by the worker once the findings are in the file.
    std::atomic<bool> written_{false};
    std::vector<EntryRecord> checks_;
    // The newest text for control 1020, kept by the worker and shown by
    // the dialog's thread at its own pace.
    std::mutex shownLock_;
    std::string shown_;
    bool shownChanged_ = false;
    WorkerThread worker_;   // last: ends (waits) before the fields it uses
};
