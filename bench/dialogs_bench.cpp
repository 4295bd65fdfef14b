// Dialogs benchmark, under a real display: the update check of 200 entries
// against a loopback server, against the floor of the same number of bare
// WinINet Last-Modified requests; and the time from "登録" to the closed
// new-entry dialog on a 10,000-entry store, against the floor of the store
// work it does (AddEntry, a snapshot reload and a list fill).
#include <windows.h>
#include <commctrl.h>
#include <wininet.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "bench/bench_support.h"
#include "dialogs/modal_dialogs.h"
#include "dialogs/new_entry_dialog.h"
#include "dialogs/update_check_dialog.h"
#include "resources/resource.h"
#include "support/loopback_http.h"
#include "ui/main_frame.h"

namespace {

void WriteFile(const std::string& path, const std::string& bytes)
{
    FILE* out = fopen(path.c_str(), "wb");
    if (out == nullptr)
        return;
    fwrite(bytes.data(), 1, bytes.size(), out);
    fclose(out);
}

// folders x notes x entries; the addresses of the first note come from
// address (its entry index).
std::string StoreXml(int folders, int notes, int entries, const std::function<std::string(int)>& address)
{
    return GeneratedStoreXml(folders, notes, entries, [&](int f, int n, int e) {
        return f == 0 && n == 0 ? address(e) : "https://example.com/a/" + std::to_string(e);
    });
}

int storeWrites = 0;

HRESULT CountWrite(const char*, const char*)
{
    ++storeWrites;
    return S_OK;
}

DialogHost HostOf(CChildWnd& child)
{
    return DialogHost{GetModuleHandleA(nullptr), child.hwndTreeHost, &child.list, &child.tree,
                      &child.store, &child.settings, &child.views};
}

// A frame on the store at path, the first note selected and shown.
MYWND* OpenFrame(const std::string& folder, const std::string& path)
{
    WriteFile(folder + "\\linkcairn.ini", "[ini]\r\npath=x\r\n[xml]\r\ncurxml=" + path + "\r\n");
    MYWND* frame = new MYWND(GetModuleHandleA(nullptr), (folder + "\\linkcairn.exe").c_str(), RunModalDialog);
    frame->CreateContents();
    SendMessageA(frame->hwnd, WM_APP + 4, 600, WM_LBUTTONDBLCLK);
    Pump();
    CChildWnd& child = frame->panes.child;
    TreeView_SelectItem(child.tree.control, child.tree.FindItemAtPosition(TreePosition{0, 0}));
    Pump();
    return frame;
}

void CloseFrame(MYWND* frame)
{
    SendMessageA(frame->hwnd, WM_COMMAND, ID_EXIT, 0);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
}

// The floor: the same requests on one bare WinINet handle, in ms.
double BareRequests(const std::vector<std::string>& urls)
{
    double start = Now();
    HINTERNET internet = InternetOpenA("linkcairn", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
    for (const std::string& url : urls) {
        HINTERNET request = InternetOpenUrlA(internet, url.c_str(), nullptr, 0, 0, 0);
        SYSTEMTIME modified;
        DWORD length = sizeof modified;
        HttpQueryInfoA(request, HTTP_QUERY_LAST_MODIFIED | HTTP_QUERY_FLAG_SYSTEMTIME, &modified, &length, nullptr);
        InternetCloseHandle(request);
    }
    InternetCloseHandle(internet);
    return (Now() - start) * 1000.0;
}

void UpdateCheckBench(const std::string& folder)
{
    const int entries = 200;
    const int runs = 7;
    LoopbackHttp server;
    LoopbackPage page{"200 OK", {"Last-Modified: Mon, 05 Mar 2007 23:30:00 GMT"}, "<title>t</title>"};
    std::vector<std::string> urls;
    for (int i = 0; i < entries; ++i) {
        server.Serve("/p" + std::to_string(i), page);
        urls.push_back(server.Url("/p" + std::to_string(i)));
    }
    const std::string path = folder + "\\check.xml";
    const std::string xml = StoreXml(1, 1, entries, [&](int e) { return urls[static_cast<size_t>(e)]; });

    // Check and floor alternate, so that a busy moment of the machine
    // weighs on both alike.
    std::vector<double> checks;
    std::vector<double> floors;
    std::vector<double> stores;
    std::vector<int> writes;
    for (int run = 0; run < runs; ++run) {
        WriteFile(path, xml);   // every date differs again: one write per check
        MYWND* frame = OpenFrame(folder, path);
        CChildWnd& child = frame->panes.child;
        child.store.SetBeforeReplaceHook(CountWrite);
        storeWrites = 0;
        double start = Now();
        Dlg_Updatechk check(IDD_UPDATE_CHECK, HostOf(child));
        checks.push_back((Now() - start) * 1000.0);
        writes.push_back(storeWrites);
        // What the check's one write and reload cost on their own.
        WriteFile(path, xml);
        child.store.ReloadSnapshot();
        std::vector<EntryRecord> records = child.store.Snapshot()[0].notes[0].entries;
        for (size_t i = 0; i < records.size(); ++i)
            snprintf(records[i].key, sizeof records[i].key, "0-0-%d", static_cast<int>(i));
        start = Now();
        child.store.ApplyCheckResults(records, nullptr);
        child.views.RefreshList();
        stores.push_back((Now() - start) * 1000.0);
        CloseFrame(frame);
        floors.push_back(BareRequests(urls));
    }

    const double check = Median(checks);
    const double floor = Median(floors);
    printf("Update check of %d entries (median of %d): %.1f ms, %.0f entries/s\n", entries, runs, check,
           entries * 1000.0 / check);
    printf("  floor, %d bare Last-Modified requests: %.1f ms, %.0f entries/s\n", entries, floor,
           entries * 1000.0 / floor);
    printf("  ratio %.2f (goal <= 1.2); store writes per check: %d to %d (goal 1)\n", check / floor,
           *std::min_element(writes.begin(), writes.end()), *std::max_element(writes.begin(), writes.end()));
    const double store = Median(stores);
    printf("  of which the write and the list reload: %.1f ms; without them, ratio %.2f\n", store,
           (check - store) / floor);
}

// Drives the dialog from its own thread: fills it, notes the time and
// presses "登録".
void RegisterOnce(CChildWnd& child, const std::string& address, bool fetch, double* pressed)
{
    std::atomic<bool> done{false};
    std::thread driver([&] {
        HWND dialog = nullptr;
        // Shown means initialised: its controls exist only from then on.
        while (!done && ((dialog = FindWindowA("#32770", "新規ピンロール")) == nullptr || !IsWindowVisible(dialog)))
            Sleep(1);
        if (dialog == nullptr || done)
            return;
        if (fetch) {
            SendDlgItemMessageA(dialog, IDC_AUTO_FETCH, BM_SETCHECK, BST_CHECKED, 0);
            SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_AUTO_FETCH, BN_CLICKED), 0);
        } else {
            SetDlgItemTextA(dialog, IDC_TITLE, "benchmark entry");
        }
        SetDlgItemTextA(dialog, IDC_ADDRESS, address.c_str());
        *pressed = Now();
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    });
    Dlg_NewPinRoll dialog(IDD_NEW_ENTRY, HostOf(child));
    done = true;
    driver.join();
}

void NewEntryBench(const std::string& folder)
{
    const int runs = 5;
    LoopbackHttp server;
    server.Serve("/page", {"200 OK", {"Last-Modified: Mon, 05 Mar 2007 23:30:00 GMT"},
                           "<html><head><title>\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E\xE7\x89\x88</title></head></html>"});
    const std::string path = folder + "\\entries.xml";
    WriteFile(path, StoreXml(10, 10, 100, [](int e) { return "https://example.com/n/" + std::to_string(e); }));
    MYWND* frame = OpenFrame(folder, path);
    CChildWnd& child = frame->panes.child;

    std::vector<double> typed;
    std::vector<double> fetched;
    std::vector<double> floors;
    for (int run = 0; run < runs; ++run) {
        for (bool fetch : {false, true}) {
            double pressed = 0;
            RegisterOnce(child, server.Url("/page"), fetch, &pressed);
            if (pressed == 0) {
                printf("  the new-entry dialog did not open\n");
                CloseFrame(frame);
                return;
            }
            (fetch ? fetched : typed).push_back((Now() - pressed) * 1000.0);
            Pump();
        }
        EntryRecord record;
        record.title = "floor entry";
        record.list = server.Url("/floor").c_str();
        double start = Now();
        child.store.AddEntry(record, nullptr);
        child.store.ReloadSnapshot();
        child.list.FillList(0, 0);
        floors.push_back((Now() - start) * 1000.0);
    }
    const double floor = Median(floors);
    printf("New entry on the 10,000-entry store, from 登録 to the closed dialog (median of %d):\n", runs);
    printf("  typed title %.1f ms, fetched title %.1f ms\n", Median(typed), Median(fetched));
    printf("  floor, AddEntry + snapshot reload + list fill: %.1f ms; ratios %.2f typed, %.2f fetched\n", floor,
           Median(typed) / floor, Median(fetched) / floor);
    CloseFrame(frame);
}

}  // namespace

int main()
{
    char tempDir[MAX_PATH];
    GetTempPathA(MAX_PATH, tempDir);
    std::string folder = std::string(tempDir) + "linkcairn_dialogs_bench";
    CreateDirectoryA(folder.c_str(), nullptr);
    printf("Dialogs benchmark (times in ms)\n\n");
    BoxWatch boxes;
    UpdateCheckBench(folder);
    printf("\n");
    NewEntryBench(folder);
    return 0;
}
