#pragma once
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "store/records.h"

// Expected content of a store file, in the program's ANSI text (code page
// 932), and one check that a file holds exactly that: StoreHolds reads the
// file's bytes with a strict parser of its own (no MSXML), compares every
// element and value, and loads the file again through CmyXml.

struct ExpectedEntry {
    std::string id, count, valid, date, access, update, list, title, comment;
};
struct ExpectedNote {
    std::string id, name;
    std::vector<ExpectedEntry> entries;
};
struct ExpectedFolder {
    std::string id, name;
    std::vector<ExpectedNote> notes;
};
using StoreTree = std::vector<ExpectedFolder>;

// An entry with plausible values: count "1", valid "1", dates 2024/05/0d,
// update "-", address http://example.com/<title's ASCII>, comment "-".
ExpectedEntry SampleEntry(int id, const std::string& title);
// n sample entries with ids 0..n-1 and titles prefix0, prefix1, ...
std::vector<ExpectedEntry> SampleEntries(int n, const std::string& prefix);
ExpectedNote Note(int id, const std::string& name, std::vector<ExpectedEntry> entries = {});
ExpectedFolder Folder(int id, const std::string& name, std::vector<ExpectedNote> notes = {});
// The same tree with every id rewritten to its position.
StoreTree Renumbered(StoreTree tree);

enum class StoreLayout {
    Indented,  // declaration, CR LF, one element per line, one TAB per depth
    Compact,   // no white space between elements
    Other,
};

struct StoreXmlOptions {
    StoreLayout layout = StoreLayout::Indented;
    bool byteOrderMark = false;
    // Writes the nine values of every entry in reverse order.
    bool reversedValues = false;
};

// The UTF-8 bytes of a store file holding tree.
std::string StoreXml(const StoreTree& tree, const StoreXmlOptions& options = {});
bool WriteStore(const std::string& path, const StoreTree& tree, const StoreXmlOptions& options = {});

struct StoreCheck {
    // Require the nine values of an entry in their written order.
    bool valueOrder = true;
    // Also require this layout (Other: any).
    StoreLayout layout = StoreLayout::Other;
};

// Whether the file at path holds exactly tree, and CmyXml reads it back as
// tree (values cut to their field widths).
::testing::AssertionResult StoreHolds(const std::string& path, const StoreTree& tree,
                                      const StoreCheck& check = {});
// Today as the store writes it ("%d/%02d/%02d", local time).
std::string TodayText();

// The days an action may have stamped as "today": read before the action
// and again after it (Close), so that a test across midnight still passes.
struct DayWindow {
    std::string before = TodayText();
    std::string after;
    void Close() { after = TodayText(); }
};

// StoreHolds for the tree that expected(day) builds, with either day of the
// window.
::testing::AssertionResult StoreHoldsOnEitherDay(const std::string& path, const DayWindow& days,
                                                 const std::function<StoreTree(const std::string&)>& expected,
                                                 const StoreCheck& check = {});

// Whether a snapshot holds exactly tree (values cut to their field widths).
::testing::AssertionResult SnapshotHolds(const std::vector<FolderRecord>& snapshot, const StoreTree& tree);
// The layout of a store file's bytes.
StoreLayout LayoutOf(const std::string& bytes);
const char* LayoutName(StoreLayout layout);

// UTF-8 <-> the ANSI code page.
std::string AnsiToUtf8(const std::string& ansi);
std::string Utf8ToAnsi(const std::string& utf8);
