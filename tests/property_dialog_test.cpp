// The property dialog, driven by messages from a thread of the test.
#include <gtest/gtest.h>

#include "resources/resource.h"
#include "support/dialog_watcher.h"
#include "support/frame_fixture.h"
#include "support/loopback_http.h"
#include "support/modal_driver.h"

namespace {

const char kEucTitle[] = "\xC6\xFC\xCB\xDC\xB8\xEC\xC8\xC7";   // 日本語版

class Property : public FrameTest {
protected:
    void SetUp() override
    {
        entries_ = SampleEntries(2, "e");
        entries_[1].valid = "0";
        StartWithStore({Folder(0, "f", {Note(0, "n", entries_)})});
        Show();
        Select(0, 0);
    }
    // Opens the dialog on the row, runs script, then presses button.
    void Open(int row, const std::function<void(HWND)>& script, int button)
    {
        SelectRows({row});
        ASSERT_TRUE(DriveModal(ListHost(), ID_PROPERTIES, "のプロパティ", [&](HWND d) {
            if (d == nullptr)
                return;
            script(d);
            PressButton(d, button);
        }));
    }
    // Presses 取得 and waits until the refetch has ended.
    static std::string Refetch(HWND d, int charset)
    {
        SendDlgItemMessageA(d, IDC_CHARSET, CB_SETCURSEL, charset, 0);
        SetDlgItemTextA(d, IDC_TITLE, "?");
        PressButton(d, IDC_REFETCH);
        WaitUntil([&] { return ItemText(d, IDC_TITLE) != "?" && ItemEnabled(d, IDOK); });
        return ItemText(d, IDC_TITLE);
    }

    std::vector<ExpectedEntry> entries_;
    LoopbackHttp server_;
    MessageBoxAnswerer boxes_;
};

}  // namespace

TEST_F(Property, OkStoresOnlyChangesAndKeepsTheLinkState)
{
    const std::string before = StoreBytes();
    std::string caption;
    Open(1, [&](HWND d) { caption = WindowText(d); }, IDOK);
    EXPECT_EQ(caption, "e1 のプロパティ");
    EXPECT_EQ(StoreBytes(), before) << "nothing changed, nothing written";

    for (int row : {0, 1}) {
        Open(row, [&](HWND d) {
            SetDlgItemTextA(d, IDC_TITLE, "新しい題名");
            SetDlgItemTextA(d, IDC_COMMENT, "");
        }, IDOK);
        entries_[row].title = "新しい題名";
    }
    EXPECT_TRUE(StoreHolds(storePath_, {Folder(0, "f", {Note(0, "n", entries_)})}))
        << "valid stays 1 and 0, an empty comment is stored as -";
    EXPECT_EQ(RowText(1, 0), "新しい題名");
}

TEST_F(Property, RefetchUsesTheChosenCharacterSet)
{
    server_.Serve("/euc", {"200 OK", {}, std::string("<title>") + kEucTitle + "</title>"});
    server_.Serve("/plain", {"200 OK", {}, "<p>no title</p>"});
    const std::string before = StoreBytes();
    std::vector<std::string> titles;
    std::string caption;
    Open(0, [&](HWND d) {
        SetDlgItemTextA(d, IDC_ADDRESS, server_.Url("/euc").c_str());
        titles.push_back(Refetch(d, 0));
        titles.push_back(Refetch(d, 2));
        SetDlgItemTextA(d, IDC_ADDRESS, server_.Url("/plain").c_str());
        titles.push_back(Refetch(d, 2));
        caption = WindowText(d);
    }, IDCANCEL);
    // The raw bytes as an edit box shows them, read as code page 932.
    HWND edit = CreateWindowExA(0, "EDIT", kEucTitle, WS_POPUP, 0, 0, 9, 9, nullptr, nullptr, nullptr, nullptr);
    const std::string raw = WindowText(edit);
    DestroyWindow(edit);
    EXPECT_EQ(titles, (std::vector<std::string>{raw, "日本語版", "Not Found"}));
    EXPECT_EQ(caption, "e0 のプロパティ");
    EXPECT_EQ(StoreBytes(), before) << "a refetch is stored only through OK";
}

TEST_F(Property, FailedCheckOrWriteKeepsTheDialogAndTheEdits)
{
    const std::string before = StoreBytes();
    std::vector<std::string> kept;
    Open(0, [&](HWND d) {
        SetDlgItemTextA(d, IDC_ADDRESS, "http://example.org/edited");
        SetDlgItemTextA(d, IDC_TITLE, "");
        PressButton(d, IDOK);
        WaitUntil([&] { return boxes_.Count() == 1; });
        SetDlgItemTextA(d, IDC_TITLE, "edited");
        SetFileAttributesA(storePath_.c_str(), FILE_ATTRIBUTE_READONLY);
        PressButton(d, IDOK);
        WaitUntil([&] { return boxes_.Count() == 3; });   // the store's report, then ours
        WaitUntil([&] { return IsWindowEnabled(d) != FALSE; });   // our box is gone
        kept = {std::to_string(IsWindowVisible(d)), ItemText(d, IDC_TITLE), ItemText(d, IDC_ADDRESS)};
    }, IDCANCEL);
    SetFileAttributesA(storePath_.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(kept, (std::vector<std::string>{"1", "edited", "http://example.org/edited"}));
    auto seen = boxes_.Seen();
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[0].text, "タイトルが入力されていません");
    EXPECT_EQ(seen[2].text, "更新処理が失敗しました");
    EXPECT_EQ(StoreBytes(), before);
}
