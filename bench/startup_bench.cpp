// Start-up benchmark: the built program, copied into a folder of its own
// with a linkcairn.ini naming a generated store, started as a user starts
// it. Timed from just before CreateProcess until its frame exists and the
// tree holds every folder and note, on stores of 10,000, 50,000 and
// 100,000 entries and on one of a single entry (what Wine's own process
// start costs); then the program's peak working set, and a clean end
// through its 終了 command.
#include <windows.h>
#include <commctrl.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "resources/resource.h"

namespace {

struct Started {
    double ms = -1.0;        // below zero: the tree never filled
    double peakMb = 0.0;
    bool endedCleanly = false;
};

struct FoundTree {
    HWND tree = nullptr;
};

BOOL CALLBACK FindTree(HWND child, LPARAM param)
{
    char name[64] = {};
    GetClassNameA(child, name, sizeof name);
    if (lstrcmpiA(name, WC_TREEVIEWA) != 0)
        return TRUE;
    reinterpret_cast<FoundTree*>(param)->tree = child;
    return FALSE;
}

// The frame of that process, or null.
HWND FrameOf(DWORD pid)
{
    for (HWND w = FindWindowExA(nullptr, nullptr, "linkcairn_class", nullptr); w != nullptr;
         w = FindWindowExA(nullptr, w, "linkcairn_class", nullptr)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        if (owner == pid)
            return w;
    }
    return nullptr;
}

bool WriteFileBytes(const std::string& path, const std::string& bytes)
{
    FILE* out = fopen(path.c_str(), "wb");
    if (out == nullptr)
        return false;
    const bool whole = fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
    return fclose(out) == 0 && whole;
}

// One start of exe, waiting for `items` tree items.
Started StartOnce(const std::string& exe, unsigned items)
{
    Started result;
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    std::string cmd = "\"" + exe + "\"";
    const double start = Now();
    if (!CreateProcessA(exe.c_str(), &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        printf("  !! CreateProcess failed (%lu)\n", GetLastError());
        return result;
    }
    HWND frame = nullptr;
    HWND tree = nullptr;
    // Polled without a fixed wait; a store that never shows ends the run.
    while ((Now() - start) < 120.0 && WaitForSingleObject(pi.hProcess, 0) == WAIT_TIMEOUT) {
        if (frame == nullptr)
            frame = FrameOf(pi.dwProcessId);
        if (frame != nullptr && tree == nullptr) {
            FoundTree found;
            EnumChildWindows(frame, FindTree, reinterpret_cast<LPARAM>(&found));
            tree = found.tree;
        }
        DWORD_PTR count = 0;
        if (tree != nullptr &&
            SendMessageTimeoutA(tree, TVM_GETCOUNT, 0, 0, SMTO_NORMAL, 5000, &count) != 0 && count >= items) {
            result.ms = (Now() - start) * 1000.0;
            break;
        }
        Sleep(1);
    }
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    if (GetProcessMemoryInfo(pi.hProcess, &counters, sizeof counters))
        result.peakMb = static_cast<double>(counters.PeakWorkingSetSize) / (1024.0 * 1024.0);
    if (frame != nullptr)
        PostMessageA(frame, WM_COMMAND, ID_EXIT, 0);
    DWORD code = 1;
    if (WaitForSingleObject(pi.hProcess, 30000) == WAIT_OBJECT_0 && GetExitCodeProcess(pi.hProcess, &code))
        result.endedCleanly = code == 0;
    else
        TerminateProcess(pi.hProcess, 1);   // its one-instance mutex would stop the next start
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return result;
}

}  // namespace

int main()
{
    char own[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, own, sizeof own);
    std::string program = own;
    program = program.substr(0, program.rfind('\\'));
    program = program.substr(0, program.rfind('\\')) + "\\linkcairn.exe";

    char temp[MAX_PATH] = {};
    GetTempPathA(sizeof temp, temp);
    const std::string folder = std::string(temp) + "linkcairn_startup_bench";
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string exe = folder + "\\linkcairn.exe";
    const std::string store = folder + "\\links.xml";
    const std::string ini = folder + "\\linkcairn.ini";
    if (!CopyFileA(program.c_str(), exe.c_str(), FALSE)) {
        printf("linkcairn.exe not found beside the benchmarks: %s\n", program.c_str());
        return 1;
    }
    if (!WriteFileBytes(ini, "[ini]\r\npath=" + folder + "\r\n[xml]\r\ncurxml=" + store + "\r\n")) {
        printf("cannot write %s\n", ini.c_str());
        return 1;
    }

    const int kRuns = 5;
    struct Size {
        int folders, notes, entries;
    };
    const Size sizes[] = {{1, 1, 1}, {100, 10, 10}, {100, 10, 50}, {100, 10, 100}};
    BoxWatch boxes;
    printf("Start-up of linkcairn.exe until the tree holds every folder and note (median of %d; ms)\n", kRuns);
    double base10k = 0.0;
    double baseline = 0.0;
    int failures = 0;
    for (const Size& size : sizes) {
        const int total = size.folders * size.notes * size.entries;
        const std::string xml = GeneratedStoreXml(size.folders, size.notes, size.entries, [](int f, int n, int e) {
            return "https://example.com/articles/" + std::to_string(f) + "-" + std::to_string(n) + "-" +
                   std::to_string(e) + "?ref=bench";
        });
        if (!WriteFileBytes(store, xml)) {
            printf("cannot write %s\n", store.c_str());
            return 1;
        }
        const unsigned items = static_cast<unsigned>(size.folders * (1 + size.notes));
        std::vector<double> times;
        double peak = 0.0;
        for (int run = 0; run < kRuns; ++run) {
            const Started s = StartOnce(exe, items);
            if (s.ms < 0.0 || !s.endedCleanly) {
                printf("  !! run %d on %d entries: %s\n", run + 1, total,
                       s.ms < 0.0 ? "the tree never filled" : "the program did not end cleanly");
                ++failures;
            }
            if (s.ms >= 0.0)
                times.push_back(s.ms);
            peak = std::max(peak, s.peakMb);
        }
        if (times.empty())
            continue;
        const double median = Median(times);
        if (total == 1) {
            baseline = median;
            printf("%7d entry   (%4u items, %6.2f MB): %7.1f ms, peak working set %6.1f MB "
                   "(Wine's own process start)\n",
                   total, items, static_cast<double>(xml.size()) / 1e6, median, peak);
            continue;
        }
        if (total == 10000)
            base10k = median;
        printf("%7d entries (%4u items, %6.2f MB): %7.1f ms (%7.1f ms above the one-entry start), "
               "ratio to 10,000 %.2f, peak working set %6.1f MB\n",
               total, items, static_cast<double>(xml.size()) / 1e6, median, median - baseline,
               base10k > 0.0 ? median / base10k : 0.0, peak);
    }
    printf("goal: 100,000 entries filled within 600 ms\n");
    printf("goal: peak working set at 100,000 entries <= 200 MB\n");

    for (const std::string& path : {exe, store, ini, folder + "\\links_old.xml", folder + "\\linkcairn_error.log"})
        DeleteFileA(path.c_str());
    RemoveDirectoryA(folder.c_str());
    return failures == 0 ? 0 : 1;
}
