// The about box's link, driven with real mouse input while the box runs.
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "dialogs/about.h"
#include "resources/resource.h"
#include "support/dialog_watcher.h"
#include "support/frame_fixture.h"
#include "support/mouse_input.h"
#include "ui/browser.h"

namespace {

std::atomic<int> opened{0};
std::string openedAddress;

void RecordOpen(const char* address)
{
    openedAddress = address;
    ++opened;
}

HFONT FontOf(HWND window)
{
    return reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0));
}

bool Underlined(HWND link)
{
    LOGFONTA description = {};
    return GetObjectA(FontOf(link), sizeof description, &description) == sizeof description &&
           description.lfUnderline != 0;
}

// The hand on the mouse, on the watcher's thread while the box runs on the
// test's thread ui; returns what did not happen as it should.
std::vector<std::string> Drive(HWND box, DWORD ui, std::set<HFONT>* fonts, int* openedByOutside)
{
    std::vector<std::string> failures;
    auto expect = [&](const std::function<bool()>& condition, const char* what) {
        if (!WaitUntil(condition))
            failures.push_back(what);
    };
    auto moveTo = [&](POINT point, const std::function<bool()>& condition, const char* what) {
        if (!MoveMouseUntil(point, condition))
            failures.push_back(what);
    };
    HWND link = GetDlgItem(box, IDC_MAKER_LINK);
    RECT r;
    GetClientRect(link, &r);
    const POINT on = CentreOnScreen(link, r);
    const POINT off = OnScreen(link, POINT{r.left - 30, (r.top + r.bottom) / 2});
    auto hovered = [&] { return Underlined(link); };
    auto plain = [&] { return !Underlined(link); };

    MoveMouse(off);
    moveTo(on, hovered, "the link is underlined under the mouse");
    fonts->insert(FontOf(link));
    PressLeft(on);
    expect([&] { return CaptureOf(ui) == box; }, "a press on the link takes the mouse");
    moveTo(off, plain, "moving away while held turns the link back");
    fonts->insert(FontOf(link));
    moveTo(on, hovered, "moving back underlines it again");
    moveTo(off, plain, "and away again");
    ReleaseLeft(off);
    expect([&] { return CaptureOf(ui) == nullptr; }, "the release frees the mouse");
    *openedByOutside = opened;

    moveTo(on, hovered, "hovered again");
    fonts->insert(FontOf(link));
    PressLeft(on);
    expect([&] { return CaptureOf(ui) == box; }, "second press");
    ReleaseLeft(on);
    expect([&] { return opened > 0 && CaptureOf(ui) == nullptr; }, "a release on the link opens the page");

    // Esc reaches the hidden キャンセル button.
    PostMessageA(box, WM_KEYDOWN, VK_ESCAPE, 0);
    expect([&] { return !IsWindow(box); }, "Esc closes the box");
    if (IsWindow(box))
        PostMessageA(box, WM_COMMAND, IDOK, 0);
    return failures;
}

}  // namespace

TEST(AboutBox, LinkOpensOnlyWhenTheClickEndsOnItAndEscCloses)
{
    opened = 0;
    SetBrowserLauncher(RecordOpen);
    std::vector<std::string> failures;
    std::set<HFONT> fonts;
    int openedByOutside = -1;
    INT_PTR result = 0;
    {
        const DWORD ui = GetCurrentThreadId();
        DialogWatcher watcher([&](HWND box) {
            if (WindowText(box) != "ﾊﾞｰｼﾞｮﾝ情報")
                return false;
            failures = Drive(box, ui, &fonts, &openedByOutside);
            return true;
        });
        Dlg_Ver about(GetModuleHandleA(nullptr), IDD_ABOUT, nullptr);
        result = about.Result();
    }
    SetBrowserLauncher(nullptr);
    for (const std::string& failure : failures)
        ADD_FAILURE() << failure;
    EXPECT_EQ(openedByOutside, 0) << "a release off the link opens nothing";
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(openedAddress, kMakerPageAddress);
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(fonts.size(), 2u) << "one plain and one underlined font, made once";
}

class AboutCommand : public FrameTest {};

TEST_F(AboutCommand, TheHostRunsTheAboutBoxOwnedByTheFrame)
{
    Start();
    std::atomic<HWND> owner{nullptr};
    DialogWatcher watcher([&](HWND box) {
        if (WindowText(box) != "ﾊﾞｰｼﾞｮﾝ情報")
            return false;
        owner = GetWindow(box, GW_OWNER);
        PressButton(box, IDOK);
        return true;
    });
    SendMessageA(TreeHost(), WM_COMMAND, ID_ABOUT, 0);
    EXPECT_EQ(owner.load(), Frame());
}
