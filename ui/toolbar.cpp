#include "ui/toolbar.h"

#include <commctrl.h>

#include "app/ini_settings.h"
#include "app/pane_layout.h"
#include "app/path_text.h"
#include "resources/resource.h"

namespace {

void InitBarClasses()
{
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);
}

void AddTooltip(HWND tooltip, HWND toolbar, int command, const char* text)
{
    TOOLINFOA ti;
    ZeroMemory(&ti, sizeof ti);
    ti.cbSize = sizeof ti;
    ti.uFlags = TTF_SUBCLASS;
    ti.hwnd = toolbar;
    ti.uId = command;
    ti.lpszText = const_cast<char*>(text);
    SendMessageA(tooltip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
}

}  // namespace

bool CToolBarWnd::Create(HINSTANCE instance, HWND parent)
{
    hInst = instance;
    InitBarClasses();
    hwnd = CreateToolbarEx(parent, WS_CHILD | WS_VISIBLE | TBSTYLE_LIST, 0, 0, nullptr, 0,
                           nullptr, 0, 0, 0, 0, 0, sizeof(TBBUTTON));
    if (hwnd == nullptr)
        return false;
    SendMessageA(hwnd, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SetWindowLongPtrA(hwnd, GWL_STYLE, GetWindowLongPtrA(hwnd, GWL_STYLE) | TBSTYLE_FLAT);

    TBADDBITMAP standard = {HINST_COMMCTRL, IDB_STD_SMALL_COLOR};
    int a = static_cast<int>(SendMessageA(hwnd, TB_ADDBITMAP, 0, reinterpret_cast<LPARAM>(&standard)));
    // Silver in the strip becomes the button face: the face colour differs
    // between systems, so no fixed background colour could match it.
    strip_.Reset(static_cast<HBITMAP>(LoadImageA(instance, MAKEINTRESOURCEA(IDB_TOOLBAR),
                                                 IMAGE_BITMAP, 0, 0, LR_LOADMAP3DCOLORS)));
    TBADDBITMAP own = {nullptr, reinterpret_cast<UINT_PTR>(strip_.Get())};
    int b = static_cast<int>(SendMessageA(hwnd, TB_ADDBITMAP, 2, reinterpret_cast<LPARAM>(&own)));

    TBBUTTON buttons[4];
    ZeroMemory(buttons, sizeof buttons);
    buttons[0].fsStyle = BTNS_SEP;
    buttons[0].fsState = TBSTATE_ENABLED;
    buttons[1].iBitmap = a + STD_FILEOPEN;
    buttons[1].idCommand = ID_OPEN_STORE;
    buttons[1].fsState = TBSTATE_ENABLED;
    buttons[1].fsStyle = BTNS_BUTTON;
    buttons[2].iBitmap = b + 1;
    buttons[2].idCommand = ID_NEW_ENTRY;
    buttons[2].fsState = TBSTATE_ENABLED;
    buttons[2].fsStyle = BTNS_BUTTON;
    buttons[3].fsStyle = BTNS_SEP;
    buttons[3].fsState = TBSTATE_ENABLED;
    SendMessageA(hwnd, TB_ADDBUTTONSA, 4, reinterpret_cast<LPARAM>(buttons));

    HWND tooltip = CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, TTS_ALWAYSTIP, CW_USEDEFAULT,
                                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd, nullptr,
                                   instance, nullptr);
    if (tooltip != nullptr) {
        AddTooltip(tooltip, hwnd, ID_OPEN_STORE, "ﾌｧｲﾙを開く");
        AddTooltip(tooltip, hwnd, ID_NEW_ENTRY, "新規ﾋﾟﾝﾛｰﾙ");
        SendMessageA(hwnd, TB_SETTOOLTIPS, reinterpret_cast<WPARAM>(tooltip), 0);
    }
    EnableButton(FALSE, ID_NEW_ENTRY);
    return true;
}

void CToolBarWnd::EnableButton(BOOL enable, int command)
{
    const int buttons[] = {ID_OPEN_STORE, ID_NEW_ENTRY};
    for (int id : buttons) {
        if ((id & command) == id)
            SendMessageA(hwnd, TB_ENABLEBUTTON, id, MAKELPARAM(LOWORD(enable), 0));
    }
}

bool CStatusBarWnd::Create(HINSTANCE instance, HWND parent)
{
    InitBarClasses();
    hwnd = CreateWindowExA(0, STATUSCLASSNAMEA, nullptr,
                           WS_CHILD | WS_VISIBLE | CCS_BOTTOM | SBARS_SIZEGRIP, 0, 0, 0, 0,
                           parent, reinterpret_cast<HMENU>(IDC_STATUS_BAR), instance, nullptr);
    if (hwnd == nullptr)
        return false;
    SetParts(parent);
    return true;
}

void CStatusBarWnd::SetParts(HWND parent)
{
    RECT rc;
    GetClientRect(parent, &rc);
    int edges[4];
    ComputeStatusParts(rc.right - rc.left, edges);
    SendMessageA(hwnd, SB_SETPARTS, 4, reinterpret_cast<LPARAM>(edges));
}

void CStatusBarWnd::SetText(int part, const char* text)
{
    SendMessageA(hwnd, SB_SETTEXTA, part, reinterpret_cast<LPARAM>(text));
}

void CStatusBarWnd::ShowStoreFile(const CINI& settings)
{
    SetText(3, FileNamePart(settings.CurXml()));
    char size[128];
    CINI::FormatFileSize(settings.GetStoreFileSize(), size);
    SetText(2, size);
}
