#include "dialogs/import_dialog.h"

#include <commctrl.h>

#include <cstdio>
#include <new>

#include "dialogs/import_report.h"
#include "resources/resource.h"
#include "bookmarks/bookmark_files.h"
#include "bookmarks/bookmark_platform_win.h"
#include "store/xml_store.h"
#include "ui/view_sync.h"

namespace {

const char kModule[] = ".\\Dlg_Import";
const char kCaption[] = "インポート";
// Shows the worker's progress ten times a second.
const UINT_PTR kShowTimerId = 1001;
// Posted by the worker as its last step.
const UINT WM_IMPORT_DONE = WM_APP + 5;
const int kProgressRange = 1000;

}  // namespace

Dlg_Import::Dlg_Import(int templateId, const DialogHost& host, const char* path)
    : context_(host), path_(path != nullptr ? path : "")
{
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&icc);
    DialogBoxParamA(host.instance, MAKEINTRESOURCEA(templateId), host.owner, DialogProcValue,
                    reinterpret_cast<LPARAM>(static_cast<WindowObject*>(this)));
    Tell(host.owner);
}

Dlg_Import::~Dlg_Import() = default;

BOOL Dlg_Import::HandleMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM, LRESULT* result)
{
    switch (msg) {
    case WM_INITDIALOG:
        OnInitDialog(hwnd);
        *result = 1;
        return TRUE;
    case WM_TIMER:
        if (wParam != kShowTimerId)
            return FALSE;
        OnShowProgress();
        return TRUE;
    case WM_IMPORT_DONE:
        Finish();
        return TRUE;
    case WM_COMMAND:
        // Enter gives IDOK, which means nothing here.
        if (LOWORD(wParam) != IDCANCEL)
            return LOWORD(wParam) == IDOK;
        running_ = false;
        Finish();
        return TRUE;
    case WM_CLOSE:
        running_ = false;
        Finish();
        return TRUE;
    default:
        return FALSE;
    }
}

void Dlg_Import::OnInitDialog(HWND dialog)
{
    dialog_ = dialog;
    SendDlgItemMessageA(dialog_, IDC_IMPORT_PROGRESS, PBM_SETRANGE32, 0, kProgressRange);
    OnShowProgress();
    SetTimer(dialog_, kShowTimerId, 100, nullptr);
    if (!worker_.Start([this] { Import(); })) {
        ReportThreadFailure(dialog_, context_, __LINE__, kModule);
        EndDialog(dialog_, 2);
    }
}

void Dlg_Import::OnShowProgress()
{
    // Under Wine a static repaints at once on every change: only changes
    // are shown.
    const bool writing = writing_;
    const size_t links = linksRead_;
    if (writing && !shownWriting_) {
        SetDlgItemTextA(dialog_, IDC_IMPORT_COUNT, "XMLﾌｧｲﾙを更新中");
        shownWriting_ = true;
    } else if (!writing && links != shownLinks_) {
        char text[64];
        snprintf(text, sizeof text, "読み込んだリンク: %zu 件", links);
        SetDlgItemTextA(dialog_, IDC_IMPORT_COUNT, text);
        shownLinks_ = links;
    }
    SendDlgItemMessageA(dialog_, IDC_IMPORT_PROGRESS, PBM_SETPOS, permille_, 0);
}

void Dlg_Import::Finish()
{
    // A write that has begun is waited for; the dialog ends only after the
    // worker has. The worker's message may still come after a cancel.
    if (ended_)
        return;
    ended_ = true;
    EnableWindow(GetDlgItem(dialog_, IDCANCEL), FALSE);
    worker_.Wait();
    KillTimer(dialog_, kShowTimerId);
    if (written_ || outcome_ == Outcome::kStoreFailed)
        // Existing folders and notes keep their positions (new ones come
        // after them), so the selection is found again by its position.
        context_.views->StoreReplaced(true);
    EndDialog(dialog_, outcome_ == Outcome::kImported ? 1 : 2);
}


void Dlg_Import::Tell(HWND owner) const
{
    std::string text;
    UINT icon = MB_ICONWARNING;
    const char* caption = "ERROR";
    switch (outcome_) {
    case Outcome::kCancelled:
        return;
    case Outcome::kUnreadable:
        text = "ファイルを読み込めませんでした。\n\n" + path_;
        break;
    case Outcome::kTooLarge:
        text = "ファイルが大きすぎます (64 MB まで)。インポートしませんでした。\n\n" + path_;
        break;
    case Outcome::kTooManyLinks: {
        char line[160];
        snprintf(line, sizeof line, "リンクが多すぎます (約 %zu 件、1 回に %zu 件まで)。インポートしませんでした。\n\n",
                 linkTags_, kMaxImportLinks);
        text = line + path_;
        break;
    }
    case Outcome::kEmpty:
        text = "ファイルが空です。インポートするものはありません。\n\n" + path_;
        break;
    case Outcome::kNotBookmarks:
        text = "ブックマークファイルではありません。インポートしませんでした。\n"
               "ブラウザがエクスポートした HTML ファイルを選んで下さい。\n\n" + path_;
        break;
    case Outcome::kOutOfMemory:
        text = "メモリが足りないため、インポートできませんでした。ストアは変更されていません。\n\n" + path_;
        break;
    case Outcome::kStoreFailed:
        text = "インポートできませんでした。ストアは変更されていません。";
        break;
    case Outcome::kImported:
        text = ImportSummary(read_, plan_);
        caption = kCaption;
        icon = read_.truncated ? MB_ICONWARNING : MB_ICONINFORMATION;
        break;
    }
    MessageBoxA(owner, text.c_str(), caption, MB_OK | icon);
}

// ---- On the worker thread ----

void Dlg_Import::Import()
{
    // A file too large for the memory there is ends the import, not the
    // program; the store writes all or nothing, so nothing is lost.
    try {
        outcome_ = ReadAndWrite();
    } catch (const std::bad_alloc&) {
        read_ = BookmarkImport();
        plan_ = MergePlan();
        outcome_ = written_ ? Outcome::kImported : Outcome::kOutOfMemory;
    }
    PostMessageA(dialog_, WM_IMPORT_DONE, 0, 0);
}

Dlg_Import::Outcome Dlg_Import::ReadAndWrite()
{
    std::string bytes;
    switch (ReadBookmarkBytes(path_.c_str(), kMaxBookmarkFileBytes, bytes)) {
    case BookmarkFileRead::kTooLarge:
        return Outcome::kTooLarge;
    case BookmarkFileRead::kUnreadable:
        return Outcome::kUnreadable;
    case BookmarkFileRead::kRead:
        break;
    }
    if (bytes.empty())
        return Outcome::kEmpty;
    // Refused before the reading, whose memory grows with every link.
    linkTags_ = CountLinkTags(bytes.data(), bytes.size());
    if (linkTags_ > kMaxImportLinks)
        return Outcome::kTooManyLinks;
    char today[11];
    FormatToday(today, sizeof today);
    const WinBookmarkPlatform platform;
    read_ = ReadBookmarkFile(bytes.data(), bytes.size(), platform, today,
                             [this](size_t links, size_t done, size_t total) { return OnProgress(links, done, total); });
    std::string().swap(bytes);
    if (read_.cancelled || !running_)
        return Outcome::kCancelled;
    if (!read_.isBookmarkFile)
        return Outcome::kNotBookmarks;
    // The dialog is modal: nothing else changes the snapshot meanwhile.
    plan_ = PlanMerge(context_.store->Snapshot(), std::move(read_.notes));
    // Folders and notes without links are brought in too.
    bool creates = false;
    for (const PlannedFolder& folder : plan_.folders) {
        creates = creates || folder.created;
        for (const PlannedNote& note : folder.notes)
            creates = creates || note.created;
    }
    if (plan_.added == 0 && !creates)
        return Outcome::kImported;
    // The last moment a cancel counts: the write is all or nothing.
    if (!running_)
        return Outcome::kCancelled;
    writing_ = true;
    if (context_.store->ImportEntries(plan_, dialog_) == 0)
        return Outcome::kStoreFailed;
    written_ = true;
    plan_.folders.clear();
    return Outcome::kImported;
}

bool Dlg_Import::OnProgress(size_t links, size_t done, size_t total)
{
    linksRead_ = links;
    permille_ = total > 0 ? static_cast<int>(static_cast<double>(done) / static_cast<double>(total) * kProgressRange) : 0;
    return running_;
}
