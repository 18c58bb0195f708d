#include "shell/CSysDoc.h"

#include "ShellTestSupport.h"
#include "session/SetPreload.h"
#include "shell/CMainFrame.h"
#include "shell/CSysView.h"
#include "shell/CommandTable.h"
#include "shell/FileDialogs.h"
#include "shell/RecentFiles.h"

#include <wx/statusbr.h>

#include <gtest/gtest.h>

#include <filesystem>


namespace
{
struct UiState
{
    bool answered = false;
    bool enabled = false;
    bool checked = false;
};

UiState Query(const ViewerFixture& viewer, int id)
{
    UiState state;
    state.answered = viewer.QueryUpdate(id, &state.enabled, &state.checked);
    return state;
}
} // namespace

TEST(CSysDocTest, NewDocumentIsAnEmptyWhitePictureTitledUntitled)
{
    ViewerFixture viewer;
    ASSERT_TRUE(viewer.started);
    CSysDoc* doc = viewer.Doc();
    EXPECT_EQ(doc->GetTitle(), "Untitled");
    EXPECT_EQ(viewer.Frame()->GetTitle(), "Untitled - Velquin");
    EXPECT_EQ(doc->Screen().Width(), 448);
    EXPECT_EQ(doc->Screen().Height(), 320);
    EXPECT_EQ(doc->Screen().BackgroundIndex(), 255);
    EXPECT_FALSE(doc->GetScene().IsLoaded());
    // Restore and reload need a configuration; the set commands only refresh.
    EXPECT_FALSE(Query(viewer, ID_RESTORE).enabled);
    EXPECT_FALSE(Query(viewer, ID_RELOAD).enabled);
    EXPECT_TRUE(Query(viewer, ID_SET_0).checked);
    EXPECT_TRUE(Query(viewer, ID_PALETTE_0).checked);
    viewer.Command(ID_NEXT_SET);
    viewer.Command(ID_RELOAD);
    viewer.Command(ID_RESTORE);
    EXPECT_EQ(doc->GetScene().CurrentSet(), 0);
    EXPECT_TRUE(viewer.messages.shown.empty());
}

TEST(CSysDocTest, OneDocumentServesTheWholeRun)
{
    TestSet set;
    ViewerFixture viewer;
    ASSERT_TRUE(viewer.started);
    CSysDoc* doc = viewer.Doc();
    CSysView* view = viewer.View();
    ASSERT_TRUE(viewer.App().OpenDocumentFile(set.configPath));
    EXPECT_EQ(viewer.Doc(), doc);
    viewer.Command(ID_FILE_NEW);
    EXPECT_EQ(viewer.Doc(), doc);
    ASSERT_TRUE(viewer.App().OpenDocumentFile(set.configPath));
    viewer.Command(ID_RELOAD);
    EXPECT_EQ(viewer.Doc(), doc);
    EXPECT_EQ(viewer.View(), view);
    EXPECT_EQ(doc->GetTitle(), "TEST.CNF");
    EXPECT_EQ(viewer.Frame()->GetTitle(), "TEST.CNF - Velquin");
    EXPECT_FALSE(doc->IsModified());
}

TEST(CSysDocTest, RelativePathWithAFolderLoadsAndIsKeptWhole)
{
    TestSet set;
    const std::filesystem::path config(set.configPath);
    std::filesystem::current_path(config.parent_path().parent_path());
    const std::string relative = (config.parent_path().filename() / config.filename()).string();
    ViewerFixture viewer(relative);
    ASSERT_TRUE(viewer.started);
    CSysDoc* doc = viewer.Doc();
    EXPECT_TRUE(doc->GetScene().IsLoaded());
    EXPECT_EQ(doc->Screen().Width(), 100);
    EXPECT_EQ(doc->GetFilename(), set.configPath);
    ASSERT_EQ(viewer.App().Recent()->Count(), 1u);
    EXPECT_EQ(viewer.App().Recent()->File(0), set.configPath);
    viewer.Command(ID_NEXT_SET);
    viewer.Command(ID_RELOAD);
    EXPECT_TRUE(doc->GetScene().IsLoaded());
    EXPECT_EQ(doc->GetScene().CurrentSet(), 0);
    EXPECT_TRUE(viewer.messages.shown.empty());
}

TEST(CSysDocTest, SetAndPaletteCommandsFollowTheirRulesAndRefresh)
{
    TestSet set;
    ViewerFixture viewer(set.configPath);
    ASSERT_TRUE(viewer.started);
    Scene& scene = viewer.Doc()->GetScene();
    ASSERT_TRUE(scene.IsLoaded());
    EXPECT_EQ(viewer.Doc()->Screen().Width(), 100);
    EXPECT_EQ(viewer.Doc()->Screen().Height(), 80);
    // A picture narrower than the menu bar leaves the frame at the menu bar's width.
    EXPECT_GE(viewer.Frame()->GetSize().x, viewer.Frame()->GetMinSize().x);
    EXPECT_GT(viewer.Frame()->GetMinSize().x, 100);
    EXPECT_TRUE(Query(viewer, ID_RESTORE).enabled);
    EXPECT_TRUE(Query(viewer, ID_RELOAD).enabled);

    viewer.Command(ID_PREV_SET);
    EXPECT_EQ(scene.CurrentSet(), 0);
    viewer.Command(ID_SET_0 + 3);
    EXPECT_EQ(scene.CurrentSet(), 3);
    EXPECT_EQ(scene.CurrentPaletteGroup(), 1);
    EXPECT_TRUE(Query(viewer, ID_SET_0 + 3).checked);
    EXPECT_FALSE(Query(viewer, ID_SET_0).checked);
    EXPECT_TRUE(Query(viewer, ID_PALETTE_0 + 1).checked);
    viewer.Command(ID_SET_9);
    viewer.Command(ID_NEXT_SET);
    EXPECT_EQ(scene.CurrentSet(), 9);

    // Palette group 10 exists but has no menu item to check.
    viewer.Command(ID_PALETTE_9);
    viewer.Command(ID_NEXT_PALETTE);
    EXPECT_EQ(scene.CurrentPaletteGroup(), 10);
    for (int id = ID_PALETTE_0; id <= ID_PALETTE_9; ++id)
        EXPECT_FALSE(Query(viewer, id).checked) << id;
    viewer.Command(ID_PREV_PALETTE);
    EXPECT_EQ(scene.CurrentPaletteGroup(), 9);

    // The screen was recomposed: set 3 shows object 1 at 20,30 in the green of group 1.
    viewer.Command(ID_SET_0 + 3);
    const wxImage picture = viewer.View()->ScreenBitmap().ConvertToImage();
    EXPECT_EQ(picture.GetGreen(25, 35), 255);
    EXPECT_EQ(picture.GetRed(25, 35), 0);
}

TEST(CSysDocTest, ColourModesRebuildTheBufferAndCarryTheCheckMark)
{
    TestSet set;
    ViewerFixture viewer(set.configPath);
    ASSERT_TRUE(viewer.started);
    ScreenBuffer& screen = viewer.Doc()->Screen();
    EXPECT_TRUE(Query(viewer, ID_FULL_COLOUR).checked);
    EXPECT_FALSE(Query(viewer, ID_256_COLOUR).checked);
    viewer.Command(ID_256_COLOUR);
    EXPECT_EQ(screen.Depth(), 8);
    EXPECT_TRUE(Query(viewer, ID_256_COLOUR).checked);
    EXPECT_FALSE(Query(viewer, ID_FULL_COLOUR).checked);
    // 8-bit pixels reach the window through the colour table: object 1 is still red.
    const wxImage picture = viewer.View()->ScreenBitmap().ConvertToImage();
    EXPECT_EQ(picture.GetRed(15, 15), 255);
    EXPECT_EQ(picture.GetGreen(15, 15), 0);
    EXPECT_EQ(picture.GetBlue(2, 2), 128); // the background, colour 0
    // The depth survives a reload and a new document.
    viewer.Command(ID_RELOAD);
    EXPECT_EQ(screen.Depth(), 8);
    viewer.Command(ID_FILE_NEW);
    EXPECT_EQ(screen.Depth(), 8);
    viewer.Command(ID_FULL_COLOUR);
    EXPECT_EQ(screen.Depth(), 32);
}

TEST(CSysDocTest, EveryCommandGoesToTheClassThatCarriesItOutOrIsDisabled)
{
    TestSet set;
    ViewerFixture viewer(set.configPath);
    ASSERT_TRUE(viewer.started);
    viewer.App().Recent()->Add(set.configPath);
    for (const CommandInfo& info : CommandTable::Commands())
    {
        for (int id = info.firstId; id <= info.lastId; ++id)
        {
            const UiState state = Query(viewer, id);
            EXPECT_TRUE(state.answered) << id;
            const bool recentBeyondList =
                id > ID_FILE_MRU_FIRST && id <= ID_FILE_MRU_LAST;
            // The picture starts at the smallest factor: nothing to zoom out of.
            const bool atSmallestZoom = id == ID_ZOOM_OUT;
            // Nothing was moved yet.
            const bool noHistory = id == ID_EDIT_UNDO || id == ID_EDIT_REDO;
            EXPECT_EQ(state.enabled, info.handler != Handler::None && !recentBeyondList &&
                                         !atSmallestZoom && !noHistory)
                << id;
        }
    }
    // Commands without a handler do nothing, also from their shortcut keys.
    const std::string before = ReadAll(set.configPath);
    for (int id : {ID_EDIT_UNDO, ID_EDIT_REDO, ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE, ID_NEXT_PANE,
                   ID_PREV_PANE, ID_PALETTE_LABEL, ID_SET_LABEL})
        viewer.Command(id);
    EXPECT_EQ(ReadAll(set.configPath), before);
    EXPECT_EQ(viewer.Doc()->GetScene().CurrentSet(), 0);
}

TEST(CSysDocTest, SaveWritesPositionsAndReportsWhyItFailed)
{
    TestSet set;
    ViewerFixture viewer(set.configPath);
    ASSERT_TRUE(viewer.started);
    CSysDoc* doc = viewer.Doc();
    doc->GetScene().MoveObjectTo(doc->Screen(), doc->GetScene().HitTest({15, 15}).index, 30, 40);
    viewer.Command(ID_FILE_SAVE);
    EXPECT_NE(ReadAll(set.configPath).find("$0 * 30,40 40,10 70,10"), std::string::npos);
    EXPECT_TRUE(viewer.messages.shown.empty());

    EXPECT_FALSE(doc->SaveTo(set.folder.File("missing/OUT.CNF")));
    ASSERT_EQ(viewer.messages.shown.size(), 1u);
    EXPECT_FALSE(viewer.messages.shown[0].empty());
}

TEST(CSysDocTest, SaveAsksForANameWithoutAWritableFile)
{
    TestSet set;
    EXPECT_TRUE(NeedsNewName(""));
    EXPECT_TRUE(NeedsNewName(set.folder.File("gone.CNF")));
    EXPECT_TRUE(NeedsNewName(set.folder.Path()));
    EXPECT_FALSE(NeedsNewName(set.configPath));
    std::filesystem::permissions(set.configPath, std::filesystem::perms::owner_read |
                                                     std::filesystem::perms::group_read |
                                                     std::filesystem::perms::others_read);
    EXPECT_TRUE(NeedsNewName(set.configPath));
}

TEST(CSysDocTest, FailedOpenExplainsAndKeepsTheDocument)
{
    TestSet set;
    ViewerFixture viewer(set.configPath);
    ASSERT_TRUE(viewer.started);
    const wxString missing = set.folder.File("NONE.CNF");
    EXPECT_FALSE(viewer.App().OpenDocumentFile(missing));
    EXPECT_FALSE(viewer.App().OpenDocumentFile(set.folder.Path()));
    ASSERT_EQ(viewer.messages.shown.size(), 2u);
    EXPECT_EQ(viewer.messages.shown[0], set.folder.File("NONE.CNF") + " が見つかりません。");
    EXPECT_EQ(viewer.messages.shown[1], set.folder.Path() + " へのｱｸｾｽは拒否されました。");
    EXPECT_TRUE(viewer.Doc()->GetScene().IsLoaded());
    EXPECT_EQ(viewer.Doc()->GetTitle(), "TEST.CNF");
}

TEST(CSysDocTest, LoadMessagesGoToTheSinkOnce)
{
    TestSet set;
    set.folder.Write("BAD.CNF", "%NOPE.KCF\r\n#1 NONE.CEL\r\n");
    ViewerFixture viewer(set.folder.File("BAD.CNF"));
    ASSERT_TRUE(viewer.started);
    ASSERT_EQ(viewer.messages.shown.size(), 1u);
    EXPECT_EQ(viewer.messages.shown[0],
              "ファイル NOPE.KCF を開けません。\nファイル NONE.CEL を開けません。");
}

TEST(CSysDocTest, FailedCommandLineFileEndsStartUp)
{
    TempDir folder;
    ViewerFixture viewer(folder.File("NONE.CNF"));
    EXPECT_FALSE(viewer.started);
    ASSERT_EQ(viewer.messages.shown.size(), 1u);
    // The message stands alone: the window is shown only once a document is in place.
    EXPECT_FALSE(viewer.messages.overMainWindow[0]);
    EXPECT_EQ(viewer.Frame(), nullptr);
}

TEST(CSysDocTest, CommandLineSetLoadedAheadOpensWithItsMessagesOnceAndItsCodeRunning)
{
    FkissTestSet set;
    const std::string path = set.folder.Write(
        "AHEAD.CNF", "(100,80)\r\n%P.KCF\r\n#1 A.CEL *0\r\n#2 GONE.CEL *0\r\n$0 * 10,10 0,0\r\n"
                     ";@EventHandler\r\n;@begin() timer(1, 30)\r\n;@alarm(1) notify(\"tick\")\r\n");
    SetPreload preload(path);
    ViewerFixture viewer(path, &preload);
    ASSERT_TRUE(viewer.started);
    // Taken by the document: nothing is left for a second open.
    EXPECT_FALSE(preload.Take(path).has_value());
    EXPECT_EQ(viewer.messages.shown,
              std::vector<std::string>{"ファイル GONE.CEL を開けません。"});
    EXPECT_EQ(viewer.Doc()->GetTitle(), "AHEAD.CNF");
    EXPECT_EQ(viewer.App().Recent()->File(0), wxString(path));
    ASSERT_NE(viewer.Doc()->Fkiss(), nullptr);
    EXPECT_TRUE(PumpUntil([&] {
        return viewer.Frame()->StatusBar()->GetStatusText(0) == "tick";
    }));
}

TEST(CSysDocTest, CommandLineFileThatCannotLoadAheadIsOpenedAndExplainedAsBefore)
{
    TestSet set;
    const std::string missing = set.folder.File("NONE.CNF");
    {
        SetPreload preload(missing);
        ViewerFixture viewer(missing, &preload);
        EXPECT_FALSE(viewer.started);
        EXPECT_EQ(viewer.messages.shown.size(), 1u);
    }
    // Another file than the one loading ahead opens the ordinary way.
    const std::string other =
        set.folder.Write("OTHER.CNF", "(100,80)\r\n%P.KCF\r\n#1 A.CEL *0\r\n$0 * 30,30\r\n");
    SetPreload preload(set.configPath);
    ViewerFixture viewer(other, &preload);
    ASSERT_TRUE(viewer.started);
    EXPECT_EQ(viewer.Doc()->GetTitle(), "OTHER.CNF");
    EXPECT_EQ(viewer.Doc()->GetScene().PlacedCels().size(), 1u);
}

TEST(CSysDocTest, FkissRunsTimersAndItsSwitchIsRememberedForTheNextLoad)
{
    FkissTestSet set;
    ViewerFixture viewer(set.configPath);
    ASSERT_TRUE(viewer.started);
    ASSERT_NE(viewer.Doc()->Fkiss(), nullptr);
    EXPECT_TRUE(PumpUntil([&] {
        return viewer.Frame()->StatusBar()->GetStatusText(0) == "tick";
    }));
    UiState state = Query(viewer, ID_VIEW_FKISS);
    EXPECT_TRUE(state.enabled && state.checked);

    viewer.Command(ID_VIEW_FKISS);
    EXPECT_FALSE(Query(viewer, ID_VIEW_FKISS).checked);
    EXPECT_NE(ReadAll(viewer.configHome.File("velquin.INI")).find("FKiSS=0\n"),
              std::string::npos);
    EXPECT_NE(viewer.Doc()->Fkiss(), nullptr); // the set on the screen plays on
    viewer.Command(ID_RELOAD);
    EXPECT_EQ(viewer.Doc()->Fkiss(), nullptr);
    for (const auto& cel : viewer.Doc()->GetScene().PlacedCels())
        EXPECT_TRUE(cel->mapped);

    viewer.Command(ID_VIEW_FKISS);
    viewer.Command(ID_RELOAD);
    EXPECT_NE(viewer.Doc()->Fkiss(), nullptr);
    EXPECT_NE(ReadAll(viewer.configHome.File("velquin.INI")).find("FKiSS=1"), std::string::npos);

    // File messages and FKiSS diagnostics come in one message.
    EXPECT_TRUE(viewer.messages.shown.empty());
    const std::string bad = set.folder.Write(
        "BAD.CNF", "(100,80)\r\n%P.KCF\r\n#1 GONE.CEL\r\n;@EventHandler\r\n;@begin() frob()\r\n");
    ASSERT_TRUE(viewer.App().OpenDocumentFile(bad));
    EXPECT_EQ(viewer.messages.shown,
              (std::vector<std::string>{"ファイル GONE.CEL を開けません。\n"
                                        "BAD.CNF:5: warning: unknown command frob"}));
}
