#pragma once
#include <windows.h>

#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "web/link_verdict.h"

// What one link check found for an address.
struct LinkOutcome {
    LinkVerdict verdict = LinkVerdict::kNeedsLook;
    LinkFailure failure = LinkFailure::kOther;
    int status = 0;              // of the last answer; 0 without one
    std::string movedTo;         // kMoved: where the permanent redirect led
    bool hasDate = false;        // alive: the page's Last-Modified date
    char date[11] = {};
    bool asked = false;          // false: not reached before a stop
};

class CInet;

// One address, HEAD first and GET where HEAD is refused, redirects
// followed (at most five), each request within the client's bounds.
LinkOutcome CheckOneLink(CInet& inet, const std::string& address);

// Bounds of a run. Every request gets connectMs to connect and totalMs in
// all; a request past totalMs (plus a little) is given up on, whatever the
// server still does.
struct LinkCheckBounds {
    DWORD connectMs = 10000;
    DWORD totalMs = 20000;
    int parallel = 32;    // requests at once
    int perHost = 2;      // requests at once to one host
};

// Where a run stands, for the progress dialog.
struct LinkCheckProgress {
    size_t checked = 0;   // addresses decided
    size_t total = 0;     // different addresses
    size_t dead = 0;
    std::string waitingOn;   // the host the run waits on longest
    bool done = false;
};

// The engine behind every check: different addresses at once (never two
// requests for the same address, at most perHost at a time to one host,
// hosts taken in turn), one confirming request for the rest of a host
// that failed to connect or timed out. It runs on threads of its own and
// shares only this object with them: a caller that stops it never waits.
class LinkCheckRun {
public:
    static std::shared_ptr<LinkCheckRun> Start(const std::vector<std::string>& addresses,
                                               const LinkCheckBounds& bounds = LinkCheckBounds());
    ~LinkCheckRun();

    // Stops taking requests; what is decided stays. Returns at once.
    void Stop();
    LinkCheckProgress Progress() const;
    // Waits at most ms for the run to end; true when it has.
    bool Wait(DWORD ms) const;
    // One outcome per address given to Start, in the same order (a
    // repeated address shares its outcome); `asked` false where the run
    // stopped first.
    std::vector<LinkOutcome> Outcomes() const;

    struct State;

private:
    explicit LinkCheckRun(std::shared_ptr<State> state) : state_(std::move(state)) {}
    std::shared_ptr<State> state_;
};
