#include "dialogs/update_check_dialog.h"

#include <commctrl.h>
#include <wininet.h>

#include "resources/resource.h"
#include "store/xml_store.h"
#include "ui/list_ctrl.h"
#include "ui/view_sync.h"

namespace {

const int kUpdateColumn = 5;
const int kLinkColumn = 7;
// Shows the run's progress ten times a second.
const UINT_PTR kShowTimerId = 1001;

}  // namespace

Dlg_Updatechk::Dlg_Updatechk(int templateId, const DialogHost& host)
    : context_(host)
{
    DialogBoxParamA(host.instance, MAKEINTRESOURCEA(templateId), host.owner, DialogProcValue,
                    reinterpret_cast<LPARAM>(static_cast<WindowObject*>(this)));
}

Dlg_Updatechk::~Dlg_Updatechk()
{
    if (run_)
        run_->Stop();
}

BOOL Dlg_Updatechk::HandleMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM, LRESULT* result)
{
    switch (msg) {
    case WM_INITDIALOG:
        OnInitDialog(hwnd);
        *result = 1;
        return TRUE;
    case WM_TIMER:
        if (wParam == kShowTimerId)
            OnTick();
        else if (wParam == Countdown::kTimerId)
            countdown_.Tick(dialog_, "%d 秒");
        else
            return FALSE;
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            End(1);
            return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            End(2);
            return TRUE;
        }
        return FALSE;
    case WM_CLOSE:
        // Closing stops the check like Cancel: nothing is written.
        End(2);
        return TRUE;
    default:
        return FALSE;
    }
}

void Dlg_Updatechk::OnInitDialog(HWND dialog)
{
    dialog_ = dialog;
    // The rows are read here, on the list's own thread.
    Collect();
    if (checks_.empty() || !CanGoOnline()) {
        Fail();
        return;
    }
    std::vector<std::string> addresses;
    for (const EntryRecord& record : checks_)
        addresses.push_back(record.list.c_str());
    run_ = LinkCheckRun::Start(addresses);
    countdown_.Start(dialog_);
    SetTimer(dialog_, kShowTimerId, 100, nullptr);
    OnTick();
}

bool Dlg_Updatechk::CanGoOnline()
{
    return InternetAttemptConnect(0) == ERROR_SUCCESS;
}

void Dlg_Updatechk::OnTick()
{
    if (ended_ || !run_)
        return;
    LinkCheckProgress progress = run_->Progress();
    if (progress.checked != lastChecked_) {
        lastChecked_ = progress.checked;
        countdown_.Reset();
    }
    if (!progress.waitingOn.empty())
        SetDlgItemTextA(dialog_, IDC_CHECK_ADDRESS, progress.waitingOn.c_str());
    if (progress.done)
        Finish();
}

void Dlg_Updatechk::Finish()
{
    KillTimer(dialog_, kShowTimerId);
    countdown_.Stop(dialog_);
    std::vector<LinkOutcome> outcomes = run_->Outcomes();
    bool changed = false;
    for (size_t i = 0; i < checks_.size() && i < outcomes.size(); ++i)
        changed = ApplyOutcome(outcomes[i], &checks_[i]) || changed;
    if (changed) {
        SetDlgItemTextA(dialog_, IDC_CHECK_ADDRESS, "XMLﾌｧｲﾙを更新中");
        if (context_.store->ApplyCheckResults(checks_, dialog_) == 0) {
            Fail();
            return;
        }
        context_.views->RefreshList();
    }
    End(1);
}

bool Dlg_Updatechk::ApplyOutcome(const LinkOutcome& outcome, EntryRecord* record)
{
    auto put = [](char* field, size_t size, const char* value) {
        if (lstrcmpA(field, value) == 0)
            return false;
        lstrcpynA(field, value, static_cast<int>(size));
        return true;
    };
    if (!outcome.asked)
        return false;
    switch (outcome.verdict) {
    case LinkVerdict::kDead:
        return put(record->valid, sizeof record->valid, "0");
    case LinkVerdict::kAlive:
    case LinkVerdict::kMoved: {
        bool changed = put(record->valid, sizeof record->valid, "1");
        return put(record->update, sizeof record->update, outcome.hasDate ? outcome.date : "-") || changed;
    }
    case LinkVerdict::kNeedsLook:
        break;
    }
    return false;
}

void Dlg_Updatechk::End(INT_PTR result)
{
    if (ended_)
        return;
    ended_ = true;
    KillTimer(dialog_, kShowTimerId);
    countdown_.Stop(dialog_);
    // Never a wait: the run's requests end on their own, unheard.
    if (run_)
        run_->Stop();
    result_ = result;
    EndDialog(dialog_, result);
}

void Dlg_Updatechk::Collect()
{
    // The selected rows (and the focused one) when any row is selected,
    // else every row; collecting stops at the first row that lacks a value.
    const CListCtrl& list = *context_.list;
    const bool selectedOnly = ListView_GetNextItem(list.control, -1, LVNI_SELECTED) >= 0;
    const int rows = ListView_GetItemCount(list.control);
    for (int row = 0; row < rows; ++row) {
        if (selectedOnly && ListView_GetItemState(list.control, row, LVIS_SELECTED | LVIS_FOCUSED) == 0)
            continue;
        EntryRecord record;
        char shownValid[5] = {};
        char address[kAddressSize];
        if (!list.GetRowText(false, row, kAddressColumn, address, sizeof address) ||
            !list.GetRowText(false, row, kKeyColumn, record.key, sizeof record.key) ||
            !list.GetRowText(false, row, kUpdateColumn, record.update, sizeof record.update) ||
            !list.GetRowText(false, row, kLinkColumn, shownValid, sizeof shownValid))
            break;
        lstrcpynA(record.valid, StoredValid(shownValid), sizeof record.valid);
        record.list = address;
        checks_.push_back(record);
    }
}

void Dlg_Updatechk::Fail()
{
    MessageBoxA(dialog_, "更新確認処理でエラーが発生しました。", "ERROR", MB_OK | MB_ICONERROR);
    End(1);
}
