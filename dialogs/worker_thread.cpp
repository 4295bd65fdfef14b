#include "dialogs/worker_thread.h"

#include <process.h>

WorkerThread::~WorkerThread()
{
    Wait();
}

unsigned __stdcall WorkerThread::ThreadMain(void* self)
{
    static_cast<WorkerThread*>(self)->work_();
    return 0;
}

bool WorkerThread::Start(std::function<void()> work)
{
    if (Running())
        return false;
    Wait();   // releases an ended worker's handle
    work_ = std::move(work);
    // _beginthreadex rather than CreateThread: the worker uses the C runtime.
    uintptr_t handle = _beginthreadex(nullptr, 0, ThreadMain, this, 0, nullptr);
    thread_ = reinterpret_cast<HANDLE>(handle);
    return thread_ != nullptr;
}

bool WorkerThread::Running() const
{
    return thread_ != nullptr && WaitForSingleObject(thread_, 0) == WAIT_TIMEOUT;
}

void WorkerThread::Wait()
{
    // A handler run during the wait may wait as well; the innermost wait
    // releases the handle, and the outer ones then see it gone.
    while (thread_ != nullptr) {
        HANDLE thread = thread_;
        DWORD woke = MsgWaitForMultipleObjects(1, &thread, FALSE, INFINITE, QS_SENDMESSAGE);
        if (woke == WAIT_OBJECT_0) {
            if (thread_ == thread) {
                CloseHandle(thread);
                thread_ = nullptr;
            }
            return;
        }
        // Handles only the messages sent to this thread; nothing is removed
        // from the posted queue.
        MSG msg;
        PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        if (woke == WAIT_FAILED)
            Sleep(1);   // never spin at full speed
    }
}
