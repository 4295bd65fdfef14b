#pragma once
#include <windows.h>

#include "bench/bench_timing.h"
#include "store/entry_key.h"
#include "store/records.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <functional>
#include <string>
#include <thread>
#include <vector>

// Helpers of the benchmarks that run windows: a median of measured times,
// and an answer to any message box.

inline double Median(std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// A message box means something failed: print it and answer it, so that
// the benchmark never hangs. The new-entry dialog (it has edit boxes) is
// left alone.
class BoxWatch {
public:
    BoxWatch()
        : thread_([this] {
              while (!stop_) {
                  for (HWND box = FindWindowExA(nullptr, nullptr, "#32770", nullptr); box != nullptr;
                       box = FindWindowExA(nullptr, box, "#32770", nullptr)) {
                      if (FindWindowExA(box, nullptr, "Edit", nullptr) != nullptr ||
                          GetDlgItem(box, 0xFFFF) == nullptr)
                          continue;
                      char text[1024] = {};
                      GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
                      printf("  !! message box: %s\n", text);
                      PostMessageA(box, WM_COMMAND, IDOK, 0);
                  }
                  Sleep(50);
              }
          })
    {
    }
    ~BoxWatch()
    {
        stop_ = true;
        thread_.join();
    }

private:
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

// A store of folders x notes x entries, every entry dated alike and
// updated 2001/01/01 (so a check finds a change); address(f, n, e) names
// each entry's address.
inline std::string GeneratedStoreXml(int folders, int notes, int entries,
                                     const std::function<std::string(int, int, int)>& address)
{
    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>\r\n<root>";
    char buf[1024];
    for (int f = 0; f < folders; ++f) {
        snprintf(buf, sizeof buf, "<dir><id>%d</id><name>folder %02d</name><array>", f, f);
        xml += buf;
        for (int n = 0; n < notes; ++n) {
            snprintf(buf, sizeof buf, "<booklist><id>%d</id><name>note %d</name><array>", n, n);
            xml += buf;
            for (int e = 0; e < entries; ++e) {
                snprintf(buf, sizeof buf,
                         "<bookmark><id>%d</id><count>1</count><valid>1</valid><date>2026/01/02</date>"
                         "<access>2026/01/02</access><update>2001/01/01</update><list>%s</list>"
                         "<title>Example article %d \xE8\xA8\x98\xE4\xBA\x8B</title><comment>-</comment></bookmark>",
                         e, address(f, n, e).c_str(), e);
                xml += buf;
            }
            xml += "</array></booklist>";
        }
        xml += "</array></dir>";
    }
    return xml + "</root>\r\n";
}

// An entry to add at the end of note (f, n), which holds `position` now.
inline EntryRecord BenchEntry(int f, int n, int position, const char* address, const char* title)
{
    EntryRecord record;
    record.folderPos = f;
    record.notePos = n;
    record.entryPos = position;
    lstrcpynA(record.count, "1", sizeof record.count);
    lstrcpynA(record.valid, "1", sizeof record.valid);
    lstrcpynA(record.date, "2024/06/01", sizeof record.date);
    lstrcpynA(record.access, "2024/06/01", sizeof record.access);
    lstrcpynA(record.update, "-", sizeof record.update);
    record.list = address;
    record.title = title;
    record.comment = "-";
    return record;
}

// What an update check of the first `count` entries of note (f, n) writes.
inline std::vector<EntryRecord> BenchCheckResults(int f, int n, int count)
{
    std::vector<EntryRecord> checks;
    for (int e = 0; e < count; ++e) {
        EntryRecord r;
        FormatEntryKey(f, n, e, r.key, sizeof r.key);
        lstrcpynA(r.valid, e % 7 == 0 ? "0" : "1", sizeof r.valid);
        lstrcpynA(r.update, e % 3 == 0 ? "-" : "2024/06/02", sizeof r.update);
        checks.push_back(r);
    }
    return checks;
}
