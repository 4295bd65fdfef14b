#pragma once
#include <windows.h>

#include <functional>

// A short-lived worker thread started by a dialog, and the one safe way for
// the dialog's thread to wait for it.
//
// The worker talks to the dialog and the views through SendMessage, which
// only returns once the dialog's thread has handled the message. A plain
// WaitForSingleObject on that thread would therefore deadlock the moment the
// worker sends; Wait() instead keeps handling sent messages until the worker
// has ended. Posted messages and WM_TIMER stay queued meanwhile, so no
// button press or timer tick is handled in the middle of the wait.
//
// Rule for every dialog that owns one: Cancel, Esc and WM_CLOSE during work
// either Wait() or are ignored until the worker has ended, and the dialog
// ends only after that, so the dialog object and its window always outlive
// the worker. The destructor waits as a last resort.
class WorkerThread {
public:
    WorkerThread() = default;
    ~WorkerThread();
    WorkerThread(const WorkerThread&) = delete;
    WorkerThread& operator=(const WorkerThread&) = delete;

    // Starts work on a new thread. False when a worker is still running (the
    // earlier one is kept) or the thread could not be created.
    bool Start(std::function<void()> work);
    // Whether a started worker has not ended yet.
    bool Running() const;
    // Waits until the worker has ended, handling the messages other threads
    // send to this one; then releases the thread. Returns at once when no
    // worker was started. A handler of another thread's message that runs
    // during the wait may wait as well (never one the worker sent: the
    // worker waits for that handler).
    void Wait();

private:
    static unsigned __stdcall ThreadMain(void* self);

    HANDLE thread_ = nullptr;
    std::function<void()> work_;
};
