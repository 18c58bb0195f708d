#include "ShellTestSupport.h"

#include "shell/CMainFrame.h"
#include "shell/CMessagesDlg.h"
#include "shell/CommandIds.h"
#include "shell/CommandTable.h"

#include <wx/aui/auibar.h>
#include <wx/listctrl.h>
#include <wx/menu.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

namespace
{
/// Sets the locale variables for one test and puts the previous ones back.
class ScopedLocale
{
public:
    explicit ScopedLocale(const char* lcAll)
    {
        for (Saved& saved : m_saved)
        {
            if (const char* value = std::getenv(saved.name))
                saved.value = value;
            unsetenv(saved.name);
        }
        setenv("LC_ALL", lcAll, 1);
    }
    ~ScopedLocale()
    {
        for (const Saved& saved : m_saved)
        {
            if (saved.value)
                setenv(saved.name, saved.value->c_str(), 1);
            else
                unsetenv(saved.name);
        }
    }

private:
    struct Saved
    {
        const char* name;
        std::optional<std::string> value;
    };
    Saved m_saved[4] = {{"LANGUAGE", {}}, {"LC_ALL", {}}, {"LC_MESSAGES", {}}, {"LANG", {}}};
};

/// Kana, kanji, Japanese punctuation and the half-width forms.
bool HasJapanese(const wxString& text)
{
    for (const wxUniChar c : text)
    {
        const auto code = c.GetValue();
        if ((code >= 0x3000 && code <= 0x30FF) || (code >= 0x4E00 && code <= 0x9FFF) ||
            (code >= 0xFF00 && code <= 0xFFEF))
            return true;
    }
    return false;
}

struct Shown
{
    wxString where;
    wxString text;
};

void AddMenuTexts(wxMenu* menu, const wxString& where, std::vector<Shown>& texts)
{
    for (wxMenuItem* item : menu->GetMenuItems())
    {
        if (item->IsSeparator())
            continue;
        // The language's own name is written in that language in every interface.
        if (item->GetId() != ID_LANGUAGE_JAPANESE)
            texts.push_back({where + " item", item->GetItemLabel()});
        texts.push_back({where + " prompt", item->GetHelp()});
        if (item->IsSubMenu())
            AddMenuTexts(item->GetSubMenu(), where + "/" + item->GetItemLabel(), texts);
    }
}

/// Every menu title, item and prompt, and every tool tip and tool prompt of the frame.
std::vector<Shown> FrameTexts(CMainFrame* frame)
{
    std::vector<Shown> texts;
    wxMenuBar* bar = frame->GetMenuBar();
    for (std::size_t i = 0; i < bar->GetMenuCount(); ++i)
    {
        texts.push_back({"menu", bar->GetMenuLabel(i)});
        AddMenuTexts(bar->GetMenu(i), bar->GetMenuLabel(i), texts);
    }
    for (wxAuiToolBar* tools : {frame->MainBar(), frame->PaletteBar(), frame->SetBar()})
    {
        for (std::size_t i = 0; i < tools->GetToolCount(); ++i)
        {
            const wxAuiToolBarItem* tool = tools->FindToolByIndex(static_cast<int>(i));
            texts.push_back({"tip", tool->GetShortHelp()});
            texts.push_back({"tool prompt", tool->GetLongHelp()});
        }
    }
    return texts;
}

void ExpectNoJapanese(const std::vector<Shown>& texts)
{
    for (const Shown& shown : texts)
        EXPECT_FALSE(HasJapanese(shown.text)) << shown.where << ": " << shown.text.utf8_string();
}

/// The frame shows exactly the texts of the tables, as UTF-8 literals, untranslated.
void ExpectOriginalTexts(CMainFrame* frame)
{
    wxMenuBar* bar = frame->GetMenuBar();
    const auto menus = CommandTable::Menus();
    ASSERT_EQ(bar->GetMenuCount(), menus.size());
    for (std::size_t i = 0; i < menus.size(); ++i)
    {
        EXPECT_EQ(bar->GetMenuLabel(i), wxString::FromUTF8(menus[i].title));
        for (const MenuItemEntry& entry : menus[i].items)
        {
            if (entry.kind == MenuItemKind::Separator)
                continue;
            const wxMenuItem* item = bar->FindItem(entry.id);
            ASSERT_NE(item, nullptr) << entry.id;
            const char* text = entry.submenu != nullptr ? entry.submenu->title : entry.text;
            EXPECT_EQ(item->GetItemLabel(), wxString::FromUTF8(text)) << entry.id;
            const CommandInfo* info = CommandTable::Find(entry.id);
            EXPECT_EQ(item->GetHelp(), wxString::FromUTF8(info->prompt ? info->prompt : ""))
                << entry.id;
        }
    }
    const wxAuiToolBarItem* open = frame->MainBar()->FindTool(ID_FILE_OPEN);
    EXPECT_EQ(open->GetShortHelp(), wxString::FromUTF8("開く"));
    EXPECT_EQ(open->GetLongHelp(), wxString::FromUTF8("既存のﾌｧｲﾙを開く"));
}

/// The texts of the messages list's entries, in order.
std::vector<wxString> ListedTexts(CMessagesDlg* list)
{
    std::vector<wxString> texts;
    for (long row = 0; row < list->List()->GetItemCount(); ++row)
        texts.push_back(list->List()->GetItemText(row, 2));
    return texts;
}

bool Lists(const std::vector<wxString>& texts, const char* utf8)
{
    return std::find(texts.begin(), texts.end(), wxString::FromUTF8(utf8)) != texts.end();
}

/// A set whose configuration names a palette and two cels that are not there.
std::string WriteSetWithMissingFiles(const TempDir& folder)
{
    return folder.Write("KISS.CNF", "(100,80)\n%NONE.KCF\n#1 GONE.CEL *0 :0\n#2 LOST.CEL *0 :0\n"
                                    "$0 10,10 20,20\n");
}
} // namespace

TEST(LanguageTest, UnderAnEnglishLocaleTheMenusToolTipsPromptsAndBoxesAreEnglish)
{
    ScopedLocale locale("en_US.UTF-8");
    ViewerFixture viewer;
    ASSERT_TRUE(viewer.started);
    CMainFrame* frame = viewer.Frame();
    ExpectNoJapanese(FrameTexts(frame));
    wxMenuBar* bar = frame->GetMenuBar();
    EXPECT_EQ(bar->GetMenuLabel(0), "&File");
    EXPECT_EQ(bar->FindItem(ID_FILE_OPEN)->GetItemLabel(), "&Open...\tCtrl+O");
    EXPECT_EQ(bar->FindItem(ID_FILE_SAVE_AS)->GetItemLabel(), "Save &As...");
    EXPECT_EQ(bar->FindItem(ID_FILE_MRU_FIRST)->GetItemLabel(), "Recent Files");
    EXPECT_EQ(bar->FindItem(ID_RESTORE)->GetItemLabel(), "Re&store");
    EXPECT_EQ(frame->MainBar()->FindTool(ID_FILE_OPEN)->GetShortHelp(), "Open");

    // The message boxes the shell writes itself.
    TempDir folder;
    EXPECT_FALSE(viewer.App().OpenDocumentFile(folder.File("NONE.CNF")));
    ASSERT_FALSE(viewer.messages.shown.empty());
    const wxString box = wxString::FromUTF8(viewer.messages.shown.back());
    EXPECT_FALSE(HasJapanese(box)) << box.utf8_string();
    EXPECT_NE(box.find("was not found"), wxString::npos) << box.utf8_string();

    // A set with missing files: the box that reports them, and the messages list, its window,
    // its columns and its entries.
    ASSERT_TRUE(viewer.App().OpenDocumentFile(WriteSetWithMissingFiles(folder)));
    const wxString loadBox = wxString::FromUTF8(viewer.messages.shown.back());
    EXPECT_FALSE(HasJapanese(loadBox)) << loadBox.utf8_string();
    EXPECT_NE(loadBox.find("Cannot open the file GONE.CEL."), wxString::npos)
        << loadBox.utf8_string();
    frame->ShowMessages();
    CMessagesDlg* list = frame->MessagesWindow();
    EXPECT_EQ(list->GetTitle(), "Messages");
    wxListItem column;
    column.SetMask(wxLIST_MASK_TEXT);
    list->List()->GetColumn(2, column);
    EXPECT_EQ(column.GetText(), "Message");
    const std::vector<wxString> entries = ListedTexts(list);
    EXPECT_EQ(entries.size(), 3u);
    for (const wxString& entry : entries)
        EXPECT_FALSE(HasJapanese(entry)) << entry.utf8_string();
    for (const char* missing : {"NONE.KCF", "GONE.CEL", "LOST.CEL"})
        EXPECT_TRUE(Lists(entries, ("Cannot open the file " + std::string(missing) + ".").c_str()))
            << missing;
}

TEST(LanguageTest, UnderJapaneseAndCEveryTextIsTheOriginal)
{
    for (const char* name : {"ja_JP.UTF-8", "C", "POSIX"})
    {
        SCOPED_TRACE(name);
        ScopedLocale locale(name);
        ViewerFixture viewer;
        ASSERT_TRUE(viewer.started);
        ExpectOriginalTexts(viewer.Frame());
        TempDir folder;
        EXPECT_FALSE(viewer.App().OpenDocumentFile(folder.File("NONE.CNF")));
        ASSERT_FALSE(viewer.messages.shown.empty());
        EXPECT_EQ(viewer.messages.shown.back(), folder.File("NONE.CNF") +
                                                    " が見つかりません。");
        ASSERT_TRUE(viewer.App().OpenDocumentFile(WriteSetWithMissingFiles(folder)));
        viewer.Frame()->ShowMessages();
        EXPECT_TRUE(Lists(ListedTexts(viewer.Frame()->MessagesWindow()),
                          "ファイル GONE.CEL を開けません。"));
    }
}

TEST(LanguageTest, TheViewMenuSwitchesAtOnceAndTheChoiceIsKept)
{
    ScopedLocale locale("C");
    ViewerFixture viewer;
    ASSERT_TRUE(viewer.started);
    CMainFrame* frame = viewer.Frame();
    // A list already made follows the switch too.
    frame->ShowMessages();
    bool enabled = false;
    bool checked = false;
    ASSERT_TRUE(viewer.QueryUpdate(ID_LANGUAGE_AUTOMATIC, &enabled, &checked));
    EXPECT_TRUE(checked);

    viewer.Command(ID_LANGUAGE_ENGLISH);
    ExpectNoJapanese(FrameTexts(frame));
    EXPECT_EQ(frame->GetMenuBar()->GetMenuLabel(2), "&View");
    EXPECT_EQ(frame->MainBar()->FindTool(ID_NEXT_SET)->GetShortHelp(), "Next Set");
    EXPECT_EQ(frame->MainBar()->FindTool(ID_NEXT_SET)->GetLongHelp(), "Next Set");
    ASSERT_NE(frame->MessagesWindow(), nullptr);
    EXPECT_EQ(frame->MessagesWindow()->GetTitle(), "Messages");
    EXPECT_TRUE(frame->MessagesWindow()->IsShown());
    ASSERT_TRUE(viewer.QueryUpdate(ID_LANGUAGE_ENGLISH, &enabled, &checked));
    EXPECT_TRUE(enabled);
    EXPECT_TRUE(checked);
    ASSERT_TRUE(viewer.QueryUpdate(ID_LANGUAGE_AUTOMATIC, &enabled, &checked));
    EXPECT_FALSE(checked);
    const wxString ini = viewer.configHome.File("velquin.INI");
    EXPECT_NE(ReadAll(ini.utf8_string()).find("Language=English\n"), std::string::npos);

    // Started again with the same settings, the viewer speaks English from the first window.
    viewer.App().ShutDown();
    CSysApp::StartOptions options;
    options.iniPath = ini;
    options.messages = &viewer.messages;
    ASSERT_TRUE(viewer.App().StartUp(options));
    frame = viewer.Frame();
    EXPECT_EQ(frame->GetMenuBar()->GetMenuLabel(0), "&File");
    ExpectNoJapanese(FrameTexts(frame));

    // Back to the environment's choice, which under C is the original.
    viewer.Command(ID_LANGUAGE_AUTOMATIC);
    ExpectOriginalTexts(frame);
    EXPECT_NE(ReadAll(ini.utf8_string()).find("Language=Automatic\n"), std::string::npos);
}

TEST(LanguageTest, SwitchingRewordsTheEntriesAlreadyListed)
{
    ScopedLocale locale("C");
    ViewerFixture viewer;
    ASSERT_TRUE(viewer.started);
    CMainFrame* frame = viewer.Frame();
    TempDir folder;
    ASSERT_TRUE(viewer.App().OpenDocumentFile(WriteSetWithMissingFiles(folder)));
    frame->ShowMessages();
    const char* original = "ファイル GONE.CEL を開けません。";
    EXPECT_TRUE(Lists(ListedTexts(frame->MessagesWindow()), original));

    viewer.Command(ID_LANGUAGE_ENGLISH);
    const std::vector<wxString> english = ListedTexts(frame->MessagesWindow());
    EXPECT_EQ(english.size(), 3u);
    EXPECT_TRUE(Lists(english, "Cannot open the file GONE.CEL."));
    for (const wxString& entry : english)
        EXPECT_FALSE(HasJapanese(entry)) << entry.utf8_string();

    viewer.Command(ID_LANGUAGE_AUTOMATIC);
    EXPECT_TRUE(Lists(ListedTexts(frame->MessagesWindow()), original));
}
