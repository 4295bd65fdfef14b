#include "dialogs/update_check_dialog.h"

#include <commctrl.h>


#include "resources/resource.h"
#include "store/xml_store.h"
#include "ui/list_ctrl.h"
#include "ui/view_sync.h"
#include "web/inet.h"

namespace {

const char kModule[] = ".\\Dlg_UpdateChk";
const int kUpdateColumn = 5;
const int kLinkColumn = 7;
// Shows the worker's newest text in control 1020, ten times a second.
const UINT_PTR kShowTimerId = 1001;

}  // namespace

Dlg_Updatechk::Dlg_Updatechk(int templateId, const DialogHost& host)
    : context_(host)
{
    DialogBoxParamA(host.instance, MAKEINTRESOURCEA(templateId), host.owner, DialogProcValue,
                    reinterpret_cast<LPARAM>(static_cast<WindowObject*>(this)));
}

Dlg_Updatechk::~Dlg_Updatechk() = default;

BOOL Dlg_Updatechk::HandleMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM, LRESULT* result)
{
    switch (msg) {
    case WM_INITDIALOG:
        OnInitDialog(hwnd);
        *result = 1;
        return TRUE;
    case WM_TIMER:
        if (wParam == kShowTimerId)
            OnShowText();
        else if (wParam == Countdown::kTimerId)
            countdown_.Tick(dialog_, "%d 秒");
        else
            return FALSE;
        return TRUE;
    case WM_COUNTDOWN:
        countdown_.OnMessage(dialog_, wParam, nullptr);
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
    SetTimer(dialog_, kShowTimerId, 100, nullptr);
    // The rows are read here, on the list's own thread: from the worker
    // each cell would be a round trip between threads, a third of the
    // whole check under Wine.
    Collect();
    if (!worker_.Start([this] { CheckUpdates(); }))
        ReportThreadFailure(dialog_, context_, __LINE__, kModule);
}

void Dlg_Updatechk::OnShowText()
{
    std::string text;
    {
        std::lock_guard<std::mutex> lock(shownLock_);
        if (!shownChanged_)
            return;
        text = shown_;
        shownChanged_ = false;
    }
    SetDlgItemTextA(dialog_, IDC_CHECK_ADDRESS, text.c_str());
}

void Dlg_Updatechk::End(INT_PTR result)
{
    countdown_.Stop(dialog_);
    if (result != 1)
        running_ = false;
    worker_.Wait();
    // The list follows the file on this thread, before the dialog goes.
    if (written_)
        context_.views->RefreshList();
    written_ = false;
    result_ = result;
    EndDialog(dialog_, result);
}

// ---- On the worker thread ----

void Dlg_Updatechk::CheckUpdates()
{
    if (checks_.empty())
        return Fail();
    SendMessageA(dialog_, WM_COUNTDOWN, 0, 0);
    CInet inet;
    if (inet.OpenInternet() == 0)
        return Fail();
    bool changed = false;
    Examine(inet, &changed);
    inet.CloseInternet();
    // Cancelled, in the loop or after its last entry: whatever was found
    // is forgotten.
    if (changed && running_) {
        countdown_.Reset();
        Show("XMLﾌｧｲﾙを更新中");
        if (context_.store->ApplyCheckResults(checks_, dialog_) == 0)
            return Fail();
        written_ = true;
    }
    PostMessageA(dialog_, WM_COMMAND, IDOK, 0);
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
        if (!list.GetRowText(false, row, kAddressColumn, record.list, sizeof record.list) ||
            !list.GetRowText(false, row, kKeyColumn, record.key, sizeof record.key) ||
            !list.GetRowText(false, row, kUpdateColumn, record.update, sizeof record.update) ||
            !list.GetRowText(false, row, kLinkColumn, shownValid, sizeof shownValid))
            break;
        lstrcpynA(record.valid, StoredValid(shownValid), sizeof record.valid);
        checks_.push_back(record);
    }
}

void Dlg_Updatechk::Examine(CInet& inet, bool* changed)
{
    for (EntryRecord& record : checks_) {
        if (!running_)
            return;
        countdown_.Reset();
        Show(record.list);
        char date[CInet::kDateBufferSize] = {};
        switch (inet.QueryLastModified(record.list, date)) {
        case CInet::kNotOpened:
            if (lstrcmpA(record.valid, "0") != 0) {
                lstrcpynA(record.valid, "0", sizeof record.valid);
                *changed = true;
            }
            break;
        case CInet::kNoDate:
            if (lstrcmpA(record.update, "-") != 0) {
                lstrcpynA(record.update, "-", sizeof record.update);
                *changed = true;
            }
            break;
        default:
            if (lstrcmpA(record.update, date) != 0) {
                lstrcpynA(record.update, date, sizeof record.update);
                *changed = true;
            }
            break;
        }
    }
}

void Dlg_Updatechk::Show(const char* text)
{
    // Under Wine a static repaints at once on every text change: shown
    // for each of a hundred quick answers a second, the drawing would cost
    // more than the asking. The dialog's timer shows the newest text.
    std::lock_guard<std::mutex> lock(shownLock_);
    shown_ = text;
    shownChanged_ = true;
}

void Dlg_Updatechk::Fail()
{
    MessageBoxA(dialog_, "更新確認処理でエラーが発生しました。", "ERROR", MB_OK | MB_ICONERROR);
    PostMessageA(dialog_, WM_COMMAND, IDOK, 0);
}
