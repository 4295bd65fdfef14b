// The about box's link, driven with real mouse input while the box runs.
#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "dialogs/about.h"
#include "resources/resource.h"
#include "support/dialog_watcher.h"
#include "support/mouse_input.h"
#include "ui/browser.h"

namespace {

std::atomic<int> openedCount{0};
std::string openedAddress;

void RecordOpen(const char* address)
{
    openedAddress = address;
    ++openedCount;
}

bool Underlined(HWND link)
{
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(link, WM_GETFONT, 0, 0));
    LOGFONTA description = {};
    return font != nullptr && GetObjectA(font, sizeof description, &description) == sizeof description &&
           description.lfUnderline != 0;
}

class AboutBox : public ::testing::Test {
protected:
    void SetUp() override
    {
        openedCount = 0;
        openedAddress.clear();
        SetBrowserLauncher(RecordOpen);
    }
    void TearDown() override { SetBrowserLauncher(nullptr); }
};

// What the hand saw while the box ran; checked on the test's thread.
struct Script {
    std::mutex mutex;
    std::vector<std::string> failures;
    std::set<HFONT> fonts;
    int openedAfterOutside = -1;
    void Fail(const std::string& what)
    {
        std::lock_guard<std::mutex> lock(mutex);
        failures.push_back(what);
    }
};

// Runs on the watcher's thread against the box of thread ui.
void Drive(HWND box, DWORD ui, Script* script)
{
    HWND link = GetDlgItem(box, IDC_MAKER_LINK);
    RECT r;
    GetClientRect(link, &r);
    const POINT on = CentreOnScreen(link, r);
    const POINT off = OnScreen(link, POINT{r.left - 30, (r.top + r.bottom) / 2});
    auto expect = [&](bool held, const std::string& what) {
        if (!held)
            script->Fail(what);
    };
    auto noteFont = [&] {
        std::lock_guard<std::mutex> lock(script->mutex);
        script->fonts.insert(reinterpret_cast<HFONT>(SendMessageA(link, WM_GETFONT, 0, 0)));
    };

    MoveMouse(off);
    MoveMouse(on);
    expect(WaitUntil([&] { return Underlined(link); }), "the link is underlined under the mouse");
    noteFont();
    PressLeft();
    expect(WaitUntil([&] { return CaptureOf(ui) == box; }), "a press on the link takes the mouse");
    MoveMouse(off);
    expect(WaitUntil([&] { return !Underlined(link); }), "moving away while held restores the link");
    noteFont();
    MoveMouse(on);
    expect(WaitUntil([&] { return Underlined(link); }), "moving back underlines it again");
    MoveMouse(off);
    expect(WaitUntil([&] { return !Underlined(link); }), "and away again");
    ReleaseLeft();
    expect(WaitUntil([&] { return CaptureOf(ui) == nullptr; }), "the release frees the mouse");
    script->openedAfterOutside = openedCount;

    MoveMouse(on);
    expect(WaitUntil([&] { return Underlined(link); }), "hover again");
    noteFont();
    PressLeft();
    expect(WaitUntil([&] { return CaptureOf(ui) == box; }), "second press");
    ReleaseLeft();
    expect(WaitUntil([&] { return openedCount > 0 && CaptureOf(ui) == nullptr; }),
           "a release on the link opens the page");

    // Esc reaches the hidden キャンセル button.
    PostMessageA(box, WM_KEYDOWN, VK_ESCAPE, 0);
    if (!WaitUntil([&] { return !IsWindow(box); })) {
        script->Fail("Esc closes the box");
        PostMessageA(box, WM_COMMAND, IDOK, 0);
    }
}

}  // namespace

TEST_F(AboutBox, LinkOpensOnlyWhenTheClickEndsOnItAndEscCloses)
{
    Script script;
    const DWORD ui = GetCurrentThreadId();
    INT_PTR result = 0;
    {
        DialogWatcher watcher([&](HWND box) {
            if (WindowText(box) != "ﾊﾞｰｼﾞｮﾝ情報")
                return false;
            Drive(box, ui, &script);
            return true;
        });
        Dlg_Ver about(GetModuleHandleA(nullptr), IDD_ABOUT, nullptr);
        result = about.Result();
    }
    for (const std::string& failure : script.failures)
        ADD_FAILURE() << failure;
    EXPECT_EQ(script.openedAfterOutside, 0) << "a release off the link opens nothing";
    EXPECT_EQ(openedCount, 1);
    EXPECT_EQ(openedAddress, kMakerPageAddress);
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(script.fonts.size(), 2u) << "one plain and one underlined font, made once";
}
