#include "dialogs/link_check_dialog.h"

#include <commctrl.h>

#include <cstdio>

#include "dialogs/update_check_dialog.h"
#include "resources/resource.h"
#include "store/entry_key.h"
#include "store/xml_store.h"
#include "ui/list_ctrl.h"
#include "ui/view_sync.h"

namespace {

const UINT_PTR kShowTimerId = 1001;
const int kProgressRange = 1000;

const char* GroupName(LinkVerdict verdict)
{
    switch (verdict) {
    case LinkVerdict::kDead:
        return "無効になったリンク";
    case LinkVerdict::kMoved:
        return "移動したリンク";
    default:
        return "確認が必要なリンク";
    }
}

void FormatDuration(ULONGLONG ms, char* out, size_t size)
{
    const unsigned long seconds = static_cast<unsigned long>(ms / 1000);
    snprintf(out, size, "%lu:%02lu", seconds / 60, seconds % 60);
}

}  // namespace

Dlg_LinkCheck::Dlg_LinkCheck(int templateId, const DialogHost& host)
    : context_(host)
{
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_PROGRESS_CLASS | ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&icc);
    DialogBoxParamA(host.instance, MAKEINTRESOURCEA(templateId), host.owner, DialogProcValue,
                    reinterpret_cast<LPARAM>(static_cast<WindowObject*>(this)));
}

Dlg_LinkCheck::~Dlg_LinkCheck()
{
    if (run_)
        run_->Stop();
}

BOOL Dlg_LinkCheck::HandleMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM, LRESULT* result)
{
    switch (msg) {
    case WM_INITDIALOG:
        OnInitDialog(hwnd);
        *result = 1;
        return TRUE;
    case WM_TIMER:
        if (wParam != kShowTimerId)
            return FALSE;
        OnTick();
        return TRUE;
    case WM_COMMAND:
        // Enter gives IDOK, which means nothing here.
        if (LOWORD(wParam) == IDCANCEL)
            Finish(true);
        return LOWORD(wParam) == IDCANCEL || LOWORD(wParam) == IDOK;
    case WM_CLOSE:
        Finish(true);
        return TRUE;
    default:
        return FALSE;
    }
}

void Dlg_LinkCheck::OnInitDialog(HWND dialog)
{
    dialog_ = dialog;
    const std::vector<FolderRecord>& folders = context_.store->Snapshot();
    for (size_t f = 0; f < folders.size(); ++f) {
        if (context_.folder >= 0 && static_cast<int>(f) != context_.folder)
            continue;
        for (size_t n = 0; n < folders[f].notes.size(); ++n) {
            const std::vector<EntryRecord>& entries = folders[f].notes[n].entries;
            for (size_t e = 0; e < entries.size(); ++e) {
                Link link{static_cast<int>(f), static_cast<int>(n), static_cast<int>(e), entries[e].list.c_str(), {}, {}};
                lstrcpynA(link.valid, entries[e].valid, sizeof link.valid);
                lstrcpynA(link.update, entries[e].update, sizeof link.update);
                links_.push_back(std::move(link));
            }
        }
    }
    if (links_.empty()) {
        MessageBoxA(dialog_, "確認するリンクがありません。", "リンクの一括確認", MB_OK | MB_ICONINFORMATION);
        ended_ = true;
        EndDialog(dialog_, 2);
        return;
    }
    std::vector<std::string> addresses;
    addresses.reserve(links_.size());
    for (const Link& link : links_)
        addresses.push_back(link.address);
    run_ = LinkCheckRun::Start(addresses);
    ran_ = true;
    started_ = GetTickCount64();
    SendDlgItemMessageA(dialog_, IDC_LINK_PROGRESS, PBM_SETRANGE32, 0, kProgressRange);
    SetTimer(dialog_, kShowTimerId, 100, nullptr);
    OnTick();
}

void Dlg_LinkCheck::OnTick()
{
    if (ended_ || !run_)
        return;
    const LinkCheckProgress progress = run_->Progress();
    char text[512];
    snprintf(text, sizeof text, "%zu / %zu 件を確認しました　無効: %zu 件", progress.checked, progress.total,
             progress.dead);
    SetDlgItemTextA(dialog_, IDC_LINK_COUNT, text);
    snprintf(text, sizeof text, "応答待ち: %s", progress.waitingOn.c_str());
    SetDlgItemTextA(dialog_, IDC_LINK_HOST, progress.waitingOn.empty() ? "" : text);
    const ULONGLONG elapsed = GetTickCount64() - started_;
    char gone[32];
    char left[32] = "-";
    FormatDuration(elapsed, gone, sizeof gone);
    if (progress.checked > 0 && progress.total > progress.checked)
        FormatDuration(elapsed * (progress.total - progress.checked) / progress.checked, left, sizeof left);
    snprintf(text, sizeof text, "経過時間: %s　残り時間: 約 %s", gone, left);
    SetDlgItemTextA(dialog_, IDC_LINK_TIME, text);
    const int position = progress.total == 0 ? kProgressRange
                                             : static_cast<int>(progress.checked * kProgressRange / progress.total);
    SendDlgItemMessageA(dialog_, IDC_LINK_PROGRESS, PBM_SETPOS, position, 0);
    if (progress.done)
        Finish(false);
}

void Dlg_LinkCheck::Finish(bool stopped)
{
    if (ended_)
        return;
    ended_ = true;
    KillTimer(dialog_, kShowTimerId);
    if (!run_) {
        EndDialog(dialog_, 2);
        return;
    }
    // Never a wait: the requests still under way end on their own, unheard.
    run_->Stop();
    stopped_ = stopped;
    const std::vector<LinkOutcome> outcomes = run_->Outcomes();
    const std::vector<FolderRecord>& folders = context_.store->Snapshot();
    std::vector<EntryRecord> changed;
    for (size_t i = 0; i < links_.size() && i < outcomes.size(); ++i) {
        const Link& link = links_[i];
        const LinkOutcome& outcome = outcomes[i];
        if (!outcome.asked)
            continue;
        ++checked_;
        EntryRecord record;
        FormatEntryKey(link.folder, link.note, link.entry, record.key, sizeof record.key);
        lstrcpynA(record.valid, link.valid, sizeof record.valid);
        lstrcpynA(record.update, link.update, sizeof record.update);
        if (Dlg_Updatechk::ApplyOutcome(outcome, &record))
            changed.push_back(record);
        if (outcome.verdict == LinkVerdict::kAlive)
            continue;
        const FolderRecord& folder = folders[static_cast<size_t>(link.folder)];
        const NoteRecord& note = folder.notes[static_cast<size_t>(link.note)];
        LinkResultRow row;
        row.verdict = outcome.verdict;
        row.folder = link.folder;
        row.note = link.note;
        row.entry = link.entry;
        row.folderName = folder.name;
        row.noteName = note.name;
        row.title = note.entries[static_cast<size_t>(link.entry)].title;
        row.address = link.address;
        row.status = outcome.verdict == LinkVerdict::kMoved ? "→ " + outcome.movedTo
                                                             : OutcomeText(outcome.failure, outcome.status);
        rows_.push_back(std::move(row));
    }
    // One write for the whole run, after the usual backup.
    if (!changed.empty()) {
        SetDlgItemTextA(dialog_, IDC_LINK_HOST, "XMLﾌｧｲﾙを更新中");
        if (context_.store->ApplyCheckResults(changed, dialog_, true) == 0)
            MessageBoxA(dialog_, "更新確認処理でエラーが発生しました。", "ERROR", MB_OK | MB_ICONERROR);
        context_.views->RefreshList();
    }
    EndDialog(dialog_, stopped ? 2 : 1);
}

// ---- The results ----

Dlg_LinkResults::Dlg_LinkResults(int templateId, const DialogHost& host, const Dlg_LinkCheck& check)
    : context_(host), check_(check)
{
    DialogBoxParamA(host.instance, MAKEINTRESOURCEA(templateId), host.owner, DialogProcValue,
                    reinterpret_cast<LPARAM>(static_cast<WindowObject*>(this)));
}

BOOL Dlg_LinkResults::HandleMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    switch (msg) {
    case WM_INITDIALOG:
        OnInitDialog(hwnd);
        *result = 1;
        return TRUE;
    case WM_NOTIFY: {
        const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->hwndFrom == list_ && header->code == NM_DBLCLK) {
            ShowRow(reinterpret_cast<const NMITEMACTIVATE*>(lParam)->iItem);
            return TRUE;
        }
        return FALSE;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == IDCANCEL || LOWORD(wParam) == IDOK) {
            EndDialog(dialog_, 1);
            return TRUE;
        }
        return FALSE;
    case WM_CLOSE:
        EndDialog(dialog_, 1);
        return TRUE;
    default:
        return FALSE;
    }
}

void Dlg_LinkResults::OnInitDialog(HWND dialog)
{
    dialog_ = dialog;
    list_ = GetDlgItem(dialog, IDC_LINK_LIST);
    ListView_SetExtendedListViewStyle(list_, LVS_EX_FULLROWSELECT);
    const struct {
        const char* header;
        int width;
    } columns[] = {{"区分", 130}, {"フォルダ", 90}, {"ノート", 90}, {"タイトル", 180}, {"アドレス", 220}, {"状態", 140}};
    for (int c = 0; c < 6; ++c) {
        LVCOLUMNA column = {};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.cx = columns[c].width;
        column.pszText = const_cast<char*>(columns[c].header);
        SendMessageA(list_, LVM_INSERTCOLUMNA, c, reinterpret_cast<LPARAM>(&column));
    }
    size_t counts[3] = {};
    const LinkVerdict groups[3] = {LinkVerdict::kDead, LinkVerdict::kMoved, LinkVerdict::kNeedsLook};
    for (int g = 0; g < 3; ++g) {
        for (const LinkResultRow& row : check_.Rows()) {
            if (row.verdict != groups[g])
                continue;
            ++counts[g];
            const int at = static_cast<int>(shown_.size());
            shown_.push_back(&row);
            LVITEMA item = {};
            item.mask = LVIF_TEXT;
            item.iItem = at;
            item.pszText = const_cast<char*>(GroupName(row.verdict));
            SendMessageA(list_, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
            const std::string* cells[] = {&row.folderName, &row.noteName, &row.title, &row.address, &row.status};
            for (int c = 0; c < 5; ++c)
                ListView_SetItemText(list_, at, c + 1, const_cast<char*>(cells[c]->c_str()));
        }
    }
    char summary[512];
    int length = snprintf(summary, sizeof summary, "無効になったリンク: %zu 件　移動したリンク: %zu 件　確認が必要なリンク: %zu 件",
                          counts[0], counts[1], counts[2]);
    if (check_.Stopped() && length > 0 && static_cast<size_t>(length) < sizeof summary)
        snprintf(summary + length, sizeof summary - static_cast<size_t>(length), "　(中止: %zu / %zu 件を確認)",
                 check_.Checked(), check_.Total());
    SetDlgItemTextA(dialog_, IDC_LINK_SUMMARY, summary);
}

void Dlg_LinkResults::ShowRow(int row)
{
    if (row < 0 || row >= static_cast<int>(shown_.size()))
        return;
    const LinkResultRow& link = *shown_[static_cast<size_t>(row)];
    context_.views->ShowNote(link.folder, link.note);
    context_.list->ShowEntryRow(link.folder, link.note, link.entry);
}
