// The dialogs' worker: a wait on the dialog's thread that serves the
// worker's sent messages and nothing else.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <thread>

#include "dialogs/worker_thread.h"

namespace {

// A message-only window of the test's thread that counts what reaches it.
class Receiver {
public:
    Receiver()
    {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = Proc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "WorkerThreadTestReceiver";
        RegisterClassA(&wc);
        hwnd = CreateWindowExA(0, wc.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~Receiver() { DestroyWindow(hwnd); }

    HWND hwnd;
    int sent = 0;
    int posted = 0;
    int timers = 0;
    WorkerThread* nested = nullptr;

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
    {
        auto* self = reinterpret_cast<Receiver*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
        if (self == nullptr)
            return DefWindowProcA(hwnd, msg, wParam, lParam);
        switch (msg) {
        case WM_APP:
            ++self->sent;
            if (self->nested != nullptr)
                self->nested->Wait();   // a handler that waits as well
            return self->sent;
        case WM_APP + 1:
            ++self->posted;
            return 0;
        case WM_TIMER:
            ++self->timers;
            return 0;
        default:
            return DefWindowProcA(hwnd, msg, wParam, lParam);
        }
    }
};

}  // namespace

TEST(WorkerThread, WaitServesSentMessagesOnlyAndNestedWaitsEnd)
{
    Receiver receiver;
    SetTimer(receiver.hwnd, 1, 1, nullptr);
    WorkerThread worker;
    std::atomic<int> answered{0};
    ASSERT_TRUE(worker.Start([&] {
        for (int i = 0; i < 200; ++i) {
            PostMessageA(receiver.hwnd, WM_APP + 1, 0, 0);
            answered += SendMessageA(receiver.hwnd, WM_APP, 0, 0) == i + 1 ? 1 : 0;
        }
    }));
    EXPECT_FALSE(worker.Start([] {})) << "one worker at a time";
    worker.Wait();
    EXPECT_FALSE(worker.Running());
    EXPECT_EQ(answered, 200) << "every send answered during the wait, none lost";
    EXPECT_EQ(receiver.posted, 0) << "posted messages stay queued";
    EXPECT_EQ(receiver.timers, 0) << "no timer tick in the middle of a wait";
    KillTimer(receiver.hwnd, 1);

    // Another thread's message whose handler waits as well (Esc while
    // Cancel waits); the worker keeps sending meanwhile.
    receiver.nested = &worker;
    std::thread other;
    ASSERT_TRUE(worker.Start([&] {
        other = std::thread([&] { SendMessageA(receiver.hwnd, WM_APP, 0, 0); });
        for (int i = 0; i < 50; ++i)
            SendMessageA(receiver.hwnd, WM_APP + 2, 0, 0);
    }));
    worker.Wait();
    MSG msg;
    while (receiver.sent < 201)   // when it came after the worker ended
        PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);
    other.join();
    worker.Wait();   // nothing to wait for
}
