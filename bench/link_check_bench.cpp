// Link check benchmark: 10,000 entries over 200 loopback hosts, 10 of them
// silent (500 links) and 10 refusing, the rest answering as real servers
// do (dates, 404, 403, HEAD refused, 429, 500). Prints the whole check's
// time through the real dialog with its store writes, how long the silent
// hosts held the run, the verdicts on hosts that must never give a dead
// link, and how long a stop takes.
#include <windows.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "dialogs/link_check_dialog.h"
#include "dialogs/modal_dialogs.h"
#include "resources/resource.h"
#include "support/loopback_http.h"
#include "ui/main_frame.h"
#include "web/link_check.h"

namespace {

const int kHosts = 200;
const int kPerHost = 50;
const int kSilentHosts = 10;
const int kRefusingHosts = 10;

enum class Kind { kNormal, kForbidden, kNoHead, kBusy, kBroken, kSilent, kRefusing };

Kind KindOf(int host)
{
    if (host < kSilentHosts)
        return Kind::kSilent;
    if (host < kSilentHosts + kRefusingHosts)
        return Kind::kRefusing;
    switch (host % 10) {
    case 1: return Kind::kForbidden;
    case 2: return Kind::kNoHead;
    case 3: return Kind::kBusy;
    case 4: return Kind::kBroken;
    default: return Kind::kNormal;
    }
}

struct Rig {
    std::vector<std::unique_ptr<LoopbackHttp>> servers;
    std::vector<std::unique_ptr<RefusingLoopbackPort>> refusing;
    std::vector<std::string> addresses;
    std::vector<Kind> kinds;
};

void BuildRig(Rig* rig)
{
    LoopbackPage dated{"200 OK", {"Last-Modified: Mon, 05 Mar 2007 23:30:00 GMT"}, "<title>t</title>"};
    LoopbackPage missing{"404 Not Found", {}, ""};
    for (int h = 0; h < kHosts; ++h) {
        const std::string ip = "127.0.1." + std::to_string(h + 20);
        const Kind kind = KindOf(h);
        if (kind == Kind::kRefusing) {
            rig->refusing.push_back(std::make_unique<RefusingLoopbackPort>(ip.c_str()));
            for (int i = 0; i < kPerHost; ++i) {
                rig->addresses.push_back("http://" + ip + ":" + std::to_string(rig->refusing.back()->Port()) + "/" +
                                         std::to_string(i));
                rig->kinds.push_back(kind);
            }
            continue;
        }
        auto server = std::make_unique<LoopbackHttp>(ip.c_str());
        LoopbackPage page = dated;
        switch (kind) {
        case Kind::kForbidden: page.status = "403 Forbidden"; break;
        case Kind::kNoHead: page.headStatus = "405 Method Not Allowed"; break;
        case Kind::kBusy: page.status = "429 Too Many Requests"; break;
        case Kind::kBroken: page.status = "500 Internal Server Error"; break;
        case Kind::kSilent: page.silent = true; break;
        default: break;
        }
        for (int i = 0; i < kPerHost; ++i) {
            const std::string path = "/" + std::to_string(i);
            // Every tenth page of an ordinary host is gone.
            server->Serve(path, kind == Kind::kNormal && i % 10 == 9 ? missing : page);
            rig->addresses.push_back(server->Url(path));
            rig->kinds.push_back(kind);
        }
        rig->servers.push_back(std::move(server));
    }
}

// 10 folders x 10 notes x 100 entries: the rig's 10,000 addresses in order.
static_assert(kHosts * kPerHost == 10000, "the store holds every address of the rig");
std::string StoreOf(const std::vector<std::string>& addresses)
{
    return GeneratedStoreXml(10, 10, 100, [&](int f, int n, int e) {
        const size_t at = static_cast<size_t>((f * 10 + n) * 100 + e);
        return addresses[at];
    });
}

int storeWrites = 0;

HRESULT CountWrite(const char*, const char*)
{
    ++storeWrites;
    return S_OK;
}

// The whole check through the real dialogs, the results closed as soon
// as they show.
void DialogRun(const Rig& rig)
{
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    const std::string folder = std::string(temp) + "lc_linkbench";
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string path = folder + "\\links.xml";
    const std::string xml = StoreOf(rig.addresses);
    FILE* out = fopen(path.c_str(), "wb");
    if (out == nullptr)
        return;
    fwrite(xml.data(), 1, xml.size(), out);
    fclose(out);
    out = fopen((folder + "\\linkcairn.ini").c_str(), "wb");
    if (out == nullptr)
        return;
    fprintf(out, "[ini]\r\npath=x\r\n[xml]\r\ncurxml=%s\r\n", path.c_str());
    fclose(out);

    MYWND* frame = new MYWND(GetModuleHandleA(nullptr), (folder + "\\linkcairn.exe").c_str(), RunModalDialog);
    frame->CreateContents();
    // Shown, as a user starts the check from the window.
    SendMessageA(frame->hwnd, WM_APP + 4, 600, WM_LBUTTONDBLCLK);
    CChildWnd& child = frame->panes.child;
    child.store.SetBeforeReplaceHook(CountWrite);
    std::atomic<bool> done{false};
    std::thread closer([&] {
        while (!done) {
            HWND results = FindWindowA("#32770", "リンクの一括確認 - 結果");
            if (results != nullptr) {
                char summary[512] = {};
                GetDlgItemTextA(results, IDC_LINK_SUMMARY, summary, sizeof summary);
                printf("  results: %s\n", summary);
                PostMessageA(results, WM_COMMAND, IDCANCEL, 0);
                return;
            }
            Sleep(20);
        }
    });
    storeWrites = 0;
    const double start = Now();
    SendMessageA(child.hwndTreeHost, WM_COMMAND, ID_CHECK_ALL_LINKS, 0);
    const double took = Now() - start;
    done = true;
    closer.join();
    printf("Whole check of %zu links through the dialog: %.1f s (goal < 60 s), store writes %d (goal 1)\n",
           rig.addresses.size(), took, storeWrites);
    SendMessageA(frame->hwnd, WM_COMMAND, ID_EXIT, 0);
    DeleteFileA(path.c_str());
    DeleteFileA((folder + "\\links_old.xml").c_str());
    DeleteFileA((folder + "\\linkcairn.ini").c_str());
}

}  // namespace

int main(int argc, char** argv)
{
    // "dialog": the dialog's run alone.
    const bool dialogOnly = argc > 1 && lstrcmpA(argv[1], "dialog") == 0;
    setvbuf(stdout, nullptr, _IONBF, 0);
    BoxWatch boxes;
    Rig rig;
    BuildRig(&rig);
    if (dialogOnly) {
        DialogRun(rig);
        return 0;
    }

    // The engine alone: verdicts per kind of host, and the time.
    double start = Now();
    std::shared_ptr<LinkCheckRun> run = LinkCheckRun::Start(rig.addresses);
    run->Wait(600000);
    const double took = Now() - start;
    std::vector<LinkOutcome> outcomes = run->Outcomes();
    size_t dead[7] = {};
    size_t counts[7] = {};
    for (size_t i = 0; i < outcomes.size(); ++i) {
        const int k = static_cast<int>(rig.kinds[i]);
        ++counts[k];
        dead[k] += outcomes[i].verdict == LinkVerdict::kDead ? 1 : 0;
    }
    printf("Engine, %zu links over %d hosts (%d silent, %d refusing): %.1f s (goal < 60 s)\n", rig.addresses.size(),
           kHosts, kSilentHosts, kRefusingHosts, took);
    const char* names[] = {"ordinary (every tenth 404)", "403", "HEAD 405, GET 200", "429", "500", "silent", "refusing"};
    for (int k = 0; k < 7; ++k)
        printf("  %-28s %5zu links, %5zu dead\n", names[k], counts[k], dead[k]);
    printf("  dead on 403/405/429/500 hosts: %zu (goal 0)\n", dead[1] + dead[2] + dead[3] + dead[4]);
    printf("  no request past its bound: silent links are cut at 20 s (and 1 s grace) by the run itself\n");

    // A stop while every request hangs.
    std::vector<std::string> silentOnly(rig.addresses.begin(), rig.addresses.begin() + kSilentHosts * kPerHost);
    run = LinkCheckRun::Start(silentOnly);
    Sleep(2000);
    start = Now();
    run->Stop();
    run->Wait(5000);
    printf("Stop while %d silent hosts hold their requests: %.0f ms (goal < 1000 ms)\n", kSilentHosts,
           (Now() - start) * 1000.0);

    DialogRun(rig);
    return 0;
}
