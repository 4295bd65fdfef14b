// Bookmark file benchmark: generates browser-style bookmark files of
// 10,000 and 50,000 links and times the read, the merge plan into an empty
// store and into a store that already holds every link, and the export of
// the resulting store; then the whole import into an empty store file (read
// the file, plan, the one store write) against the store's own load and
// indented save of the file it gives, and the whole export (snapshot load,
// bookmark text, file written beside its target and moved into place)
// against a snapshot load and the same bytes written alike; and the peak
// memory.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include <pugixml.hpp>

#include "bench/bench_support.h"
#include "bookmarks/bookmark_export.h"
#include "bookmarks/bookmark_files.h"
#include "bookmarks/bookmark_import.h"
#include "bookmarks/bookmark_merge.h"
#include "bookmarks/bookmark_platform_win.h"
#include "store/store_file.h"
#include "store/xml_store.h"

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

void PrintPeakMemory()
{
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    printf("Peak memory: working set %.1f MB, private %.1f MB\n",
           static_cast<double>(counters.PeakWorkingSetSize) / (1024.0 * 1024.0),
           static_cast<double>(counters.PeakPagefileUsage) / (1024.0 * 1024.0));
}

// The import and the export as the commands run them, on files in folder,
// each run followed by its floor so that both see the same machine.
void BenchmarkWholePath(const std::string& folder, int links, const std::string& file, int runs)
{
    const WinBookmarkPlatform platform;
    const std::string source = folder + "\\bookmarks.html";
    const std::string storePath = folder + "\\store.xml";
    const std::string target = folder + "\\export.html";
    if (FILE* out = fopen(source.c_str(), "wb")) {
        fwrite(file.data(), 1, file.size(), out);
        fclose(out);
    }
    CmyXml store;
    std::vector<double> read, plan, write, import, importFloor, exportTime, exportFloor;
    size_t added = 0;
    size_t exported = 0;
    for (int run = 0; run < runs; ++run) {
        store.CreateStoreFile(storePath.c_str());
        store.ClearSnapshot();
        store.SetStorePath(storePath.c_str());
        double start = Now();
        std::string bytes;
        ReadBookmarkBytes(source.c_str(), kMaxBookmarkFileBytes, bytes);
        BookmarkImport links = ReadBookmarkFile(bytes.data(), bytes.size(), platform, "2024/01/02");
        std::string().swap(bytes);
        double at = Now();
        read.push_back((at - start) * 1000.0);
        const MergePlan merge = PlanMerge(store.Snapshot(), std::move(links.notes));
        plan.push_back((Now() - at) * 1000.0);
        at = Now();
        store.ImportEntries(merge, nullptr);
        write.push_back((Now() - at) * 1000.0);
        import.push_back((Now() - start) * 1000.0);
        added = merge.added;

        importFloor.push_back(MedianMs(1, [&] {
            pugi::xml_document doc;
            LoadProblem problem;
            LoadStoreDocument(storePath.c_str(), &doc, &problem);
            store.SaveIndented(&doc, nullptr);
        }));
        std::string same;
        exportTime.push_back(MedianMs(1, [&] {
            store.ReloadSnapshot();
            same = WriteBookmarkFile(store.Snapshot(), platform);
            WriteBookmarkBytes(target.c_str(), same);
        }));
        exported = same.size();
        exportFloor.push_back(MedianMs(1, [&] {
            store.ReloadSnapshot();
            WriteBookmarkBytes(target.c_str(), same);
        }));
    }
    HANDLE stored = CreateFileA(storePath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    LARGE_INTEGER storeSize = {};
    GetFileSizeEx(stored, &storeSize);
    CloseHandle(stored);
    printf("%6d links: import into an empty store %7.1f ms (%zu added, store file %5.2f MB), "
           "floor (load + indented save) %7.1f ms, ratio %.2f (goal <= 1.5)\n",
           links, Median(import), added, static_cast<double>(storeSize.QuadPart) / 1e6, Median(importFloor),
           Median(import) / Median(importFloor));
    printf("%13s of it: file read and links %6.1f ms, merge plan %5.1f ms, the store write %6.1f ms\n", "",
           Median(read), Median(plan), Median(write));
    printf("%13s export of the store %7.1f ms (%5.2f MB), floor (snapshot load + same bytes written) %7.1f ms, "
           "ratio %.2f (goal <= 1.5)\n",
           "", Median(exportTime), static_cast<double>(exported) / 1e6, Median(exportFloor),
           Median(exportTime) / Median(exportFloor));
    PrintPeakMemory();
    for (const std::string& path : {source, storePath, target, BackupPathFor(storePath.c_str())})
        DeleteFileA(path.c_str());
}

}  // namespace

int main()
{
    // The commands first: the peak memory each prints is then their own.
    char temp[MAX_PATH] = {};
    GetTempPathA(sizeof temp, temp);
    const std::string folder = std::string(temp) + "linkcairn_bookmark_bench";
    CreateDirectoryA(folder.c_str(), nullptr);
    {
        BoxWatch boxes;
        printf("Import and export commands, whole path (medians of 7; times in ms)\n");
        for (int links : {10000, 50000})
            BenchmarkWholePath(folder, links, MakeFile(links), 7);
        RemoveDirectoryA(folder.c_str());
    }

    const WinBookmarkPlatform platform;
    printf("\nBookmark file byte logic (medians of 5; times in ms)\n");
    for (int links : {10000, 50000}) {
        const std::string file = MakeFile(links);
        BookmarkImport import;
        const double read = MedianMs(5, [&] { import = ReadBookmarkFile(file.data(), file.size(), platform, "2024/01/02"); });
        MergePlan plan;
        const double planEmpty = MedianMs(5, [&] { plan = PlanMerge({}, import.notes); });
        std::vector<FolderRecord> store;
        ApplyMergePlan(plan, store);
        MergePlan again;
        const double planFull = MedianMs(5, [&] { again = PlanMerge(store, import.notes); });
        std::string out;
        const double write = MedianMs(5, [&] { out = WriteBookmarkFile(store, platform); });
        printf("%6d links (%5.2f MB): read %7.1f ms, plan into empty store %6.1f ms (%zu added), "
               "into the same store %6.1f ms (%zu duplicates)\n",
               links, static_cast<double>(file.size()) / 1e6, read, planEmpty, plan.added, planFull,
               again.duplicates);
        printf("%26s export %7.1f ms (%5.2f MB)\n", "", write, static_cast<double>(out.size()) / 1e6);
    }
    PrintPeakMemory();
    return 0;
}
