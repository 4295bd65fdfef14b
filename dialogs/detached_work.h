#pragma once
#include <windows.h>

#include <atomic>
#include <functional>
#include <memory>

// Work a dialog hands to a thread of its own and never waits for. The
// thread works only on what its function owns (copies, shared state);
// when it is done it posts `message` (wParam: the job's number) to the
// dialog, unless the dialog gave the job up first. So Cancel, Esc and the
// close box end a dialog at once, whatever a server does, and a late
// result is dropped.
class DetachedWork {
public:
    // The longest a dialog waits for a job of `requests` requests: each has
    // its bound, and the program keeps this one itself, since a server that
    // drips a byte a second or a host that drops connection attempts can
    // hold the library past its own time-outs.
    static DWORD BoundFor(int requests);

    DetachedWork() = default;
    ~DetachedWork() { Abandon(); }
    DetachedWork(const DetachedWork&) = delete;
    DetachedWork& operator=(const DetachedWork&) = delete;

    // False when a job still runs or no thread could be made.
    bool Start(HWND dialog, UINT message, std::function<void()> work);
    // Whether a started job has not posted yet.
    bool Running() const { return shared_ && !shared_->finished; }
    // Whether a posted wParam is the current job's, which then counts as
    // taken: a message of an earlier job is ignored.
    bool Take(WPARAM job);
    // The dialog goes or stops waiting: the job's result is dropped.
    void Abandon();

private:
    struct Shared {
        std::atomic<bool> abandoned{false};
        std::atomic<bool> finished{false};
        std::function<void()> work;
        HWND dialog = nullptr;
        UINT message = 0;
        WPARAM job = 0;
    };
    static unsigned __stdcall ThreadMain(void* shared);

    std::shared_ptr<Shared> shared_;
    WPARAM serial_ = 0;
};
