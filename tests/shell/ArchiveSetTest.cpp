#include "shell/CSysDoc.h"

#include "ShellTestSupport.h"
#include "shell/CMainFrame.h"
#include "shell/CommandIds.h"
#include "shell/RecentFiles.h"
#include "support/ArchiveBytes.h"
#include "support/ConfigText.h"

#include <wx/choicdlg.h>
#include <wx/dialog.h>
#include <wx/listbox.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

namespace
{

std::vector<std::uint8_t> Picture(CSysDoc* doc)
{
    const ScreenBuffer& screen = doc->Screen();
    const auto rowBytes = static_cast<std::size_t>(screen.Width() * (screen.Depth() / 8));
    std::vector<std::uint8_t> pixels;
    for (std::int32_t y = 0; y < screen.Height(); ++y)
        pixels.insert(pixels.end(), screen.ScreenRow(y), screen.ScreenRow(y) + rowBytes);
    return pixels;
}

/// Answers the configuration dialog once it is up: picks selection, or cancels when it is
/// negative. The dialog's lines are kept in lines, and the rows its list shows at once in
/// rowsShown when given.
void AnswerChoiceDialog(int selection, std::vector<wxString>* lines, int* rowsShown = nullptr)
{
    wxTheApp->CallAfter(
        [selection, lines, rowsShown]
        {
            for (wxWindow* window : wxTopLevelWindows)
            {
                auto* dialog = wxDynamicCast(window, wxSingleChoiceDialog);
                if (!dialog || !dialog->IsModal())
                    continue;
                for (wxWindow* child : dialog->GetChildren())
                {
                    if (auto* list = wxDynamicCast(child, wxListBox))
                    {
                        const wxArrayString strings = list->GetStrings();
                        lines->assign(strings.begin(), strings.end());
                        if (rowsShown)
                            *rowsShown = list->GetCountPerPage();
                    }
                }
                if (selection < 0)
                {
                    dialog->EndModal(wxID_CANCEL);
                    return;
                }
                dialog->SetSelection(selection);
                wxCommandEvent ok(wxEVT_BUTTON, wxID_OK);
                dialog->GetEventHandler()->ProcessEvent(ok);
                return;
            }
            AnswerChoiceDialog(selection, lines, rowsShown);
        });
}

/// The test set packed as an archive with a second configuration in a folder of its own that
/// moves object 1 and finds its files at the top by their base names.
struct ArchivedSet
{
    TestSet set;
    TempDir place;
    std::string archive;

    ArchivedSet()
    {
        std::vector<ArchiveEntry> entries;
        for (const char* name : {"TEST.CNF", "P.KCF", "A.CEL", "B.CEL", "C.CEL"})
            entries.push_back({name, Bytes(set.folder.Read(name))});
        entries.push_back(
            {"alt/ALT.CNF",
             Bytes(ConfigText({"; \x82\xa0\x82\xa2 second look", "(100,80)", "%P.KCF",
                               "#1 A.CEL *0", "#2.1 B.CEL *0", "$0 * 50,50 40,10"}))});
        archive = place.Write("two.lzh", LzhArchive(entries, {2, "-lh5-", 0}));
    }
};

} // namespace

TEST(ArchiveSetTest, ChoosesAConfigurationThroughTheDialogAndRemembersIt)
{
    ArchivedSet packed;
    ViewerFixture viewer;
    ASSERT_TRUE(viewer.started);
    CSysDoc* doc = viewer.Doc();
    ASSERT_TRUE(viewer.App().OpenDocumentFile(packed.set.configPath));
    const std::vector<std::uint8_t> folderPicture = Picture(doc);

    std::vector<wxString> lines;
    AnswerChoiceDialog(-1, &lines);
    EXPECT_FALSE(viewer.App().OpenDocumentFile(packed.archive));
    EXPECT_EQ(doc->GetTitle(), "TEST.CNF");
    EXPECT_EQ(Picture(doc), folderPicture);

    AnswerChoiceDialog(1, &lines);
    ASSERT_TRUE(viewer.App().OpenDocumentFile(packed.archive));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], wxString::FromUTF8("TEST.CNF"));
    EXPECT_EQ(lines[1], wxString::FromUTF8("alt/ALT.CNF  \u2014  あい second look"));
    EXPECT_EQ(viewer.Frame()->GetTitle(), "ALT.CNF (two.lzh) - Velquin");
    EXPECT_EQ(PositionOf(doc, 1), (Point{50, 50}));
    EXPECT_NE(Picture(doc), folderPicture);
    EXPECT_TRUE(viewer.messages.shown.empty());

    // The recent entry and Reload come back to the same configuration without asking.
    viewer.Command(ID_RELOAD);
    EXPECT_EQ(PositionOf(doc, 1), (Point{50, 50}));
    AnswerChoiceDialog(0, &lines);
    ASSERT_TRUE(viewer.App().OpenDocumentFile(packed.archive));
    EXPECT_EQ(Picture(doc), folderPicture);
    EXPECT_EQ(doc->GetTitle(), "TEST.CNF (two.lzh)");
    RecentFiles recent(viewer.configHome.File("velquin.INI"));
    recent.Load();
    ASSERT_GE(recent.Count(), 2u);
    const wxString altEntry = recent.File(1);
    EXPECT_TRUE(altEntry.EndsWith("two.lzh|alt/ALT.CNF")) << altEntry;
    ASSERT_TRUE(viewer.App().OpenDocumentFile(altEntry));
    EXPECT_EQ(doc->GetTitle(), "ALT.CNF (two.lzh)");
}

TEST(ArchiveSetTest, ChooserShowsSixRowsOfAFolderMarkedArchiveWithoutGtkComplaints)
{
    // Every member marked as a folder, as some set editors write them, one name ending in a
    // backslash; seven configurations, the last the real one.
    TestSet set;
    std::vector<ArchiveEntry> entries;
    for (const char* name : {"P.KCF", "A.CEL", "B.CEL", "C.CEL"})
        entries.push_back({name, Bytes(set.folder.Read(name))});
    for (int n = 1; n <= 6; ++n)
        entries.push_back({"LOOK" + std::to_string(n) + ".CNF", Bytes(ConfigText({"(10,10)"}))});
    entries.push_back({"TEST.CNF\\", Bytes(set.folder.Read("TEST.CNF"))});
    TempDir place;
    const std::string archive = place.Write("editor.lzh", LzhArchive(entries, {1, "-lhd-", 0x20}));

    ViewerFixture viewer;
    ASSERT_TRUE(viewer.started);
    CSysDoc* doc = viewer.Doc();
    ASSERT_TRUE(viewer.App().OpenDocumentFile(set.configPath));
    const std::vector<std::uint8_t> folderPicture = Picture(doc);

    // Two entries: a list sized from them would be too short for its scroll bar.
    ArchivedSet two;
    std::vector<wxString> lines;
    int rowsShown = 0;
    AnswerChoiceDialog(-1, &lines, &rowsShown);
    testing::internal::CaptureStderr();
    EXPECT_FALSE(viewer.App().OpenDocumentFile(two.archive));
    std::string errors = testing::internal::GetCapturedStderr();
    EXPECT_EQ(errors.find("Gtk-CRITICAL"), std::string::npos) << errors;
    EXPECT_EQ(lines.size(), 2u);
    EXPECT_GE(rowsShown, 6);

    rowsShown = 0;
    AnswerChoiceDialog(6, &lines, &rowsShown);
    testing::internal::CaptureStderr();
    const bool opened = viewer.App().OpenDocumentFile(archive);
    errors = testing::internal::GetCapturedStderr();
    ASSERT_TRUE(opened);
    EXPECT_EQ(errors.find("Gtk-CRITICAL"), std::string::npos) << errors;
    ASSERT_EQ(lines.size(), 7u);
    EXPECT_EQ(lines[6], "TEST.CNF");
    EXPECT_GE(rowsShown, 6);
    EXPECT_EQ(doc->GetTitle(), "TEST.CNF (editor.lzh)");
    EXPECT_EQ(Picture(doc), folderPicture);
    EXPECT_TRUE(viewer.messages.shown.empty());
}

TEST(ArchiveSetTest, SaveWritesACompleteFolderAndLeavesTheArchiveAlone)
{
    ArchivedSet packed;
    const std::string archiveBefore = packed.place.Read("two.lzh");
    ViewerFixture viewer;
    ASSERT_TRUE(viewer.started);
    CSysDoc* doc = viewer.Doc();
    std::vector<wxString> lines;
    AnswerChoiceDialog(1, &lines);
    ASSERT_TRUE(viewer.App().OpenDocumentFile(packed.archive));
    const std::vector<std::uint8_t> picture = Picture(doc);
    EXPECT_EQ(doc->SaveProposal(), wxString(packed.place.File("ALT.CNF")));

    // Never over the open archive: by its own name, nor through a link to it, as a file dialog
    // may hand either over.
    const std::string link = packed.place.File("link.lzh");
    std::filesystem::create_symlink(packed.archive, link);
    for (const std::string& path : {packed.archive, link})
    {
        EXPECT_FALSE(doc->SaveAsPath(path)) << path;
        EXPECT_EQ(packed.place.Read("two.lzh"), archiveBefore);
        EXPECT_EQ(doc->GetTitle(), "ALT.CNF (two.lzh)");
    }
    ASSERT_EQ(viewer.messages.shown.size(), 2u);
    EXPECT_EQ(viewer.messages.shown[0], "書庫 " + packed.archive +
                                            " には保存できません。別の名前を選んでください。");
    viewer.messages.shown.clear();

    TempDir target;
    target.Write("A.CEL", packed.set.folder.Read("A.CEL"));
    target.Write("B.CEL", "not a cel, and not to be replaced");
    ASSERT_TRUE(doc->SaveAsPath(target.File("ALT.CNF")));
    EXPECT_EQ(doc->GetTitle(), "ALT.CNF");
    EXPECT_EQ(doc->GetFilename(), wxString(target.File("ALT.CNF")));
    EXPECT_EQ(packed.place.Read("two.lzh"), archiveBefore);
    EXPECT_EQ(target.Read("B.CEL"), "not a cel, and not to be replaced");
    // The configuration's folder in the archive holds nothing else: what it names comes from
    // the top, and what it does not name stays there.
    EXPECT_EQ(target.Read("P.KCF"), packed.set.folder.Read("P.KCF"));
    EXPECT_FALSE(std::filesystem::exists(target.File("C.CEL")));
    EXPECT_FALSE(std::filesystem::exists(target.File("TEST.CNF")));

    target.Write("B.CEL", packed.set.folder.Read("B.CEL"));
    ASSERT_TRUE(viewer.App().OpenDocumentFile(target.File("ALT.CNF")));
    EXPECT_EQ(Picture(doc), picture);
    EXPECT_TRUE(viewer.messages.shown.empty());
}

TEST(ArchiveSetTest, AnotherViewersFileWaitsUntilTheSaveMessageCloses)
{
    // The message after Save As is a modal box; while it is up another viewer hands a file over.
    struct ModalMessages : MessageSink
    {
        void ShowMessage(const std::string&) override
        {
            wxDialog box(wxTheApp->GetTopWindow(), wxID_ANY, "message");
            wxTheApp->CallAfter(
                [this, &box]
                {
                    during();
                    box.EndModal(wxID_OK);
                });
            box.ShowModal();
        }
        std::function<void()> during;
    } modal;
    TestSet set;
    TempDir place;
    std::vector<ArchiveEntry> entries;
    for (const char* name : {"TEST.CNF", "P.KCF", "A.CEL", "B.CEL", "C.CEL"})
        entries.push_back({name, Bytes(set.folder.Read(name))});
    // A member that is never written out, so that the save has something to say.
    entries.push_back({"../EVIL.CEL", Bytes("x")});
    const std::string archive = place.Write("set.lzh", LzhArchive(entries));
    const std::string other = set.folder.Write(
        "OTHER.CNF", "(100,80)\r\n%P.KCF\r\n#1 A.CEL *0\r\n$0 * 30,30\r\n");

    ViewerFixture viewer;
    ASSERT_TRUE(viewer.started);
    CSysDoc* doc = viewer.Doc();
    ASSERT_TRUE(viewer.App().OpenDocumentFile(archive));
    wxString titleDuring;
    modal.during = [&]
    {
        viewer.App().RequestOpen(other);
        Pump();
        titleDuring = doc->GetTitle();
    };
    doc->SetMessageSink(&modal);
    TempDir target;
    ASSERT_TRUE(doc->SaveAsPath(target.File("TEST.CNF")));
    doc->SetMessageSink(&viewer.messages);
    EXPECT_EQ(titleDuring, "TEST.CNF (set.lzh)");
    EXPECT_EQ(doc->GetTitle(), "TEST.CNF");
    EXPECT_EQ(doc->GetFilename(), wxString(target.File("TEST.CNF")));

    EXPECT_TRUE(PumpUntil([&] { return doc->GetTitle() == "OTHER.CNF"; }));
    EXPECT_EQ(doc->GetFilename(), wxString(other));
    // The folder just saved keeps the set it was saved from.
    const std::string saved = target.Read("TEST.CNF");
    EXPECT_TRUE(saved.starts_with(set.folder.Read("TEST.CNF"))) << saved;
    EXPECT_EQ(saved.find("30,30"), std::string::npos);
}

TEST(ArchiveSetTest, AddOnFilesComeFirstAndReloadKeepsBothLayers)
{
    ArchivedSet packed;
    TempDir addOnPlace;
    // The add-on recolours nothing but brings its own A.CEL, a 4 × 4 block, and uses the base
    // set's palette and B.CEL.
    TestSet small;
    const std::string addOn = addOnPlace.Write(
        "addon.zip",
        ZipArchive({{"ADDON.CNF", Bytes(ConfigText({"(100,80)", "%P.KCF", "#1 A.CEL *0",
                                                    "#2.1 B.CEL *0", "$0 * 5,5 40,10"}))},
                    {"A.CEL", Bytes(small.folder.Read("C.CEL"))}}));
    ViewerFixture viewer;
    ASSERT_TRUE(viewer.started);
    CSysDoc* doc = viewer.Doc();
    ASSERT_TRUE(viewer.App().OpenDocumentFile(packed.set.configPath));
    ASSERT_TRUE(doc->OpenAddOn(addOn));
    EXPECT_EQ(doc->GetTitle(), "ADDON.CNF (addon.zip)");
    ASSERT_EQ(doc->GetScene().PlacedCels().size(), 2u);
    EXPECT_EQ(doc->GetScene().PlacedCels()[1]->width, 8);
    EXPECT_TRUE(viewer.messages.shown.empty());
    const std::vector<std::uint8_t> picture = Picture(doc);

    viewer.Command(ID_RELOAD);
    EXPECT_EQ(doc->GetTitle(), "ADDON.CNF (addon.zip)");
    EXPECT_EQ(Picture(doc), picture);
    EXPECT_TRUE(viewer.messages.shown.empty());
}

TEST(ArchiveSetTest, ArchivesThatCannotGiveASetSayWhy)
{
    TestSet set;
    TempDir place;
    const std::string none = place.Write("none.zip", ZipArchive({{"readme.txt", Bytes("hi")}}));
    const std::string broken =
        place.Write("broken.lzh", std::string("\x20\x00-lh5-", 7) + std::string(40, '\x7f'));
    ViewerFixture viewer;
    ASSERT_TRUE(viewer.started);
    ASSERT_TRUE(viewer.App().OpenDocumentFile(set.configPath));
    EXPECT_FALSE(viewer.App().OpenDocumentFile(none));
    EXPECT_FALSE(viewer.App().OpenDocumentFile(broken));
    EXPECT_EQ(viewer.Doc()->GetTitle(), "TEST.CNF");
    ASSERT_EQ(viewer.messages.shown.size(), 2u);
    EXPECT_EQ(viewer.messages.shown[0],
              "書庫 " + place.File("none.zip") + " には設定ファイル (.CNF) がありません。");
    EXPECT_EQ(viewer.messages.shown[1],
              "書庫 " + place.File("broken.lzh") + " を読めません。(書庫が壊れています)");
}

TEST(ArchiveSetTest, RealArchivesShowTheSamePicturesAsTheirFolders)
{
    const std::string root = VELQUIN_KISS_SETS_DIR;
    if (!std::filesystem::exists(root))
        GTEST_SKIP() << "no real sets at " << root;
    ViewerFixture viewer;
    ASSERT_TRUE(viewer.started);
    CSysDoc* doc = viewer.Doc();
    auto pictures = [&](const std::string& path)
    {
        std::vector<std::vector<std::uint8_t>> all;
        EXPECT_TRUE(viewer.App().OpenDocumentFile(path)) << path;
        for (const int mode : {ID_FULL_COLOUR, ID_256_COLOUR})
        {
            viewer.Command(mode);
            for (int set = 0; set < 10; ++set)
            {
                viewer.Command(ID_SET_0 + set);
                all.push_back(Picture(doc));
            }
        }
        viewer.Command(ID_FULL_COLOUR);
        return all;
    };
    for (const auto& [archive, folder] :
         {std::pair{"lina", "lina/lina.cnf"}, std::pair{"lucca1r", "lucca1r/lucca.cnf"},
          std::pair{"sk_kimux", "sk_kimux/kiss.cnf"}})
    {
        SCOPED_TRACE(archive);
        EXPECT_TRUE(pictures(root + "/archives/" + archive + ".lzh") ==
                    pictures(root + "/" + folder));
    }
    EXPECT_TRUE(viewer.messages.shown.empty());
}
