#include "ui/search_dialog.h"

#include "resources/resource.h"
#include "ui/tree_ctrl.h"

namespace {

const char* const kTargetNames[] = {"タイトル", "アドレス", "コメント", "作成日時", "最終日時", "更新日時"};

bool Checked(HWND button)
{
    return SendMessageA(button, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

// Shift as it was when the key that led here was pressed.
bool ShiftHeld()
{
    return GetKeyState(VK_SHIFT) < 0;
}

}  // namespace

Dlg_ItemSearch::~Dlg_ItemSearch()
{
    if (dialog_ != nullptr && IsWindow(dialog_))
        DestroyWindow(dialog_);
}

bool Dlg_ItemSearch::Start(HINSTANCE instance, int templateId, HWND owner, CListCtrl* list,
                           CTreeCtrl* tree, CmyXml* store, CINI* settings)
{
    instance_ = instance;
    owner_ = owner;
    list_ = list;
    tree_ = tree;
    store_ = store;
    settings_ = settings;
    ZeroMemory(&request_, sizeof request_);
    dialog_ = CreateDialogParamA(instance, MAKEINTRESOURCEA(templateId), owner, DialogProcValue,
                                 reinterpret_cast<LPARAM>(this));
    return dialog_ != nullptr;
}

BOOL Dlg_ItemSearch::HandleMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM, LRESULT* result)
{
    switch (msg) {
    case WM_INITDIALOG:
        OnInitDialog(hwnd);
        *result = TRUE;
        return TRUE;
    case WM_COMMAND:
        OnCommand(LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    default:
        return FALSE;
    }
}

void Dlg_ItemSearch::OnInitDialog(HWND dialog)
{
    text_ = GetDlgItem(dialog, IDC_SEARCH_TEXT);
    target_ = GetDlgItem(dialog, IDC_SEARCH_TARGET);
    wholeField_ = GetDlgItem(dialog, IDC_WHOLE_FIELD);
    matchCase_ = GetDlgItem(dialog, IDC_MATCH_CASE);
    up_ = GetDlgItem(dialog, IDC_SEARCH_UP);
    down_ = GetDlgItem(dialog, IDC_SEARCH_DOWN);
    findNext_ = GetDlgItem(dialog, IDC_FIND_NEXT);
    for (const char* name : kTargetNames)
        SendMessageA(target_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
    SendMessageA(target_, CB_SETCURSEL, 0, 0);
    SendMessageA(down_, BM_SETCHECK, BST_CHECKED, 0);
    SendMessageA(text_, EM_LIMITTEXT, kSearchTextSize, 0);
    EnableWindow(findNext_, FALSE);
    dialog_ = dialog;
    ShowWindow(dialog, SW_SHOW);
}

void Dlg_ItemSearch::OnCommand(WORD id, WORD code)
{
    char text[kTitleSize];
    switch (id) {
    case IDC_SEARCH_TEXT:
        if (code == EN_UPDATE) {
            GetWindowTextA(text_, text, sizeof text);
            EnableWindow(findNext_, text[0] != '\0');
        }
        break;
    case IDC_FIND_NEXT:
        if (CollectRequest() && tree_ != nullptr)
            tree_->FindNext(request_);
        break;
    case ID_SEARCH_HAND_OFF:
        // Posted, so that the key has left the dialog manager before the
        // dialog goes.
        GetWindowTextA(text_, text, sizeof text);
        if (text[0] != '\0')
            PostMessageA(dialog_, WM_COMMAND, MAKEWPARAM(IDCANCEL, kHandOffCode), 0);
        break;
    case IDCANCEL:
        if (code == kHandOffCode)
            HandOffSearch();
        Close();
        break;
    default:
        break;
    }
}

bool Dlg_ItemSearch::CollectRequest()
{
    GetWindowTextA(text_, request_.text, sizeof request_.text);
    if (request_.text[0] == '\0')
        return false;
    LRESULT target = SendMessageA(target_, CB_GETCURSEL, 0, 0);
    request_.target = target == CB_ERR ? kSearchTitle : static_cast<int>(target);
    request_.wholeField = Checked(wholeField_) ? 1 : 0;
    request_.matchCase = Checked(matchCase_) ? 1 : 0;
    if (Checked(up_))
        request_.downward = 0;
    else if (Checked(down_))
        request_.downward = 1;
    request_.dialog = dialog_;
    return true;
}

void Dlg_ItemSearch::HandOffSearch()
{
    if (!CollectRequest())
        return;
    request_.downward = ShiftHeld() ? 0 : 1;
    // From now on the main window searches: its end message is its own.
    request_.dialog = nullptr;
    SendMessageA(owner_, WM_COMMAND, MAKEWPARAM(ID_SEARCH_AGAIN, kHandOffCode),
                 reinterpret_cast<LPARAM>(&request_));
}

void Dlg_ItemSearch::Close()
{
    HWND dialog = dialog_;
    dialog_ = nullptr;
    if (dialog != nullptr)
        DestroyWindow(dialog);
}
