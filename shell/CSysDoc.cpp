#include "shell/CSysDoc.h"

#include "scene/FileSource.h"
#include "shell/CMainFrame.h"
#include "shell/CSysCanvas.h"
#include "shell/CommandIds.h"
#include "shell/FileDialogs.h"
#include "shell/OpenCheck.h"
#include "shell/UiText.h"
#include "shell/WxBridge.h"

#include <wx/app.h>
#include <wx/filename.h>

#include <filesystem>
#include <system_error>

#include <sys/stat.h>
#include <unistd.h>

namespace
{
MessageBoxSink g_messageBoxes;

/// The FKiSS timer's period: alarms are checked about a hundred times a second.
constexpr int kFkissTickMs = 10;
/// Diagnostics listed with the load messages; the rest only say that there are more.
constexpr std::size_t kListedDiagnostics = 10;

CMainFrame* MainFrame()
{
    return wxTheApp ? wxDynamicCast(wxTheApp->GetTopWindow(), CMainFrame) : nullptr;
}
} // namespace

wxIMPLEMENT_DYNAMIC_CLASS(CSysDoc, wxDocument);

// Only the commands that the document carries out; the view, the frame and the application
// each answer their own, so no identifier appears in two tables.
wxBEGIN_EVENT_TABLE(CSysDoc, wxDocument)
    EVT_MENU_RANGE(ID_SET_0, ID_SET_9, CSysDoc::OnSetN)
    EVT_MENU(ID_NEXT_SET, CSysDoc::OnNextSet)
    EVT_MENU(ID_PREV_SET, CSysDoc::OnPrevSet)
    EVT_MENU_RANGE(ID_PALETTE_0, ID_PALETTE_9, CSysDoc::OnPaletteN)
    EVT_MENU(ID_NEXT_PALETTE, CSysDoc::OnNextPalette)
    EVT_MENU(ID_PREV_PALETTE, CSysDoc::OnPrevPalette)
    EVT_MENU(ID_256_COLOUR, CSysDoc::On256Colour)
    EVT_MENU(ID_FULL_COLOUR, CSysDoc::OnFullColour)
    EVT_MENU(ID_RESTORE, CSysDoc::OnRestore)
    EVT_MENU(ID_RELOAD, CSysDoc::OnReload)
    EVT_MENU(ID_FILE_SAVE, CSysDoc::OnFileSave)
    EVT_MENU(ID_FILE_SAVE_AS, CSysDoc::OnFileSaveAs)
    EVT_UPDATE_UI_RANGE(ID_SET_0, ID_SET_9, CSysDoc::OnUpdateSetN)
    EVT_UPDATE_UI_RANGE(ID_PALETTE_0, ID_PALETTE_9, CSysDoc::OnUpdatePaletteN)
    EVT_UPDATE_UI(ID_256_COLOUR, CSysDoc::OnUpdate256Colour)
    EVT_UPDATE_UI(ID_FULL_COLOUR, CSysDoc::OnUpdateFullColour)
    EVT_UPDATE_UI(ID_RESTORE, CSysDoc::OnUpdateNeedsConfig)
    EVT_UPDATE_UI(ID_RELOAD, CSysDoc::OnUpdateNeedsConfig)
    EVT_UPDATE_UI(ID_NEXT_SET, CSysDoc::OnUpdateAlways)
    EVT_UPDATE_UI(ID_PREV_SET, CSysDoc::OnUpdateAlways)
    EVT_UPDATE_UI(ID_NEXT_PALETTE, CSysDoc::OnUpdateAlways)
    EVT_UPDATE_UI(ID_PREV_PALETTE, CSysDoc::OnUpdateAlways)
    EVT_UPDATE_UI(ID_FILE_SAVE, CSysDoc::OnUpdateAlways)
    EVT_UPDATE_UI(ID_FILE_SAVE_AS, CSysDoc::OnUpdateAlways)
wxEND_EVENT_TABLE()

CSysDoc::CSysDoc() : m_pSink(&g_messageBoxes), m_fkissTimer(this)
{
    SetMessageSink(m_pSink);
    // The one place where the player is made.
    m_pSound = std::make_unique<SilentSoundPlayer>();
    Bind(wxEVT_TIMER, &CSysDoc::OnFkissTimer, this);
}

CSysDoc::~CSysDoc()
{
    StopFkiss();
    m_scene.ClearScene();
}

void CSysDoc::SetMessageSink(MessageSink* sink)
{
    m_pSink = sink;
    m_scene.SetMessageSink(sink);
    m_screen.SetMessageSink(sink);
}

bool CSysDoc::OnNewDocument()
{
    StopFkiss();
    m_scene.ClearScene();
    SetDocumentSaved(false);
    SetTitle(Ui(UiText::kUntitled));
    SetFilename(wxString(), true);
    // No colours to hand over: the picture is the empty 448 by 320 white one.
    RefreshScreen(false, true, kHintReset);
    return true;
}

bool CSysDoc::OnOpenDocument(const wxString& path)
{
    const std::string bytes(path.fn_str());
    if (const int error = CheckReadable(bytes))
    {
        m_pSink->ShowMessage(OpenFailureMessage(error, path).utf8_string());
        return false;
    }
    StopFkiss();
    m_scene.ClearScene();
    // Taken whole before the directory changes: a relative path would otherwise name another
    // file once the load, a reload or the recent-file list reads it again.
    wxFileName name(path);
    name.MakeAbsolute();
    const wxString full = name.GetFullPath();
    const std::string fullBytes(full.fn_str());
    // Relative names inside the set resolve against its folder; the directory stays changed,
    // and a folder that cannot be entered is passed over without a word.
    std::error_code ignored;
    std::filesystem::current_path(FolderOf(fullBytes), ignored);
    // The load's file messages are shown below, in one box with the FKiSS diagnostics.
    m_scene.SetMessageSink(nullptr);
    m_scene.LoadScene(fullBytes);
    m_scene.SetMessageSink(m_pSink);
    const bool hasMessages = m_scene.IsLoaded() && m_scene.Messages().Count() > 0;
    StartFkiss(fullBytes, hasMessages ? m_scene.Messages().Text() : std::string());
    SetDocumentSaved(true);
    SetTitle(name.GetFullName());
    SetFilename(full, true);
    RefreshScreen(true, true, kHintReset);
    // What the load events asked of the window (a size, a scroll, even quit()).
    AfterFkiss();
    return true;
}

bool CSysDoc::OnSaveDocument(const wxString& path)
{
    return SaveTo(path);
}

bool CSysDoc::DeleteContents()
{
    StopFkiss();
    m_scene.ClearScene();
    return true;
}

void CSysDoc::StartFkiss(const std::string& path, std::string messages)
{
    m_pFkiss.reset();
    m_fkissHost = Host();
    if (m_bFkissEnabled && m_scene.IsLoaded())
        m_pFkiss = FkissSession::Create(m_scene, m_screen, m_fkissHost,
                                        wxFileName(wxString(path)).GetFullName().utf8_string(),
                                        static_cast<std::uint32_t>(m_clock.NowMs()));
    if (!m_pFkiss)
    {
        if (!messages.empty())
            m_pSink->ShowMessage(messages);
        return;
    }
    m_pFkissFiles = std::make_unique<FolderFileSource>(FolderOf(path));
    FkissEngine& engine = m_pFkiss->Engine();
    engine.SetSound(m_pFkissFiles.get(), m_pSound.get());
    engine.Start(m_clock.NowMs());
    const auto& diagnostics = engine.Diagnostics();
    for (std::size_t i = 0; i < diagnostics.size() && i <= kListedDiagnostics; ++i)
        messages += (messages.empty() ? "" : "\n") +
                    (i < kListedDiagnostics ? diagnostics[i].Format() : std::string("..."));
    if (!messages.empty())
        m_pSink->ShowMessage(messages);
    if (engine.HasPendingTimers())
        m_fkissTimer.Start(kFkissTickMs);
}

void CSysDoc::StopFkiss()
{
    m_fkissTimer.Stop();
    if (m_pFkiss)
        m_pFkiss->Engine().Stop();
    m_pFkiss.reset();
    if (m_pSound)
        m_pSound->StopAll();
}

std::vector<FkissDiagnostic> CSysDoc::FkissDiagnostics() const
{
    return m_pFkiss ? m_pFkiss->Engine().Diagnostics() : std::vector<FkissDiagnostic>();
}

void CSysDoc::Host::ShowText(const std::string& bytes)
{
    if (CMainFrame* frame = MainFrame())
        frame->SetMessageText(DecodeCp932(bytes));
}

void CSysDoc::AfterFkiss()
{
    if (!m_pFkiss)
        return;
    if (m_fkissHost.closeSet)
    {
        // end() has run already: close as New does, without firing it again.
        m_pFkiss.reset();
        OnNewDocument();
        return;
    }
    if (m_fkissHost.resize)
    {
        const Point size = *m_fkissHost.resize;
        m_screen.SetFormat(std::max(size.x, 1), std::max(size.y, 1), 0);
        m_fkissHost.resize.reset();
        m_scene.ApplyToBuffer(m_screen, true, false);
        UpdateAllViewsWithHint(kHintRefit);
    }
    else
    {
        UpdateAllViewsWithHint(kHintRepaintDirty);
    }
    if (m_fkissHost.scroll)
    {
        if (CMainFrame* frame = MainFrame())
            frame->Canvas()->Scroll(m_fkissHost.scroll->x, m_fkissHost.scroll->y);
        m_fkissHost.scroll.reset();
    }
    if (!m_pFkiss->Engine().HasPendingTimers())
        m_fkissTimer.Stop();
    else if (!m_fkissTimer.IsRunning())
        m_fkissTimer.Start(kFkissTickMs);
}

void CSysDoc::OnFkissTimer(wxTimerEvent&)
{
    if (!m_pFkiss)
        return;
    m_pFkiss->Engine().Tick(m_clock);
    AfterFkiss();
}

void CSysDoc::FkissPress(int cel, Point point)
{
    if (!m_pFkiss)
        return;
    m_pFkiss->Engine().Press(cel, point);
    AfterFkiss();
}

void CSysDoc::DragObject(int cel, std::int32_t dx, std::int32_t dy)
{
    if (!m_pFkiss)
    {
        m_scene.MoveObjectBy(m_screen, cel, dx, dy);
        return;
    }
    m_pFkiss->Engine().Drag(cel, dx, dy);
    AfterFkiss();
}

void CSysDoc::FkissUnfixed(int cel)
{
    if (!m_pFkiss)
        return;
    m_pFkiss->Engine().Unfixed(cel);
    AfterFkiss();
}

void CSysDoc::FkissRelease(int cel, Point point)
{
    if (!m_pFkiss)
        return;
    m_pFkiss->Engine().Release(cel, point);
    AfterFkiss();
}

void CSysDoc::FkissMouseMove(Point point)
{
    if (!m_pFkiss)
        return;
    m_pFkiss->Engine().MouseMoved(point);
    AfterFkiss();
}

bool CSysDoc::FkissKey(std::string_view name, bool down)
{
    if (!m_pFkiss)
        return false;
    FkissEngine& engine = m_pFkiss->Engine();
    const bool taken = down ? engine.KeyPress(name) : engine.KeyRelease(name);
    AfterFkiss();
    return taken;
}

void CSysDoc::RefreshScreen(bool handColours, bool resize, int hint)
{
    m_scene.ApplyToBuffer(m_screen, handColours, resize);
    UpdateAllViewsWithHint(hint);
}

void CSysDoc::UpdateAllViewsWithHint(int hint)
{
    CSysUpdateHint object(hint);
    UpdateAllViews(nullptr, &object);
}

bool CSysDoc::NeedsNewName(const wxString& path)
{
    if (path.empty())
        return true;
    const std::string bytes(path.fn_str());
    struct stat info{};
    if (::stat(bytes.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
        return true;
    // A file without write permission is read-only even for a user (root) whom the system
    // would let write it anyway.
    if ((info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
        return true;
    return ::access(bytes.c_str(), W_OK) != 0;
}

bool CSysDoc::SaveTo(const wxString& path)
{
    std::string error;
    if (m_scene.SaveSceneToFile(std::string(path.fn_str()), &error))
        return true;
    m_pSink->ShowMessage(error);
    return false;
}

bool CSysDoc::SaveAs()
{
    const wxString path = AskSavePath(GetDocumentWindow(), GetFilename());
    if (path.empty() || !SaveTo(path))
        return false;
    SetDocumentSaved(true);
    SetTitle(wxFileName(path).GetFullName());
    SetFilename(path, true);
    if (wxDocManager* manager = GetDocumentManager())
        manager->AddFileToHistory(path);
    return true;
}

void CSysDoc::AfterSelection()
{
    RefreshScreen(true, false, kHintRepaintAll);
    if (m_pFkiss)
        AfterFkiss();
}

void CSysDoc::OnSetN(wxCommandEvent& event)
{
    m_scene.SelectSet(event.GetId() - ID_SET_0, 0);
    if (m_pFkiss)
        m_pFkiss->Engine().SetSelected();
    AfterSelection();
}

void CSysDoc::OnNextSet(wxCommandEvent&)
{
    m_scene.SelectSet(-1, 1);
    if (m_pFkiss)
        m_pFkiss->Engine().SetSelected();
    AfterSelection();
}

void CSysDoc::OnPrevSet(wxCommandEvent&)
{
    m_scene.SelectSet(-1, -1);
    if (m_pFkiss)
        m_pFkiss->Engine().SetSelected();
    AfterSelection();
}

void CSysDoc::OnPaletteN(wxCommandEvent& event)
{
    m_scene.SelectPaletteGroup(event.GetId() - ID_PALETTE_0, 0);
    if (m_pFkiss)
        m_pFkiss->Engine().PaletteGroupSelected();
    AfterSelection();
}

void CSysDoc::OnNextPalette(wxCommandEvent&)
{
    m_scene.SelectPaletteGroup(-1, 1);
    if (m_pFkiss)
        m_pFkiss->Engine().PaletteGroupSelected();
    AfterSelection();
}

void CSysDoc::OnPrevPalette(wxCommandEvent&)
{
    m_scene.SelectPaletteGroup(-1, -1);
    if (m_pFkiss)
        m_pFkiss->Engine().PaletteGroupSelected();
    AfterSelection();
}

void CSysDoc::On256Colour(wxCommandEvent&)
{
    m_screen.SetFormat(0, 0, 8);
    UpdateAllViewsWithHint(kHintRepaintAll);
}

void CSysDoc::OnFullColour(wxCommandEvent&)
{
    m_screen.SetFormat(0, 0, 32);
    UpdateAllViewsWithHint(kHintRepaintAll);
}

void CSysDoc::OnRestore(wxCommandEvent&)
{
    // Both need a configuration; their menu items are greyed without one.
    if (!m_scene.IsLoaded())
        return;
    // The set starts over, its FKiSS code too (without end(): the set stays open).
    m_fkissTimer.Stop();
    m_pFkiss.reset();
    m_scene.RestoreLoadState();
    StartFkiss(std::string(GetFilename().fn_str()), std::string());
    RefreshScreen(true, true, kHintReset);
    AfterFkiss();
}

void CSysDoc::OnReload(wxCommandEvent&)
{
    if (m_scene.IsLoaded())
        OnOpenDocument(GetFilename());
}

void CSysDoc::OnFileSave(wxCommandEvent&)
{
    if (NeedsNewName(GetFilename()))
        SaveAs();
    else
        SaveTo(GetFilename());
}

void CSysDoc::OnFileSaveAs(wxCommandEvent&)
{
    SaveAs();
}

void CSysDoc::OnUpdateSetN(wxUpdateUIEvent& event)
{
    event.Enable(true);
    event.Check(event.GetId() - ID_SET_0 == m_scene.CurrentSet());
}

void CSysDoc::OnUpdatePaletteN(wxUpdateUIEvent& event)
{
    event.Enable(true);
    event.Check(event.GetId() - ID_PALETTE_0 == m_scene.CurrentPaletteGroup());
}

void CSysDoc::OnUpdate256Colour(wxUpdateUIEvent& event)
{
    event.Enable(true);
    event.Check(m_screen.Depth() == 8);
}

void CSysDoc::OnUpdateFullColour(wxUpdateUIEvent& event)
{
    event.Enable(true);
    event.Check(m_screen.Depth() == 32 || m_screen.Depth() == 24);
}

void CSysDoc::OnUpdateNeedsConfig(wxUpdateUIEvent& event)
{
    event.Enable(m_scene.IsLoaded());
}

void CSysDoc::OnUpdateAlways(wxUpdateUIEvent& event)
{
    event.Enable(true);
}
