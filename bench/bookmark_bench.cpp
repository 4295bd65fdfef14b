// Bookmark file benchmark: generates browser-style bookmark files of
// 10,000 and 50,000 links and times the read, the merge plan into an empty
// store and into a store that already holds every link, and the export of
// the resulting store; then prints the peak memory.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "store/bookmark_export.h"
#include "store/bookmark_import.h"
#include "store/bookmark_merge.h"
#include "store/bookmark_platform_win.h"

namespace {

// UTF-8 titles, as a browser writes them.
const char* const kTitles[] = {
    "\xE8\xA1\xA8\xE8\xA8\x88\xE7\xAE\x97\xE3\x82\xBD\xE3\x83\x95\xE3\x83\x88\xE3\x81\xAE\xE4\xBD\xBF"
    "\xE3\x81\x84\xE6\x96\xB9\xE3\x81\xBE\xE3\x81\xA8\xE3\x82\x81",
    "How to profile C++ code on Windows - Stack Overflow",
    "\xE9\x80\xB1\xE6\x9C\xAB\xE3\x81\xAE\xE5\xA4\xA9\xE6\xB0\x97\xE4\xBA\x88\xE5\xA0\xB1 - weather",
    "Release notes 4.2 &amp; migration guide | Project Documentation",
};
const char kIcon[] =
    " ICON=\"data:image/png;base64,iVBORw0KGgoAAAANSUhEUgAAABAAAAAQCAYAAAAf8/9hAAAAbElEQVQ4jWNgGAWj"
    "YBSMglEwCkbBKBgFo2AUjIJRMApGwSgYBaNgFIyCUTAKRsEoGAWjYBSMglEwCkbBKBgFo2AUjIJRMApGwSgYBaNgFIyC"
    "UTAKRsEoGAWjYBSMglEwCkbBKBgFo2AUjIJRMApGwSgYBaNgFIyCUTAKRsEoGAUAAPIhBBHqKbWcAAAAAElFTkSuQmCC\"";

// Folders of 250 links, each with a subfolder and a subfolder of that.
std::string MakeFile(int links)
{
    std::string file =
        "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n"
        "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=UTF-8\">\n"
        "<TITLE>Bookmarks</TITLE>\n<H1>Bookmarks</H1>\n<DL><p>\n";
    for (int i = 0; i < links; ++i) {
        const int inFolder = i % 250;
        if (inFolder == 0)
            file += "<DT><H3 ADD_DATE=\"1700000000\">Folder " + std::to_string(i / 250) + "</H3>\n<DL><p>\n";
        if (inFolder == 100 || inFolder == 200)
            file += "<DT><H3>Sub " + std::to_string(inFolder) + "</H3>\n<DL><p>\n";
        file += "<DT><A HREF=\"https://www.example.com/articles/" + std::to_string(i) +
                "?ref=bookmarks&amp;page=2\" ADD_DATE=\"" + std::to_string(1500000000 + i * 600) +
                "\" LAST_VISIT=\"1700100000\"" + (i % 3 == 0 ? kIcon : "") + ">" + kTitles[i % 4] + "</A>\n";
        if (i % 7 == 0)
            file += "<DD>read later\n";
        if (inFolder == 249 || i == links - 1)
            file += inFolder >= 200 ? "</DL><p>\n</DL><p>\n</DL><p>\n" : inFolder >= 100 ? "</DL><p>\n</DL><p>\n" : "</DL><p>\n";
    }
    file += "</DL><p>\n";
    return file;
}

double Median(int runs, const std::function<void()>& work)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        work();
        times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

void PrintPeakMemory()
{
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    printf("Peak memory: working set %.1f MB, private %.1f MB\n",
           static_cast<double>(counters.PeakWorkingSetSize) / (1024.0 * 1024.0),
           static_cast<double>(counters.PeakPagefileUsage) / (1024.0 * 1024.0));
}

}  // namespace

int main()
{
    const WinBookmarkPlatform platform;
    printf("Bookmark file benchmark (medians of 5; times in ms)\n\n");
    for (int links : {10000, 50000}) {
        const std::string file = MakeFile(links);
        BookmarkImport import;
        const double read = Median(5, [&] { import = ReadBookmarkFile(file.data(), file.size(), platform, "2024/01/02"); });
        MergePlan plan;
        const double planEmpty = Median(5, [&] { plan = PlanMerge({}, import.notes); });
        std::vector<FolderRecord> store;
        ApplyMergePlan(plan, store);
        MergePlan again;
        const double planFull = Median(5, [&] { again = PlanMerge(store, import.notes); });
        std::string out;
        const double write = Median(5, [&] { out = WriteBookmarkFile(store, platform); });
        printf("%6d links (%5.2f MB): read %7.1f ms, plan into empty store %6.1f ms (%zu added), "
               "into the same store %6.1f ms (%zu duplicates)\n",
               links, static_cast<double>(file.size()) / 1e6, read, planEmpty, plan.added, planFull,
               again.duplicates);
        printf("%26s export %7.1f ms (%5.2f MB)\n", "", write, static_cast<double>(out.size()) / 1e6);
    }
    PrintPeakMemory();
    return 0;
}
