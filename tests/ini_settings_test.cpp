#include <gtest/gtest.h>

#include <string>

#include "app/ini_settings.h"
#include "support/dialog_watcher.h"
#include "support/temp_folder.h"

namespace {

std::string ExeIn(const TempFolder& folder)
{
    return folder.File("linkcairn.exe");
}

std::string IniText(const TempFolder& folder)
{
    std::string text;
    ReadWholeFile(folder.File("linkcairn.ini"), &text);
    return text;
}

}  // namespace

TEST(Settings, FirstRunCreatesIniWithOnlyTheIniSection)
{
    TempFolder folder;
    MessageBoxAnswerer boxes;
    CINI ini(ExeIn(folder).c_str());
    EXPECT_EQ(std::string(ini.ExeDir()), folder.Path());
    EXPECT_EQ(std::string(ini.IniPath()), folder.File("linkcairn.ini"));
    EXPECT_EQ(ini.Status(), 0) << "no store chosen yet";
    EXPECT_STREQ(ini.CurXml(), "");
    std::string text = IniText(folder);
    EXPECT_NE(text.find("[ini]"), std::string::npos);
    EXPECT_NE(text.find("path=" + folder.Path()), std::string::npos);
    EXPECT_EQ(text.find("[xml]"), std::string::npos);
    EXPECT_EQ(boxes.Count(), 0u);
}

TEST(Settings, StoredStorePathIsRead)
{
    TempFolder folder;
    WriteWholeFile(folder.File("linkcairn.ini"),
                   "[ini]\r\npath=x\r\n[xml]\r\ncurxml=C:\\data\\ソフト.xml\r\n");
    CINI ini(ExeIn(folder).c_str());
    EXPECT_EQ(ini.Status(), 1);
    EXPECT_STREQ(ini.CurXml(), "C:\\data\\ソフト.xml");
}

TEST(Settings, EmptyValueCountsAsMissingAndBlocksReadsUntilAWrite)
{
    TempFolder folder;
    WriteWholeFile(folder.File("linkcairn.ini"), "[ini]\r\npath=x\r\n[xml]\r\ncurxml=\r\n");
    CINI ini(ExeIn(folder).c_str());
    EXPECT_EQ(ini.Status(), 0);
    EXPECT_STREQ(ini.CurXml(), "");

    char value[CINI::kTextSize] = {};
    EXPECT_EQ(ini.ReadValue("ini", "path", value), 0) << "reads are skipped after a failed read";
    EXPECT_STREQ(value, "");
    EXPECT_EQ(ini.WriteValue("xml", "curxml", "C:\\a.xml"), 1);
    EXPECT_EQ(ini.ReadValue("ini", "path", value), 1);
    EXPECT_STREQ(value, "x");
}

TEST(Settings, UnwritableFolderCreatesNothingAndShowsNothing)
{
    TempFolder folder;
    MessageBoxAnswerer boxes;
    std::string gone = folder.File("missing") + "\\linkcairn.exe";
    CINI ini(gone.c_str());
    EXPECT_EQ(ini.Status(), 0);
    EXPECT_FALSE(FileExists(folder.File("missing")));

    // The ini's name taken by a folder: neither read nor write can succeed.
    CreateDirectoryA(folder.File("linkcairn.ini").c_str(), nullptr);
    CINI blocked(ExeIn(folder).c_str());
    EXPECT_EQ(blocked.Status(), 0);
    EXPECT_EQ(blocked.SaveCurrentStore(), 0);
    EXPECT_EQ(boxes.Count(), 0u);
}

TEST(Settings, BadIniFilesNeverOverflow)
{
    TempFolder folder;
    std::string longValue(5000, 'v');
    WriteWholeFile(folder.File("linkcairn.ini"),
                   "[ini]\r\npath=" + longValue + "\r\n[xml]\r\ncurxml=" + longValue + "\r\n");
    CINI ini(ExeIn(folder).c_str());
    EXPECT_EQ(std::string(ini.CurXml()), std::string(259, 'v'));

    std::string garbage;
    for (int i = 0; i < 4096; ++i)
        garbage += static_cast<char>((i * 131 + 7) & 0xFF);
    WriteWholeFile(folder.File("linkcairn.ini"), garbage);
    CINI garbled(ExeIn(folder).c_str());
    EXPECT_LT(strlen(garbled.CurXml()), 260u);

    WriteWholeFile(folder.File("linkcairn.ini"), "path=x\r\ncurxml=y\r\n");
    CINI sectionless(ExeIn(folder).c_str());
    EXPECT_STREQ(sectionless.CurXml(), "");
}

TEST(Settings, LongestModulePathDoesNotOverflow)
{
    std::string path = "C:\\" + std::string(250, 'd') + "\\a.exe";   // 259 characters
    ASSERT_EQ(path.size(), 259u);
    CINI ini(path.c_str());
    EXPECT_EQ(std::string(ini.ExeDir()), "C:\\" + std::string(250, 'd'));
    EXPECT_EQ(ini.Status(), 0) << "the ini path would not fit";
    EXPECT_STREQ(ini.IniPath(), "");
}

TEST(Settings, SaveCurrentStoreJoinsFolderAndName)
{
    TempFolder folder;
    CINI ini(ExeIn(folder).c_str());
    lstrcpynA(ini.PickPath(), "C:\\ソ", CINI::kTextSize);
    lstrcpynA(ini.CurXml(), "links.xml", CINI::kTextSize);
    EXPECT_EQ(ini.SaveCurrentStore(), 1);
    EXPECT_STREQ(ini.CurXml(), "C:\\ソ\\links.xml");
    CINI again(ExeIn(folder).c_str());
    EXPECT_STREQ(again.CurXml(), "C:\\ソ\\links.xml");
}

TEST(Settings, StoreFileSize)
{
    TempFolder folder;
    CINI ini(ExeIn(folder).c_str());
    lstrcpynA(ini.CurXml(), folder.File("none.xml").c_str(), CINI::kTextSize);
    EXPECT_EQ(ini.GetStoreFileSize(), -1);
    WriteWholeFile(folder.File("s.xml"), std::string(3000, 'x'));
    lstrcpynA(ini.CurXml(), folder.File("s.xml").c_str(), CINI::kTextSize);
    EXPECT_EQ(ini.GetStoreFileSize(), 3000);
}

TEST(SettingsDialog, ChoosingAnExistingFile)
{
    TempFolder folder;
    WriteWholeFile(folder.File("links.xml"), "<root/>");
    CINI ini(ExeIn(folder).c_str());
    FileDialogDriver driver(folder.File("links.xml"));
    ASSERT_NE(ini.ChooseStoreFile(nullptr), 0);
    EXPECT_EQ(driver.Prompts(), 0);
    EXPECT_EQ(std::string(ini.PickPath()), folder.File("links.xml"));
    EXPECT_STREQ(ini.CurXml(), "links.xml");
}

TEST(SettingsDialog, ANewNameAsksToCreate)
{
    TempFolder folder;
    CINI ini(ExeIn(folder).c_str());
    FileDialogDriver driver(folder.File("new.xml"));
    ASSERT_NE(ini.ChooseStoreFile(nullptr), 0);
    EXPECT_EQ(driver.Prompts(), 1);
    EXPECT_STREQ(ini.CurXml(), "new.xml");
    EXPECT_FALSE(FileExists(folder.File("new.xml"))) << "the dialog itself creates nothing";
}

TEST(SettingsDialog, CancelChangesNothing)
{
    TempFolder folder;
    CINI ini(ExeIn(folder).c_str());
    lstrcpynA(ini.PickPath(), folder.Path().c_str(), CINI::kTextSize);
    lstrcpynA(ini.CurXml(), "keep.xml", CINI::kTextSize);
    FileDialogDriver driver("");
    EXPECT_EQ(ini.ChooseStoreFile(nullptr), 0);
    EXPECT_EQ(std::string(ini.PickPath()), folder.Path());
    EXPECT_STREQ(ini.CurXml(), "keep.xml");
}
