// Page titles in every Japanese character set, through the real new-entry
// dialog against a loopback server: pages that declare nothing and pages
// whose declaration is false. Only the dialog's controls are driven.
#include <gtest/gtest.h>

#include "resources/resource.h"
#include "support/dialog_watcher.h"
#include "support/frame_fixture.h"
#include "support/loopback_http.h"
#include "support/modal_driver.h"

namespace {

// "第1章 GNU/Linux チュートリアル", a real page title, as pages write it.
const char kUtf8[] = "\xE7\xAC\xAC" "1\xE7\xAB\xA0 GNU/Linux \xE3\x83\x81\xE3\x83\xA5\xE3\x83\xBC\xE3\x83\x88"
                     "\xE3\x83\xAA\xE3\x82\xA2\xE3\x83\xAB";
const char kSjis[] = "\x91\xE6" "1\x8F\xCD GNU/Linux \x83`\x83\x85\x81[\x83g\x83\x8A\x83" "A\x83\x8B";
const char kEuc[] = "\xC2\xE8" "1\xBE\xCF GNU/Linux \xA5\xC1\xA5\xE5\xA1\xBC\xA5\xC8\xA5\xEA\xA5\xA2\xA5\xEB";
const char kJis[] = "\x1B$BBh\x1B(B1\x1B$B>O\x1B(B GNU/Linux \x1B$B%A%e!<%H%j%\"%k\x1B(B";

class TitleCharset : public FrameTest {
protected:
    void SetUp() override
    {
        StartWithStore({Folder(0, "本", {Note(0, "読む")})});
        Show();
        Select(0, 0);
    }
    // Registers the page at `path` with its title fetched.
    void Register(const std::string& path, const LoopbackPage& page)
    {
        server_.Serve(path, page);
        const std::string address = server_.Url(path);
        ASSERT_TRUE(DriveModal(ListHost(), ID_NEW_ENTRY, "新規ピンロール", [&](HWND d) {
            if (d == nullptr)
                return;
            SendDlgItemMessageA(d, IDC_AUTO_FETCH, BM_SETCHECK, BST_CHECKED, 0);
            SendMessageA(d, WM_COMMAND, MAKEWPARAM(IDC_AUTO_FETCH, BN_CLICKED), 0);
            SetDlgItemTextA(d, IDC_ADDRESS, address.c_str());
            PressButton(d, IDOK);
            WaitUntil([&] { return !IsWindow(d) || boxes_.Count() > 0; });
            if (IsWindow(d))
                PressButton(d, IDCANCEL);
        }));
    }
    std::vector<EntryRecord> Entries()
    {
        CmyXml file;
        file.SetStorePath(storePath_.c_str());
        return file.Snapshot()[0].notes[0].entries;
    }

    LoopbackHttp server_;
    MessageBoxAnswerer boxes_;
};

LoopbackPage Page(const std::string& head, const std::string& title, std::vector<std::string> headers = {})
{
    LoopbackPage page;
    page.body = "<html><head>" + head + "<title>" + title + "</title></head><body>x</body></html>";
    page.headers = std::move(headers);
    return page;
}

}  // namespace

TEST_F(TitleCharset, EveryEncodingWithoutOrAgainstItsDeclaration)
{
    const std::string chapter = "第1章 GNU/Linux チュートリアル";   // code page 932 in this file
    const std::string utf8Header = "Content-Type: text/html; charset=UTF-8";
    const struct {
        const char* path;
        LoopbackPage page;
        std::string title;
    } cases[] = {
        {"/utf8", Page("", kUtf8), chapter},
        {"/sjis", Page("", kSjis), chapter},
        {"/euc", Page("", kEuc), chapter},
        {"/jis", Page("", kJis), chapter},
        {"/euc-said-utf8", Page("", kEuc, {utf8Header}), chapter},
        {"/utf8-said-sjis", Page("<meta http-equiv=\"Content-Type\" content=\"text/html; charset=Shift_JIS\">", kUtf8),
         chapter},
        {"/sjis-said-euc", Page("<meta charset=\"EUC-JP\">", kSjis), chapter},
        {"/references", Page("", "\r\n\tTom &amp; Jerry&nbsp;&nbsp;&hellip; caf&eacute;\r\n"),
         "Tom & Jerry … caf?"},
    };
    for (const auto& c : cases)
        Register(c.path, c.page);
    EXPECT_EQ(boxes_.Count(), 0u);
    const std::vector<EntryRecord> entries = Entries();
    ASSERT_EQ(entries.size(), std::size(cases));
    for (size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(entries[i].title, cases[i].title) << cases[i].path;
}
