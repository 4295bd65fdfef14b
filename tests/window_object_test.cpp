#include <gtest/gtest.h>

#include <vector>

#include "app/window_object.h"

namespace {

class Recorder : public WindowObject {
public:
    std::vector<UINT> seen;
    LRESULT answer = 0;
    UINT answerFor = 0;

    BOOL HandleMessage(HWND, UINT msg, WPARAM, LPARAM, LRESULT* result) override
    {
        seen.push_back(msg);
        if (msg == answerFor) {
            *result = answer;
            return TRUE;
        }
        return msg == WM_INITDIALOG;
    }
    bool Saw(UINT msg) const
    {
        for (UINT m : seen) {
            if (m == msg)
                return true;
        }
        return false;
    }
};

// An empty dialog template built in memory: no resource needed.
struct EmptyDialog {
    alignas(4) WORD words[32] = {};
    EmptyDialog()
    {
        auto* t = reinterpret_cast<DLGTEMPLATE*>(words);
        t->style = WS_POPUP | WS_CAPTION;
        t->cx = 100;
        t->cy = 50;
    }
    const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(words); }
};

LRESULT ColourAnswer(DLGPROC proc, LRESULT brush)
{
    Recorder obj;
    obj.answerFor = WM_CTLCOLORSTATIC;
    obj.answer = brush;
    EmptyDialog tmpl;
    HWND dlg = CreateDialogIndirectParamA(GetModuleHandleA(nullptr), tmpl.Get(), nullptr, proc,
                                          reinterpret_cast<LPARAM>(&obj));
    EXPECT_NE(dlg, nullptr);
    LRESULT r = SendMessageA(dlg, WM_CTLCOLORSTATIC, 0, 0);
    DestroyWindow(dlg);
    EXPECT_FALSE(obj.Saw(WM_DESTROY)) << "dialogs never pass WM_DESTROY on";
    return r;
}

}  // namespace

TEST(Framework, WindowObjectGetsItsMessagesAndWmDestroy)
{
    HINSTANCE inst = GetModuleHandleA(nullptr);
    ASSERT_TRUE(RegisterObjectClass(inst, "FrameworkTestClass", nullptr, nullptr, nullptr, nullptr));
    ASSERT_TRUE(RegisterObjectClass(inst, "FrameworkTestClass", nullptr, nullptr, nullptr, nullptr))
        << "registering twice is fine";
    Recorder obj;
    obj.answerFor = WM_USER + 7;
    obj.answer = 1234;
    HWND w = CreateWindowExA(0, "FrameworkTestClass", "", WS_POPUP, 0, 0, 10, 10, nullptr,
                             nullptr, inst, &obj);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(GetWindowLongPtrA(w, GWLP_USERDATA), reinterpret_cast<LONG_PTR>(&obj));
    EXPECT_EQ(SendMessageA(w, WM_USER + 7, 0, 0), 1234);
    EXPECT_TRUE(obj.Saw(WM_CREATE));
    DestroyWindow(w);
    EXPECT_TRUE(obj.Saw(WM_DESTROY));
    EXPECT_FALSE(obj.Saw(WM_NCDESTROY)) << "nothing after WM_DESTROY reaches the object";
}

TEST(Framework, ColourBrushReachesTheSystemOnlyThroughDialogProcValue)
{
    HBRUSH brush = GetSysColorBrush(COLOR_WINDOW);
    EXPECT_EQ(ColourAnswer(DialogProcValue, reinterpret_cast<LRESULT>(brush)),
              reinterpret_cast<LRESULT>(brush));
    EXPECT_EQ(ColourAnswer(DialogProcBool, reinterpret_cast<LRESULT>(brush)), TRUE);
}

TEST(Framework, DialogObjectLivesInDwlpUser)
{
    Recorder obj;
    EmptyDialog tmpl;
    HWND dlg = CreateDialogIndirectParamA(GetModuleHandleA(nullptr), tmpl.Get(), nullptr,
                                          DialogProcValue, reinterpret_cast<LPARAM>(&obj));
    ASSERT_NE(dlg, nullptr);
    EXPECT_EQ(GetWindowLongPtrA(dlg, DWLP_USER), reinterpret_cast<LONG_PTR>(&obj));
    EXPECT_TRUE(obj.Saw(WM_INITDIALOG));
    DestroyWindow(dlg);
}
