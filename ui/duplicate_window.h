#pragma once
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "app/window_object.h"
#include "store/duplicate_groups.h"

class CListCtrl;
class CmyXml;
class ViewSync;

extern const char kDuplicatesTitle[];

// The store file as the groups were found in it: any write changes it.
struct FileStamp {
    std::string path;
    FILETIME written = {};
    ULONGLONG size = 0;
    bool operator==(const FileStamp& other) const;
};
FileStamp StampOf(const char* path);

// The modeless window "重複の検索" (template 130): groups of entries of the
// whole collection that name the same page, one row per entry, largest
// groups first. All but the most used entry of each group come ticked;
// 削除 removes the ticked ones in one write; a double-click shows the entry
// in the main window. It stays open while the user works and says when the
// file has changed since its groups were found.
class Dlg_Duplicates : public WindowObject {
public:
    Dlg_Duplicates() = default;
    ~Dlg_Duplicates() override;
    Dlg_Duplicates(const Dlg_Duplicates&) = delete;
    Dlg_Duplicates& operator=(const Dlg_Duplicates&) = delete;

    // Creates and shows the window owned by owner; an open one comes forward.
    bool Start(HINSTANCE instance, HWND owner, CmyXml* store, CListCtrl* list, ViewSync* views);
    BOOL HandleMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam,
                       LRESULT* result) override;
    HWND Window() const { return dialog_; }
    // Compares the file with the one searched and shows the result; true
    // when the rows no longer match it.
    bool CheckOutOfDate();

private:
    struct Row {
        DuplicateMember at;
        std::string address;
    };

    void OnInitDialog(HWND dialog);
    void OnCommand(WORD id);
    void OnItemChanged(const NMLISTVIEW* change);
    void Search();
    void AddRows(const std::vector<DuplicateGroup>& groups);
    void ShowState();
    void DeleteChecked();
    void ShowEntry(int row);
    bool MainWindowBusy() const;
    void Close();

    CmyXml* store_ = nullptr;
    CListCtrl* mainList_ = nullptr;
    ViewSync* views_ = nullptr;
    HWND dialog_ = nullptr;
    HWND list_ = nullptr;
    std::vector<Row> rows_;
    size_t groups_ = 0;
    size_t checked_ = 0;
    bool filling_ = false;
    bool outOfDate_ = false;
    FileStamp searched_;
};
