// Cancel, Esc and the close box at random moments while each dialog's
// worker talks to a slow server (a byte at a time) or a silent one (never
// a word): the dialog gone within a second, never a crash, never a
// damaged store.
#include <gtest/gtest.h>

#include <random>

#include "resources/resource.h"
#include "support/dialog_watcher.h"
#include "support/frame_fixture.h"
#include "support/loopback_http.h"
#include "support/modal_driver.h"

namespace {

const int kRounds = 50;
const int kByteDelayMs = 3;   // a third of a second and more per response

class Stress : public FrameTest {
protected:
    void SetUp() override
    {
        seed_ = GetTickCount();
        random_.seed(seed_);
        LoopbackPage page{"200 OK", {"Last-Modified: Mon, 05 Mar 2007 23:30:00 GMT"}, "<title>slow</title>"};
        page.byteDelayMs = kByteDelayMs;
        server_.Serve("/slow", page);
        LoopbackPage silent;
        silent.silent = true;
        server_.Serve("/silent", silent);
        page.headers.clear();   // no date: every entry below would change
        for (const char* path : {"/p0", "/p1", "/p2"})
            server_.Serve(path, page);
        std::vector<ExpectedEntry> entries = SampleEntries(4, "e");
        for (int i = 0; i < 3; ++i)
            entries[i].list = server_.Url("/p" + std::to_string(i));
        entries[3].list = server_.Url("/silent");
        StartWithStore({Folder(0, "f", {Note(0, "n", entries)})});
        Show();
        Select(0, 0);
    }
    // After a random time below maxMs: Cancel, Esc or the close box.
    void StopRandomly(HWND d, int maxMs)
    {
        std::uniform_int_distribution<int> wait(0, maxMs - 1);
        std::uniform_int_distribution<int> how(0, 2);
        Sleep(static_cast<DWORD>(wait(random_)));   // the moment itself, not a synchronisation
        const DWORD stopped = GetTickCount();
        switch (how(random_)) {
        case 0:
            PressButton(d, IDCANCEL);
            break;
        case 1:
            PostMessageA(d, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
            break;
        default:
            PostMessageA(d, WM_SYSCOMMAND, SC_CLOSE, 0);
            break;
        }
        WaitUntil([&] { return !IsWindow(d); }, 5000);
        if (GetTickCount() - stopped > 1000)
            ++slowStops_;
    }
    // Every other round asks the silent server.
    std::string Address(int round) { return server_.Url(round % 2 == 0 ? "/slow" : "/silent"); }
    // Runs the rounds with these rows selected; how many left their dialog
    // open (a hang).
    int Rounds(int command, const char* caption, std::initializer_list<int> rows,
               const std::function<void(HWND, int)>& round)
    {
        int stuck = 0;
        for (int i = 0; i < kRounds; ++i) {
            SelectRows(rows);
            stuck += DriveModal(ListHost(), command, caption, [&](HWND d) {
                if (d != nullptr)
                    round(d, i);
            }) ? 0 : 1;
        }
        return stuck;
    }

    unsigned seed_ = 0;
    int slowStops_ = 0;
    std::mt19937 random_;
    LoopbackHttp server_;
    MessageBoxAnswerer boxes_;
};

}  // namespace

TEST_F(Stress, NewEntryStoppedAtAnyMomentWritesAWholeEntryOrNothing)
{
    SCOPED_TRACE("seed " + std::to_string(seed_));
    EXPECT_EQ(Rounds(ID_NEW_ENTRY, "新規ピンロール", {0}, [&](HWND d, int i) {
                  SendDlgItemMessageA(d, IDC_AUTO_FETCH, BM_SETCHECK, BST_CHECKED, 0);
                  SendMessageA(d, WM_COMMAND, MAKEWPARAM(IDC_AUTO_FETCH, BN_CLICKED), 0);
                  SetDlgItemTextA(d, IDC_ADDRESS, Address(i).c_str());
                  PressButton(d, IDOK);
                  StopRandomly(d, 1200);
              }),
              0);
    EXPECT_EQ(slowStops_, 0);
    // A stop drops the fetch and writes nothing; a registration that came
    // first is whole. The silent server never gave a title to file.
    CmyXml file;
    file.SetStorePath(storePath_.c_str());
    ASSERT_EQ(file.FolderCount(), 1);
    const std::vector<EntryRecord>& entries = file.Snapshot()[0].notes[0].entries;
    ASSERT_GE(entries.size(), 4u);
    ASSERT_LE(entries.size(), 4u + kRounds / 2);
    for (size_t i = 4; i < entries.size(); ++i)
        EXPECT_STREQ(entries[i].title, "slow");
    EXPECT_EQ(boxes_.Count(), 0u);
}

TEST_F(Stress, PropertyRefetchStoppedLeavesTheStoreAlone)
{
    SCOPED_TRACE("seed " + std::to_string(seed_));
    const std::string before = StoreBytes();
    EXPECT_EQ(Rounds(ID_PROPERTIES, "のプロパティ", {0}, [&](HWND d, int i) {
                  SetDlgItemTextA(d, IDC_ADDRESS, Address(i).c_str());
                  PressButton(d, IDC_REFETCH);
                  StopRandomly(d, 1200);
              }),
              0);
    EXPECT_EQ(slowStops_, 0);
    EXPECT_EQ(StoreBytes(), before);
    EXPECT_EQ(boxes_.Count(), 0u);
}

TEST_F(Stress, UpdateCheckCancelledLeavesTheStoreByteIdentical)
{
    SCOPED_TRACE("seed " + std::to_string(seed_));
    const std::string before = StoreBytes();
    int changedRounds = 0;
    EXPECT_EQ(Rounds(ID_CHECK_UPDATES, "", {}, [&](HWND d, int round) {
                  // All three rows, one after the other: stopped at most
                  // 0.4 s after the first was asked, the check is still on.
                  WaitUntil([&] { return server_.Requests("/p0") > round; });
                  StopRandomly(d, 400);
                  WaitUntil([&] { return !IsWindow(d); });
                  changedRounds += StoreBytes() == before ? 0 : 1;
              }),
              0);
    EXPECT_EQ(changedRounds, 0);
    EXPECT_EQ(slowStops_, 0);
    EXPECT_EQ(boxes_.Count(), 0u);
}
