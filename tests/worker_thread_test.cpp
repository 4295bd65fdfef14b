// The dialogs' worker: a wait on the dialog's thread that serves the
// worker's sent messages and nothing else.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <thread>

#include "dialogs/worker_thread.h"

namespace {

// Counts for a message-only window of the test's thread.
struct Counts {
    int sent = 0;
    int posted = 0;
    int timers = 0;
    WorkerThread* nested = nullptr;   // its handler of WM_APP waits for this
} counts;

LRESULT CALLBACK Count(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_APP:
        if (counts.nested != nullptr)
            counts.nested->Wait();
        return ++counts.sent;
    case WM_APP + 1:
        return ++counts.posted;
    case WM_TIMER:
        return ++counts.timers;
    default:
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}

}  // namespace

TEST(WorkerThread, WaitServesSentMessagesOnlyAndNestedWaitsEnd)
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = Count;
    wc.lpszClassName = "WorkerThreadTest";
    RegisterClassA(&wc);
    HWND window = CreateWindowExA(0, wc.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    SetTimer(window, 1, 1, nullptr);
    WorkerThread worker;
    std::atomic<int> answered{0};
    ASSERT_TRUE(worker.Start([&] {
        for (int i = 0; i < 200; ++i) {
            PostMessageA(window, WM_APP + 1, 0, 0);
            answered += SendMessageA(window, WM_APP, 0, 0) == i + 1 ? 1 : 0;
        }
    }));
    EXPECT_FALSE(worker.Start([] {})) << "one worker at a time";
    worker.Wait();
    EXPECT_FALSE(worker.Running());
    EXPECT_EQ(answered, 200) << "every send answered during the wait, in order";
    EXPECT_EQ(counts.posted, 0) << "posted messages stay queued";
    EXPECT_EQ(counts.timers, 0) << "no timer tick in the middle of a wait";
    KillTimer(window, 1);

    // Another thread's message whose handler waits as well (Esc while
    // Cancel waits); the worker keeps sending meanwhile.
    counts.nested = &worker;
    std::thread other;
    ASSERT_TRUE(worker.Start([&] {
        other = std::thread([&] { SendMessageA(window, WM_APP, 0, 0); });
        for (int i = 0; i < 50; ++i)
            SendMessageA(window, WM_APP + 2, 0, 0);
    }));
    worker.Wait();
    MSG msg;
    while (counts.sent < 201)   // when it came after the worker ended
        PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);
    other.join();
    worker.Wait();   // nothing to wait for
    DestroyWindow(window);
}
