#pragma once
#include <windows.h>

#include <atomic>
#include <vector>

#include "app/window_object.h"
#include "dialogs/countdown.h"
#include "dialogs/dialog_context.h"
#include "dialogs/worker_thread.h"
#include "store/records.h"

class CInet;

// The update check (template 111): a worker (CheckUpdates) asks each
// entry's server for the page's Last-Modified date (all rows of the list,
// or the selected and focused ones), records new dates and unreachable
// addresses, writes them in one go when anything changed and reloads the
// list. "キャンセル" stops it before the next entry and writes nothing.
// Runs modally inside its constructor; result 1 finished, 2 cancelled.
class Dlg_Updatechk : public WindowObject {
public:
    Dlg_Updatechk(HINSTANCE instance, int templateId, HWND owner, CListCtrl* list, CTreeCtrl* tree,
                  CmyXml* store, CINI* settings);
    BOOL HandleMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    ~Dlg_Updatechk() override;

    INT_PTR Result() const { return result_; }

private:
    void OnInitDialog(HWND dialog);
    void End(INT_PTR result);

    // On the worker thread.
    void CheckUpdates();
    bool Collect();
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
    std::vector<EntryRecord> checks_;
    WorkerThread worker_;   // last: ends (waits) before the fields it uses
};
