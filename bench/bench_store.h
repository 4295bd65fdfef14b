#pragma once
// Generated stores and a shown frame on them, shared by the benchmarks that
// run the program's windows.
#include <windows.h>

#include <cstdio>
#include <functional>
#include <string>

#include "bench/bench_timing.h"
#include "ui/main_frame.h"

// folders x notes; entriesIn(f, n) entries in each note, entry e titled
// "Example article number e – 記事" followed by titleTail(f, n, e), at
// address(f, n, e) when given (else one of its own per entry).
struct BenchStoreShape {
    int folders;
    int notes;
    std::function<int(int f, int n)> entriesIn;
    std::function<const char*(int f, int n, int e)> titleTail;
    std::function<std::string(int f, int n, int e)> address = nullptr;
};

inline void WriteBenchStore(const std::string& path, const BenchStoreShape& shape)
{
    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>\r\n<root>";
    char buf[1024];
    for (int f = 0; f < shape.folders; ++f) {
        snprintf(buf, sizeof buf, "<dir><id>%d</id><name>folder %04d</name><array>", f, f);
        xml += buf;
        for (int n = 0; n < shape.notes; ++n) {
            snprintf(buf, sizeof buf, "<booklist><id>%d</id><name>note %d-%d</name><array>", n, f, n);
            xml += buf;
            const int entries = shape.entriesIn(f, n);
            for (int e = 0; e < entries; ++e) {
                char own[96];
                snprintf(own, sizeof own, "https://example.com/articles/%d-%d-%d?ref=bench", f, n, e);
                const std::string address = shape.address ? shape.address(f, n, e) : own;
                snprintf(buf, sizeof buf,
                         "<bookmark><id>%d</id><count>%d</count><valid>1</valid>"
                         "<date>2026/01/%02d</date><access>2026/02/%02d</access><update>-</update>"
                         "<list>%s</list>"
                         "<title>Example article number %d \xE2\x80\x93 \xE8\xA8\x98\xE4\xBA\x8B%s</title>"
                         "<comment>-</comment></bookmark>",
                         e, e % 50, e % 28 + 1, e % 28 + 1, address.c_str(), e, shape.titleTail(f, n, e));
                xml += buf;
            }
            xml += "</array></booklist>";
        }
        xml += "</array></dir>";
    }
    xml += "</root>\r\n";
    if (FILE* out = fopen(path.c_str(), "wb")) {
        fwrite(xml.data(), 1, xml.size(), out);
        fclose(out);
    }
}

// A shown frame of 900 x 600 on the store at folder\name, as at program
// start with that store remembered.
inline MYWND* OpenBenchFrame(const std::string& folder, const std::string& name)
{
    std::string ini = "[ini]\r\npath=x\r\n[xml]\r\ncurxml=" + folder + "\\" + name + "\r\n";
    if (FILE* f = fopen((folder + "\\linkcairn.ini").c_str(), "wb")) {
        fwrite(ini.data(), 1, ini.size(), f);
        fclose(f);
    }
    MYWND* frame = new MYWND(GetModuleHandleA(nullptr), (folder + "\\linkcairn.exe").c_str());
    frame->CreateContents();
    SendMessageA(frame->hwnd, WM_APP + 4, 600, WM_LBUTTONDBLCLK);
    SetWindowPos(frame->hwnd, nullptr, 0, 0, 900, 600, SWP_NOZORDER);
    Pump();
    return frame;
}

// Ends the frame and removes the store, its backup, the ini and the log.
inline void CloseBenchFrame(MYWND* frame, const std::string& folder, const std::string& name)
{
    SendMessageA(frame->hwnd, WM_COMMAND, 40050, 0);
    Pump();
    std::string store = folder + "\\" + name;
    DeleteFileA(store.c_str());
    DeleteFileA((store.substr(0, store.size() - 4) + "_old.xml").c_str());
    DeleteFileA((folder + "\\linkcairn.ini").c_str());
    DeleteFileA((folder + "\\linkcairn_error.log").c_str());
}
