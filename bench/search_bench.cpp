// Search benchmark, under a real display: one 次を検索 (FindNext, a fresh
// run) for a text that only the last entry of the store holds, over stores
// of 10,000 and 50,000 entries, against its floor: one strstr per title of
// the snapshot, read in place. The engine's walk alone is shown too.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "app/ansi_text.h"
#include "bench/bench_store.h"
#include "store/xml_store.h"
#include "ui/main_frame.h"
#include "ui/search_engine.h"

namespace {

// The last entry's title ends in the tail; the search looks for its text.
const char kNeedleTail[] = " zq-only-the-last";
const char* const kNeedle = kNeedleTail + 1;

struct Figures {
    int entries;
    double findNext;
    double engine;
    double floor;
};

Figures Measure(const std::string& folder, int folders)
{
    // folders x 10 notes x 100 entries; only the very last title holds kNeedle.
    WriteBenchStore(folder + "\\search.xml",
                    {folders, 10, [](int, int) { return 100; }, [folders](int f, int n, int e) {
                         return f == folders - 1 && n == 9 && e == 99 ? kNeedleTail : "";
                     }});
    MYWND* frame = OpenBenchFrame(folder, "search.xml");
    CChildWnd& child = frame->panes.child;
    CTreeCtrl& tree = child.tree;

    SearchRequest request = {};
    snprintf(request.text, sizeof request.text, "%s", kNeedle);
    request.target = kSearchTitle;
    request.downward = 1;
    const int runs = 15;

    Figures out = {folders * 1000, 0, 0, 0};
    // Each run starts afresh, as a new text in the dialog does.
    out.findNext = MedianMs(runs, [&] {
        tree.searchState = SearchState{};
        tree.FindNext(request);
        Pump();
    });
    if (tree.searchState.hitCount != 1 || tree.searchState.folder != folders - 1)
        printf("!! the search did not end on the last entry\n");
    out.engine = MedianMs(runs, [&] {
        SearchState state = {};
        SearchHit hit;
        SearchStep(&state, request, child.store.Snapshot(), &hit, IsAnsiLeadByte);
    });
    size_t found = 0;
    out.floor = MedianMs(runs, [&] {
        for (const FolderRecord& folderRecord : child.store.Snapshot()) {
            for (const NoteRecord& note : folderRecord.notes) {
                for (const EntryRecord& entry : note.entries)
                    found += strstr(entry.title, request.text) != nullptr;
            }
        }
    });
    if (found != static_cast<size_t>(runs))
        printf("!! the floor found %zu titles in %d runs\n", found, runs);

    CloseBenchFrame(frame, folder, "search.xml");
    return out;
}

}  // namespace

int main()
{
    char tempDir[MAX_PATH];
    GetTempPathA(MAX_PATH, tempDir);
    std::string folder = std::string(tempDir) + "linkcairn_search_bench";
    CreateDirectoryA(folder.c_str(), nullptr);

    std::vector<Figures> rows;
    for (int folders : {10, 50})
        rows.push_back(Measure(folder, folders));
    RemoveDirectoryA(folder.c_str());

    printf("次を検索 for a text only the last entry holds, a fresh run each time (median of 15, ms)\n");
    printf("\n%-10s %12s %10s %10s %10s\n", "entries", "FindNext", "engine", "floor", "ratio");
    for (const Figures& r : rows)
        printf("%-10d %12.2f %10.2f %10.2f %10.2f\n", r.entries, r.findNext, r.engine, r.floor,
               r.findNext / r.floor);
    printf("\nfloor: one strstr per title of the snapshot, read in place\n");
    printf("goal: FindNext within 1.5 x the floor\n");
    return 0;
}
