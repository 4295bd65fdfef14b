// Views benchmark, under a real display: selecting a note of 1,000 entries
// (FillList) and rebuilding a tree of 1,000 folders with 10 notes each
// (FillTree), each against its floor: inserting the same rows or items,
// read from the snapshot in place, into a bare control. Also counts the
// repaints a rebuild causes; then, on a shown frame over 100,000 entries,
// one user action of each kind with the views following it.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "bench/bench_store.h"
#include "bench/bench_support.h"
#include "store/xml_store.h"
#include "ui/view_sync.h"
#include "ui/main_frame.h"

namespace {

int paints = 0;

LRESULT CALLBACK CountPaints(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR)
{
    if (msg == WM_PAINT)
        ++paints;
    return DefSubclassProc(hwnd, msg, wParam, lParam);
}

HWND BareControl(const char* cls, DWORD style, HWND parent)
{
    RECT rc;
    GetClientRect(parent, &rc);
    return CreateWindowExA(0, cls, "", WS_CHILD | WS_VISIBLE | style, 0, 0, rc.right, rc.bottom,
                           parent, nullptr, GetModuleHandleA(nullptr), nullptr);
}

// The floors hold drawing too, so that they measure the inserts alone.
void FillBareList(HWND list, const std::vector<FolderRecord>& copy)
{
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    ListView_DeleteAllItems(list);
    const auto& entries = copy[0].notes[0].entries;
    for (int i = 0; i < static_cast<int>(entries.size()); ++i) {
        LVITEMA item = {};
        item.mask = LVIF_TEXT | LVIF_PARAM | LVIF_IMAGE;
        item.iItem = i;
        item.pszText = const_cast<char*>(entries[i].title.c_str());
        item.lParam = i;
        int row = static_cast<int>(SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
        const char* cells[8] = {entries[i].list, entries[i].comment, entries[i].date, entries[i].access,
                                entries[i].update, entries[i].count, "x", entries[i].key};
        for (int c = 0; c < 8; ++c)
            ListView_SetItemText(list, row, c + 1, const_cast<char*>(cells[c]));
    }
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
}

void FillBareTree(HWND tree, const std::vector<FolderRecord>& copy)
{
    SendMessageA(tree, WM_SETREDRAW, FALSE, 0);
    TreeView_DeleteAllItems(tree);
    for (const FolderRecord& folder : copy) {
        TVINSERTSTRUCTA ins = {};
        ins.hParent = TVI_ROOT;
        ins.hInsertAfter = TVI_LAST;
        ins.item.mask = TVIF_TEXT;
        ins.item.pszText = const_cast<char*>(folder.name.c_str());
        HTREEITEM parent = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&ins)));
        for (const NoteRecord& note : folder.notes) {
            ins.hParent = parent;
            ins.item.pszText = const_cast<char*>(note.name.c_str());
            SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&ins));
        }
    }
    SendMessageA(tree, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(tree, nullptr, TRUE);
}

// One user action each on a shown frame over 100,000 entries: the store's
// write, then the views following it as the commands make them (the tree
// rebuilt for a folder or note change, the shown note's list refilled for
// an entry change), drawing included.
void BenchmarkActions(const std::string& folder)
{
    WriteBenchStore(folder + "\\actions.xml",
                    {100, 10, [](int, int) { return 100; }, [](int, int, int) { return ""; }});
    double start = Now();
    MYWND* frame = OpenBenchFrame(folder, "actions.xml");
    printf("\nstart-up with 100,000 entries (100 folders x 10 notes x 100): %.1f ms\n", (Now() - start) * 1000.0);
    CChildWnd& child = frame->panes.child;
    CmyXml& store = child.store;
    ViewSync& views = child.views;
    HWND owner = frame->hwnd;
    views.ShowNote(5, 5);
    Pump();

    EntryRecord added = BenchEntry(5, 5, 0, "https://example.com/added", "追加したページ");
    const std::vector<EntryRecord> checks = BenchCheckResults(5, 5, 100);
    int failures = 0;
    auto ok = [&](int result) { failures += result ? 0 : 1; };
    auto treeChanged = [&](TreePosition at) {
        views.TreeChanged(&at);
        Pump();
    };
    auto noteChanged = [&] {
        views.NoteChanged(5, 5);
        Pump();
    };
    struct Action {
        const char* name;
        std::function<void()> run;
    };
    const Action actions[] = {
        {"rename a note", [&] {
             int at = -1;
             ok(store.RenameNote("note 5-5", 5, 5, owner, &at));
             treeChanged({5, at});
         }},
        {"new folder", [&] {
             ok(store.NewFolder(owner));
             treeChanged({5, 5});
         }},
        {"new note", [&] {
             ok(store.NewNote(7, 999, owner));
             treeChanged({5, 5});
         }},
        {"add an entry", [&] {
             added.entryPos = static_cast<int>(store.Snapshot()[5].notes[5].entries.size());
             ok(store.AddEntry(added, owner));
             noteChanged();
         }},
        {"delete an entry", [&] {
             ok(store.DeleteEntries({"5-5-0"}, owner));
             noteChanged();
         }},
        {"move an entry", [&] {
             ok(store.MoveEntry(5, 5, 1, 6, 6, owner));
             noteChanged();
         }},
        {"open or copy (access)", [&] { ok(store.RecordAccess("5-5-2", owner)); }},
        {"update check write (100 rows)", [&] {
             ok(store.ApplyCheckResults(checks, owner));
             views.RefreshList();
             Pump();
         }},
    };
    printf("\n%-44s %10s\n", "user action on 100,000 entries", "ms");
    for (const Action& action : actions)
        printf("%-44s %10.1f\n", action.name, MedianMs(5, action.run));
    printf("goal: each under 500 ms%s\n", failures ? "  !! an operation returned 0" : "");

    double fill = MedianMs(15, [&] { child.list.FillList(5, 5); Pump(); });
    printf("FillList, note of 100 entries in a 100,000-entry store: %.1f ms\n", fill);
    CloseBenchFrame(frame, folder, "actions.xml");
}

}  // namespace

int main()
{
    char tempDir[MAX_PATH];
    GetTempPathA(MAX_PATH, tempDir);
    std::string folder = std::string(tempDir) + "linkcairn_views_bench";
    CreateDirectoryA(folder.c_str(), nullptr);
    // 1,000 folders of 10 notes; folder 0's note 0 holds 1,000 entries.
    WriteBenchStore(folder + "\\views.xml",
                    {1000, 10, [](int f, int n) { return f == 0 && n == 0 ? 1000 : 0; },
                     [](int, int, int) { return ""; }});

    double start = Now();
    MYWND* frame = OpenBenchFrame(folder, "views.xml");
    printf("start-up with 1,000 folders, 10,000 notes: %.1f ms\n", (Now() - start) * 1000.0);

    CChildWnd& child = frame->panes.child;
    CTreeCtrl& tree = child.tree;
    CListCtrl& list = child.list;
    const int runs = 15;

    double fillList = MedianMs(runs, [&] { list.FillList(0, 0); Pump(); });
    double fillTree = MedianMs(runs, [&] {
        tree.SetBusy(true);
        tree.FillTree();
        tree.SetBusy(false);
        Pump();
    });

    // Floors: the same inserts into bare controls with the views' own
    // control styles, column widths and row image (grid lines and full-row
    // selection alone cost the list about a tenth). The views copy nothing,
    // so neither do the floors.
    HWND bareList = BareControl(WC_LISTVIEWA, WS_BORDER | LVS_REPORT | LVS_EDITLABELS | LVS_SHOWSELALWAYS |
                                                  LVS_SHAREIMAGELISTS,
                                child.hwndListHost);
    // The same rows: each with the program's row image.
    ListView_SetImageList(bareList, ListView_GetImageList(list.control, LVSIL_SMALL), LVSIL_SMALL);
    ListView_SetExtendedListViewStyle(bareList, LVS_EX_GRIDLINES | LVS_EX_HEADERDRAGDROP | LVS_EX_FULLROWSELECT);
    for (int c = 0; c < 9; ++c) {
        LVCOLUMNA col = {};
        col.mask = LVCF_WIDTH | LVCF_TEXT;
        col.cx = ListView_GetColumnWidth(list.control, c);
        col.pszText = const_cast<char*>("c");
        SendMessageA(bareList, LVM_INSERTCOLUMNA, c, reinterpret_cast<LPARAM>(&col));
    }
    double listFloor = MedianMs(runs, [&] {
        FillBareList(bareList, child.store.Snapshot());
        Pump();
    });
    ShowWindow(bareList, SW_HIDE);
    HWND bareTree = BareControl(WC_TREEVIEWA, TVS_HASBUTTONS, child.hwndTreeHost);
    double treeFloor = MedianMs(runs, [&] {
        FillBareTree(bareTree, child.store.Snapshot());
        Pump();
    });
    ShowWindow(bareTree, SW_HIDE);
    DestroyWindow(bareList);
    DestroyWindow(bareTree);

    // Repaints of one rebuild, drawing held as in the program.
    SetWindowSubclass(tree.control, CountPaints, 1, 0);
    SetWindowSubclass(list.control, CountPaints, 2, 0);
    RedrawWindow(frame->hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    Pump();
    paints = 0;
    tree.SetBusy(true);
    tree.FillTree();
    tree.SetBusy(false);
    Pump();
    int treePaints = paints;
    paints = 0;
    list.FillList(0, 0);
    UpdateWindow(list.control);
    Pump();
    int listPaints = paints;

    printf("\n%-44s %10s %10s %7s\n", "operation", "ms", "floor ms", "ratio");
    printf("%-44s %10.1f %10.1f %7.2f\n", "FillList, note of 1,000 entries", fillList, listFloor,
           fillList / listFloor);
    printf("%-44s %10.1f %10.1f %7.2f\n", "FillTree, 1,000 folders x 10 notes", fillTree, treeFloor,
           fillTree / treeFloor);
    printf("\nrepaints of one rebuild: tree %d, list %d (goal: 1 each)\n", treePaints, listPaints);
    printf("goal: each ratio under 1.2\n");

    CloseBenchFrame(frame, folder, "views.xml");
    BenchmarkActions(folder);
    RemoveDirectoryA(folder.c_str());
    return 0;
}
