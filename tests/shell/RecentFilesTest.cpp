#include "shell/RecentFiles.h"

#include "ShellTestSupport.h"
#include "shell/CSysDoc.h"
#include "shell/CMainFrame.h"
#include "shell/CommandIds.h"

#include <wx/menu.h>

#include <gtest/gtest.h>

TEST(RecentFilesTest, KeepsFiveUnderCapitalisedKeys)
{
    TempDir home;
    const wxString ini = home.File("sub/velquin.INI");
    RecentFiles recent(ini);
    for (int i = 1; i <= 7; ++i)
        recent.Add(wxString::Format("/sets/%d/KISS.CNF", i));
    recent.Add("/sets/5/KISS.CNF");
    ASSERT_EQ(recent.Count(), 5u);
    EXPECT_EQ(recent.File(0), "/sets/5/KISS.CNF");
    EXPECT_EQ(recent.File(1), "/sets/7/KISS.CNF");
    EXPECT_EQ(recent.File(4), "/sets/3/KISS.CNF");

    const std::string text = home.Read("sub/velquin.INI");
    EXPECT_NE(text.find("[Recent File List]"), std::string::npos);
    EXPECT_NE(text.find("File1=/sets/5/KISS.CNF"), std::string::npos);
    EXPECT_NE(text.find("File5=/sets/3/KISS.CNF"), std::string::npos);
    EXPECT_EQ(text.find("file1"), std::string::npos);

    RecentFiles again(ini);
    again.Load();
    ASSERT_EQ(again.Count(), 5u);
    again.Remove(0);
    RecentFiles third(ini);
    third.Load();
    ASSERT_EQ(third.Count(), 4u);
    EXPECT_EQ(third.File(0), "/sets/7/KISS.CNF");
    EXPECT_EQ(home.Read("sub/velquin.INI").find("File5"), std::string::npos);
}

TEST(RecentFilesTest, MenuTextIsShortenedToThirtyCharacters)
{
    EXPECT_EQ(RecentFiles::Abbreviate("/home/a/KISS.CNF", 30), "/home/a/KISS.CNF");
    EXPECT_EQ(RecentFiles::Abbreviate("/home/someone/dolls/lina/lina.cnf", 30),
              "/.../dolls/lina/lina.cnf");
    EXPECT_EQ(RecentFiles::Abbreviate("/a/very-long-folder-name-here/x.cnf", 30), "/.../x.cnf");
    EXPECT_EQ(RecentFiles::Abbreviate("/a/a-file-name-longer-than-thirty.cnf", 30),
              "a-file-name-longer-than-thirty.cnf");
    EXPECT_LE(RecentFiles::Abbreviate("/home/someone/dolls/lina/lina.cnf", 30).length(), 30u);
}

TEST(RecentFilesTest, DefaultFileFollowsTheConfigHome)
{
    wxString saved;
    const bool had = wxGetEnv("XDG_CONFIG_HOME", &saved);
    wxSetEnv("XDG_CONFIG_HOME", "/tmp/cfg");
    EXPECT_EQ(RecentFiles::DefaultIniPath(), "/tmp/cfg/velquin.INI");
    wxSetEnv("XDG_CONFIG_HOME", "relative");
    EXPECT_EQ(RecentFiles::DefaultIniPath(), wxGetHomeDir() + "/.config/velquin.INI");
    if (had)
        wxSetEnv("XDG_CONFIG_HOME", saved);
    else
        wxUnsetEnv("XDG_CONFIG_HOME");
}

TEST(RecentFilesTest, FileMenuShowsTheListAndAFailedEntryGoesAway)
{
    TestSet set;
    ViewerFixture viewer;
    ASSERT_TRUE(viewer.started);
    wxMenu* fileMenu = viewer.Frame()->GetMenuBar()->GetMenu(0);
    wxMenuItem* placeholder = fileMenu->FindItem(ID_FILE_MRU_FIRST);
    ASSERT_NE(placeholder, nullptr);
    EXPECT_EQ(placeholder->GetItemLabel(), wxString::FromUTF8("最新のﾌｧｲﾙ"));
    EXPECT_FALSE(placeholder->IsEnabled());

    const std::string gone = set.folder.Write("GONE.CNF", "");
    ASSERT_TRUE(viewer.App().OpenDocumentFile(gone));
    ASSERT_TRUE(viewer.App().OpenDocumentFile(set.configPath));
    ASSERT_EQ(viewer.App().Recent()->Count(), 2u);
    EXPECT_TRUE(fileMenu->FindItem(ID_FILE_MRU_FIRST)->GetItemLabel().StartsWith("&1 "));
    EXPECT_NE(fileMenu->FindItem(ID_FILE_MRU_FIRST + 1), nullptr);

    wxRemoveFile(gone);
    viewer.Command(ID_FILE_MRU_FIRST + 1);
    ASSERT_EQ(viewer.messages.shown.size(), 1u);
    EXPECT_EQ(viewer.App().Recent()->Count(), 1u);
    EXPECT_EQ(fileMenu->FindItem(ID_FILE_MRU_FIRST + 1), nullptr);
    EXPECT_EQ(viewer.Doc()->GetTitle(), "TEST.CNF");
}
