// Pages handed in from outside: dropped through the views' own drop targets
// with an in-process data object, pasted with Ctrl+V, and handed over from
// one real copy of the program to another.
#include <gtest/gtest.h>

#include <windows.h>

#include "resources/resource.h"
#include "support/data_object.h"
#include "support/dialog_watcher.h"
#include "support/frame_fixture.h"
#include "support/frame_harness.h"
#include "support/modal_driver.h"
#include "ui/link_drop.h"
#include "ui/message_loop.h"

namespace {

const char kShortcut[] = "[InternetShortcut]\r\nURL=https://example.com/shortcut\r\n";

POINTL CenterOf(HWND window, const RECT& rect)
{
    POINT p = {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    ClientToScreen(window, &p);
    return {p.x, p.y};
}

class LinkCapture : public FrameTest {
protected:
    void SetUp() override
    {
        StartWithStore({Folder(0, "本", {Note(0, "読む", SampleEntries(2, "e")), Note(1, "後で")}), Folder(1, "空")});
        Show();
        Select(0, 0);
    }
    HTREEITEM Item(int folder, int note) const { return Child().tree.FindItemAtPosition(TreePosition{folder, note}); }
    POINTL ItemPoint(int folder, int note) const
    {
        RECT rect;
        TreeView_GetItemRect(Tree(), Item(folder, note), &rect, TRUE);
        return CenterOf(Tree(), rect);
    }
    // What the new-entry dialog showed after script's action; it is cancelled
    // unless registering.
    struct Shown {
        std::string address, title;
        bool autoFetch = false;
        int destinationRow = -1;
    };
    Shown OpenedDialog(const std::function<void()>& action, const char* registerTitle = nullptr)
    {
        Shown shown;
        EXPECT_TRUE(DriveModal(action, "新規ピンロール", [&](HWND d) {
            ASSERT_NE(d, nullptr);
            shown = {ItemText(d, IDC_ADDRESS), ItemText(d, IDC_TITLE),
                     IsDlgButtonChecked(d, IDC_AUTO_FETCH) == BST_CHECKED,
                     static_cast<int>(SendDlgItemMessageA(d, IDC_DESTINATION, CB_GETCURSEL, 0, 0))};
            PressButton(d, registerTitle != nullptr ? IDOK : IDCANCEL);
        }));
        return shown;
    }
};

}  // namespace

TEST_F(LinkCapture, DropsOntoTheListANoteAndAFolder)
{
    TempFolder files;
    const std::string saved = files.File("Saved page.url");
    ASSERT_TRUE(WriteWholeFile(saved, kShortcut));
    // Destination rows: 0 本, 1 読む (the shown note), 2 後で, 3 空.
    enum Where { kList, kNote, kFolder, kNowhere };
    struct Case {
        const char* what;
        std::vector<std::pair<const wchar_t*, std::string>> named;
        std::vector<std::pair<CLIPFORMAT, std::string>> plain;
        Where where;
        const char* address;   // nullptr: refused
        const char* title;     // "": fetched
    } cases[] = {
        {"a browser's link", {{L"UniformResourceLocatorW", Wide(L"https://example.com/\x3042")},
                              {L"FileGroupDescriptorW", Descriptor(L"リンクの文字.url")},
                              {L"FileContents", kShortcut}},
         {{CF_UNICODETEXT, Wide(L"https://example.com/\x3042")}}, kList, "https://example.com/%E3%81%82", "リンクの文字"},
        {"a narrow locator", {{L"UniformResourceLocator", std::string("http://example.com/n\0", 21)}}, {}, kNote,
         "http://example.com/n", ""},
        {"a .url's contents", {{L"FileGroupDescriptorW", Descriptor(L"記事.url")}, {L"FileContents", kShortcut}}, {},
         kList, "https://example.com/shortcut", "記事"},
        {"a .url file", {}, {{CF_HDROP, DroppedFiles(saved)}}, kNote, "https://example.com/shortcut", "Saved page"},
        {"wide text", {}, {{CF_UNICODETEXT, Wide(L" https://example.com/w\r\n")}}, kList, "https://example.com/w", ""},
        {"narrow text", {}, {{CF_TEXT, "ftp://files.example.com/t"}}, kNote, "ftp://files.example.com/t", ""},
        {"a sentence", {}, {{CF_UNICODETEXT, Wide(L"see https://example.com/")}, {CF_TEXT, "see"}}, kList, nullptr,
         ""},
        {"onto a folder", {}, {{CF_TEXT, "http://example.com/f"}}, kFolder, nullptr, ""},
        {"onto nothing", {}, {{CF_TEXT, "http://example.com/f"}}, kNowhere, nullptr, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FakeData data;
        for (const auto& f : c.named)
            data.Add(f.first, f.second);
        for (const auto& f : c.plain)
            data.Add(f.first, f.second);
        LinkDropTarget* target = c.where == kList ? Child().ListDropTarget() : Child().TreeDropTarget();
        ASSERT_NE(target, nullptr);
        // A dialog that closed gave the frame the focus, which folds the first folder.
        TreeView_Expand(Tree(), Item(0, -1), TVE_EXPAND);
        RECT list;
        RECT tree;
        GetClientRect(List(), &list);
        GetClientRect(Tree(), &tree);
        const POINTL points[] = {CenterOf(List(), list), ItemPoint(0, 1), ItemPoint(1, -1),
                                 CenterOf(Tree(), {0, tree.bottom - 4, 4, tree.bottom})};
        const POINTL at = points[c.where];
        DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;
        target->DragEnter(&data, MK_LBUTTON, at, &effect);
        DWORD over = DROPEFFECT_MOVE | DROPEFFECT_LINK;
        target->DragOver(MK_LBUTTON, at, &over);
        if (c.where == kNote) {
            EXPECT_EQ(TreeView_GetDropHilight(Tree()), Item(0, 1)) << "the note is shown as the target";
        }
        if (c.address == nullptr) {
            EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
            target->DragLeave();
            continue;
        }
        EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_COPY)) << "a copy, never a move";
        EXPECT_EQ(over, static_cast<DWORD>(DROPEFFECT_LINK));
        effect = DROPEFFECT_COPY;
        target->Drop(&data, 0, at, &effect);
        EXPECT_NE(TreeView_GetDropHilight(Tree()), Item(0, 1)) << "the highlight leaves the target";
        Shown shown = OpenedDialog([] { PumpMessages(200); });
        EXPECT_EQ(shown.address, c.address);
        EXPECT_EQ(shown.title, c.title);
        EXPECT_EQ(shown.autoFetch, c.title[0] == '\0');
        EXPECT_EQ(shown.destinationRow, c.where == kList ? 1 : 2);
    }
}

TEST_F(LinkCapture, DroppedLinkIsFiledInTheShownNote)
{
    FakeData data;
    data.Add(L"UniformResourceLocatorW", Wide(L"https://example.com/filed"));
    data.Add(L"FileGroupDescriptorW", Descriptor(L"届いたページ.url"));
    RECT rect;
    GetClientRect(List(), &rect);
    DWORD effect = DROPEFFECT_COPY;
    Child().ListDropTarget()->DragEnter(&data, MK_LBUTTON, CenterOf(List(), rect), &effect);
    Child().ListDropTarget()->Drop(&data, 0, CenterOf(List(), rect), &effect);
    OpenedDialog([] { PumpMessages(500); }, "届いたページ");
    PumpMessages(100);
    ASSERT_EQ(RowCount(), 3);
    EXPECT_EQ(RowText(2, 0), "届いたページ");
    EXPECT_EQ(RowText(2, 1), "https://example.com/filed");
}

namespace {

void PutOnClipboard(const std::wstring& text)
{
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
    memcpy(GlobalLock(memory), text.c_str(), (text.size() + 1) * sizeof(wchar_t));
    GlobalUnlock(memory);
    SetClipboardData(CF_UNICODETEXT, memory);
    CloseClipboard();
}

// Ctrl+V as the program's loop routes it.
void PressCtrlV(HWND window, HWND frame)
{
    HACCEL accel = LoadAcceleratorsA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_FRAME_ACCEL));
    HeldKeys ctrl({VK_CONTROL});
    MSG msg = {window, WM_KEYDOWN, 'V', 0x002F0001, 0, {0, 0}};
    do {
        if (!RouteMessage(&msg, frame, accel, nullptr)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    } while (PeekMessageA(&msg, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE));
}

}  // namespace

TEST_F(LinkCapture, CtrlVPastesAnAddressOnlyWhereNoEditorTakesIt)
{
    HMENU menu = GetMenu(Frame());
    SetFocus(List());
    PutOnClipboard(L"  http://example.com/pasted\r\n");
    SendMessageA(Frame(), WM_INITMENU, reinterpret_cast<WPARAM>(menu), 0);
    EXPECT_EQ(GetMenuState(menu, ID_PASTE_LINK, MF_BYCOMMAND) & MF_GRAYED, 0u);
    Shown shown = OpenedDialog([&] { PressCtrlV(List(), Frame()); });
    EXPECT_EQ(shown.address, "http://example.com/pasted");
    EXPECT_TRUE(shown.autoFetch);
    EXPECT_EQ(shown.destinationRow, 1);

    CommandRecorder commands;
    HWND editor = ListView_EditLabel(List(), 0);
    ASSERT_NE(editor, nullptr);
    SetWindowTextA(editor, "");
    PressCtrlV(editor, Frame());
    EXPECT_EQ(WindowText(editor), "  http://example.com/pasted") << "the editor's own paste";
    SendMessageA(editor, WM_KEYDOWN, VK_ESCAPE, 0);
    PumpMessages(20);

    SetFocus(List());
    PutOnClipboard(L"no address here");
    SendMessageA(Frame(), WM_INITMENU, reinterpret_cast<WPARAM>(menu), 0);
    EXPECT_NE(GetMenuState(menu, ID_PASTE_LINK, MF_BYCOMMAND) & MF_GRAYED, 0u);
    PressCtrlV(List(), Frame());
    EXPECT_FALSE(commands.Saw(ID_PASTE_LINK)) << "neither from the editor nor without an address";
    EXPECT_EQ(FindOwnDialog("新規ピンロール"), nullptr);
}

namespace {

struct Copy {
    PROCESS_INFORMATION pi = {};
    ~Copy()
    {
        if (pi.hProcess != nullptr) {
            CloseHandle(pi.hThread);
            CloseHandle(pi.hProcess);
        }
    }
};

bool StartCopy(const std::string& exe, const std::string& argument, Copy* copy)
{
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    std::string cmd = "\"" + exe + "\" " + argument;
    return CreateProcessA(exe.c_str(), &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &copy->pi) != 0;
}

// The new-entry dialog of another process, and the text of its address box.
std::string AddressInDialogOf(DWORD process, HWND* dialog)
{
    struct Search {
        DWORD process;
        HWND found;
    } search = {process, nullptr};
    WaitUntil([&] {
        EnumWindows(
            [](HWND w, LPARAM p) {
                auto* s = reinterpret_cast<Search*>(p);
                DWORD pid = 0;
                GetWindowThreadProcessId(w, &pid);
                if (pid == s->process && IsWindowVisible(w) && WindowText(w) == "新規ピンロール")
                    s->found = w;
                return s->found == nullptr ? TRUE : FALSE;
            },
            reinterpret_cast<LPARAM>(&search));
        return search.found != nullptr;
    });
    *dialog = search.found;
    char text[1100] = {};
    if (search.found != nullptr)
        SendDlgItemMessageA(search.found, IDC_ADDRESS, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    return text;
}

HWND FrameOf(DWORD process)
{
    HWND frame = nullptr;
    WaitUntil([&] {
        frame = FindWindowA("linkcairn_class", nullptr);
        DWORD pid = 0;
        GetWindowThreadProcessId(frame, &pid);
        return frame != nullptr && pid == process;
    });
    return frame;
}

}  // namespace

TEST(HandOver, AddressGoesToTheRunningCopyOrOpensAfterStartUp)
{
    TempFolder folder;
    std::string exe = folder.File("linkcairn.exe");
    ASSERT_TRUE(CopyFileA(BesideTestProgram("..\\linkcairn.exe").c_str(), exe.c_str(), FALSE));
    for (bool running : {true, false}) {
        SCOPED_TRACE(running ? "running" : "not running");
        Copy first;
        ASSERT_TRUE(StartCopy(exe, running ? "" : "https://example.com/first", &first));
        HWND frame = FrameOf(first.pi.dwProcessId);
        ASSERT_NE(frame, nullptr);
        if (running) {
            EXPECT_FALSE(IsWindowVisible(frame));
            Copy second;
            ASSERT_TRUE(StartCopy(exe, "https://example.com/handed", &second));
            MessageBoxAnswerer boxes({IDOK}, second.pi.dwProcessId);
            EXPECT_EQ(WaitForSingleObject(second.pi.hProcess, 15000), WAIT_OBJECT_0) << "it ends at once";
            EXPECT_EQ(boxes.Count(), 0u);
        }
        HWND dialog = nullptr;
        EXPECT_EQ(AddressInDialogOf(first.pi.dwProcessId, &dialog),
                  running ? "https://example.com/handed" : "https://example.com/first");
        EXPECT_TRUE(IsWindowVisible(frame));
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        if (running) {
            Copy third;
            ASSERT_TRUE(StartCopy(exe, "not-an-address", &third));
            MessageBoxAnswerer boxes({IDOK}, third.pi.dwProcessId);
            EXPECT_EQ(WaitForSingleObject(third.pi.hProcess, 15000), WAIT_OBJECT_0);
            ASSERT_EQ(boxes.Count(), 1u) << "an argument that is no address is ignored";
            EXPECT_EQ(boxes.Seen()[0].text, "すでに起動されています。\n二重起動は出来ません。");
        }
        WaitUntil([&] { return IsWindowEnabled(frame) != FALSE; });
        PostMessageA(frame, WM_COMMAND, ID_EXIT, 0);
        EXPECT_EQ(WaitForSingleObject(first.pi.hProcess, 15000), WAIT_OBJECT_0);
    }
}
