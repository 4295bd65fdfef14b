#include "ui/duplicate_window.h"

#include <commctrl.h>

#include <cstdio>

#include "resources/resource.h"
#include "store/entry_key.h"
#include "store/xml_store.h"
#include "ui/list_ctrl.h"
#include "ui/view_sync.h"

const char kDuplicatesTitle[] = "重複の検索";

namespace {

constexpr UINT_PTR kStaleTimer = 1;
constexpr UINT kStaleCheckMs = 1000;
const char kCaption[] = "重複の削除";

struct Column {
    const char* title;
    int width;
};
const Column kColumns[] = {
    {"グループ", 65}, {"フォルダ", 80}, {"ノート", 80}, {"タイトル", 150}, {"アドレス", 200},
    {"作成日付", 82}, {"最終日付", 82}, {"回数", 40},
};

void SetCell(HWND list, int row, int column, const char* text)
{
    ListView_SetItemText(list, row, column, const_cast<char*>(text));
}

}  // namespace

bool FileStamp::operator==(const FileStamp& other) const
{
    return path == other.path && size == other.size && CompareFileTime(&written, &other.written) == 0;
}

FileStamp StampOf(const char* path)
{
    FileStamp stamp;
    stamp.path = path != nullptr ? path : "";
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!stamp.path.empty() && GetFileAttributesExA(stamp.path.c_str(), GetFileExInfoStandard, &data)) {
        stamp.written = data.ftLastWriteTime;
        stamp.size = (static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    }
    return stamp;
}

Dlg_Duplicates::~Dlg_Duplicates()
{
    Close();
}

bool Dlg_Duplicates::Start(HINSTANCE instance, HWND owner, CmyXml* store, CListCtrl* list, ViewSync* views)
{
    if (dialog_ != nullptr && IsWindow(dialog_)) {
        ShowWindow(dialog_, SW_RESTORE);
        SetForegroundWindow(dialog_);
        CheckOutOfDate();
        return true;
    }
    store_ = store;
    mainList_ = list;
    views_ = views;
    dialog_ = CreateDialogParamA(instance, MAKEINTRESOURCEA(IDD_DUPLICATES), owner, DialogProcValue,
                                 reinterpret_cast<LPARAM>(this));
    return dialog_ != nullptr;
}

BOOL Dlg_Duplicates::HandleMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    switch (msg) {
    case WM_INITDIALOG:
        OnInitDialog(hwnd);
        *result = TRUE;
        return TRUE;
    case WM_COMMAND:
        OnCommand(LOWORD(wParam));
        return TRUE;
    case WM_NOTIFY: {
        const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->hwndFrom != list_)
            return FALSE;
        if (header->code == LVN_ITEMCHANGED)
            OnItemChanged(reinterpret_cast<const NMLISTVIEW*>(lParam));
        else if (header->code == NM_DBLCLK)
            ShowEntry(reinterpret_cast<const NMITEMACTIVATE*>(lParam)->iItem);
        return TRUE;
    }
    case WM_TIMER:
        if (wParam == kStaleTimer)
            CheckOutOfDate();
        return TRUE;
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE)
            CheckOutOfDate();
        return FALSE;
    default:
        return FALSE;
    }
}

void Dlg_Duplicates::OnInitDialog(HWND dialog)
{
    dialog_ = dialog;
    list_ = GetDlgItem(dialog, IDC_DUP_LIST);
    ListView_SetExtendedListViewStyle(list_, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
    int index = 0;
    for (const Column& column : kColumns) {
        LVCOLUMNA c = {};
        c.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        c.pszText = const_cast<char*>(column.title);
        c.cx = column.width;
        c.iSubItem = index;
        ListView_InsertColumn(list_, index++, &c);
    }
    // The file is looked at again now and then, since a write anywhere (the
    // main window, a dialog's worker) can move the entries shown here.
    SetTimer(dialog, kStaleTimer, kStaleCheckMs, nullptr);
    Search();
    ShowWindow(dialog, SW_SHOW);
}

bool Dlg_Duplicates::MainWindowBusy() const
{
    HWND owner = GetWindow(dialog_, GW_OWNER);
    return owner != nullptr && !IsWindowEnabled(owner);
}

void Dlg_Duplicates::OnCommand(WORD id)
{
    // A modal dialog of the main window (and its worker) may be using the
    // store and the views: this window waits for it to end.
    if ((id == IDC_DUP_RESCAN || id == IDC_DUP_DELETE) && MainWindowBusy()) {
        MessageBeep(MB_ICONWARNING);
        return;
    }
    switch (id) {
    case IDC_DUP_RESCAN:
        Search();
        break;
    case IDC_DUP_DELETE:
        DeleteChecked();
        break;
    case IDCANCEL:
        Close();
        break;
    default:
        break;
    }
}

void Dlg_Duplicates::OnItemChanged(const NMLISTVIEW* change)
{
    if (filling_ || (change->uChanged & LVIF_STATE) == 0 || change->iItem < 0)
        return;
    const bool was = (change->uOldState & LVIS_STATEIMAGEMASK) == INDEXTOSTATEIMAGEMASK(2);
    const bool now = (change->uNewState & LVIS_STATEIMAGEMASK) == INDEXTOSTATEIMAGEMASK(2);
    if (was == now)
        return;
    checked_ = now ? checked_ + 1 : (checked_ > 0 ? checked_ - 1 : 0);
    ShowState();
}

void Dlg_Duplicates::Search()
{
    HCURSOR previous = SetCursor(LoadCursor(nullptr, IDC_WAIT));
    // The stamp first: a write after it shows as a change, never the other
    // way round.
    searched_ = StampOf(store_->StorePath());
    if (searched_.path.empty())
        store_->ClearSnapshot();
    else
        store_->ReloadSnapshot();
    outOfDate_ = false;
    AddRows(FindDuplicateGroups(store_->Snapshot()));
    SetCursor(previous);
    ShowState();
}

void Dlg_Duplicates::AddRows(const std::vector<DuplicateGroup>& groups)
{
    filling_ = true;
    SendMessageA(list_, WM_SETREDRAW, FALSE, 0);
    ListView_DeleteAllItems(list_);
    rows_.clear();
    checked_ = 0;
    groups_ = groups.size();
    const std::vector<FolderRecord>& store = store_->Snapshot();
    for (size_t g = 0; g < groups.size(); ++g) {
        const DuplicateGroup& group = groups[g];
        const size_t kept = KeptMember(group, store);
        char label[32];
        snprintf(label, sizeof label, "%zu %s", g + 1, group.tier == AddressTier::Same ? "同一" : "類似");
        for (size_t m = 0; m < group.members.size(); ++m) {
            const DuplicateMember& at = group.members[m];
            const FolderRecord& folder = store[static_cast<size_t>(at.folder)];
            const NoteRecord& note = folder.notes[static_cast<size_t>(at.note)];
            const EntryRecord& entry = note.entries[static_cast<size_t>(at.entry)];
            const int row = static_cast<int>(rows_.size());
            const bool tick = m != kept;
            LVITEMA item = {};
            item.mask = LVIF_TEXT;
            item.iItem = row;
            item.pszText = label;
            if (ListView_InsertItem(list_, &item) != row)
                continue;
            // A new row of a check-box list comes unticked whatever it asks.
            ListView_SetCheckState(list_, row, tick ? TRUE : FALSE);
            const char* cells[] = {folder.name, note.name, entry.title, entry.list, entry.date, entry.access, entry.count};
            for (int c = 0; c < static_cast<int>(sizeof cells / sizeof cells[0]); ++c)
                SetCell(list_, row, c + 1, cells[c]);
            rows_.push_back(Row{at, entry.list.c_str()});
            checked_ += tick ? 1 : 0;
        }
    }
    SendMessageA(list_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list_, nullptr, TRUE);
    filling_ = false;
}

void Dlg_Duplicates::ShowState()
{
    char text[200];
    if (outOfDate_)
        snprintf(text, sizeof text, "最新ではありません。ファイルが変更されました。再検索を押してください。");
    else if (groups_ == 0)
        snprintf(text, sizeof text, "重複は見つかりませんでした。");
    else
        snprintf(text, sizeof text, "%zu グループ、%zu 件。チェックした %zu 件を削除できます。", groups_, rows_.size(),
                 checked_);
    SetDlgItemTextA(dialog_, IDC_DUP_STATE, text);
    EnableWindow(GetDlgItem(dialog_, IDC_DUP_DELETE), !outOfDate_ && checked_ > 0);
}

bool Dlg_Duplicates::CheckOutOfDate()
{
    if (dialog_ == nullptr || store_ == nullptr)
        return false;
    const bool stale = !(StampOf(store_->StorePath()) == searched_);
    if (stale != outOfDate_) {
        outOfDate_ = stale;
        ShowState();
    }
    return outOfDate_;
}

void Dlg_Duplicates::DeleteChecked()
{
    // The rows name entries by position: after another write they may name
    // others.
    if (CheckOutOfDate())
        return;
    std::vector<EntryPick> picks;
    for (size_t i = 0; i < rows_.size(); ++i) {
        if (!ListView_GetCheckState(list_, static_cast<int>(i)))
            continue;
        char key[kEntryKeySize];
        const DuplicateMember& at = rows_[i].at;
        if (FormatEntryKey(at.folder, at.note, at.entry, key, sizeof key))
            picks.push_back(EntryPick{key, rows_[i].address});
    }
    if (picks.empty())
        return;
    char question[160];
    snprintf(question, sizeof question, "チェックした %zu 件のピンロールを削除しますか？", picks.size());
    if (MessageBoxA(dialog_, question, kCaption, MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    if (store_->DeleteCheckedEntries(picks, dialog_)) {
        views_->StoreReplaced(true);
    } else {
        MessageBoxA(dialog_, "削除できませんでした。ファイルが変更されていないか確かめて、もう一度検索します。", kCaption,
                    MB_OK | MB_ICONERROR);
    }
    Search();
}

void Dlg_Duplicates::ShowEntry(int row)
{
    if (row < 0 || static_cast<size_t>(row) >= rows_.size())
        return;
    if (CheckOutOfDate() || MainWindowBusy()) {
        MessageBeep(MB_ICONWARNING);
        return;
    }
    const DuplicateMember& at = rows_[static_cast<size_t>(row)].at;
    views_->ShowNote(at.folder, at.note);
    mainList_->ShowEntryRow(at.folder, at.note, at.entry);
}

void Dlg_Duplicates::Close()
{
    HWND dialog = dialog_;
    dialog_ = nullptr;
    list_ = nullptr;
    if (dialog != nullptr && IsWindow(dialog)) {
        KillTimer(dialog, kStaleTimer);
        DestroyWindow(dialog);
    }
}
