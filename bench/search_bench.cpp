// Search benchmark, under a real display: one 次を検索 (FindNext, a fresh
// run) for a text that only the last entry of the store holds, over stores
// of 10,000 and 50,000 entries, against its floor: a copy of the snapshot
// plus one strstr per title. The engine's walk alone is shown too.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "app/ansi_text.h"
#include "store/xml_store.h"
#include "ui/main_frame.h"
#include "ui/search_engine.h"

namespace {

const char kNeedle[] = "zq-only-the-last";

double Now()
{
    LARGE_INTEGER f;
    LARGE_INTEGER t;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) / static_cast<double>(f.QuadPart);
}

double MedianMs(int runs, const std::function<void()>& work)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        double start = Now();
        work();
        times.push_back((Now() - start) * 1000.0);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

void Pump()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

// folders x 10 notes x 100 entries; only the very last title holds kNeedle.
void WriteStore(const std::string& path, int folders)
{
    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>\r\n<root>";
    char buf[1024];
    for (int f = 0; f < folders; ++f) {
        snprintf(buf, sizeof buf, "<dir><id>%d</id><name>folder %04d</name><array>", f, f);
        xml += buf;
        for (int n = 0; n < 10; ++n) {
            snprintf(buf, sizeof buf, "<booklist><id>%d</id><name>note %d-%d</name><array>", n, f, n);
            xml += buf;
            for (int e = 0; e < 100; ++e) {
                bool last = f == folders - 1 && n == 9 && e == 99;
                snprintf(buf, sizeof buf,
                         "<bookmark><id>%d</id><count>%d</count><valid>1</valid>"
                         "<date>2026/01/%02d</date><access>2026/02/%02d</access><update>-</update>"
                         "<list>https://example.com/articles/%d-%d-%d?ref=bench</list>"
                         "<title>Example article number %d \xE2\x80\x93 \xE8\xA8\x98\xE4\xBA\x8B %s</title>"
                         "<comment>-</comment></bookmark>",
                         e, e % 50, e % 28 + 1, e % 28 + 1, f, n, e, e, last ? kNeedle : "");
                xml += buf;
            }
            xml += "</array></booklist>";
        }
        xml += "</array></dir>";
    }
    xml += "</root>\r\n";
    FILE* out = fopen(path.c_str(), "wb");
    fwrite(xml.data(), 1, xml.size(), out);
    fclose(out);
}

struct Figures {
    int entries;
    double findNext;
    double engine;
    double floor;
};

Figures Measure(const std::string& folder, int folders)
{
    std::string store = folder + "\\search.xml";
    WriteStore(store, folders);
    std::string ini = "[ini]\r\npath=x\r\n[xml]\r\ncurxml=" + store + "\r\n";
    FILE* f = fopen((folder + "\\linkcairn.ini").c_str(), "wb");
    fwrite(ini.data(), 1, ini.size(), f);
    fclose(f);

    MYWND* frame = new MYWND(GetModuleHandleA(nullptr), (folder + "\\linkcairn.exe").c_str());
    frame->CreateContents();
    SendMessageA(frame->hwnd, WM_APP + 4, 600, WM_LBUTTONDBLCLK);
    SetWindowPos(frame->hwnd, nullptr, 0, 0, 900, 600, SWP_NOZORDER);
    Pump();
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
        std::vector<FolderRecord> copy = child.store.CopySnapshot();
        for (const FolderRecord& folderRecord : copy) {
            for (const NoteRecord& note : folderRecord.notes) {
                for (const EntryRecord& entry : note.entries)
                    found += strstr(entry.title, request.text) != nullptr;
            }
        }
    });
    if (found != static_cast<size_t>(runs))
        printf("!! the floor found %zu titles in %d runs\n", found, runs);

    SendMessageA(frame->hwnd, WM_COMMAND, 40050, 0);
    Pump();
    DeleteFileA(store.c_str());
    DeleteFileA((folder + "\\search_old.xml").c_str());
    DeleteFileA((folder + "\\linkcairn.ini").c_str());
    DeleteFileA((folder + "\\linkcairn_error.log").c_str());
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
    printf("\nfloor: a copy of the snapshot plus one strstr per title\n");
    printf("goal: FindNext within 1.5 x the floor\n");
    return 0;
}
