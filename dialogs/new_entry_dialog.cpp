#include "dialogs/new_entry_dialog.h"

#include <commctrl.h>

#include <string>

#include "web/title_fetch.h"
#include "app/error_log.h"
#include "resources/resource.h"
#include "store/entry_key.h"
#include "store/xml_store.h"
#include "ui/list_ctrl.h"
#include "ui/tree_ctrl.h"
#include "ui/view_sync.h"
#include "web/inet.h"

namespace {

const char kModule[] = ".\\Dlg_NewPinRoll";
const char kCaption[] = "新規ピンロール";
// The marker of a title the program could not obtain.
const char kNotFound[] = "Not Found";
// Posted by the fetch as its last step.
const UINT WM_FETCHED = WM_APP + 5;
// Fires when the fetch (a date query and a title read) ran past its bound.
const UINT_PTR kFetchBoundTimerId = 1002;

}  // namespace

Dlg_NewPinRoll::Dlg_NewPinRoll(int templateId, const DialogHost& host)
    : context_(host)
{
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_USEREX_CLASSES};
    InitCommonControlsEx(&icc);
    DialogBoxParamA(host.instance, MAKEINTRESOURCEA(templateId), host.owner, DialogProcBool,
                    reinterpret_cast<LPARAM>(static_cast<WindowObject*>(this)));
}

Dlg_NewPinRoll::~Dlg_NewPinRoll() = default;

BOOL Dlg_NewPinRoll::HandleMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM, LRESULT* result)
{
    switch (msg) {
    case WM_INITDIALOG:
        OnInitDialog(hwnd);
        *result = 1;
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
            OnRegister();
            return TRUE;
        case IDCANCEL:
            OnCancel();
            return TRUE;
        case IDC_AUTO_FETCH:
            if (HIWORD(wParam) == BN_CLICKED)
                OnAutoFetchClicked();
            return TRUE;
        case IDC_DESTINATION:
            if (HIWORD(wParam) == CBN_SELENDOK)
                OnDestinationChosen();
            return TRUE;
        default:
            return FALSE;
        }
    case WM_TIMER:
        if (wParam == kFetchBoundTimerId) {
            OnFetchTooLong();
            return TRUE;
        }
        if (wParam != Countdown::kTimerId)
            return FALSE;
        countdown_.Tick(dialog_, "ﾀｲﾑｱｳﾄまであと %d 秒");
        return TRUE;
    case WM_COUNTDOWN:
        countdown_.OnMessage(dialog_, wParam, kCaption);
        return TRUE;
    case WM_FETCHED:
        OnFetched(wParam);
        return TRUE;
    case WM_CLOSE:
        OnCancel();
        return TRUE;
    default:
        return FALSE;
    }
}

void Dlg_NewPinRoll::OnInitDialog(HWND dialog)
{
    dialog_ = dialog;
    title_ = GetDlgItem(dialog, IDC_TITLE);
    address_ = GetDlgItem(dialog, IDC_ADDRESS);
    comment_ = GetDlgItem(dialog, IDC_COMMENT);
    destination_ = GetDlgItem(dialog, IDC_DESTINATION);
    autoFetchBox_ = GetDlgItem(dialog, IDC_AUTO_FETCH);
    ChooseInitialDestination();

    images_.Reset(ImageList_Create(16, 16, ILC_MASK | ILC_COLOR4, 2, 0));
    for (int id : {IDI_FOLDER_CLOSED, IDI_NOTE_CLOSED}) {
        OwnedIcon icon(static_cast<HICON>(
            LoadImageA(context_.instance, MAKEINTRESOURCEA(id), IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR)));
        ImageList_AddIcon(images_.Get(), icon.Get());
    }
    SendMessageA(destination_, CBEM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images_.Get()));
    FillDestinations();

    FormatToday(today_, sizeof today_);
    LimitEntryBoxes(title_, address_, comment_);
    SetFocus(title_);
    if (context_.request != nullptr)
        FillFromRequest(*context_.request);
}

void Dlg_NewPinRoll::FillFromRequest(const NewEntryRequest& request)
{
    // Only the boxes are filled: 登録 then checks, fetches and refuses
    // exactly as for typed input.
    SetWindowTextA(address_, request.address.c_str());
    if (request.title.empty()) {
        CheckDlgButton(dialog_, IDC_AUTO_FETCH, BST_CHECKED);
        OnAutoFetchClicked();
    } else {
        SetWindowTextA(title_, request.title.c_str());
    }
}

void Dlg_NewPinRoll::ChooseInitialDestination()
{
    // The note a handed-in page was meant for; else the note the list
    // shows; else the tree's selected note.
    char key[kEntryKeySize];
    EntryPositions at;
    const NewEntryRequest* request = context_.request;
    if (request != nullptr && request->note >= 0 && request->note < NotesIn(request->folder)) {
        destFolder_ = request->folder;
        destNote_ = request->note;
    } else if (ListView_GetItemCount(context_.list->control) > 0 && context_.list->RowKey(0, key, sizeof key) &&
        ReadEntryKey(key, &at)) {
        destFolder_ = at.folder;
        destNote_ = at.note;
    } else {
        TreePosition pos;
        if (TreeView_GetSelection(context_.tree->control) != nullptr) {
            context_.tree->GetSelectedPosition(&pos);
            destFolder_ = pos.folder;
            destNote_ = pos.note;
        }
    }
    entryPosition_ = EntriesIn(destFolder_, destNote_);
}

int Dlg_NewPinRoll::NotesIn(int folder) const
{
    const std::vector<FolderRecord>& folders = context_.store->Snapshot();
    if (folder < 0 || folder >= static_cast<int>(folders.size()))
        return 0;
    return static_cast<int>(folders[static_cast<size_t>(folder)].notes.size());
}

int Dlg_NewPinRoll::EntriesIn(int folder, int note) const
{
    const std::vector<FolderRecord>& folders = context_.store->Snapshot();
    if (folder < 0 || folder >= static_cast<int>(folders.size()))
        return 0;
    const std::vector<NoteRecord>& notes = folders[static_cast<size_t>(folder)].notes;
    if (note < 0 || note >= static_cast<int>(notes.size()))
        return 0;
    return static_cast<int>(notes[static_cast<size_t>(note)].entries.size());
}

void Dlg_NewPinRoll::FillDestinations()
{
    // Folders at indent 0 with image 0, their notes below at indent 1 with
    // image 1; rows_ maps each row back to its positions.
    auto insert = [this](const char* text, int image, int indent) {
        COMBOBOXEXITEMA item;
        ZeroMemory(&item, sizeof item);
        item.mask = CBEIF_TEXT | CBEIF_IMAGE | CBEIF_SELECTEDIMAGE | CBEIF_INDENT;
        item.iItem = static_cast<INT_PTR>(rows_.size());
        item.pszText = const_cast<char*>(text);
        item.iImage = image;
        item.iSelectedImage = image;
        item.iIndent = indent;
        SendMessageA(destination_, CBEM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    };
    const std::vector<FolderRecord>& folders = context_.store->Snapshot();
    int selected = -1;
    int firstNote = -1;
    for (size_t f = 0; f < folders.size(); ++f) {
        insert(folders[f].name, 0, 0);
        rows_.push_back(Destination{static_cast<int>(f), -1});
        for (size_t n = 0; n < folders[f].notes.size(); ++n) {
            int row = static_cast<int>(rows_.size());
            if (static_cast<int>(f) == destFolder_ && static_cast<int>(n) == destNote_)
                selected = row;
            if (firstNote < 0)
                firstNote = row;
            insert(folders[f].notes[n].name, 1, 1);
            rows_.push_back(Destination{static_cast<int>(f), static_cast<int>(n)});
        }
    }
    // The row shown must be where the entry goes: without a known note the
    // first note is the destination; without any note nothing can be added.
    if (selected < 0 && firstNote >= 0) {
        selected = firstNote;
        destFolder_ = rows_[static_cast<size_t>(firstNote)].folder;
        destNote_ = rows_[static_cast<size_t>(firstNote)].note;
        entryPosition_ = EntriesIn(destFolder_, destNote_);
    }
    SendMessageA(destination_, CB_SETCURSEL, selected >= 0 ? selected : 0, 0);
    if (selected < 0)
        EnableWindow(GetDlgItem(dialog_, IDOK), FALSE);
}

void Dlg_NewPinRoll::OnDestinationChosen()
{
    int row = static_cast<int>(SendMessageA(destination_, CB_GETCURSEL, 0, 0));
    if (row >= 0 && row < static_cast<int>(rows_.size())) {
        const Destination& chosen = rows_[static_cast<size_t>(row)];
        if (chosen.note < 0) {
            EnableWindow(GetDlgItem(dialog_, IDOK), FALSE);
        } else {
            destFolder_ = chosen.folder;
            destNote_ = chosen.note;
            EnableWindow(GetDlgItem(dialog_, IDOK), TRUE);
        }
    } else {
        EnableWindow(GetDlgItem(dialog_, IDOK), TRUE);
    }
    entryPosition_ = EntriesIn(destFolder_, destNote_);
}

void Dlg_NewPinRoll::OnAutoFetchClicked()
{
    autoFetch_ = IsDlgButtonChecked(dialog_, IDC_AUTO_FETCH) == BST_CHECKED;
    if (autoFetch_) {
        SendMessageA(title_, EM_SETSEL, 0, -1);
        SetWindowTextA(title_, "");
        SendMessageA(title_, EM_SETREADONLY, TRUE, 0);
    } else {
        SendMessageA(title_, EM_SETREADONLY, FALSE, 0);
        SetFocus(title_);
    }
}

void Dlg_NewPinRoll::OnRegister()
{
    // Enter reaches here too: never while a folder row is chosen or a
    // registration has the button disabled.
    if (!IsWindowEnabled(GetDlgItem(dialog_, IDOK)) || work_.Running())
        return;
    const Job job{autoFetch_, destFolder_, destNote_, entryPosition_};
    EntryRecord record;
    if (!ReadInput(job, &record) || RefuseDuplicate(job, record))
        return;
    EnableInputs(false);
    job_ = job;
    if (!job.autoFetch) {
        AddNow(record);
        return;
    }
    // The fetch gets its own copy; the countdown runs while the server is asked.
    fetch_ = std::make_shared<Fetch>();
    fetch_->record = record;
    std::shared_ptr<Fetch> fetch = fetch_;
    countdown_.Start(dialog_);
    SetTimer(dialog_, kFetchBoundTimerId, DetachedWork::BoundFor(2), nullptr);
    if (!work_.Start(dialog_, WM_FETCHED, [fetch] { FetchInto(fetch.get()); })) {
        KillTimer(dialog_, kFetchBoundTimerId);
        countdown_.Stop(dialog_);
        ReportThreadFailure(dialog_, context_, __LINE__, kModule);
        EndDialog(dialog_, 1);
    }
}

void Dlg_NewPinRoll::OnCancel()
{
    // Also Esc and the close box: at once, whatever the server does; a
    // fetch still under way is dropped and nothing is written.
    work_.Abandon();
    countdown_.Stop(dialog_);
    result_ = 1;
    EndDialog(dialog_, result_);
}

void Dlg_NewPinRoll::OnFetched(WPARAM job)
{
    if (!work_.Take(job) || !fetch_)
        return;
    std::shared_ptr<Fetch> fetch = std::move(fetch_);
    KillTimer(dialog_, kFetchBoundTimerId);
    countdown_.Stop(dialog_);
    SetWindowTextA(dialog_, kCaption);
    if (!fetch->reached) {
        MessageBoxA(dialog_, "指定したアドレスにアクセスできませんでした", "ERROR", MB_OK | MB_ICONERROR);
        // Let the user correct the address.
        EnableInputs(true);
        return;
    }
    const FetchedTitle& title = fetch->title;
    if (title.found && !title.converted)
        LogModuleError("文字コードの変換に失敗しました", __LINE__, kModule, context_.ExeDir());
    // No title, an empty one or one that could not be converted: the
    // entry is still filed, under the marker.
    if (!title.converted || title.text.empty()) {
        SetWindowTextA(title_, kNotFound);
        PutField(fetch->record.title, kNotFound, kTitleSize);
    } else {
        SetWindowTextA(title_, title.text.c_str());
        PutField(fetch->record.title, title.text, kTitleSize);
    }
    AddNow(fetch->record);
}

void Dlg_NewPinRoll::OnFetchTooLong()
{
    KillTimer(dialog_, kFetchBoundTimerId);
    if (!work_.Running())
        return;
    // The server held the fetch past its bound: as if it never answered.
    work_.Abandon();
    fetch_.reset();
    countdown_.Stop(dialog_);
    SetWindowTextA(dialog_, kCaption);
    MessageBoxA(dialog_, "指定したアドレスにアクセスできませんでした", "ERROR", MB_OK | MB_ICONERROR);
    EnableInputs(true);
}

void Dlg_NewPinRoll::AddNow(const EntryRecord& record)
{
    if (context_.store->AddEntry(record, dialog_) == 0) {
        MessageBoxA(dialog_, "ピンロールの作成に失敗しました", "ERROR", MB_OK | MB_ICONWARNING);
        EnableWindow(GetDlgItem(dialog_, IDOK), TRUE);
        EnableWindow(GetDlgItem(dialog_, IDCANCEL), TRUE);
        return;
    }
    context_.views->ShowNote(job_.folder, job_.note);
    result_ = 1;
    EndDialog(dialog_, result_);
}

bool Dlg_NewPinRoll::ReadInput(const Job& job, EntryRecord* record)
{
    if (!job.autoFetch) {
        std::string title = ControlText(title_, kTitleSize);
        if (title.empty()) {
            MessageBoxA(dialog_, "タイトルが入力されていません", "ERROR", MB_OK | MB_ICONERROR);
            return false;
        }
        PutField(record->title, title.c_str(), kTitleSize);
    }
    std::string address = ControlText(address_, kAddressSize);
    if (address.empty()) {
        MessageBoxA(dialog_, "アドレスが入力されていません", "ERROR", MB_OK | MB_ICONERROR);
        return false;
    }
    PutField(record->list, address.c_str(), kAddressSize);
    std::string comment = ControlText(comment_, kCommentSize);
    PutField(record->comment, comment.empty() ? "-" : comment.c_str(), kCommentSize);
    record->folderPos = job.folder;
    record->notePos = job.note;
    record->entryPos = job.entryPosition;
    PutField(record->count, "1");
    PutField(record->valid, "1");
    PutField(record->date, today_);
    PutField(record->access, today_);
    PutField(record->update, today_);
    return true;
}

bool Dlg_NewPinRoll::RefuseDuplicate(const Job& job, const EntryRecord& record)
{
    // Only the destination note counts, exactly and with letter case.
    const std::vector<FolderRecord>& folders = context_.store->Snapshot();
    if (job.folder < 0 || job.folder >= static_cast<int>(folders.size()))
        return false;
    const FolderRecord& folder = folders[static_cast<size_t>(job.folder)];
    if (job.note < 0 || job.note >= static_cast<int>(folder.notes.size()))
        return false;
    const NoteRecord& note = folder.notes[static_cast<size_t>(job.note)];
    for (const EntryRecord& entry : note.entries) {
        if (strcmp(entry.list, record.list) != 0)
            continue;
        std::string text = "登録できません。同じｱﾄﾞﾚｽが既に登録されています。\n\n' ";
        text += std::string(folder.name) + " ' -> ' " + note.name.c_str() + " ' -> ' " + entry.title.c_str() + " '";
        MessageBoxA(dialog_, text.c_str(), "登録確認", MB_OK | MB_ICONWARNING);
        return true;
    }
    return false;
}

void Dlg_NewPinRoll::EnableInputs(bool enable)
{
    for (HWND control : {title_, address_, comment_, destination_, GetDlgItem(dialog_, IDOK),
                         GetDlgItem(dialog_, IDCANCEL)})
        EnableWindow(control, enable ? TRUE : FALSE);
}

// ---- On the fetch's own thread ----

void Dlg_NewPinRoll::FetchInto(Fetch* fetch)
{
    FetchedPage page = FetchPage(fetch->record.list, -1);
    fetch->reached = page.reached;
    // Without a date the entry keeps today's.
    if (page.dateResult == CInet::kDateWritten)
        lstrcpynA(fetch->record.update, page.update, sizeof fetch->record.update);
    fetch->title = std::move(page.title);
}
