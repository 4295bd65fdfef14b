// Pages handed in from outside: dropped through the views' own drop targets
// with an in-process data object, pasted with Ctrl+V, and handed over from
// one real copy of the program to another.
#include <gtest/gtest.h>

#include "resources/resource.h"
#include "support/data_object.h"
#include "support/dialog_watcher.h"
#include "support/frame_fixture.h"
#include "support/frame_harness.h"
#include "support/modal_driver.h"
#include "ui/message_loop.h"

namespace {

const char kShortcut[] = "[InternetShortcut]\r\nURL=https://example.com/shortcut\r\n";

struct Shown {
    std::string address, title;
    bool autoFetch;
    int destinationRow;   // 0 本, 1 読む (the shown note), 2 後で, 3 空
};

class LinkCapture : public FrameTest {
protected:
    void SetUp() override
    {
        StartWithStore({Folder(0, "本", {Note(0, "読む", SampleEntries(2, "e")), Note(1, "後で")}), Folder(1, "空")});
        Show();
        Select(0, 0);
    }
    HTREEITEM Item(int folder, int note) const { return Child().tree.FindItemAtPosition(TreePosition{folder, note}); }
    // What the new-entry dialog showed once action opened it; 登録 when
    // the title is given, else キャンセル.
    Shown OpenedDialog(const std::function<void()>& action, bool file = false)
    {
        Shown shown = {};
        EXPECT_TRUE(DriveModal(action, "新規ピンロール", [&](HWND d) {
            ASSERT_NE(d, nullptr);
            shown = {ItemText(d, IDC_ADDRESS), ItemText(d, IDC_TITLE), IsDlgButtonChecked(d, IDC_AUTO_FETCH) != 0,
                     static_cast<int>(SendDlgItemMessageA(d, IDC_DESTINATION, CB_GETCURSEL, 0, 0))};
            PressButton(d, file ? IDOK : IDCANCEL);
        }));
        return shown;
    }
};

POINTL OnScreen(HWND window, RECT rect)
{
    POINT p = {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    ClientToScreen(window, &p);
    return {p.x, p.y};
}

}  // namespace

TEST_F(LinkCapture, DropsOfEachFormatOntoTheListANoteAFolderAndNothing)
{
    TempFolder files;
    ASSERT_TRUE(WriteWholeFile(files.File("Saved page.url"), kShortcut));
    enum Where { kList, kNote, kFolder, kNowhere };
    const std::wstring a = L"https://example.com/\x3042";
    struct Case {
        std::vector<std::pair<CLIPFORMAT, std::string>> formats;
        Where where;
        const char* address;   // nullptr: refused
        const char* title;     // "": fetched
    } cases[] = {
        {{{Format(L"UniformResourceLocatorW"), Wide(a)}, {Format(L"FileGroupDescriptorW"), Descriptor(L"リンクの文字.url")},
          {Format(L"FileContents"), kShortcut}, {CF_UNICODETEXT, Wide(a)}},
         kList, "https://example.com/%E3%81%82", "リンクの文字"},
        {{{Format(L"UniformResourceLocator"), std::string("http://example.com/n\0", 21)}}, kNote, "http://example.com/n", ""},
        {{{Format(L"FileGroupDescriptorW"), Descriptor(L"記事.url")}, {Format(L"FileContents"), kShortcut}}, kList,
         "https://example.com/shortcut", "記事"},
        {{{Format(L"text/x-moz-url"), Wide(L"https://example.com/m\nページの題")}}, kNote, "https://example.com/m",
         "ページの題"},
        {{{CF_HDROP, DroppedFiles(files.File("Saved page.url"))}}, kNote, "https://example.com/shortcut", "Saved page"},
        {{{CF_UNICODETEXT, Wide(L" https://example.com/w\r\n")}}, kList, "https://example.com/w", ""},
        {{{CF_TEXT, "ftp://files.example.com/t"}}, kNote, "ftp://files.example.com/t", ""},
        {{{CF_UNICODETEXT, Wide(L"see https://example.com/")}, {CF_TEXT, "see"}}, kList, nullptr, ""},
        {{{CF_TEXT, "http://example.com/f"}}, kFolder, nullptr, ""},
        {{{CF_TEXT, "http://example.com/f"}}, kNowhere, nullptr, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "case " << (&c - cases));
        FakeData data;
        for (const auto& f : c.formats)
            data.Add(f.first, f.second);
        // A dialog that closed gave the frame the focus, which folds the first folder.
        TreeView_Expand(Tree(), Item(0, -1), TVE_EXPAND);
        RECT rect;
        GetClientRect(c.where == kList ? List() : Tree(), &rect);
        if (c.where == kNowhere)
            rect.top = rect.bottom - 2;
        else if (c.where != kList)
            TreeView_GetItemRect(Tree(), c.where == kNote ? Item(0, 1) : Item(1, -1), &rect, TRUE);
        const POINTL at = OnScreen(c.where == kList ? List() : Tree(), rect);
        LinkDropTarget* target = c.where == kList ? Child().ListDropTarget() : Child().TreeDropTarget();
        DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;
        target->DragEnter(&data, MK_LBUTTON, at, &effect);
        DWORD over = DROPEFFECT_MOVE | DROPEFFECT_LINK;
        target->DragOver(MK_LBUTTON, at, &over);
        EXPECT_EQ(TreeView_GetDropHilight(Tree()) == Item(0, 1), c.where == kNote && c.address) << "the target shows";
        if (c.address == nullptr) {
            EXPECT_EQ(effect | over, static_cast<DWORD>(DROPEFFECT_NONE));
            target->DragLeave();
            continue;
        }
        EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_COPY)) << "a copy, never a move";
        EXPECT_EQ(over, static_cast<DWORD>(DROPEFFECT_LINK));
        target->Drop(&data, 0, at, &effect);
        EXPECT_NE(TreeView_GetDropHilight(Tree()), Item(0, 1)) << "the highlight leaves the target";
        const bool file = &c == cases;
        Shown shown = OpenedDialog([] { PumpMessages(300); }, file);
        EXPECT_EQ(shown.address, c.address);
        EXPECT_EQ(shown.title, c.title);
        EXPECT_EQ(shown.autoFetch, c.title[0] == '\0');
        EXPECT_EQ(shown.destinationRow, c.where == kList ? 1 : 2);
        if (file) {
            PumpMessages(100);
            EXPECT_EQ(Column(0), (std::vector<std::string>{"e0", "e1", "リンクの文字"})) << "filed in the shown note";
        }
    }
}

namespace {

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
    ASSERT_TRUE(Child().list.PutOnClipboard("  http://example.com/pasted\r\n"));
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
    ASSERT_TRUE(Child().list.PutOnClipboard("no address here"));
    SendMessageA(Frame(), WM_INITMENU, reinterpret_cast<WPARAM>(menu), 0);
    EXPECT_NE(GetMenuState(menu, ID_PASTE_LINK, MF_BYCOMMAND) & MF_GRAYED, 0u);
    PressCtrlV(List(), Frame());
    EXPECT_FALSE(commands.Saw(ID_PASTE_LINK)) << "neither from the editor nor without an address";
}

namespace {

struct Copy {
    PROCESS_INFORMATION pi = {};
    Copy(const std::string& exe, const std::string& argument)
    {
        STARTUPINFOA si = {};
        si.cb = sizeof si;
        std::string cmd = "\"" + exe + "\" " + argument;
        EXPECT_TRUE(CreateProcessA(exe.c_str(), &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
    }
    ~Copy()
    {
        // A failed check must not leave a copy holding the one-instance mutex.
        if (WaitForSingleObject(pi.hProcess, 0) == WAIT_TIMEOUT)
            TerminateProcess(pi.hProcess, 1);
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
    }
    bool Ends() const { return WaitForSingleObject(pi.hProcess, 15000) == WAIT_OBJECT_0; }
    // The first top-level window of this copy with the class or caption.
    HWND Window(const char* cls, const char* caption) const
    {
        HWND found = nullptr;
        WaitUntil([&] {
            DWORD pid = 0;
            found = FindWindowA(cls, caption);
            GetWindowThreadProcessId(found, &pid);
            return found != nullptr && pid == pi.dwProcessId && (cls != nullptr || IsWindowVisible(found));
        });
        return found;
    }
};

}  // namespace

TEST(HandOver, AddressGoesToTheRunningCopyOrOpensAfterStartUp)
{
    TempFolder folder;
    std::string exe = folder.File("linkcairn.exe");
    ASSERT_TRUE(CopyFileA(BesideTestProgram("..\\linkcairn.exe").c_str(), exe.c_str(), FALSE));
    for (bool running : {true, false}) {
        SCOPED_TRACE(running ? "running" : "not running");
        Copy first(exe, running ? "" : "https://example.com/first");
        HWND frame = first.Window("linkcairn_class", nullptr);
        if (running) {
            EXPECT_FALSE(IsWindowVisible(frame)) << "hidden after start-up";
            Copy second(exe, "https://example.com/handed");
            MessageBoxAnswerer boxes({IDOK}, second.pi.dwProcessId);
            EXPECT_TRUE(second.Ends()) << "it ends at once";
            EXPECT_EQ(boxes.Count(), 0u);
        }
        HWND dialog = first.Window(nullptr, "新規ピンロール");
        ASSERT_NE(dialog, nullptr);
        char text[1100] = {};
        SendDlgItemMessageA(dialog, IDC_ADDRESS, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
        EXPECT_STREQ(text, running ? "https://example.com/handed" : "https://example.com/first");
        EXPECT_TRUE(IsWindowVisible(frame));
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        if (running) {
            Copy third(exe, "not-an-address");
            MessageBoxAnswerer boxes({IDOK}, third.pi.dwProcessId);
            EXPECT_TRUE(third.Ends());
            ASSERT_EQ(boxes.Count(), 1u) << "an argument that is no address is ignored";
            EXPECT_EQ(boxes.Seen()[0].text, "すでに起動されています。\n二重起動は出来ません。");
        }
        WaitUntil([&] { return IsWindowEnabled(frame) != FALSE; });
        PostMessageA(frame, WM_COMMAND, ID_EXIT, 0);
        EXPECT_TRUE(first.Ends());
    }
}
