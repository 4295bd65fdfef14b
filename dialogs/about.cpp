#include "dialogs/about.h"

#include "resources/resource.h"
#include "ui/browser.h"

const char kMakerPageAddress[] = "https://linkcairn.example/";

Dlg_Ver::Dlg_Ver(HINSTANCE instance, int templateId, HWND owner) : instance_(instance)
{
    result_ = DialogBoxParamA(instance, MAKEINTRESOURCEA(templateId), owner, DialogProcValue,
                              reinterpret_cast<LPARAM>(this));
}

BOOL Dlg_Ver::HandleMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    switch (msg) {
    case WM_INITDIALOG:
        OnInitDialog(hwnd);
        *result = TRUE;
        return TRUE;
    case WM_SETCURSOR:
        if (!OnSetCursor(reinterpret_cast<HWND>(wParam)))
            return FALSE;
        *result = TRUE;
        return TRUE;
    case WM_CTLCOLORSTATIC:
        if (reinterpret_cast<HWND>(lParam) != link_)
            return FALSE;
        *result = LinkColours(reinterpret_cast<HDC>(wParam));
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDC_MAKER_LINK && hover_) {
            // A press on the link: the release decides.
            SetCapture(hwnd);
            pressed_ = true;
        } else if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            EndDialog(hwnd, LOWORD(wParam));
        }
        return TRUE;
    case WM_MOUSEMOVE:
        if (pressed_)
            SetHover(OnLink(lParam, false));
        return TRUE;
    case WM_LBUTTONUP:
        OnButtonUp(lParam);
        return TRUE;
    case WM_CAPTURECHANGED:
        // Taken away (another window, a switch): the press is over.
        pressed_ = false;
        return TRUE;
    case WM_CLOSE:
        EndDialog(hwnd, IDOK);
        return TRUE;
    default:
        return FALSE;
    }
}

void Dlg_Ver::OnInitDialog(HWND dialog)
{
    dialog_ = dialog;
    link_ = GetDlgItem(dialog, IDC_MAKER_LINK);
    LOGFONTA description;
    ZeroMemory(&description, sizeof description);
    description.lfHeight = 12;
    description.lfCharSet = SHIFTJIS_CHARSET;
    plainFont_.Reset(CreateFontIndirectA(&description));
    SendMessageA(link_, WM_SETFONT, reinterpret_cast<WPARAM>(plainFont_.Get()), FALSE);
    // The underlined twin of the font the link holds.
    LOGFONTA held;
    HFONT linkFont = reinterpret_cast<HFONT>(SendMessageA(link_, WM_GETFONT, 0, 0));
    if (linkFont == nullptr || GetObjectA(linkFont, sizeof held, &held) != sizeof held)
        held = description;
    held.lfUnderline = TRUE;
    underlinedFont_.Reset(CreateFontIndirectA(&held));
    SetWindowTextA(link_, kMakerPageAddress);
}

bool Dlg_Ver::OnSetCursor(HWND under)
{
    SetHover(under == link_);
    if (under != link_)
        return false;
    SetCursor(LoadCursorA(nullptr, IDC_HAND));
    return true;
}

void Dlg_Ver::SetHover(bool hover)
{
    if (hover == hover_)
        return;
    hover_ = hover;
    // The control draws with the font it holds, whatever the colour
    // message selected: it gets the one that matches.
    HFONT font = hover_ ? underlinedFont_.Get() : plainFont_.Get();
    SendMessageA(link_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    InvalidateRect(link_, nullptr, TRUE);
}

LRESULT Dlg_Ver::LinkColours(HDC dc) const
{
    SelectObject(dc, hover_ ? underlinedFont_.Get() : plainFont_.Get());
    SetTextColor(dc, hover_ ? RGB(255, 0, 0) : RGB(0, 0, 100));
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
}

bool Dlg_Ver::OnLink(LPARAM dialogPoint, bool strict) const
{
    POINT pt = {static_cast<short>(LOWORD(dialogPoint)), static_cast<short>(HIWORD(dialogPoint))};
    MapWindowPoints(dialog_, link_, &pt, 1);
    RECT r;
    GetClientRect(link_, &r);
    if (strict)
        return pt.x > r.left && pt.x < r.right && pt.y > r.top && pt.y < r.bottom;
    return pt.x >= r.left && pt.x <= r.right && pt.y >= r.top && pt.y <= r.bottom;
}

void Dlg_Ver::OnButtonUp(LPARAM dialogPoint)
{
    if (!pressed_)
        return;
    pressed_ = false;
    ReleaseCapture();
    if (OnLink(dialogPoint, true))
        OpenInDefaultBrowser(kMakerPageAddress);
}
