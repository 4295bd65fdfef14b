// The new-entry dialog, driven by messages from a thread of the test while
// the host runs it; pages come from a loopback server, message boxes are
// answered by the test.
#include <gtest/gtest.h>

#include "resources/resource.h"
#include "support/dialog_watcher.h"
#include "support/frame_fixture.h"
#include "support/loopback_http.h"
#include "support/modal_driver.h"

namespace {

const char kLastModified[] = "Last-Modified: Mon, 05 Mar 2007 23:30:00 GMT";

LoopbackPage Page(const std::string& body, std::vector<std::string> headers = {})
{
    LoopbackPage page;
    page.body = body;
    page.headers = std::move(headers);
    return page;
}

struct Input {
    std::string title;   // empty: fetched
    std::string address;
    std::string comment;
};

class NewEntry : public FrameTest {
protected:
    void SetUp() override
    {
        StartWithStore({Folder(0, "本", {Note(0, "読む", SampleEntries(2, "e")), Note(1, "後で")}),
                        Folder(1, "空")});
        Show();
        Select(0, 0);
    }
    std::string Publish(const std::string& path, const LoopbackPage& page)
    {
        server_.Serve(path, page);
        return server_.Url(path);
    }
    // Fills the dialog and presses 登録; a dialog still open once a message
    // box was answered is cancelled. then runs before that, with the dialog.
    bool Register(const Input& in, int boxesBefore = 0, std::function<void(HWND)> then = nullptr,
                  int destinationRow = -1)
    {
        return DriveModal(ListHost(), ID_NEW_ENTRY, "新規ピンロール", [&](HWND d) {
            if (d == nullptr)
                return;
            if (destinationRow >= 0)
                ChooseDestination(d, destinationRow);
            if (in.title.empty()) {
                SendDlgItemMessageA(d, IDC_AUTO_FETCH, BM_SETCHECK, BST_CHECKED, 0);
                SendMessageA(d, WM_COMMAND, MAKEWPARAM(IDC_AUTO_FETCH, BN_CLICKED), 0);
            } else {
                SetDlgItemTextA(d, IDC_TITLE, in.title.c_str());
            }
            SetDlgItemTextA(d, IDC_ADDRESS, in.address.c_str());
            SetDlgItemTextA(d, IDC_COMMENT, in.comment.c_str());
            PressButton(d, IDOK);
            WaitUntil([&] { return !IsWindow(d) || static_cast<int>(boxes_.Count()) > boxesBefore; });
            WaitUntil([&] { return !IsWindow(d) || ItemEnabled(d, IDCANCEL); });
            if (IsWindow(d) && then)
                then(d);
            if (IsWindow(d))
                PressButton(d, IDCANCEL);
        });
    }
    static void ChooseDestination(HWND d, int row)
    {
        HWND combo = GetDlgItem(d, IDC_DESTINATION);
        SendMessageA(combo, CB_SETCURSEL, row, 0);
        SendMessageA(d, WM_COMMAND, MAKEWPARAM(IDC_DESTINATION, CBN_SELENDOK), reinterpret_cast<LPARAM>(combo));
    }
    std::vector<EntryRecord> FileEntries(int f, int n)
    {
        CmyXml file;
        file.SetStorePath(storePath_.c_str());
        return file.Snapshot()[f].notes[n].entries;
    }

    LoopbackHttp server_;
    MessageBoxAnswerer boxes_;
};

}  // namespace

TEST_F(NewEntry, TypedAndFetchedEntriesInEveryCharacterSet)
{
    const std::string title = "日本語版";   // code page 932 in this file
    struct Case {
        Input in;
        std::string title, update;   // update "": today
    } cases[] = {
        {{"手入力", Publish("/typed", Page("<title>ignored</title>", {kLastModified})), ""}, "手入力", ""},
        {{"", Publish("/sjis", Page("<title>" + title + "</title>", {kLastModified})), "メモ"}, title, "2007/03/05"},
        {{"", Publish("/euc", Page("<title>\xC6\xFC\xCB\xDC\xB8\xEC\xC8\xC7</title>")), ""}, title, ""},
        {{"", Publish("/jis", Page("<TITLE>\x1B$BF|K\\8lHG\x1B(B</TITLE>")), ""}, title, ""},
        {{"", Publish("/utf8", Page(u8"<title>日本語版</title>")), ""}, title, ""},
        {{"", Publish("/none", Page("<p>no title</p>")), ""}, "Not Found", ""},
        {{"", Publish("/empty", Page("<title></title>")), ""}, "Not Found", ""},
    };
    const std::string before = TodayText();
    for (const Case& c : cases)
        ASSERT_TRUE(Register(c.in)) << c.in.address;
    const std::string after = TodayText();
    EXPECT_EQ(boxes_.Count(), 0u);
    std::vector<EntryRecord> entries = FileEntries(0, 0);
    ASSERT_EQ(entries.size(), 2 + std::size(cases));
    for (size_t i = 0; i < std::size(cases); ++i) {
        const EntryRecord& e = entries[2 + i];
        const Case& c = cases[i];
        EXPECT_EQ(e.title, c.title) << c.in.address;
        EXPECT_EQ(e.list, c.in.address);
        EXPECT_EQ(e.comment, c.in.comment.empty() ? "-" : c.in.comment);
        EXPECT_STREQ(e.count, "1");
        EXPECT_STREQ(e.valid, "1");
        EXPECT_TRUE(e.date == before || e.date == after) << e.date;
        EXPECT_STREQ(e.access, e.date);
        EXPECT_EQ(e.update, c.update.empty() ? std::string(e.date) : c.update);
    }
    EXPECT_EQ(RowCount(), 2 + static_cast<int>(std::size(cases))) << "the list shows the new entries";
}

TEST_F(NewEntry, DuplicateIsRefusedOnlyInItsOwnNote)
{
    const std::string taken = RowText(0, 1);
    ASSERT_TRUE(Register({"again", taken, ""}));
    ASSERT_EQ(boxes_.Count(), 1u);
    SeenBox box = boxes_.Seen()[0];
    EXPECT_EQ(box.caption, "登録確認");
    EXPECT_EQ(box.icon, "warning");
    EXPECT_EQ(box.text, "登録できません。同じｱﾄﾞﾚｽが既に登録されています。\n\n' 本 ' -> ' 読む ' -> ' e0 '");
    EXPECT_EQ(FileEntries(0, 0).size(), 2u);

    ASSERT_TRUE(Register({"again", taken, ""}, 1, nullptr, 2));   // row 2: note 後で
    EXPECT_EQ(boxes_.Count(), 1u);
    ASSERT_EQ(FileEntries(0, 1).size(), 1u);
    EXPECT_STREQ(FileEntries(0, 1)[0].list, taken.c_str());
    EXPECT_EQ(RowText(0, 1), taken) << "the list shows the note registered to";
}

TEST_F(NewEntry, DestinationRowsEnableRegistering)
{
    std::vector<bool> enabled;
    DriveModal(ListHost(), ID_NEW_ENTRY, "新規ピンロール", [&](HWND d) {
        for (int row : {0, 1, 3, 2}) {   // folder, note, folder without notes, note
            ChooseDestination(d, row);
            enabled.push_back(ItemEnabled(d, IDOK));
        }
        SetDlgItemTextA(d, IDC_TITLE, "t");
        SetDlgItemTextA(d, IDC_ADDRESS, "http://example.org/");
        PressButton(d, IDOK);
    });
    EXPECT_EQ(enabled, (std::vector<bool>{false, true, false, true}));
    EXPECT_EQ(FileEntries(0, 1).size(), 1u) << "registered into the note chosen last";
}

TEST_F(NewEntry, StoreFailureLeavesOnlyRegisterAndCancel)
{
    SetFileAttributesA(storePath_.c_str(), FILE_ATTRIBUTE_READONLY);
    const std::string before = StoreBytes();
    std::vector<bool> enabled;
    Register({"t", "http://example.org/", ""}, 0, [&](HWND d) {
        WaitUntil([&] { return boxes_.Count() >= 3; });   // the store's report and hint, then ours
        WaitUntil([&] { return ItemEnabled(d, IDOK); });
        for (int id : {IDC_TITLE, IDC_ADDRESS, IDC_COMMENT, IDC_DESTINATION, IDOK, IDCANCEL})
            enabled.push_back(ItemEnabled(d, id));
    });
    SetFileAttributesA(storePath_.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(enabled, (std::vector<bool>{false, false, false, false, true, true}));
    ASSERT_GE(boxes_.Count(), 1u);
    EXPECT_EQ(boxes_.Seen().back().text, "ピンロールの作成に失敗しました");
    EXPECT_EQ(StoreBytes(), before);
}

TEST_F(NewEntry, UnreachableAddressGivesTheInputsBack)
{
    RefusingLoopbackPort refusing;
    const std::string dead = "http://127.0.0.1:" + std::to_string(refusing.Port()) + "/x";
    std::vector<bool> enabled;
    Register({"", dead, ""}, 0, [&](HWND d) {
        for (int id : {IDC_TITLE, IDC_ADDRESS, IDC_COMMENT, IDC_DESTINATION, IDOK, IDCANCEL})
            enabled.push_back(ItemEnabled(d, id));
    });
    EXPECT_EQ(enabled, std::vector<bool>(6, true));
    ASSERT_EQ(boxes_.Count(), 1u);
    EXPECT_EQ(boxes_.Seen()[0].text, "指定したアドレスにアクセスできませんでした");
    EXPECT_EQ(FileEntries(0, 0).size(), 2u);
}

TEST_F(NewEntry, CountdownStopsAtZeroAndMissingInputIsRefused)
{
    std::string counted, stopped;
    DriveModal(ListHost(), ID_NEW_ENTRY, "新規ピンロール", [&](HWND d) {
        SendMessageA(d, WM_APP + 3, 0, 0);
        for (int i = 0; i < 35; ++i)
            SendMessageA(d, WM_TIMER, 1000, 0);
        counted = WindowText(d);
        SendMessageA(d, WM_APP + 3, 1, 0);
        stopped = WindowText(d);
        PressButton(d, IDOK);   // no title, no address
        WaitUntil([&] { return boxes_.Count() == 1; });
        SetDlgItemTextA(d, IDC_TITLE, "t");
        PressButton(d, IDOK);
        WaitUntil([&] { return boxes_.Count() == 2; });
        PressButton(d, IDCANCEL);
    });
    EXPECT_EQ(counted, "ﾀｲﾑｱｳﾄまであと 0 秒");
    EXPECT_EQ(stopped, "新規ピンロール");
    auto seen = boxes_.Seen();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].text, "タイトルが入力されていません");
    EXPECT_EQ(seen[1].text, "アドレスが入力されていません");
    EXPECT_EQ(seen[1].icon, "error");
}
