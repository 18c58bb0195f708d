#include "shell/ViewSettings.h"

#include "shell/RecentFiles.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

TEST(ViewSettingsTest, ZoomSharesTheIniWithTheRecentFilesAndSurvivesARestart)
{
    TempDir home;
    const wxString ini = home.File("velquin.INI");
    RecentFiles recent(ini);
    recent.Add("/sets/1/KISS.CNF");
    ViewSettings settings(ini);
    settings.Set(3, true);
    recent.Add("/sets/2/KISS.CNF");

    ViewSettings again(ini);
    again.Load();
    EXPECT_EQ(again.Zoom(), 3);
    EXPECT_TRUE(again.FitToWindow());
    RecentFiles recentAgain(ini);
    recentAgain.Load();
    EXPECT_EQ(recentAgain.Count(), 2u);
}

TEST(ViewSettingsTest, OnlyFactorsWithinTheStepsAreTaken)
{
    struct Case
    {
        const char* text;
        std::optional<int> zoom;
        bool fit;
    };
    const Case cases[] = {
        {"[View]\nZoom=2\n", 2, false},
        {"[view]\r\n zoom = 4 \r\nfittowindow=1\r\n", 4, true},
        {"[View]\nZoom=0\nFitToWindow=x\n", std::nullopt, false},
        {"[View]\nZoom=5\n", std::nullopt, false},
        {"[View]\nZoom=2x\n", std::nullopt, false},
        {"[Other]\nZoom=2\n", std::nullopt, false},
        {"", std::nullopt, false},
    };
    for (const Case& c : cases)
    {
        TempDir home;
        ViewSettings settings(home.Write("velquin.INI", c.text));
        settings.Load();
        EXPECT_EQ(settings.Zoom(), c.zoom) << c.text;
        EXPECT_EQ(settings.FitToWindow(), c.fit) << c.text;
    }
}
