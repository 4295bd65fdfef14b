// The update check against a loopback server, driven through the host's
// command while the test answers message boxes.
#include <gtest/gtest.h>

#include "resources/resource.h"
#include "support/dialog_watcher.h"
#include "support/frame_fixture.h"
#include "support/loopback_http.h"
#include "support/modal_driver.h"

namespace {

const char kLastModified[] = "Last-Modified: Mon, 05 Mar 2007 23:30:00 GMT";

class UpdateCheck : public FrameTest {
protected:
    // One entry per page: update, valid and the server's answer.
    struct Row {
        std::string update, valid;
        bool dated;       // the page sends Last-Modified (2007/03/05)
        bool reachable;
    };
    void StartWith(const std::vector<Row>& rows, int delayMs = 0)
    {
        entries_ = SampleEntries(static_cast<int>(rows.size()), "e");
        const std::string dead = "http://127.0.0.1:" + std::to_string(refusing_.Port()) + "/";
        for (size_t i = 0; i < rows.size(); ++i) {
            const std::string path = "/p" + std::to_string(i);
            LoopbackPage page{"200 OK", {}, "<title>t</title>"};
            if (rows[i].dated)
                page.headers.push_back(kLastModified);
            page.byteDelayMs = delayMs;
            server_.Serve(path, page);
            entries_[i].list = rows[i].reachable ? server_.Url(path) : dead + path;
            entries_[i].update = rows[i].update;
            entries_[i].valid = rows[i].valid;
        }
        StartWithStore({Folder(0, "f", {Note(0, "n", entries_), Note(1, "empty")})});
        Show();
        Select(0, 0);
    }
    StoreTree Expected() const { return {Folder(0, "f", {Note(0, "n", entries_), Note(1, "empty")})}; }
    std::vector<int> Requests(int rows) const
    {
        std::vector<int> counts;
        for (int i = 0; i < rows; ++i)
            counts.push_back(server_.Requests("/p" + std::to_string(i)));
        return counts;
    }
    void Check() { SendMessageA(ListHost(), WM_COMMAND, ID_CHECK_UPDATES, 0); }

    LoopbackHttp server_;
    RefusingLoopbackPort refusing_;
    MessageBoxAnswerer boxes_;
    std::vector<ExpectedEntry> entries_;
};

}  // namespace

TEST_F(UpdateCheck, UnchangedDatesExamineAllOrTheSelectedAndWriteNothing)
{
    StartWith(std::vector<Row>(6, {"2007/03/05", "1", true, true}));
    const std::string before = StoreBytes();
    Check();
    EXPECT_EQ(Requests(6), std::vector<int>(6, 1));
    SelectRows({2, 5});
    ListView_SetItemState(List(), 5, LVIS_FOCUSED, LVIS_FOCUSED);
    Check();
    EXPECT_EQ(Requests(6), (std::vector<int>{1, 1, 2, 1, 1, 2}));
    EXPECT_EQ(StoreBytes(), before);
    EXPECT_EQ(ListView_GetSelectedCount(List()), 2u) << "no reload: the selection stays";
    EXPECT_EQ(boxes_.Count(), 0u);
}

TEST_F(UpdateCheck, RecordsNewDatesMissingDatesAndDeadLinks)
{
    StartWith({{TodayText(), "1", false, true},          // today -> "-"
               {"-", "1", false, true},             // stays "-"
               {"2001/01/01", "1", true, true},     // the server's date
               {"2001/01/01", "1", true, false},    // unreachable: valid "0"
               {"2001/01/01", "0", true, true}});   // reachable again: valid "1"
    Check();
    entries_[0].update = "-";
    entries_[2].update = "2007/03/05";
    entries_[3].valid = "0";
    entries_[4].update = "2007/03/05";
    entries_[4].valid = "1";
    EXPECT_TRUE(StoreHolds(storePath_, Expected()));
    EXPECT_EQ(RowText(3, 7), "無効") << "the list is reloaded";
    EXPECT_EQ(RowText(2, 5), "2007/03/05");
}

TEST_F(UpdateCheck, CancelWhileCheckingWritesNothing)
{
    StartWith(std::vector<Row>(3, {"2001/01/01", "1", false, true}), 10);
    const std::string before = StoreBytes();
    DWORD pressed = 0;
    ASSERT_TRUE(DriveModal(ListHost(), ID_CHECK_UPDATES, "", [&](HWND d) {
        WaitUntil([&] { return server_.Requests("/p0") == 1; });
        pressed = GetTickCount();
        PressButton(d, IDCANCEL);
    }));
    EXPECT_LT(GetTickCount() - pressed, 1000u) << "no wait for the servers";
    EXPECT_EQ(StoreBytes(), before);
}

TEST_F(UpdateCheck, EmptyListIsAnErrorAtOnce)
{
    StartWith({});
    Select(0, 1);
    Check();
    auto seen = boxes_.Seen();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, "更新確認処理でエラーが発生しました。");
    EXPECT_EQ(seen[0].caption, "ERROR");
    EXPECT_EQ(seen[0].icon, "error");
}
