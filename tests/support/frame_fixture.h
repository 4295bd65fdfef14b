#pragma once
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "support/store_expect.h"
#include "support/temp_folder.h"
#include "ui/main_frame.h"

// A real frame window whose settings (and error log) live in a fresh
// folder; optionally a store file there is named in the ini before start,
// so the frame opens it as at program start.
class FrameTest : public ::testing::Test {
protected:
    FrameTest();
    ~FrameTest() override;

    void Start();
    void StartWithStore(const StoreTree& tree, const StoreXmlOptions& options = {});
    void Show();

    HWND Frame() const { return frame_->hwnd; }
    CChildWnd& Child() const { return frame_->panes.child; }
    HWND Tree() const { return Child().tree.control; }
    HWND List() const { return Child().list.control; }
    HWND TreeHost() const { return Child().hwndTreeHost; }
    HWND ListHost() const { return Child().hwndListHost; }

    // Selects the item at (folder, note); note -1 selects the folder.
    HTREEITEM Select(int folder, int note);
    std::string SelectedLabel() const;
    std::string RowText(int row, int column) const;
    // The texts of a column, row by row.
    std::vector<std::string> Column(int column) const;
    int RowCount() const { return ListView_GetItemCount(List()); }
    void SelectRows(std::initializer_list<int> rows);
    std::string StatusText(int part) const;
    std::string StoreBytes() const;
    std::vector<std::string> LogLines() const;

    TempFolder folder_;
    std::string storePath_;
    MYWND* frame_ = nullptr;
    HWND frameWindow_ = nullptr;
};
