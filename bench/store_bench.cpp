// Store benchmark: generates stores of 1,000, 10,000, 50,000 and 100,000
// entries and times the snapshot load against a bare pugixml parse of the
// same file, the plain and the indented save, next to MSXML's load and save
// of the same file up to 50,000 entries (what the store used before, while
// the system still has it); then, on the 10,000-, 50,000- and 100,000-entry
// stores, every changing operation against a bare parse plus indented save
// (plus the backup copy where the operation keeps one), and the store's part
// of one user action (operation and snapshot reload); last, the peak working
// set of the 100,000-entry store in a process of its own.
#include <windows.h>
#include <commctrl.h>
#include <msxml2.h>
#include <psapi.h>

#include <algorithm>
#include <cstring>
#include <cstdio>
#include <functional>
#include <string>
#include <thread>
#include <atomic>
#include <vector>

#include <pugixml.hpp>

#include "app/com_types.h"
#include "bench/bench_support.h"
#include "store/entry_key.h"
#include "store/store_file.h"
#include "store/xml_layout.h"
#include "store/xml_store.h"

namespace {

// ---- Store generation

const wchar_t* const kJapaneseTitles[] = {
    L"表計算ソフトの使い方まとめ｜初心者向け解説",
    L"週末の天気予報 - 気象情報サイト",
    L"ソース管理入門：ブランチとマージの基本",
    L"東京の美味しいラーメン屋ランキング2024",
    L"【保存版】旅行の持ち物チェックリスト",
};
const wchar_t* const kAsciiTitles[] = {
    L"How to profile C++ code on Windows - Stack Overflow",
    L"Release notes 4.2 | Project Documentation",
    L"The XML 1.0 Recommendation (Fifth Edition)",
    L"GitHub - example/awesome-list: A curated list & more",
};
const wchar_t* const kComments[] = {L"-", L"あとで読む", L"-", L"reference for work", L"-", L"友人のおすすめ"};

std::string Utf8(const std::wstring& wide)
{
    int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), &out[0], n, nullptr, nullptr);
    return out;
}

std::string Escaped(const std::wstring& text)
{
    std::string raw = Utf8(text);
    std::string out;
    for (char c : raw) {
        if (c == '&') out += "&amp;";
        else if (c == '<') out += "&lt;";
        else if (c == '>') out += "&gt;";
        else out += c;
    }
    return out;
}

struct Shape {
    int folders, notes, entries;   // per store, per folder, per note
};

// The indented layout the program writes, 10 folders of notes of entries.
std::string GenerateStore(const Shape& shape)
{
    std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>\r\n<root>";
    auto leaf = [&](int depth, const char* name, const std::string& value) {
        out += "\r\n" + std::string(static_cast<size_t>(depth), '\t') + "<" + name + ">" + value + "</" + name + ">";
    };
    auto open = [&](int depth, const char* name) {
        out += "\r\n" + std::string(static_cast<size_t>(depth), '\t') + "<" + name + ">";
    };
    auto close = [&](int depth, const char* name) {
        out += "\r\n" + std::string(static_cast<size_t>(depth), '\t') + "</" + name + ">";
    };
    int serial = 0;
    for (int f = 0; f < shape.folders; ++f) {
        open(1, "dir");
        leaf(2, "id", std::to_string(f));
        leaf(2, "name", Escaped(L"フォルダ" + std::to_wstring(f)));
        open(2, "array");
        for (int n = 0; n < shape.notes; ++n) {
            open(3, "booklist");
            leaf(4, "id", std::to_string(n));
            leaf(4, "name", Escaped(L"ノート " + std::to_wstring(n)));
            open(4, "array");
            for (int e = 0; e < shape.entries; ++e, ++serial) {
                std::wstring title = serial % 3 == 0 ? kAsciiTitles[serial % 4] : kJapaneseTitles[serial % 5];
                title += L" #" + std::to_wstring(serial);
                wchar_t date[16];
                swprintf(date, 16, L"20%02d/%02d/%02d", 10 + serial % 14, serial % 12 + 1, serial % 28 + 1);
                open(5, "bookmark");
                leaf(6, "id", std::to_string(e));
                leaf(6, "count", std::to_string(serial % 50 + 1));
                leaf(6, "valid", serial % 17 == 0 ? "0" : "1");
                leaf(6, "date", Utf8(date));
                leaf(6, "access", Utf8(date));
                leaf(6, "update", serial % 5 == 0 ? "-" : Utf8(date));
                leaf(6, "list", Escaped(L"https://www.example.com/articles/" + std::to_wstring(serial) +
                                        L"/index.html?ref=bookmark&lang=ja"));
                leaf(6, "title", Escaped(title));
                leaf(6, "comment", Escaped(kComments[serial % 6]));
                close(5, "bookmark");
            }
            close(4, "array");
            close(3, "booklist");
        }
        close(2, "array");
        close(1, "dir");
    }
    out += "\r\n</root>";
    return out;
}

bool WriteFileBytes(const std::string& path, const std::string& bytes)
{
    FILE* f = fopen(path.c_str(), "wb");
    if (f == nullptr)
        return false;
    bool ok = fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return fclose(f) == 0 && ok;
}

// ---- Timing

// Median of runs of work, in milliseconds; prepare runs untimed before each.
double Median(int runs, const std::function<void()>& work, const std::function<void()>& prepare = nullptr)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        if (prepare)
            prepare();
        double start = Now();
        work();
        times.push_back((Now() - start) * 1000.0);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// ---- Floors

// A bare parse: pugixml reads and parses the file, nothing else.
void BareParse(const std::string& path, pugi::xml_document* doc)
{
    pugi::xml_parse_result result = doc->load_file(path.c_str(), kStoreParseOptions);
    if (!result)
        printf("  bare parse of %s failed: %s\n", path.c_str(), result.description());
}

// MSXML's DOM document, as the store used it before: load with white space
// dropped, save as it is. Plain COM calls, so that the figures depend on
// nothing of the program's own.
class MsxmlDocument {
public:
    MsxmlDocument()
    {
        CLSID clsid;
        if (SUCCEEDED(CLSIDFromProgID(L"MSXML.DOMDocument", &clsid)))
            CoCreateInstance(clsid, nullptr, CLSCTX_ALL, IID_IXMLDOMDocument, reinterpret_cast<void**>(&doc_));
        if (doc_ != nullptr) {
            doc_->put_async(VARIANT_FALSE);
            doc_->put_preserveWhiteSpace(VARIANT_FALSE);
        }
    }
    ~MsxmlDocument()
    {
        if (doc_ != nullptr)
            doc_->Release();
    }
    MsxmlDocument(const MsxmlDocument&) = delete;
    MsxmlDocument& operator=(const MsxmlDocument&) = delete;

    bool Available() const { return doc_ != nullptr; }
    bool Load(const std::string& path) { return Call(path, true); }
    bool Save(const std::string& path) { return Call(path, false); }

private:
    bool Call(const std::string& path, bool load)
    {
        if (doc_ == nullptr)
            return false;
        std::wstring wide(path.begin(), path.end());
        VARIANT target;
        VariantInit(&target);
        target.vt = VT_BSTR;
        target.bstrVal = SysAllocString(wide.c_str());
        VARIANT_BOOL loaded = VARIANT_FALSE;
        HRESULT hr = load ? doc_->load(target, &loaded) : doc_->save(target);
        VariantClear(&target);
        return SUCCEEDED(hr) && (!load || loaded == VARIANT_TRUE);
    }

    IXMLDOMDocument* doc_ = nullptr;
};

void WritePlainFile(const pugi::xml_document& doc, const std::string& path)
{
    WriteStoreDocument(doc, path.c_str(), false);
}

void PrintPeakMemory(const char* when)
{
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    printf("Peak memory %s: working set %.1f MB, private %.1f MB\n", when,
           static_cast<double>(counters.PeakWorkingSetSize) / (1024.0 * 1024.0),
           static_cast<double>(counters.PeakPagefileUsage) / (1024.0 * 1024.0));
}

struct SizeResult {
    int entries;
    double snapshot, bare, plain, indented, msxmlLoad, msxmlSave;
};

// The median of the runs of each of works, run in turn, so that a change
// in the machine's load during the run weighs on all of them alike.
std::vector<double> Interleaved(int runs, const std::vector<std::function<void()>>& works)
{
    std::vector<std::vector<double>> times(works.size());
    for (int i = 0; i < runs; ++i) {
        for (size_t w = 0; w < works.size(); ++w)
            times[w].push_back(Median(1, works[w]));
    }
    std::vector<double> medians;
    for (auto& t : times) {
        std::sort(t.begin(), t.end());
        medians.push_back(t[t.size() / 2]);
    }
    return medians;
}

SizeResult BenchmarkSize(const std::string& folder, int entries, const Shape& shape, int runs)
{
    std::string path = folder + "\\store_" + std::to_string(entries) + ".xml";
    double megabytes = 0;
    {
        std::string bytes = GenerateStore(shape);
        WriteFileBytes(path, bytes);
        megabytes = static_cast<double>(bytes.size()) / (1024.0 * 1024.0);
    }
    CmyXml store;
    store.SetStorePath(path.c_str());
    int loaded = 0;
    for (const auto& f : store.Snapshot())
        for (const auto& n : f.notes)
            loaded += static_cast<int>(n.entries.size());
    if (loaded != entries)
        printf("  snapshot holds %d entries, expected %d\n", loaded, entries);

    SizeResult r{};
    r.entries = entries;
    std::vector<double> loads = Interleaved(runs, {
        [&] {
            pugi::xml_document doc;
            BareParse(path, &doc);
        },
        [&] {
            store.ClearSnapshot();
            store.LoadSnapshot();
        },
    });
    r.bare = loads[0];
    r.snapshot = loads[1];
    pugi::xml_document doc;
    BareParse(path, &doc);
    std::string copy = folder + "\\copy.xml";
    r.plain = Median(runs, [&] { WritePlainFile(doc, copy); });
    // The indented save writes the store path itself (through its temporary
    // file); the content is the same document, so the file stays valid.
    r.indented = Median(runs, [&] { store.SaveIndented(&doc, nullptr); });
    printf("%6d entries (%5.2f MB): LoadSnapshot %7.1f ms, bare parse %6.1f ms, ratio %.2f (goal <= 1.5)\n",
           entries, megabytes, r.snapshot, r.bare,
           r.snapshot / r.bare);
    printf("%26s plain save %6.1f ms, indented save %6.1f ms\n", "", r.plain, r.indented);
    store.ClearSnapshot();
    DeleteFileA(copy.c_str());
    return r;
}

// MSXML's load and plain save of the same store, as the store did before.
// Run after everything else: its memory would hide the store's own peak.
void BenchmarkMsxml(const std::string& folder, SizeResult* r, int runs)
{
    std::string path = folder + "\\store_" + std::to_string(r->entries) + ".xml";
    std::string copy = folder + "\\copy.xml";
    r->msxmlLoad = Median(runs, [&] {
        MsxmlDocument fresh;
        fresh.Load(path);
    });
    MsxmlDocument msxml;
    msxml.Load(path);
    r->msxmlSave = Median(runs, [&] { msxml.Save(copy); });
    printf("%6d entries: MSXML load %7.1f ms (LoadSnapshot now %.1f times faster), plain save %6.1f ms\n",
           r->entries, r->msxmlLoad, r->msxmlLoad / r->snapshot, r->msxmlSave);
    DeleteFileA(copy.c_str());
}

void PrintGrowth(const std::vector<SizeResult>& results)
{
    printf("\nGrowth from %d entries (times per size, x from the previous size):\n", results[0].entries);
    auto row = [&](const char* name, double SizeResult::*field) {
        printf("  %-15s", name);
        for (size_t i = 0; i < results.size(); ++i) {
            double value = results[i].*field;
            if (i == 0 || results[i - 1].*field <= 0)
                printf(" %8.1f ms", value);
            else
                printf(" %8.1f ms (x%.1f)", value, value / (results[i - 1].*field));
        }
        printf("\n");
    };
    printf("  %-15s", "entries");
    for (const SizeResult& r : results)
        printf(" %8d   %s", r.entries, &r == &results.front() ? "" : "       ");
    printf("\n");
    row("LoadSnapshot", &SizeResult::snapshot);
    row("bare parse", &SizeResult::bare);
    row("plain save", &SizeResult::plain);
    row("indented save", &SizeResult::indented);
    if (results[0].msxmlLoad > 0) {
        row("MSXML load", &SizeResult::msxmlLoad);
        row("MSXML save", &SizeResult::msxmlSave);
    }
}

// The keys of every other entry of one note, `count` of them: what the
// list hands over for its selected rows.
std::vector<std::string> EveryOtherKey(int f, int n, int count)
{
    std::vector<std::string> keys;
    for (int i = 0; i < count; ++i) {
        char key[kEntryKeySize];
        FormatEntryKey(f, n, i * 2, key, sizeof key);
        keys.push_back(key);
    }
    return keys;
}

void BenchmarkOperations(const std::string& folder, const Shape& shape, int runs)
{
    int total = shape.folders * shape.notes * shape.entries;
    std::string path = folder + "\\ops.xml";
    std::string pristine = folder + "\\pristine.xml";
    WriteFileBytes(pristine, GenerateStore(shape));
    auto reset = [&] { CopyFileA(pristine.c_str(), path.c_str(), FALSE); };
    reset();

    CmyXml store;
    store.SetStorePath(path.c_str());
    // The store's own indented save: temporary file, flush, replace. An
    // operation that keeps a backup first copies the file: that copy is
    // part of the write it needs.
    double floor = Median(runs, [&] {
        pugi::xml_document doc;
        BareParse(path, &doc);
        store.SaveIndented(&doc, nullptr);
    }, reset);
    std::string backup = BackupPathFor(path.c_str());
    double backupFloor = Median(runs, [&] {
        pugi::xml_document doc;
        BareParse(path, &doc);
        CopyFileA(path.c_str(), backup.c_str(), FALSE);
        store.SaveIndented(&doc, nullptr);
    }, reset);
    printf("\nOperations on the %d-entry store (median of %d); floor = bare parse + indented save %.1f ms,\n"
           "  with the backup copy %.1f ms (* marks the operations that keep a backup)\n",
           total, runs, floor, backupFloor);

    const EntryRecord record =
        BenchEntry(3, 4, shape.entries, "https://www.example.com/new?x=1&y=2", "新しいピンロール - benchmark");
    const std::vector<EntryRecord> checks = BenchCheckResults(5, 5, 100);

    const std::vector<std::string> doomed = EveryOtherKey(4, 4, 10);

    struct Op {
        const char* name;
        bool backup;
        std::function<int()> run;
    };
    std::vector<Op> ops = {
        {"NewFolder", true, [&] { return store.NewFolder(nullptr); }},
        {"NewNote", true, [&] { return store.NewNote(2, 999, nullptr); }},
        {"RenameNote", false, [&] { return store.RenameNote("名前を変えたノート", 2, 3, nullptr); }},
        {"AddEntry", true, [&] { return store.AddEntry(record, nullptr); }},
        {"RecordAccess", false, [&] { return store.RecordAccess("1-2-3", nullptr); }},
        {"MoveEntry", true, [&] { return store.MoveEntry(0, 0, 5, 9, 9, nullptr); }},
        {"DeleteEntries (10 rows)", false, [&] { return store.DeleteEntries(doomed, nullptr); }},
        {"ApplyCheckResults (100 records)", false, [&] { return store.ApplyCheckResults(checks, nullptr); }},
    };
    printf("  %-34s %9s %6s %26s\n", "", "operation", "ratio", "with snapshot reload");
    for (const Op& op : ops) {
        int result = 1;
        double time = Median(runs, [&] { result = op.run() ? result : 0; }, reset);
        double action = Median(runs, [&] {
            result = op.run() ? result : 0;
            store.ClearSnapshot();
            store.LoadSnapshot();
        }, reset);
        std::string name = std::string(op.name) + (op.backup ? " *" : "");
        printf("  %-34s %6.1f ms  %5.2f (goal <= 1.3) %7.1f ms (goal < 500)%s\n", name.c_str(), time,
               time / (op.backup ? backupFloor : floor), action, result ? "" : "  !! returned 0");
    }
    store.ClearSnapshot();
    DeleteFileA(backup.c_str());
}

// What the program holds at its peak on one store, measured in a process
// of its own (the peak of this one holds every size before): the start-up's
// load, then an operation and its reload.
void PrintProgramPeak(const std::string& path)
{
    CmyXml store;
    store.SetStorePath(path.c_str());
    store.AddEntry(BenchEntry(1, 1, 100, "https://www.example.com/peak", "peak"), nullptr);
    store.ReloadSnapshot();
    store.RecordAccess("1-2-3", nullptr);
    store.ReloadSnapshot();
    PrintPeakMemory("of a store's start-up, one addition and one access, each with its reload");
}

void MeasureInOwnProcess(const std::string& path)
{
    char exe[MAX_PATH];
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    std::string command = "\"" + std::string(exe) + "\" --peak \"" + path + "\"";
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA(exe, &command[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi)) {
        printf("  the peak process did not start\n");
        return;
    }
    WaitForSingleObject(pi.hProcess, INFINITE);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && strcmp(argv[1], "--peak") == 0) {
        PrintProgramPeak(argv[2]);
        return 0;
    }
    // MSXML, for the figures from before, is a COM object.
    HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&icc);
    {
        BoxWatch boxes;

        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        std::string folder = std::string(temp) + "linkcairn_bench_" + std::to_string(GetCurrentProcessId());
        CreateDirectoryA(folder.c_str(), nullptr);

        printf("Store benchmark (medians; times in ms)\n\n");
        PrintPeakMemory("at the start");
        struct Size {
            int entries;
            Shape shape;
            int runs;
        } sizes[] = {{1000, {10, 5, 20}, 15},
                     {10000, {10, 10, 100}, 7},
                     {50000, {10, 10, 500}, 5},
                     {100000, {100, 10, 100}, 3}};
        std::vector<SizeResult> results;
        for (const Size& size : sizes)
            results.push_back(BenchmarkSize(folder, size.entries, size.shape, size.runs));
        BenchmarkOperations(folder, {10, 10, 100}, 5);
        BenchmarkOperations(folder, {10, 10, 500}, 3);
        BenchmarkOperations(folder, {100, 10, 100}, 3);
        PrintPeakMemory("of this benchmark");
        printf("\n100,000 entries in a process of their own:\n");
        fflush(stdout);
        MeasureInOwnProcess(folder + "\\store_100000.xml");
        printf("goal: peak working set <= 200 MB\n");

        if (MsxmlDocument().Available()) {
            printf("\nBefore: MSXML on the same files (the store used it to load and save)\n");
            for (SizeResult& r : results) {
                if (r.entries <= 50000)
                    BenchmarkMsxml(folder, &r, 3);
            }
        }
        PrintGrowth(results);

        WIN32_FIND_DATAA found;
        HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &found);
        if (find != INVALID_HANDLE_VALUE) {
            do {
                DeleteFileA((folder + "\\" + found.cFileName).c_str());
            } while (FindNextFileA(find, &found));
            FindClose(find);
        }
        RemoveDirectoryA(folder.c_str());
    }
    if (SUCCEEDED(com))
        CoUninitialize();
    return 0;
}
