#include "dialogs/detached_work.h"

#include <process.h>

#include "web/inet.h"

unsigned __stdcall DetachedWork::ThreadMain(void* raw)
{
    // The thread's own reference: the job's state lives until it ends.
    std::unique_ptr<std::shared_ptr<Shared>> owner(static_cast<std::shared_ptr<Shared>*>(raw));
    Shared& shared = **owner;
    shared.work();
    shared.finished = true;
    if (!shared.abandoned)
        PostMessageA(shared.dialog, shared.message, shared.job, 0);
    return 0;
}

DWORD DetachedWork::BoundFor(int requests)
{
    return static_cast<DWORD>(requests) * CInet::kTotalMs + 1000;
}

bool DetachedWork::Start(HWND dialog, UINT message, std::function<void()> work)
{
    if (Running())
        return false;
    auto shared = std::make_shared<Shared>();
    shared->work = std::move(work);
    shared->dialog = dialog;
    shared->message = message;
    shared->job = ++serial_;
    auto* reference = new std::shared_ptr<Shared>(shared);
    // _beginthreadex rather than CreateThread: the work uses the C runtime.
    uintptr_t handle = _beginthreadex(nullptr, 0, ThreadMain, reference, 0, nullptr);
    if (handle == 0) {
        delete reference;
        return false;
    }
    CloseHandle(reinterpret_cast<HANDLE>(handle));
    shared_ = shared;
    return true;
}

bool DetachedWork::Take(WPARAM job)
{
    if (!shared_ || job != shared_->job || shared_->abandoned)
        return false;
    shared_.reset();
    return true;
}

void DetachedWork::Abandon()
{
    if (shared_)
        shared_->abandoned = true;
    shared_.reset();
}
