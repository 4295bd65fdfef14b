#pragma once
#include <windows.h>
#include <commctrl.h>

class CmyXml;
class CINI;
class CStatusBarWnd;

// The entry list (control id 500): one row per entry of the shown note, nine
// columns, the entry key "f-n-e" in the last one.
class CListCtrl {
public:
    HINSTANCE instance = nullptr;
    HWND control = nullptr;
    CmyXml* store = nullptr;
    CINI* settings = nullptr;
    CStatusBarWnd* statusBar = nullptr;
    HWND labelEditor = nullptr;
    char savedTitle[520] = {};

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
    bool PutOnClipboard(const char* text);
    void OpenInBrowser(HWND owner);
    // tree: whose selected note an empty list shows (may be nullptr).
    void RefreshList(const class CTreeCtrl* tree);
    int GetSelectedRowText(int column, char* buffer, int size) const;
    bool GetRowText(bool onlySelected, int row, int column, char* buffer, int size) const;
    LRESULT DrawListRow(const NMLVCUSTOMDRAW* draw) const;

    // Sort in progress.
    bool sortDescending = false;
    int sortColumn = 0;
    bool sortAsText = true;

private:
    int FirstSelectedRow() const;
    void RecordAccessOfRow(int row, HWND owner);
    void ReportItemError(const char* message, const char* boxText, int line);

    HIMAGELIST images_ = nullptr;
};

// Opens an address with the shell's default verb; tests may replace it.
using BrowserLauncher = void (*)(const char* address);
void SetBrowserLauncher(BrowserLauncher launcher);
