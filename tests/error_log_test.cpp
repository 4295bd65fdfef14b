#include <gtest/gtest.h>

#include <regex>

#include "app/error_log.h"
#include "support/dialog_watcher.h"
#include "support/temp_folder.h"

namespace {

std::vector<std::string> LogLines(const TempFolder& folder)
{
    std::string bytes;
    ReadWholeFile(folder.File("linkcairn_error.log"), &bytes);
    EXPECT_EQ(bytes.find('\r'), std::string::npos) << "lines end in LF only";
    return ReadLines(folder.File("linkcairn_error.log"));
}

}  // namespace

TEST(ErrorLog, LineFeedsInTheTextBecomeBlanksOnOneLine)
{
    TempFolder folder;
    char text[] = "Code: 80004003\nCode meaning: x\nxml=C:\\a.xml";
    WriteErrorLog(text, folder.Path().c_str());
    auto lines = LogLines(folder);
    ASSERT_EQ(lines.size(), 1u);
    std::regex shape(R"(\d{4}/\d\d/\d\d \d\d:\d\d:\d\d, Code: 80004003 Code meaning: x xml=C:\\a\.xml)");
    EXPECT_TRUE(std::regex_match(lines[0], shape)) << lines[0];
    EXPECT_STREQ(text, "Code: 80004003 Code meaning: x xml=C:\\a.xml");
}

TEST(ErrorLog, TenReportsGiveTenLinesAndLeaveTheFolderAlone)
{
    TempFolder folder;
    std::string dir = folder.Path();
    for (int i = 0; i < 10; ++i)
        LogModuleError("アイテムの取得に失敗しました。", 100 + i, ".\\CListCtrl", dir.c_str());
    auto lines = LogLines(folder);
    ASSERT_EQ(lines.size(), 10u);
    EXPECT_NE(lines[9].find(", アイテムの取得に失敗しました。, 109, .\\CListCtrl"), std::string::npos);
    EXPECT_EQ(dir, folder.Path());
}

TEST(ErrorLog, UnwritableFolderLosesTheLineSilently)
{
    TempFolder folder;
    // A folder where the log's name is taken by a folder cannot get the file,
    // whoever runs the test (root ignores read-only bits).
    CreateDirectoryA(folder.File("linkcairn_error.log").c_str(), nullptr);
    char text[] = "lost";
    WriteErrorLog(text, folder.Path().c_str());
    std::string missing = folder.File("no such folder");
    WriteErrorLog(text, missing.c_str());
    EXPECT_FALSE(FileExists(missing));
}

TEST(ErrorLog, ModuleReportShowsTheBoxThenLogsTheFullWidthText)
{
    TempFolder folder;
    MessageBoxAnswerer boxes;
    ReportModuleError(nullptr, "アイテムの取得に失敗しました。", "ｱｲﾃﾑの取得に失敗しました。",
                      MB_ICONERROR, 42, ".\\CTreeCtrl", folder.Path().c_str());
    auto seen = boxes.Seen();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].caption, "ERROR");
    EXPECT_EQ(seen[0].text, "ｱｲﾃﾑの取得に失敗しました。");
    EXPECT_EQ(seen[0].icon, "error");
    auto lines = LogLines(folder);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find(", アイテムの取得に失敗しました。, 42, .\\CTreeCtrl"), std::string::npos);
}

TEST(ErrorLog, ReportTextIsBoundedTo511Characters)
{
    TempFolder folder;
    std::string longMessage(2000, 'm');
    LogModuleError(longMessage.c_str(), 1, ".\\CXml", folder.Path().c_str());
    auto lines = LogLines(folder);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].size(), std::string("2026/12/07 05:00:00, ").size() + 511);
}
