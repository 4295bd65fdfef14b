// The link check against loopback hosts that answer every way a real
// server may: honest verdicts, hosts that fail asked once more only, every
// request bounded, a stop that never waits.
#include <gtest/gtest.h>

#include "support/loopback_http.h"
#include "web/link_check.h"

namespace {

LinkCheckBounds Quick()
{
    LinkCheckBounds bounds;
    bounds.connectMs = 1000;
    bounds.totalMs = 1500;
    return bounds;
}

LoopbackPage Page(const std::string& status, std::vector<std::string> headers = {})
{
    LoopbackPage page{status, std::move(headers), "<title>t</title>"};
    return page;
}

}  // namespace

TEST(LinkVerdicts, NoServersMoodMakesALiveLinkDead)
{
    const struct {
        LinkFailure failure;
        int status;
        bool moved;
        LinkVerdict verdict;
    } rows[] = {
        {LinkFailure::kNone, 200, false, LinkVerdict::kAlive},
        {LinkFailure::kNone, 204, true, LinkVerdict::kMoved},
        {LinkFailure::kNone, 404, false, LinkVerdict::kDead},
        {LinkFailure::kNone, 410, false, LinkVerdict::kDead},
        {LinkFailure::kUnresolved, 0, false, LinkVerdict::kDead},
        {LinkFailure::kRefused, 0, false, LinkVerdict::kDead},
        {LinkFailure::kNone, 401, false, LinkVerdict::kNeedsLook},
        {LinkFailure::kNone, 403, false, LinkVerdict::kNeedsLook},
        {LinkFailure::kNone, 405, false, LinkVerdict::kNeedsLook},
        {LinkFailure::kNone, 429, false, LinkVerdict::kNeedsLook},
        {LinkFailure::kNone, 503, false, LinkVerdict::kNeedsLook},
        {LinkFailure::kNone, 301, false, LinkVerdict::kNeedsLook},   // redirects without end
        {LinkFailure::kTimedOut, 0, false, LinkVerdict::kNeedsLook},
        {LinkFailure::kSecure, 0, false, LinkVerdict::kNeedsLook},
    };
    for (const auto& r : rows)
        EXPECT_EQ(VerdictOf(r.failure, r.status, r.moved), r.verdict) << r.status;
    EXPECT_TRUE(AskAgainWithGet(405));
    EXPECT_TRUE(AskAgainWithGet(403));
    EXPECT_FALSE(AskAgainWithGet(404));
    EXPECT_FALSE(AskAgainWithGet(200));
    EXPECT_EQ(HostKey("http://User@A.Example:8080/x?y"), "a.example:8080");
}

TEST(LinkCheck, EveryKindOfServerGetsItsHonestVerdict)
{
    LoopbackHttp a("127.0.0.2");
    LoopbackHttp b("127.0.0.3");
    LoopbackHttp silent("127.0.0.4");
    LoopbackHttp drip("127.0.0.5");
    RefusingLoopbackPort refused("127.0.0.6");
    a.Serve("/dated", Page("200 OK", {"Last-Modified: Mon, 05 Mar 2007 23:30:00 GMT"}));
    a.Serve("/plain", Page("200 OK"));
    a.Serve("/gone", Page("410 Gone"));
    a.Serve("/forbidden", Page("403 Forbidden"));
    a.Serve("/busy", Page("429 Too Many Requests"));
    a.Serve("/broken", Page("500 Internal Server Error"));
    LoopbackPage noHead = Page("200 OK");
    noHead.headStatus = "405 Method Not Allowed";
    a.Serve("/nohead", noHead);
    const std::string target = b.Url("/new");
    b.Serve("/new", Page("200 OK"));
    a.Serve("/moved", Page("301 Moved Permanently", {"Location: " + target}));
    LoopbackPage quiet;
    quiet.silent = true;
    for (const char* path : {"/s0", "/s1", "/s2", "/s3", "/s4"})
        silent.Serve(path, quiet);
    LoopbackPage slow = Page("200 OK");
    slow.byteDelayMs = 400;
    drip.Serve("/drip", slow);

    const std::string plain = a.Url("/plain");
    const struct {
        std::string address;
        LinkVerdict verdict;
    } rows[] = {
        {a.Url("/dated"), LinkVerdict::kAlive},
        {plain, LinkVerdict::kAlive},
        {plain, LinkVerdict::kAlive},
        {a.Url("/missing"), LinkVerdict::kDead},
        {a.Url("/gone"), LinkVerdict::kDead},
        {a.Url("/forbidden"), LinkVerdict::kNeedsLook},
        {a.Url("/busy"), LinkVerdict::kNeedsLook},
        {a.Url("/broken"), LinkVerdict::kNeedsLook},
        {a.Url("/nohead"), LinkVerdict::kAlive},
        {a.Url("/moved"), LinkVerdict::kMoved},
        {silent.Url("/s0"), LinkVerdict::kNeedsLook},
        {silent.Url("/s1"), LinkVerdict::kNeedsLook},
        {silent.Url("/s2"), LinkVerdict::kNeedsLook},
        {silent.Url("/s3"), LinkVerdict::kNeedsLook},
        {silent.Url("/s4"), LinkVerdict::kNeedsLook},
        {drip.Url("/drip"), LinkVerdict::kNeedsLook},
        {"http://127.0.0.6:" + std::to_string(refused.Port()) + "/x", LinkVerdict::kDead},
        {"http://nowhere.invalid/x", LinkVerdict::kDead},
    };
    std::vector<std::string> addresses;
    for (const auto& r : rows)
        addresses.push_back(r.address);
    const ULONGLONG start = GetTickCount64();
    std::shared_ptr<LinkCheckRun> run = LinkCheckRun::Start(addresses, Quick());
    ASSERT_TRUE(run->Wait(30000));
    const ULONGLONG took = GetTickCount64() - start;
    std::vector<LinkOutcome> outcomes = run->Outcomes();
    ASSERT_EQ(outcomes.size(), addresses.size());
    for (size_t i = 0; i < outcomes.size(); ++i) {
        EXPECT_EQ(outcomes[i].verdict, rows[i].verdict) << rows[i].address << " status " << outcomes[i].status;
        EXPECT_TRUE(outcomes[i].asked);
    }
    EXPECT_TRUE(outcomes[0].hasDate);
    EXPECT_STREQ(outcomes[0].date, "2007/03/05");
    EXPECT_FALSE(outcomes[1].hasDate);
    EXPECT_EQ(outcomes[9].movedTo, target);
    EXPECT_EQ(a.Requests("/plain"), 1) << "the same address is asked once";
    EXPECT_EQ(a.Requests("/nohead"), 2) << "HEAD refused, then GET";
    int silentRequests = 0;
    for (const char* path : {"/s0", "/s1", "/s2", "/s3", "/s4"})
        silentRequests += silent.Requests(path);
    EXPECT_LE(silentRequests, 3) << "two at once, then the rest share the confirmed verdict";
    // Every request within its bound: the silent host's two rounds and the
    // drip, each cut at 1.5 s (and a second's grace), side by side.
    EXPECT_LT(took, 8000u);
}

TEST(LinkCheck, AStopEndsTheRunAtOnce)
{
    LoopbackHttp silent("127.0.0.7");
    LoopbackPage quiet;
    quiet.silent = true;
    silent.Serve("/s", quiet);
    std::vector<std::string> addresses;
    for (int i = 0; i < 40; ++i)
        addresses.push_back(silent.Url("/s"));
    std::shared_ptr<LinkCheckRun> run = LinkCheckRun::Start(addresses);
    Sleep(200);   // the moment of the stop, not a synchronisation
    const ULONGLONG start = GetTickCount64();
    run->Stop();
    EXPECT_TRUE(run->Wait(1000));
    EXPECT_LT(GetTickCount64() - start, 1000u);
    for (const LinkOutcome& outcome : run->Outcomes())
        EXPECT_FALSE(outcome.asked);
}
