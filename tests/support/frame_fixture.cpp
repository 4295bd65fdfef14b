#include "support/frame_fixture.h"

#include "dialogs/modal_dialogs.h"
#include "resources/resource.h"
#include "support/frame_harness.h"

FrameTest::FrameTest() : folder_("lcui"), storePath_(folder_.File("links.xml")) {}

FrameTest::~FrameTest()
{
    // The frame object deletes itself on exit; a test may have ended it.
    if (frameWindow_ != nullptr && IsWindow(frameWindow_))
        SendMessageA(frameWindow_, WM_COMMAND, ID_EXIT, 0);
    // Drop the quit message the exit posted.
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
}

void FrameTest::Start()
{
    frame_ = new MYWND(GetModuleHandleA(nullptr), folder_.File("linkcairn.exe").c_str(), RunModalDialog);
    frame_->CreateContents();
    frameWindow_ = frame_->hwnd;
}

void FrameTest::StartWithStore(const StoreTree& tree, const StoreXmlOptions& options)
{
    ASSERT_TRUE(WriteStore(storePath_, tree, options));
    std::string ini = "[ini]\r\npath=" + folder_.Path() + "\r\n[xml]\r\ncurxml=" + storePath_ + "\r\n";
    ASSERT_TRUE(WriteWholeFile(folder_.File("linkcairn.ini"), ini));
    Start();
}

void FrameTest::Show()
{
    SendMessageA(Frame(), WM_TRAYICON, 600, WM_LBUTTONDBLCLK);
    SetWindowPos(Frame(), nullptr, 0, 0, 800, 500, SWP_NOZORDER);
    // Let activation settle first: the frame's focus handler collapses the
    // first folder, which would move a selection made before it arrives.
    for (int i = 0; i < 100 && GetActiveWindow() != Frame(); ++i)
        PumpMessages(10);
    PumpMessages(30);
}

HTREEITEM FrameTest::Select(int folder, int note)
{
    TreePosition pos;
    pos.folder = folder;
    pos.note = note;
    HTREEITEM item = Child().tree.FindItemAtPosition(pos);
    EXPECT_NE(item, nullptr);
    TreeView_SelectItem(Tree(), item);
    return item;
}

std::string FrameTest::SelectedLabel() const
{
    char label[520] = {};
    HTREEITEM selected = TreeView_GetSelection(Tree());
    if (selected != nullptr)
        Child().tree.GetItemLabel(selected, label, sizeof label);
    return label;
}

std::string FrameTest::RowText(int row, int column) const
{
    char text[1024] = {};
    ListView_GetItemText(List(), row, column, text, sizeof text);
    return text;
}

std::vector<std::string> FrameTest::Column(int column) const
{
    std::vector<std::string> texts;
    for (int i = 0; i < RowCount(); ++i)
        texts.push_back(RowText(i, column));
    return texts;
}

void FrameTest::SelectRows(std::initializer_list<int> rows)
{
    ListView_SetItemState(List(), -1, 0, LVIS_SELECTED);
    for (int row : rows)
        ListView_SetItemState(List(), row, LVIS_SELECTED, LVIS_SELECTED);
}

std::string FrameTest::StatusText(int part) const
{
    char text[512] = {};
    SendMessageA(frame_->statusBar.hwnd, SB_GETTEXTA, part, reinterpret_cast<LPARAM>(text));
    return text;
}

std::string FrameTest::StoreBytes() const
{
    std::string bytes;
    ReadWholeFile(storePath_, &bytes);
    return bytes;
}

std::vector<std::string> FrameTest::LogLines() const
{
    return ReadLines(folder_.File("linkcairn_error.log"));
}
