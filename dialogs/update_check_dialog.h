#pragma once
#include <windows.h>

#include <memory>
#include <vector>

#include "app/window_object.h"
#include "dialogs/countdown.h"
#include "dialogs/dialog_context.h"
#include "store/records.h"
#include "web/link_check.h"

// The update check (template 111): the rows to check are read when it
// opens (all rows of the list, or the selected and focused ones); a link
// check run asks their servers at once, and when it has ended the dialog
// records new dates, dead links and links alive again, in one write when
// anything changed, and reloads the list. "キャンセル" ends the dialog at
// once and writes nothing; the run's requests end on their own. Runs
// modally inside its constructor; result 1 finished, 2 cancelled.
class Dlg_Updatechk : public WindowObject {
public:
    Dlg_Updatechk(int templateId, const DialogHost& host);
    BOOL HandleMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    ~Dlg_Updatechk() override;

    INT_PTR Result() const { return result_; }

    // What a check's outcome changes in a record (valid, update); true
    // when anything did.
    static bool ApplyOutcome(const LinkOutcome& outcome, EntryRecord* record);

private:
    void OnInitDialog(HWND dialog);
    void End(INT_PTR result);
    void OnTick();
    // The run has ended: write what changed, reload the list, close.
    void Finish();
    void Fail();
    static bool CanGoOnline();

    // The rows to check: the selected and focused ones when any row is
    // selected, else all.
    void Collect();

    DialogContext context_;
    HWND dialog_ = nullptr;
    INT_PTR result_ = 0;
    bool ended_ = false;
    Countdown countdown_;
    size_t lastChecked_ = 0;
    std::vector<EntryRecord> checks_;
    std::shared_ptr<LinkCheckRun> run_;
};
