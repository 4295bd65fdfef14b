#include "dialogs/property_dialog.h"

#include <commctrl.h>

#include <string>

#include "web/title_fetch.h"
#include "app/error_log.h"
#include "resources/resource.h"
#include "store/entry_key.h"
#include "store/xml_store.h"
#include "ui/list_ctrl.h"
#include "ui/view_sync.h"
#include "web/inet.h"

namespace {

const char kModule[] = ".\\Dlg_Property";
// Posted by the refetch worker as its last step.
const UINT WM_REFETCHED = WM_APP + 5;
// Fires when the refetch ran past its bound.
const UINT_PTR kFetchBoundTimerId = 1002;

}  // namespace

Dlg_Property::Dlg_Property(int templateId, const DialogHost& host)
    : context_(host)
{
    DialogBoxParamA(host.instance, MAKEINTRESOURCEA(templateId), host.owner, DialogProcValue,
                    reinterpret_cast<LPARAM>(static_cast<WindowObject*>(this)));
}

Dlg_Property::~Dlg_Property() = default;

BOOL Dlg_Property::HandleMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    switch (msg) {
    case WM_INITDIALOG:
        OnInitDialog(hwnd);
        *result = 1;
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDC_REFETCH:
            OnRefetch();
            return TRUE;
        case IDOK:
            OnOk();
            return TRUE;
        case IDCANCEL:
            End(2);
            return TRUE;
        default:
            return FALSE;
        }
    case WM_CLOSE:
        End(1);
        return TRUE;
    case WM_TIMER:
        if (wParam == kFetchBoundTimerId) {
            OnRefetchTooLong();
            return TRUE;
        }
        if (wParam != Countdown::kTimerId)
            return FALSE;
        countdown_.Tick(dialog_, "ﾀｲﾑｱｳﾄまであと %d 秒");
        return TRUE;
    case WM_REFETCHED:
        ApplyRefetch(wParam);
        return TRUE;
    case WM_CTLCOLORSTATIC:
        *result = OnStaticColour(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
        return *result != 0;
    default:
        return FALSE;
    }
}

void Dlg_Property::OnInitDialog(HWND dialog)
{
    dialog_ = dialog;
    title_ = GetDlgItem(dialog, IDC_TITLE);
    address_ = GetDlgItem(dialog, IDC_ADDRESS);
    comment_ = GetDlgItem(dialog, IDC_COMMENT);
    charset_ = GetDlgItem(dialog, IDC_CHARSET);
    created_ = GetDlgItem(dialog, IDC_CREATED);
    lastAccess_ = GetDlgItem(dialog, IDC_LAST_ACCESS);
    updated_ = GetDlgItem(dialog, IDC_UPDATED);
    entryKey_ = GetDlgItem(dialog, IDC_ENTRY_KEY);
    accessCount_ = GetDlgItem(dialog, IDC_ACCESS_COUNT);
    linkState_ = GetDlgItem(dialog, IDC_LINK_STATE);
    hint_ = GetDlgItem(dialog, IDC_CHARSET_HINT);
    refetch_ = GetDlgItem(dialog, IDC_REFETCH);

    // The selected row's columns, each into its box; none selected leaves
    // them empty.
    const struct {
        HWND box;
        int size;
    } columns[kListColumnCount] = {{title_, kTitleSize}, {address_, kAddressSize}, {comment_, kCommentSize},
                                   {created_, 11}, {lastAccess_, 11}, {updated_, 11},
                                   {accessCount_, 4}, {linkState_, 5}, {entryKey_, 12}};
    char text[kAddressSize];
    for (int column = 0; column < kListColumnCount; ++column) {
        if (context_.list->GetSelectedRowText(column, text, columns[column].size) >= 0)
            SetWindowTextA(columns[column].box, text);
    }

    SetWindowTextA(hint_, "ﾀｲﾄﾙが文字化けする時は、\n文字ｺｰﾄﾞを指定して取得しなおして下さい。");
    hintFont_.Reset(CreateFontA(10, 0, 0, 0, 0, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET, 0, 0, 0, 0,
                                "ＭＳ ゴシック"));
    SendMessageA(hint_, WM_SETFONT, reinterpret_cast<WPARAM>(hintFont_.Get()), FALSE);
    SetWindowTextA(dialog_, (ControlText(title_, kTitleSize) + " のプロパティ").c_str());

    LimitEntryBoxes(title_, address_, comment_);
    for (const char* name : {"Shift-JIS", "JIS", "EUC-JP", "UTF-8"})
        SendMessageA(charset_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
    SendMessageA(charset_, CB_SETCURSEL, 0, 0);

    PutField(initial_.title, ControlText(title_, kTitleSize), kTitleSize);
    PutField(initial_.list, ControlText(address_, kAddressSize), kAddressSize);
    PutField(initial_.comment, ControlText(comment_, kCommentSize), kCommentSize);
    SetFocus(title_);
}

LRESULT Dlg_Property::OnStaticColour(HDC dc, HWND control)
{
    if (control != hint_)
        return 0;
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0, 0, 255));
    return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
}

void Dlg_Property::OnRefetch()
{
    if (!IsWindowEnabled(refetch_) || work_.Running())
        return;
    // Read here, on the dialog's thread: "OK" may read the boxes meanwhile.
    EntryRecord record;
    if (!Validate(&record))
        return;
    const std::string address = record.list.c_str();
    const int chosen = static_cast<int>(SendMessageA(charset_, CB_GETCURSEL, 0, 0));
    const int charset = chosen < 0 ? 0 : chosen;
    caption_ = ControlText(dialog_, kAddressSize);
    EnableControls(false);
    countdown_.Start(dialog_);
    SetTimer(dialog_, kFetchBoundTimerId, DetachedWork::BoundFor(2), nullptr);
    std::shared_ptr<Refetch> fetched = std::make_shared<Refetch>();
    fetched_ = fetched;
    if (!work_.Start(dialog_, WM_REFETCHED, [fetched, address, charset] {
            *fetched = RefetchTitle(address, charset);
        })) {
        KillTimer(dialog_, kFetchBoundTimerId);
        countdown_.Stop(dialog_);
        EnableControls(true);
        ReportThreadFailure(dialog_, context_, __LINE__, kModule);
    }
}

void Dlg_Property::ApplyRefetch(WPARAM job)
{
    if (!work_.Take(job) || !fetched_)
        return;
    const Refetch found = *fetched_;
    fetched_.reset();
    KillTimer(dialog_, kFetchBoundTimerId);
    if (found.found && !found.converted)
        LogModuleError("文字コードの変換に失敗しました", __LINE__, kModule, context_.ExeDir());
    if (!found.reached)
        MessageBoxA(dialog_, "指定したアドレスにアクセスできませんでした", "ERROR", MB_OK | MB_ICONERROR);
    else
        SetWindowTextA(title_, found.found ? found.title.c_str() : "Not Found");
    countdown_.OnMessage(dialog_, 1, caption_.c_str());
    EnableControls(true);
}

void Dlg_Property::OnRefetchTooLong()
{
    KillTimer(dialog_, kFetchBoundTimerId);
    if (!work_.Running())
        return;
    // The server held the refetch past its bound: as if it never answered.
    work_.Abandon();
    fetched_.reset();
    MessageBoxA(dialog_, "指定したアドレスにアクセスできませんでした", "ERROR", MB_OK | MB_ICONERROR);
    countdown_.OnMessage(dialog_, 1, caption_.c_str());
    EnableControls(true);
}

void Dlg_Property::OnOk()
{
    // Enter reaches here too, also while a refetch has "OK" disabled.
    if (!IsWindowEnabled(GetDlgItem(dialog_, IDOK)))
        return;
    // A failed check or write keeps the dialog open with the user's edits.
    if (!Update())
        return;
    End(2);
}

void Dlg_Property::End(INT_PTR result)
{
    // At once, whatever the server does: a refetch under way is dropped.
    work_.Abandon();
    countdown_.Stop(dialog_);
    result_ = result;
    EndDialog(dialog_, result);
}

bool Dlg_Property::Validate(EntryRecord* record)
{
    *record = EntryRecord{};
    std::string title = ControlText(title_, kTitleSize);
    if (title.empty()) {
        MessageBoxA(dialog_, "タイトルが入力されていません", "ERROR", MB_OK | MB_ICONERROR);
        return false;
    }
    std::string address = ControlText(address_, kAddressSize);
    if (address.empty()) {
        MessageBoxA(dialog_, "アドレスが入力されていません", "ERROR", MB_OK | MB_ICONERROR);
        return false;
    }
    std::string comment = ControlText(comment_, kCommentSize);
    PutField(record->title, title, kTitleSize);
    PutField(record->list, address, kAddressSize);
    PutField(record->comment, comment.empty() ? std::string("-") : comment, kCommentSize);
    PutField(record->date, ControlText(created_, sizeof record->date));
    PutField(record->access, ControlText(lastAccess_, sizeof record->access));
    PutField(record->update, ControlText(updated_, sizeof record->update));
    PutField(record->count, ControlText(accessCount_, sizeof record->count));
    PutField(record->valid, StoredValid(ControlText(linkState_, sizeof record->valid).c_str()));
    PutField(record->key, ControlText(entryKey_, sizeof record->key));
    EntryPositions at;
    if (ReadEntryKey(record->key, &at)) {
        record->folderPos = at.folder;
        record->notePos = at.note;
        record->entryPos = at.entry;
    }
    return true;
}

bool Dlg_Property::Changed() const
{
    return ControlText(title_, kTitleSize) != initial_.title.c_str() ||
           ControlText(address_, kAddressSize) != initial_.list.c_str() ||
           ControlText(comment_, kCommentSize) != initial_.comment.c_str();
}

bool Dlg_Property::Update()
{
    if (!Changed())
        return true;
    if (!Validate(&record_))
        return false;
    // Only a key exactly as the list writes it names the entry to change.
    EntryPositions at;
    if (!ReadEntryKey(record_.key, &at) || context_.store->EditEntry(record_, dialog_) == 0) {
        MessageBoxA(dialog_, "更新処理が失敗しました", "ERROR", MB_OK | MB_ICONERROR);
        return false;
    }
    context_.views->NoteChanged(at.folder, at.note);
    return true;
}

// ---- On the worker thread ----

Dlg_Property::Refetch Dlg_Property::RefetchTitle(const std::string& address, int charset)
{
    // Only whether the address answers counts of its date here.
    FetchedPage page = FetchPage(address.c_str(), charset);
    Refetch result;
    result.reached = page.reached;
    result.found = page.title.found;
    result.converted = page.title.converted;
    result.title = page.title.Shown();
    return result;
}

void Dlg_Property::EnableControls(bool enable)
{
    for (HWND control : {title_, refetch_, charset_, address_, comment_, GetDlgItem(dialog_, IDOK),
                         GetDlgItem(dialog_, IDCANCEL)})
        EnableWindow(control, enable ? TRUE : FALSE);
}
