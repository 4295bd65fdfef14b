// Duplicates benchmark: a store of 100,000 entries holding 5,000 groups of
// duplicates (two or three spellings each). Times the grouping with the
// choice of what to keep, counts the bytes it allocates against the
// snapshot's, times the removal of 1,000 ticked entries in one write
// against a bare parse plus indented save, and opens the window on the
// store once, rows shown.
#include <windows.h>
#include <commctrl.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <string>
#include <vector>

#include <pugixml.hpp>

#include "bench/bench_store.h"
#include "bench/bench_support.h"
#include "resources/resource.h"
#include "store/duplicate_groups.h"
#include "store/entry_key.h"
#include "store/xml_layout.h"
#include "store/xml_store.h"
#include "ui/duplicate_window.h"

// Every allocation counted, so that the grouping's own peak can be told
// apart from the snapshot's bytes.
namespace {
std::atomic<long long> gInUse{0};
std::atomic<long long> gPeak{0};
}  // namespace

void* operator new(size_t size)
{
    void* block = malloc(size + 16);
    if (block == nullptr)
        throw std::bad_alloc();
    *static_cast<size_t*>(block) = size;
    const long long now = gInUse += static_cast<long long>(size);
    long long peak = gPeak.load();
    while (now > peak && !gPeak.compare_exchange_weak(peak, now)) {
    }
    return static_cast<char*>(block) + 16;
}

void operator delete(void* p) noexcept
{
    if (p == nullptr)
        return;
    void* block = static_cast<char*>(p) - 16;
    gInUse -= static_cast<long long>(*static_cast<size_t*>(block));
    free(block);
}

void operator delete(void* p, size_t) noexcept
{
    operator delete(p);
}

namespace {

constexpr int kFolders = 100;
constexpr int kNotes = 10;
constexpr int kEntries = 100;
constexpr int kGroups = 5000;

// Entry i (in file order) of 100,000: entries 20g and 20g + 10 are group g
// in a likely pair of spellings, and every fifth group has a third member
// at 20g + 5 in a same spelling of the first.
std::string AddressOf(int i)
{
    char text[128];
    const int g = i / 20;
    if (g < kGroups && i % 20 == 0)
        snprintf(text, sizeof text, "https://example.com/articles/%d", g);
    else if (g < kGroups && i % 20 == 10)
        snprintf(text, sizeof text, "http://www.example.com/articles/%d/?utm_source=bench", g);
    else if (g < kGroups && g % 5 == 0 && i % 20 == 5)
        snprintf(text, sizeof text, "HTTPS://Example.com:443/articles/%d", g);
    else
        snprintf(text, sizeof text, "https://example.com/unique/%d?ref=bench", i);
    return text;
}

void WriteStore(const std::string& path)
{
    WriteBenchStore(path, {kFolders, kNotes, [](int, int) { return kEntries; }, [](int, int, int) { return ""; },
                           [](int f, int n, int e) { return AddressOf((f * kNotes + n) * kEntries + e); }});
}

double Mb(long long bytes)
{
    return static_cast<double>(bytes) / (1024.0 * 1024.0);
}

// What the window offers for removal, the first `limit` of it.
std::vector<EntryPick> TickedPicks(const std::vector<FolderRecord>& store, size_t limit)
{
    std::vector<EntryPick> picks;
    for (const DuplicateGroup& group : FindDuplicateGroups(store)) {
        const size_t kept = KeptMember(group, store);
        for (size_t m = 0; m < group.members.size() && picks.size() < limit; ++m) {
            if (m == kept)
                continue;
            const DuplicateMember& at = group.members[m];
            char key[kEntryKeySize];
            FormatEntryKey(at.folder, at.note, at.entry, key, sizeof key);
            picks.push_back(EntryPick{key, store[at.folder].notes[at.note].entries[at.entry].list.c_str()});
        }
    }
    return picks;
}

void BenchmarkGrouping(CmyXml& store)
{
    store.ClearSnapshot();
    const long long before = gInUse.load();
    store.LoadSnapshot();
    const long long snapshot = gInUse.load() - before;
    size_t groups = 0;
    size_t members = 0;
    std::vector<double> times;
    long long extra = 0;
    for (int r = 0; r < 5; ++r) {
        const long long base = gInUse.load();
        gPeak = base;
        const double start = Now();
        std::vector<DuplicateGroup> found = FindDuplicateGroups(store.Snapshot());
        size_t kept = 0;
        for (const DuplicateGroup& group : found)
            kept += KeptMember(group, store.Snapshot());
        times.push_back((Now() - start) * 1000.0);
        extra = gPeak.load() - base;
        groups = found.size();
        members = 0;
        for (const DuplicateGroup& group : found)
            members += group.members.size();
        (void)kept;
    }
    printf("Grouping %d entries: %zu groups, %zu entries in them\n", kFolders * kNotes * kEntries, groups, members);
    printf("  time (median of 5) %.1f ms (goal < 1000 ms)\n", Median(times));
    printf("  memory: snapshot %.1f MB, grouping's peak %.1f MB on top: %.2fx the snapshot's (goal <= 2)\n", Mb(snapshot),
           Mb(extra), static_cast<double>(snapshot + extra) / static_cast<double>(snapshot));
}

void BenchmarkDelete(CmyXml& store, const std::string& path, const std::string& pristine)
{
    auto reset = [&] { CopyFileA(pristine.c_str(), path.c_str(), FALSE); };
    reset();
    store.ReloadSnapshot();
    const std::vector<EntryPick> picks = TickedPicks(store.Snapshot(), 1000);
    // Floor and removal take turns, so that a busy moment of the machine
    // falls on both alike.
    std::vector<double> floors;
    std::vector<double> removals;
    int result = 1;
    for (int r = 0; r < 7; ++r) {
        reset();
        double start = Now();
        {
            pugi::xml_document doc;
            doc.load_file(path.c_str(), kStoreParseOptions);
            store.SaveIndented(&doc, nullptr);
        }
        floors.push_back((Now() - start) * 1000.0);
        reset();
        start = Now();
        result = store.DeleteCheckedEntries(picks, nullptr) ? result : 0;
        removals.push_back((Now() - start) * 1000.0);
    }
    const double floor = Median(floors);
    const double remove = Median(removals);
    printf("Removing %zu ticked entries in one write, backup first (median of 7): %.1f ms, floor (bare parse +"
           " indented save) %.1f ms, ratio %.2f (goal <= 1.3)%s\n",
           picks.size(), remove, floor, remove / floor, result ? "" : "  !! returned 0");
}

void BenchmarkWindow(const std::string& folder, const std::string& name)
{
    MYWND* frame = OpenBenchFrame(folder, name);
    const double start = Now();
    SendMessageA(frame->panes.child.hwndTreeHost, WM_COMMAND, ID_FIND_DUPLICATES, 0);
    Pump();
    const double open = (Now() - start) * 1000.0;
    HWND window = FindWindowA(nullptr, kDuplicatesTitle);
    const int rows = window != nullptr ? ListView_GetItemCount(GetDlgItem(window, IDC_DUP_LIST)) : -1;
    printf("Opening the window (snapshot reload, grouping, %d rows shown): %.1f ms\n", rows, open);
    CloseBenchFrame(frame, folder, name);
}

}  // namespace

int main()
{
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LISTVIEW_CLASSES | ICC_TREEVIEW_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);
    BoxWatch boxes;
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string folder = std::string(temp) + "linkcairn_dupbench_" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string path = folder + "\\dups.xml";
    const std::string pristine = folder + "\\pristine.xml";
    WriteStore(pristine);
    CopyFileA(pristine.c_str(), path.c_str(), FALSE);
    printf("Duplicates benchmark (times in ms)\n\n");
    {
        CmyXml store;
        store.SetStorePath(path.c_str());
        BenchmarkGrouping(store);
        BenchmarkDelete(store, path, pristine);
    }
    CopyFileA(pristine.c_str(), path.c_str(), FALSE);
    BenchmarkWindow(folder, "dups.xml");
    DeleteFileA(pristine.c_str());
    DeleteFileA((folder + "\\dups_old.xml").c_str());
    RemoveDirectoryA(folder.c_str());
    return 0;
}
