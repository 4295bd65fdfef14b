#include "web/link_check.h"

#include <wininet.h>

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <map>
#include <mutex>
#include <thread>
#include <unordered_map>

#include "web/inet.h"

namespace {

const int kMaxRedirects = 5;
// A request is given up on this long after its own bound has passed.
const DWORD kGraceMs = 1000;
const DWORD kTickMs = 100;

std::string Combine(const std::string& base, const std::string& relative)
{
    char combined[INTERNET_MAX_URL_LENGTH] = {};
    DWORD length = sizeof combined;
    if (InternetCombineUrlA(base.c_str(), relative.c_str(), combined, &length, ICU_BROWSER_MODE))
        return std::string(combined, strnlen(combined, sizeof combined));
    return relative;
}

}  // namespace

LinkOutcome CheckOneLink(CInet& inet, const std::string& address)
{
    LinkOutcome out;
    out.asked = true;
    std::string current = address;
    bool permanent = true;   // every redirect so far was permanent
    bool redirected = false;
    for (int hop = 0;; ++hop) {
        CInet::Answer answer = inet.Ask(current.c_str(), "HEAD");
        if (answer.failure == LinkFailure::kNone && AskAgainWithGet(answer.status))
            answer = inet.Ask(current.c_str(), "GET");
        out.failure = answer.failure;
        out.status = answer.failure == LinkFailure::kNone ? answer.status : 0;
        if (answer.failure != LinkFailure::kNone)
            break;
        if (IsRedirect(answer.status) && !answer.location.empty() && hop < kMaxRedirects) {
            permanent = permanent && IsPermanentRedirect(answer.status);
            redirected = true;
            current = Combine(current, answer.location);
            continue;
        }
        if (answer.dateResult == CInet::kDateWritten) {
            out.hasDate = true;
            lstrcpynA(out.date, answer.date, sizeof out.date);
        }
        break;
    }
    const bool moved = redirected && permanent && current != address;
    out.verdict = VerdictOf(out.failure, out.status, moved);
    if (out.verdict == LinkVerdict::kMoved)
        out.movedTo = current;
    return out;
}

struct LinkCheckRun::State {
    struct Host {
        enum class Health { kFine, kConfirming, kDown };
        std::deque<size_t> pending;
        int inFlight = 0;
        Health health = Health::kFine;
        LinkOutcome downOutcome;
    };
    struct Flight {
        size_t address;
        size_t host;
        ULONGLONG started;
    };

    LinkCheckBounds bounds;
    std::vector<std::string> addresses;   // each once
    std::vector<size_t> hostOf;
    std::vector<size_t> uniqueOf;         // per address given
    std::vector<LinkOutcome> outcomes;
    std::vector<bool> decided;
    std::vector<Host> hosts;
    std::vector<std::string> hostNames;
    size_t nextHost = 0;
    std::map<unsigned, Flight> flights;
    unsigned serial = 0;
    size_t checked = 0;
    size_t dead = 0;
    bool stopped = false;
    bool done = false;
    mutable std::mutex mutex;
    mutable std::condition_variable changed;

    void Decide(size_t address, const LinkOutcome& outcome)
    {
        if (decided[address])
            return;
        decided[address] = true;
        outcomes[address] = outcome;
        ++checked;
        if (outcome.verdict == LinkVerdict::kDead)
            ++dead;
    }

    // A request's outcome, with what it tells about its host.
    void Record(size_t address, size_t host, const LinkOutcome& outcome)
    {
        Host& h = hosts[host];
        Decide(address, outcome);
        if (IsHostFailure(outcome.failure)) {
            if (h.health == Host::Health::kFine) {
                h.health = Host::Health::kConfirming;
            } else if (h.health == Host::Health::kConfirming) {
                // Confirmed: the rest of the host shares the verdict.
                h.health = Host::Health::kDown;
                h.downOutcome = outcome;
                for (size_t waiting : h.pending)
                    Decide(waiting, outcome);
                h.pending.clear();
            }
        } else if (h.health == Host::Health::kConfirming) {
            h.health = Host::Health::kFine;
        }
        if (checked == addresses.size())
            done = true;
    }

    // The next address to ask, hosts in turn; false when none may go now.
    bool Take(size_t* address, size_t* host)
    {
        for (size_t i = 0; i < hosts.size(); ++i) {
            size_t k = (nextHost + i) % hosts.size();
            Host& h = hosts[k];
            if (h.pending.empty() || h.health == Host::Health::kDown || h.inFlight >= bounds.perHost)
                continue;
            // A failing host gets one confirming request at a time.
            if (h.health == Host::Health::kConfirming && h.inFlight > 0)
                continue;
            *address = h.pending.front();
            h.pending.pop_front();
            *host = k;
            nextHost = k + 1;
            return true;
        }
        return false;
    }

    bool AnythingPending() const
    {
        for (const Host& h : hosts) {
            if (!h.pending.empty() && h.health != Host::Health::kDown)
                return true;
        }
        return false;
    }
};

namespace {

void Work(std::shared_ptr<LinkCheckRun::State> state)
{
    CInet inet;
    const bool open = inet.OpenInternet() != 0;
    inet.SetBounds(state->bounds.connectMs, state->bounds.totalMs);
    for (;;) {
        size_t address = 0;
        size_t host = 0;
        unsigned flight = 0;
        {
            std::unique_lock<std::mutex> lock(state->mutex);
            for (;;) {
                if (state->stopped || state->done || !state->AnythingPending())
                    return;
                if (state->Take(&address, &host))
                    break;
                state->changed.wait_for(lock, std::chrono::milliseconds(kTickMs));
            }
            ++state->hosts[host].inFlight;
            flight = ++state->serial;
            state->flights[flight] = LinkCheckRun::State::Flight{address, host, GetTickCount64()};
        }
        LinkOutcome outcome;
        if (open)
            outcome = CheckOneLink(inet, state->addresses[address]);
        else
            outcome.asked = true;   // no internet handle: kOther, needs a look
        std::lock_guard<std::mutex> lock(state->mutex);
        auto found = state->flights.find(flight);
        if (found == state->flights.end())
            return;   // given up on meanwhile: a new worker took this one's place
        state->flights.erase(found);
        --state->hosts[host].inFlight;
        state->Record(address, host, outcome);
        state->changed.notify_all();
    }
}

// Starts the workers and gives up on requests past their bound, starting
// a new worker for each, so that a server that holds a request can never
// hold the run.
void Oversee(std::shared_ptr<LinkCheckRun::State> state)
{
    const size_t workers = std::min<size_t>(static_cast<size_t>(std::max(state->bounds.parallel, 1)),
                                            std::max<size_t>(state->addresses.size(), 1));
    for (size_t i = 0; i < workers; ++i)
        std::thread(Work, state).detach();
    std::unique_lock<std::mutex> lock(state->mutex);
    while (!state->done && !state->stopped) {
        state->changed.wait_for(lock, std::chrono::milliseconds(kTickMs));
        const ULONGLONG now = GetTickCount64();
        for (auto it = state->flights.begin(); it != state->flights.end();) {
            const LinkCheckRun::State::Flight f = it->second;
            if (now - f.started <= state->bounds.totalMs + kGraceMs) {
                ++it;
                continue;
            }
            it = state->flights.erase(it);
            --state->hosts[f.host].inFlight;
            LinkOutcome late;
            late.asked = true;
            late.failure = LinkFailure::kTimedOut;
            late.verdict = LinkVerdict::kNeedsLook;
            state->Record(f.address, f.host, late);
            std::thread(Work, state).detach();
        }
        if (state->checked == state->addresses.size())
            state->done = true;
    }
    state->done = true;
    state->changed.notify_all();
}

}  // namespace

std::shared_ptr<LinkCheckRun> LinkCheckRun::Start(const std::vector<std::string>& addresses,
                                                  const LinkCheckBounds& bounds)
{
    auto state = std::make_shared<State>();
    state->bounds = bounds;
    // The library's own limit per server agrees with the run's, so that no
    // request spends its time limit queued inside the library.
    DWORD perServer = static_cast<DWORD>(std::max(bounds.perHost, 1));
    InternetSetOptionA(nullptr, INTERNET_OPTION_MAX_CONNS_PER_SERVER, &perServer, sizeof perServer);
    InternetSetOptionA(nullptr, INTERNET_OPTION_MAX_CONNS_PER_1_0_SERVER, &perServer, sizeof perServer);
    std::unordered_map<std::string, size_t> seen;
    std::unordered_map<std::string, size_t> hostIndex;
    for (const std::string& address : addresses) {
        auto known = seen.find(address);
        if (known != seen.end()) {
            state->uniqueOf.push_back(known->second);
            continue;
        }
        const size_t index = state->addresses.size();
        seen.emplace(address, index);
        state->uniqueOf.push_back(index);
        state->addresses.push_back(address);
        const std::string key = HostKey(address);
        auto h = hostIndex.find(key);
        if (h == hostIndex.end()) {
            h = hostIndex.emplace(key, state->hosts.size()).first;
            state->hosts.emplace_back();
            state->hostNames.push_back(key);
        }
        state->hostOf.push_back(h->second);
        state->hosts[h->second].pending.push_back(index);
    }
    state->outcomes.resize(state->addresses.size());
    state->decided.resize(state->addresses.size(), false);
    state->done = state->addresses.empty();
    if (!state->done)
        std::thread(Oversee, state).detach();
    return std::shared_ptr<LinkCheckRun>(new LinkCheckRun(state));
}

LinkCheckRun::~LinkCheckRun()
{
    Stop();
}

void LinkCheckRun::Stop()
{
    std::lock_guard<std::mutex> lock(state_->mutex);
    state_->stopped = true;
    state_->changed.notify_all();
}

LinkCheckProgress LinkCheckRun::Progress() const
{
    std::lock_guard<std::mutex> lock(state_->mutex);
    LinkCheckProgress progress;
    progress.checked = state_->checked;
    progress.total = state_->addresses.size();
    progress.dead = state_->dead;
    progress.done = state_->done;
    ULONGLONG oldest = ~0ull;
    for (const auto& flight : state_->flights) {
        if (flight.second.started < oldest) {
            oldest = flight.second.started;
            progress.waitingOn = state_->hostNames[flight.second.host];
        }
    }
    return progress;
}

bool LinkCheckRun::Wait(DWORD ms) const
{
    std::unique_lock<std::mutex> lock(state_->mutex);
    return state_->changed.wait_for(lock, std::chrono::milliseconds(ms),
                                    [this] { return state_->done || state_->stopped; });
}

std::vector<LinkOutcome> LinkCheckRun::Outcomes() const
{
    std::lock_guard<std::mutex> lock(state_->mutex);
    std::vector<LinkOutcome> result;
    result.reserve(state_->uniqueOf.size());
    for (size_t unique : state_->uniqueOf)
        result.push_back(state_->decided[unique] ? state_->outcomes[unique] : LinkOutcome());
    return result;
}
