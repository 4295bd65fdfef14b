#pragma once
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "ui/browser.h"
#include "ui/drag_drop.h"

class CmyXml;
class CINI;
class CStatusBarWnd;
class ViewSync;

// The entry list (control id 500): one row per entry of the shown note, nine
// columns, the entry key "f-n-e" in the last one.
constexpr int kListColumnCount = 9;
constexpr int kTitleColumn = 0;
constexpr int kAddressColumn = 1;
constexpr int kCountColumn = 6;
constexpr int kKeyColumn = 8;

class CListCtrl {
public:
    HINSTANCE instance = nullptr;
    HWND control = nullptr;
    CmyXml* store = nullptr;
    CINI* settings = nullptr;
    CStatusBarWnd* statusBar = nullptr;
    ViewSync* views = nullptr;
    HWND labelEditor = nullptr;
    char savedTitle[kTitleSize] = {};

    ~CListCtrl();

    bool CreateList(HINSTANCE inst, HWND parent, CmyXml* xml);
    void AddColumns();
    void FillList(int folder, int note);
    static const char* LinkText(const char* code);
    void ShowItemCount();
    bool HasSelectedRow() const;
    void EnableListMenu(HMENU menu, bool rowFlag, HWND tree) const;
    void SetBusy(bool on);

    void FocusList();
    void OnListKey(const NMLVKEYDOWN* key, HWND tree);
    void SelectAllRows();
    void StartRowRename();
    void OnBeginLabelEdit();
    void CommitRowRename(const NMLVDISPINFOA* info, HWND owner);
    void SortByColumn(const NMLISTVIEW* click);
    int CompareRows(LPARAM a, LPARAM b) const;
    void ShowListMenu(POINT screen, HWND tree);
    // False only when the store failed.
    bool DeleteRows(HWND owner);
    void CopyAddress(HWND owner);
    // True only when the text is on the clipboard; toldUser says whether a
    // message box already told the user why not.
    bool PutOnClipboard(const char* text, bool* toldUser = nullptr);
    void OpenInBrowser(HWND owner);
    // The note whose entries the rows are (-1, -1 before the first fill).
    void ShownNote(int* folder, int* note) const
    {
        *folder = shownFolder_;
        *note = shownNote_;
    }
    int GetSelectedRowText(int column, char* buffer, int size) const;
    bool GetRowText(bool onlySelected, int row, int column, char* buffer, int size) const;
    LRESULT DrawListRow(const NMLVCUSTOMDRAW* draw) const;
    // The row's entry key, when it names an entry of the snapshot (rows
    // beyond a key's range have none); false otherwise.
    bool RowKey(int row, char* key, int size) const;
    // Selects and shows the row of an entry, alone (a search hit).
    void ShowEntryRow(int folder, int note, int entry);

    // ---- Dragging a row onto a note of the tree ----
    // The host's mouse messages come in host coordinates.
    void BeginRowDrag(const NMLISTVIEW* info, HWND tree);
    void RowDragMove(HWND tree, POINT hostPoint);
    void RowDrop(HWND tree, POINT hostPoint);
    // The host lost the mouse before the button came up: nothing drops.
    void CancelRowDrag(HWND tree);
    // After a drop on a note: asks, then moves the dragged row's entry
    // (that row only) and refills the list.
    bool MoveEntryByDrop(const char* targetLabel, int targetFolder, int targetNote);
    // The tree's selected item when the last drag began.
    HTREEITEM SelectionAtDragStart() const { return selectedAtDragStart_; }

    // Sort in progress.
    bool sortDescending = false;
    int sortColumn = 0;
    bool sortAsText = true;

private:
    int FirstSelectedRow() const;
    // The keys of the selected rows; false when one of them names no entry.
    bool SelectedKeys(std::vector<std::string>* keys) const;
    void RecordAccessOfRow(const char* key, HWND owner);
    void ReportItemError(const char* message, const char* boxText, int line);
    int FindRowByKey(const char* key) const;

    // Given to the control, which destroys it with itself (the list view
    // owns its image lists unless LVS_SHAREIMAGELISTS is set).
    HIMAGELIST images_ = nullptr;
    // The note whose entries the rows are, from the last fill.
    int shownFolder_ = -1;
    int shownNote_ = -1;

    HTREEITEM selectedAtDragStart_ = nullptr;
    // The dragged row's key and title, taken when the drag began.
    char draggedKey_[12] = {};
    char draggedTitle_[kTitleSize] = {};
    ViewDrag drag_;
};
