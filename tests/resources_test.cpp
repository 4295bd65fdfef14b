#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "resources/resource.h"

// The test program links linkcairn.rc itself, so every resource is loaded
// from this module exactly as the program loads it from its exe.

namespace {

template <typename H, auto Free>
class Owned {
public:
    explicit Owned(H h) : h_(h) {}
    ~Owned() { if (h_) Free(h_); }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;
    H get() const { return h_; }

private:
    H h_;
};

BOOL DeleteGdiObject(HGDIOBJ object) { return DeleteObject(object); }

using MenuHandle = Owned<HMENU, DestroyMenu>;
using AccelHandle = Owned<HACCEL, DestroyAcceleratorTable>;
using WindowHandle = Owned<HWND, DestroyWindow>;
using IconHandle = Owned<HICON, DestroyIcon>;
using BitmapHandle = Owned<HBITMAP, DeleteGdiObject>;

HINSTANCE Module() { return GetModuleHandleA(nullptr); }

// ---------------------------------------------------------------- menus

struct MenuItem {
    const char* text;   // nullptr: a separator
    UINT id;
};

struct Popup {
    const char* title;  // nullptr: a placeholder, not compared
    std::vector<MenuItem> items;
};

std::string ItemText(HMENU menu, int position)
{
    char text[256] = "";
    GetMenuStringA(menu, position, text, sizeof text, MF_BYPOSITION);
    return text;
}

void ExpectMenu(UINT resource, const std::vector<Popup>& popups)
{
    MenuHandle menu(LoadMenuA(Module(), MAKEINTRESOURCEA(resource)));
    ASSERT_NE(menu.get(), nullptr);
    ASSERT_EQ(GetMenuItemCount(menu.get()), static_cast<int>(popups.size()));
    for (size_t p = 0; p < popups.size(); ++p) {
        SCOPED_TRACE("popup " + std::to_string(p));
        if (popups[p].title) {
            EXPECT_EQ(ItemText(menu.get(), static_cast<int>(p)), popups[p].title);
        }
        HMENU popup = GetSubMenu(menu.get(), static_cast<int>(p));
        ASSERT_NE(popup, nullptr);
        const auto& items = popups[p].items;
        ASSERT_EQ(GetMenuItemCount(popup), static_cast<int>(items.size()));
        for (size_t i = 0; i < items.size(); ++i) {
            SCOPED_TRACE("item " + std::to_string(i));
            MENUITEMINFOA info = {};
            info.cbSize = sizeof info;
            info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STATE | MIIM_SUBMENU;
            ASSERT_TRUE(GetMenuItemInfoA(popup, static_cast<UINT>(i), TRUE, &info));
            EXPECT_EQ(info.hSubMenu, nullptr);
            if (!items[i].text) {
                EXPECT_TRUE(info.fType & MFT_SEPARATOR);
                continue;
            }
            EXPECT_FALSE(info.fType & MFT_SEPARATOR);
            EXPECT_EQ(info.wID, items[i].id);
            EXPECT_EQ(info.fState & (MFS_GRAYED | MFS_CHECKED), 0u);
            EXPECT_EQ(ItemText(popup, static_cast<int>(i)), items[i].text);
        }
    }
}

TEST(Resources, MainMenuHasEveryItemWithItsKeyLabelAndCommand)
{
    // "表示" ends in the byte 0x5C in code page 932: it must survive intact.
    ExpectMenu(IDM_MAIN, {
        {"ファイル(&F)", {{"開く(&O)\tCtrl+O", 40009}, {"インポート(&I)...", 40101},
                          {"エクスポート(&E)...", 40102}, {nullptr, 0},
                          {"新規ﾉｰﾄ(&L)", 40052}, {"新規フォルダ(&W)", 40011}, {nullptr, 0},
                          {"新規ピンロール(&N)\tCtrl+N", 40053}, {nullptr, 0},
                          {"隠す(&H)\tCtrl+X", 40013}}},
        {"編集(&E)", {{"削除(&D)\tDEL", 40019}, {"編集(&T)\tCtrl+T", 40020}, {nullptr, 0},
                      {"全て選択(&A)\tCtrl+A", 40021}, {"アドレスをコピー(&C)\tCtrl+C", 40022},
                      {"貼り付け(&P)\tCtrl+V", 40300}, {nullptr, 0}, {"検索(&F)\tCtrl+F", 40023},
                      {"重複の検索(&D)...", 40200}, {nullptr, 0}, {"リンクの一括確認(&K)...", 40401}}},
        {"表示(&V)", {{"更新を確認(&U)\tCtrl+U", 40026}, {nullptr, 0},
                      {"最新の情報に更新(&R)\tF5", 40027}}},
        {"ヘルプ(&H)", {{"ﾊﾞｰｼﾞｮﾝ情報(&A)", 40029}}},
    });
}

TEST(Resources, ContextMenusAreTreeListAndTrayInThatOrder)
{
    ExpectMenu(IDM_CONTEXT, {
        {nullptr, {{"削除(&D)", 40019}, {nullptr, 0}, {"編集(&T)", 40020}, {nullptr, 0},
                   {"新規ノート(&L)", 40052}, {"新規フォルダ(&W)", 40011}, {nullptr, 0},
                   {"新規ピンロール(&N)", 40053}, {nullptr, 0}, {"リンクの一括確認(&K)...", 40402}}},
        {nullptr, {{"削除(&D)", 40019}, {nullptr, 0}, {"編集(&T)", 40020}, {nullptr, 0},
                   {"新規ピンロール(&N)", 40053}, {nullptr, 0},
                   {"アドレスをコピー(&C)", 40022}, {"ブラウザで開く(&O)", 40047}, {nullptr, 0},
                   {"更新を確認(&U)", 40026}, {"プロパティ(&R)", 40055}, {nullptr, 0},
                   {"最新の情報に更新(&E)", 40027}}},
        {nullptr, {{"ｳｲﾝﾄﾞｳを表示(&O)", 40049}, {nullptr, 0}, {"linkcairnの終了(&X)", 40050}}},
    });
}

// ---------------------------------------------------------- accelerators

void ExpectAccelerators(UINT resource, const std::vector<ACCEL>& expected)
{
    AccelHandle table(LoadAcceleratorsA(Module(), MAKEINTRESOURCEA(resource)));
    ASSERT_NE(table.get(), nullptr);
    int count = CopyAcceleratorTableA(table.get(), nullptr, 0);
    ASSERT_EQ(count, static_cast<int>(expected.size()));
    std::vector<ACCEL> entries(count);
    CopyAcceleratorTableA(table.get(), entries.data(), count);
    for (int i = 0; i < count; ++i) {
        SCOPED_TRACE("entry " + std::to_string(i));
        // Only the key and modifier flags count; the end-of-table bit is
        // the loader's business.
        EXPECT_EQ(entries[i].fVirt & (FVIRTKEY | FSHIFT | FCONTROL | FALT), expected[i].fVirt);
        EXPECT_EQ(entries[i].key, expected[i].key);
        EXPECT_EQ(entries[i].cmd, expected[i].cmd);
    }
}

TEST(Resources, AcceleratorTablesListEveryKeyAsAVirtualKey)
{
    const BYTE V = FVIRTKEY, VC = FVIRTKEY | FCONTROL, VS = FVIRTKEY | FSHIFT;
    ExpectAccelerators(IDR_FRAME_ACCEL, {
        {V, VK_F3, 40051}, {VS, VK_F3, 40051}, {VC, 'X', 40013}, {VC, 'O', 40009},
        {VC, VK_F5, 40027}, {VC, 'F', 40023}, {VC, 'C', 40022}, {VC, 'A', 40021},
        {V, VK_DELETE, 40019}, {VC, 'T', 40020}, {VC, 'N', 40053}, {VC, 'U', 40026},
        {VC, 'V', 40300},
    });
    ExpectAccelerators(IDR_SEARCH_ACCEL, {{V, VK_F3, 40069}, {VS, VK_F3, 40069}});
}

// --------------------------------------------------------------- dialogs

struct Box { int x, y, cx, cy; };

struct ControlRow {
    int id;
    const char* cls;
    const char* text;   // nullptr: an icon static, which must show its icon
    DWORD type;         // the class's type bits: BS_, SS_ or CBS_ kind
    DWORD on;           // style bits that must be set (WS_BORDER may have
                        // become WS_EX_CLIENTEDGE)
    DWORD off;          // style bits that must be clear
    Box du;
    bool sizesItself;   // combo boxes, icons and etched lines: only the
                        // position is the template's
};

struct TemplateRow {
    int id;
    const char* caption;
    const char* face;
    int points;
    DWORD on, off;
    int cx, cy;
    std::vector<ControlRow> controls;
};

// Type bits of each control class; edits have none.
DWORD TypeMask(const std::string& cls)
{
    if (!lstrcmpiA(cls.c_str(), "Button"))
        return BS_TYPEMASK;
    if (!lstrcmpiA(cls.c_str(), "Static"))
        return SS_TYPEMASK;
    if (!lstrcmpiA(cls.c_str(), "ComboBox") || !lstrcmpiA(cls.c_str(), "ComboBoxEx32"))
        return 0x3;
    return 0;
}

INT_PTR CALLBACK PassiveDialogProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

// The dialog manager converts position and size each on its own, so the
// size is mapped as it stands, not as a right edge.
RECT DialogUnitsToPixels(HWND dialog, const Box& du)
{
    RECT r = {du.x, du.y, du.cx, du.cy};
    MapDialogRect(dialog, &r);
    return {r.left, r.top, r.left + r.right, r.top + r.bottom};
}

// The font block of a DIALOGEX template, read from the resource itself:
// Wine creates every dialog font with DEFAULT_CHARSET whatever the
// template says, Windows honours the template's character set.
struct TemplateFont {
    int points = 0;
    int charset = -1;
    std::string face;
};

const WORD* SkipSzOrOrd(const WORD* p)
{
    if (*p == 0xFFFF)
        return p + 2;
    while (*p++) {}
    return p;
}

TemplateFont ReadTemplateFont(int id)
{
    TemplateFont font;
    HRSRC found = FindResourceA(Module(), MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(5));
    if (!found)
        return font;
    auto base = static_cast<const BYTE*>(LockResource(LoadResource(Module(), found)));
    // DLGTEMPLATEEX: version, signature, help id, ex style, style, count,
    // x, y, cx, cy, then menu, class and title, then the font block.
    if (!base || reinterpret_cast<const WORD*>(base)[1] != 0xFFFF)
        return font;
    const WORD* p = reinterpret_cast<const WORD*>(base + 26);
    p = SkipSzOrOrd(SkipSzOrOrd(SkipSzOrOrd(p)));
    font.points = p[0];
    font.charset = reinterpret_cast<const BYTE*>(p + 2)[1];
    const wchar_t* face = reinterpret_cast<const wchar_t*>(p + 3);
    char narrow[64] = "";
    WideCharToMultiByte(CP_ACP, 0, face, -1, narrow, sizeof narrow, nullptr, nullptr);
    font.face = narrow;
    return font;
}

std::string WindowText(HWND window)
{
    char text[512] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

std::string ClassOf(HWND window)
{
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

void ExpectControl(HWND dialog, HWND control, const ControlRow& row)
{
    EXPECT_EQ(GetDlgCtrlID(control), row.id);
    std::string cls = ClassOf(control);
    EXPECT_EQ(lstrcmpiA(cls.c_str(), row.cls), 0) << cls;
    if (row.text) {
        EXPECT_EQ(WindowText(control), row.text);
    }
    if (row.type == SS_ICON && TypeMask(cls) == SS_TYPEMASK) {
        EXPECT_NE(SendMessageA(control, STM_GETICON, 0, 0), 0) << "the icon resource is found";
    }
    DWORD style = static_cast<DWORD>(GetWindowLongPtrA(control, GWL_STYLE));
    DWORD exStyle = static_cast<DWORD>(GetWindowLongPtrA(control, GWL_EXSTYLE));
    if ((row.on & WS_BORDER) && (exStyle & WS_EX_CLIENTEDGE))
        style |= WS_BORDER;
    EXPECT_EQ(style & TypeMask(cls), row.type);
    EXPECT_EQ(style & row.on, row.on) << std::hex << style;
    EXPECT_EQ(style & row.off, 0u) << std::hex << style;

    RECT want = DialogUnitsToPixels(dialog, row.du);
    RECT got;
    GetWindowRect(control, &got);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&got), 2);
    EXPECT_EQ(got.left, want.left);
    EXPECT_EQ(got.top, want.top);
    if (!row.sizesItself) {
        EXPECT_EQ(got.right, want.right);
        EXPECT_EQ(got.bottom, want.bottom);
    }
}

void ExpectDialog(const TemplateRow& row)
{
    TemplateFont font = ReadTemplateFont(row.id);
    EXPECT_EQ(font.face, row.face);
    EXPECT_EQ(font.points, row.points);
    EXPECT_EQ(font.charset, DEFAULT_CHARSET);

    WindowHandle dialog(CreateDialogParamA(Module(), MAKEINTRESOURCEA(row.id), nullptr,
                                           PassiveDialogProc, 0));
    ASSERT_NE(dialog.get(), nullptr) << GetLastError();
    EXPECT_EQ(WindowText(dialog.get()), row.caption);
    DWORD style = static_cast<DWORD>(GetWindowLongPtrA(dialog.get(), GWL_STYLE));
    EXPECT_EQ(style & row.on, row.on) << std::hex << style;
    EXPECT_EQ(style & row.off, 0u) << std::hex << style;
    RECT client, want = DialogUnitsToPixels(dialog.get(), {0, 0, row.cx, row.cy});
    GetClientRect(dialog.get(), &client);
    EXPECT_EQ(client.right, want.right);
    EXPECT_EQ(client.bottom, want.bottom);

    // Children in creation order, which is the template's (and tab) order.
    std::vector<HWND> children;
    for (HWND c = GetWindow(dialog.get(), GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        children.push_back(c);
    ASSERT_EQ(children.size(), row.controls.size());
    for (size_t i = 0; i < children.size(); ++i) {
        SCOPED_TRACE("control " + std::to_string(i) + " id " + std::to_string(row.controls[i].id));
        ExpectControl(dialog.get(), children[i], row.controls[i]);
    }
}

constexpr DWORD VIS = WS_VISIBLE;
constexpr DWORD BOX = WS_VISIBLE | WS_BORDER | WS_TABSTOP;   // a bordered edit
constexpr DWORD TAB = WS_VISIBLE | WS_TABSTOP;
constexpr DWORD DLG = DS_SETFONT | DS_CENTER | WS_POPUP | WS_CAPTION;

// Every template with every control, in template order.
const std::vector<TemplateRow>& Templates()
{
    static const std::vector<TemplateRow> rows = {
        {IDD_NEW_ENTRY, "新規ピンロール", "MS Shell Dlg", 8, DLG | WS_SYSMENU, WS_VISIBLE, 254, 138, {
            {-1, "Static", "タイトル：", SS_LEFT, VIS, 0, {6, 8, 29, 9}, false},
            {1001, "Edit", "", 0, BOX | ES_AUTOHSCROLL, ES_MULTILINE | ES_READONLY, {36, 7, 211, 12}, false},
            {1002, "Button", "自動的に取得する", BS_AUTOCHECKBOX, TAB, 0, {18, 24, 72, 10}, false},
            {-1, "Static", "アドレス：", SS_LEFT, VIS, 0, {5, 38, 29, 9}, false},
            {1003, "Edit", "", 0, BOX | ES_AUTOHSCROLL, ES_MULTILINE | ES_READONLY, {36, 36, 211, 12}, false},
            {-1, "Static", "コメント：", SS_LEFT, VIS, 0, {7, 55, 29, 9}, false},
            {1004, "Edit", "", 0, BOX | ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL, ES_READONLY, {36, 54, 211, 34}, false},
            {-1, "Static", "保存先：", SS_LEFT, VIS, 0, {7, 98, 29, 9}, false},
            {1007, "ComboBoxEx32", "", CBS_DROPDOWNLIST, TAB, 0, {36, 96, 211, 112}, true},
            {IDOK, "Button", "登録", BS_DEFPUSHBUTTON, TAB, 0, {7, 117, 49, 14}, false},
            {IDCANCEL, "Button", "キャンセル", BS_PUSHBUTTON, TAB, 0, {197, 117, 50, 14}, false},
        }},
        {IDD_PROPERTY, "プロパティ", "MS Shell Dlg", 8, DLG | WS_SYSMENU, WS_VISIBLE, 247, 239, {
            {-1, "Static", "タイトル：", SS_LEFT, VIS, 0, {8, 9, 27, 9}, false},
            {1001, "Edit", "", 0, BOX | ES_AUTOHSCROLL, ES_MULTILINE | ES_READONLY, {44, 7, 191, 12}, false},
            {-1, "Button", "文字ｺｰﾄﾞ", BS_GROUPBOX, VIS, 0, {36, 24, 204, 27}, false},
            {1009, "Button", "取得", BS_PUSHBUTTON, TAB, 0, {5, 34, 26, 13}, false},
            {1010, "ComboBox", "", CBS_DROPDOWNLIST, TAB, 0, {39, 34, 57, 47}, true},
            {1018, "Static", "", SS_LEFT, VIS, 0, {101, 33, 134, 16}, false},
            {-1, "Static", "アドレス：", SS_LEFT, VIS, 0, {7, 62, 37, 9}, false},
            {1003, "Edit", "", 0, BOX | ES_AUTOHSCROLL, ES_MULTILINE | ES_READONLY, {44, 60, 191, 12}, false},
            {-1, "Static", "コメント：", SS_LEFT, VIS, 0, {7, 78, 37, 10}, false},
            {1004, "Edit", "", 0, BOX | ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL, ES_READONLY, {44, 78, 191, 30}, false},
            {-1, "Static", "作成日時：", SS_LEFT, VIS, 0, {7, 120, 37, 11}, false},
            {1013, "Edit", "", 0, BOX | ES_READONLY, 0, {54, 120, 56, 15}, false},
            {-1, "Static", "最終日時：", SS_LEFT, VIS, 0, {7, 135, 37, 10}, false},
            {1014, "Edit", "", 0, BOX | ES_READONLY, 0, {54, 135, 56, 15}, false},
            {-1, "Static", "更新日時：", SS_LEFT, VIS, 0, {7, 150, 37, 11}, false},
            {1015, "Edit", "", 0, BOX | ES_READONLY, 0, {54, 150, 56, 12}, false},
            {-1, "Static", "接続回数：", SS_LEFT, VIS, 0, {7, 168, 37, 11}, false},
            {1016, "Edit", "", 0, BOX | ES_READONLY, 0, {54, 168, 56, 12}, false},
            {-1, "Static", "リンク：", SS_LEFT, VIS, 0, {7, 183, 26, 10}, false},
            {1017, "Edit", "", 0, BOX | ES_READONLY, 0, {54, 183, 56, 12}, false},
            {-1, "Static", "ID：", SS_LEFT, VIS, 0, {7, 198, 15, 10}, false},
            {1019, "Edit", "", 0, BOX | ES_READONLY, 0, {54, 198, 56, 12}, false},
            {IDOK, "Button", "OK", BS_DEFPUSHBUTTON, TAB, 0, {7, 218, 50, 14}, false},
            {IDCANCEL, "Button", "キャンセル", BS_PUSHBUTTON, TAB, 0, {190, 218, 50, 14}, false},
            {-1, "Static", "", SS_ETCHEDHORZ, VIS, 0, {7, 54, 233, 1}, true},
            {-1, "Static", "", SS_ETCHEDHORZ, VIS, 0, {7, 113, 233, 1}, true},
            {-1, "Static", "", SS_ETCHEDHORZ, VIS, 0, {7, 163, 233, 1}, true},
            {-1, "Static", "", SS_ETCHEDHORZ, VIS, 0, {7, 212, 233, 1}, true},
        }},
        {IDD_UPDATE_CHECK, "更新確認", "ＭＳ ゴシック", 9, DLG, WS_VISIBLE | WS_SYSMENU, 187, 65, {
            {1020, "Static", "", SS_LEFTNOWORDWRAP, VIS | SS_ENDELLIPSIS | SS_NOPREFIX, 0, {7, 19, 173, 17}, false},
            {IDOK, "Button", "OK", BS_DEFPUSHBUTTON, WS_TABSTOP, WS_VISIBLE, {7, 44, 50, 14}, false},
            {IDCANCEL, "Button", "キャンセル", BS_PUSHBUTTON, TAB, 0, {67, 44, 50, 14}, false},
        }},
        {IDD_SEARCH, "PinRoll - 検索", "MS Shell Dlg", 8, DLG | WS_SYSMENU | DS_MODALFRAME, WS_VISIBLE, 253, 103, {
            {-1, "Static", "検索する文字列", SS_LEFT, VIS, 0, {7, 7, 56, 11}, false},
            {1021, "Edit", "", 0, BOX | ES_AUTOHSCROLL, ES_MULTILINE, {7, 18, 149, 12}, false},
            {1025, "Button", "次を検索", BS_DEFPUSHBUTTON, TAB, 0, {162, 18, 84, 15}, false},
            {-1, "Static", "検索対象", SS_LEFT, VIS, 0, {7, 36, 36, 8}, false},
            {1022, "ComboBox", "", CBS_DROPDOWNLIST, TAB, 0, {7, 49, 149, 61}, true},
            {IDCANCEL, "Button", "閉じる", BS_PUSHBUTTON, TAB, 0, {162, 48, 84, 14}, false},
            {1023, "Button", "単語検索", BS_AUTOCHECKBOX, TAB, 0, {13, 72, 48, 10}, false},
            {1024, "Button", "大文字と小文字の区別", BS_AUTOCHECKBOX, TAB, 0, {13, 84, 92, 10}, false},
            {1026, "Button", "上へ検索(Shift + F3)", BS_AUTORADIOBUTTON, TAB | WS_GROUP, 0, {162, 72, 84, 10}, false},
            {1027, "Button", "下へ検索(F3)", BS_AUTORADIOBUTTON, VIS, WS_GROUP, {162, 84, 84, 10}, false},
            {IDOK, "Button", "OK", BS_PUSHBUTTON, WS_GROUP, WS_VISIBLE, {119, 84, 37, 12}, false},
        }},
        {IDD_ABOUT, "ﾊﾞｰｼﾞｮﾝ情報", "MS Shell Dlg", 8, DLG | WS_SYSMENU, WS_VISIBLE, 186, 66, {
            {IDOK, "Button", "OK", BS_DEFPUSHBUTTON, TAB, 0, {145, 9, 34, 13}, false},
            {IDCANCEL, "Button", "キャンセル", BS_PUSHBUTTON, WS_TABSTOP, WS_VISIBLE, {149, 22, 30, 6}, false},
            {-1, "Static", "リンクケアン\tVersion 1.70\nLinkCairn", SS_LEFT, VIS, 0, {34, 9, 107, 17}, false},
            {-1, "Static", nullptr, SS_ICON, VIS, 0, {7, 7, 20, 20}, true},
            {-1, "Static", "", SS_LEFT, VIS, 0, {7, 31, 172, 16}, false},
            {-1, "Static", "URL:", SS_LEFT, VIS, 0, {23, 34, 17, 10}, false},
            {1028, "Static", "", SS_LEFT, VIS | SS_NOTIFY | SS_NOPREFIX, 0, {46, 35, 114, 11}, false},
        }},
    };
    return rows;
}

TEST(Resources, DialogTemplatesCreateEveryControlWhereTheLayoutPutsIt)
{
    INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_USEREX_CLASSES | ICC_STANDARD_CLASSES};
    ASSERT_TRUE(InitCommonControlsEx(&classes));
    for (const auto& row : Templates()) {
        SCOPED_TRACE("dialog " + std::to_string(row.id));
        ExpectDialog(row);
    }
}

// --------------------------------------------------------------- artwork

bool IsStandardColour(COLORREF c)
{
    static const COLORREF vga[] = {
        RGB(0, 0, 0), RGB(128, 0, 0), RGB(0, 128, 0), RGB(128, 128, 0),
        RGB(0, 0, 128), RGB(128, 0, 128), RGB(0, 128, 128), RGB(192, 192, 192),
        RGB(128, 128, 128), RGB(255, 0, 0), RGB(0, 255, 0), RGB(255, 255, 0),
        RGB(0, 0, 255), RGB(255, 0, 255), RGB(0, 255, 255), RGB(255, 255, 255)};
    for (COLORREF v : vga)
        if (v == c)
            return true;
    return false;
}

// Colour pixels of a bitmap as COLORREFs, top row first.
std::vector<COLORREF> Pixels(HBITMAP bitmap, int width, int height)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    std::vector<DWORD> bgra(width * height);
    HDC dc = GetDC(nullptr);
    int rows = GetDIBits(dc, bitmap, 0, height, bgra.data(), &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, dc);
    std::vector<COLORREF> out;
    if (rows != height)
        return out;
    for (DWORD p : bgra)
        out.push_back(RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF));
    return out;
}

// Mask bits of an icon: true where the picture is transparent.
std::vector<bool> Transparent(const ICONINFO& info, int width, int height)
{
    std::vector<bool> out;
    for (COLORREF c : Pixels(info.hbmMask, width, height))
        out.push_back(c != 0);
    return out;
}

struct IconInfo {
    ICONINFO info = {};
    ~IconInfo()
    {
        if (info.hbmColor) DeleteObject(info.hbmColor);
        if (info.hbmMask) DeleteObject(info.hbmMask);
    }
};

TEST(Resources, IconsComeInBothSizesWithTransparentCornersAndStandardColours)
{
    const int ids[] = {IDI_LINKCAIRN, IDI_NOTE_CLOSED, IDI_FOLDER_OPEN, IDI_FOLDER_CLOSED, IDI_NOTE_OPEN};
    for (int id : ids) {
        for (int size : {16, 32}) {
            SCOPED_TRACE("icon " + std::to_string(id) + " at " + std::to_string(size));
            IconHandle icon(static_cast<HICON>(
                LoadImageA(Module(), MAKEINTRESOURCEA(id), IMAGE_ICON, size, size, 0)));
            ASSERT_NE(icon.get(), nullptr);
            IconInfo ii;
            ASSERT_TRUE(GetIconInfo(icon.get(), &ii.info));
            BITMAP bm = {};
            GetObjectA(ii.info.hbmColor, sizeof bm, &bm);
            EXPECT_EQ(bm.bmWidth, size);
            EXPECT_EQ(bm.bmHeight, size);
            auto clear = Transparent(ii.info, size, size);
            auto colour = Pixels(ii.info.hbmColor, size, size);
            ASSERT_EQ(clear.size(), static_cast<size_t>(size * size));
            ASSERT_EQ(colour.size(), clear.size());
            EXPECT_TRUE(clear.front() && clear.back()) << "corners show the background";
            size_t opaque = 0, odd = 0;
            for (size_t i = 0; i < clear.size(); ++i) {
                if (clear[i])
                    continue;
                ++opaque;
                odd += !IsStandardColour(colour[i]);
            }
            EXPECT_GT(opaque, clear.size() / 3) << "a picture, not a speck";
            // The tree and the destination combo keep these in 16-colour
            // image lists; the program's own icon may shade freely.
            if (id != IDI_LINKCAIRN) {
                EXPECT_EQ(odd, 0u);
            }
        }
    }
}

TEST(Resources, DragCursorHotSpotIsTheArrowTip)
{
    HCURSOR cursor = static_cast<HCURSOR>(
        LoadImageA(Module(), MAKEINTRESOURCEA(IDC_DRAG_CURSOR), IMAGE_CURSOR, 32, 32, 0));
    ASSERT_NE(cursor, nullptr);
    IconInfo ii;
    ASSERT_TRUE(GetIconInfo(cursor, &ii.info));
    DestroyCursor(cursor);
    EXPECT_FALSE(ii.info.fIcon);
    EXPECT_EQ(ii.info.xHotspot, 16u);
    EXPECT_EQ(ii.info.yHotspot, 8u);
    auto clear = Transparent(ii.info, 32, 32);
    ASSERT_EQ(clear.size(), 32u * 32u);
    EXPECT_FALSE(clear[8 * 32 + 16]) << "the hot spot is on the drawing";
    EXPECT_TRUE(clear[7 * 32 + 16] && clear[8 * 32 + 15]) << "and nothing lies above or left of it";
}

TEST(Resources, ToolbarStripIsTwoSixteenColourImagesOnTheButtonFaceGrey)
{
    BitmapHandle strip(static_cast<HBITMAP>(LoadImageA(
        Module(), MAKEINTRESOURCEA(IDB_TOOLBAR), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    ASSERT_NE(strip.get(), nullptr);
    DIBSECTION dib = {};
    ASSERT_EQ(GetObjectA(strip.get(), sizeof dib, &dib), static_cast<int>(sizeof dib));
    EXPECT_EQ(dib.dsBm.bmWidth, 32);
    EXPECT_EQ(dib.dsBm.bmHeight, 15);
    EXPECT_EQ(dib.dsBmih.biBitCount, 4);

    // Toolbars map this grey to the button face; every other pixel is the
    // picture. The second image (the new-entry button) differs from the
    // first.
    auto px = Pixels(strip.get(), 32, 15);
    ASSERT_EQ(px.size(), 32u * 15u);
    const COLORREF face = RGB(192, 192, 192);
    size_t drawn[2] = {0, 0}, differing = 0;
    for (int y = 0; y < 15; ++y)
        for (int x = 0; x < 16; ++x) {
            COLORREF a = px[y * 32 + x], b = px[y * 32 + 16 + x];
            drawn[0] += a != face;
            drawn[1] += b != face;
            differing += a != b;
        }
    EXPECT_EQ(px[0], face);
    EXPECT_EQ(px[16], face);
    EXPECT_GT(drawn[0], 40u);
    EXPECT_GT(drawn[1], 40u);
    EXPECT_GT(differing, 20u);

    BitmapHandle loaded(LoadBitmapA(Module(), MAKEINTRESOURCEA(IDB_TOOLBAR)));
    EXPECT_NE(loaded.get(), nullptr) << "the toolbar loads it with LoadBitmap";
}

}  // namespace
