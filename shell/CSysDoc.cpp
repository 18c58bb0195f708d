#include "shell/CSysDoc.h"

#include "archive/ArchiveFileSource.h"
#include "archive/MemberWriter.h"
#include "i18n/ProblemText.h"
#include "image/Zoom.h"
#include "scene/FileSource.h"
#include "shell/CChooseConfigDlg.h"
#include "shell/CMainFrame.h"
#include "shell/CMoveCommand.h"
#include "shell/CSysCanvas.h"
#include "shell/CommandIds.h"
#include "shell/FileDialogs.h"
#include "shell/OpenCheck.h"
#include "shell/UiText.h"
#include "shell/WxBridge.h"
#include "sound/SoundModule.h"

#include <wx/app.h>
#include <wx/filename.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <system_error>

#include <sys/stat.h>
#include <unistd.h>

namespace
{
MessageBoxSink g_messageBoxes;

std::string Bytes(const wxString& path)
{
    return std::string(path.fn_str());
}

wxString FromBytes(const std::string& bytes)
{
    return wxString(bytes.c_str(), *wxConvFileName);
}

wxString ArchiveReason(ArchiveError error, int errnoValue)
{
    switch (error)
    {
    case ArchiveError::CannotOpen:
        return wxString::FromUTF8(std::strerror(errnoValue));
    case ArchiveError::NotAnArchive:
        return Ui(UiText::kArchiveNotAnArchive);
    case ArchiveError::TooLarge:
        return Ui(UiText::kArchiveTooLarge);
    case ArchiveError::None:
    case ArchiveError::Corrupt:
        break;
    }
    return Ui(UiText::kArchiveCorrupt);
}

/// The FKiSS timer's period: alarms are checked about a hundred times a second.
constexpr int kFkissTickMs = 10;

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
    EVT_MENU(ID_FILE_OPEN_ADD_ON, CSysDoc::OnOpenAddOn)
    EVT_MENU(ID_EDIT_UNDO, CSysDoc::OnUndo)
    EVT_MENU(ID_EDIT_REDO, CSysDoc::OnRedo)
    EVT_UPDATE_UI(ID_EDIT_UNDO, CSysDoc::OnUpdateUndo)
    EVT_UPDATE_UI(ID_EDIT_REDO, CSysDoc::OnUpdateRedo)
    EVT_UPDATE_UI_RANGE(ID_SET_0, ID_SET_9, CSysDoc::OnUpdateSetN)
    EVT_UPDATE_UI_RANGE(ID_PALETTE_0, ID_PALETTE_9, CSysDoc::OnUpdatePaletteN)
    EVT_UPDATE_UI(ID_256_COLOUR, CSysDoc::OnUpdate256Colour)
    EVT_UPDATE_UI(ID_FULL_COLOUR, CSysDoc::OnUpdateFullColour)
    EVT_UPDATE_UI(ID_RESTORE, CSysDoc::OnUpdateNeedsConfig)
    EVT_UPDATE_UI(ID_RELOAD, CSysDoc::OnUpdateNeedsConfig)
    EVT_UPDATE_UI(ID_FILE_OPEN_ADD_ON, CSysDoc::OnUpdateNeedsConfig)
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
    m_pSound = MakeDeferredSoundPlayer();
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
    m_problems.sink = sink;
    m_scene.SetProblemSink(&m_problems);
    m_screen.SetProblemSink(&m_problems);
}

void CSysDoc::ProblemBoxes::Report(std::span<const Problem> problems)
{
    sink->ShowMessage(ProblemLines(problems, ProblemForm::Sentence, UiTranslate));
}

bool CSysDoc::OnNewDocument()
{
    StopFkiss();
    m_scene.ClearScene();
    ClearHistory();
    SetDocumentSaved(false);
    SetTitle(Ui(UiText::kUntitled));
    SetFilename(wxString(), true);
    // No colours to hand over: the picture is the empty 448 by 320 white one.
    RefreshScreen(false, true, kHintReset);
    return true;
}

bool CSysDoc::OnOpenDocument(const wxString& path)
{
    SetLayer layer;
    if (!OpenLayer(path, layer))
        return false;
    const auto open = [this, layer] { ReplaceSet(layer); };
    if (!CloseSetThen(open))
        open();
    return true;
}

void CSysDoc::ReplaceSet(const SetLayer& layer)
{
    StopFkiss();
    m_scene.ClearScene();
    m_base = layer;
    m_pAddOn.reset();
    LoadLayers();
    ShowTopLayer();
    // Here rather than by the caller: the open may have waited for the old set's end().
    if (wxDocManager* manager = GetDocumentManager())
        manager->AddFileToHistory(GetFilename());
}

bool CSysDoc::OpenAddOn(const wxString& path)
{
    if (!m_scene.IsLoaded())
        return false;
    SetLayer layer;
    if (!OpenLayer(path, layer))
        return false;
    StopFkiss();
    m_scene.ClearScene();
    m_pAddOn = std::make_unique<SetLayer>(std::move(layer));
    LoadLayers();
    ShowTopLayer();
    return true;
}

bool CSysDoc::OpenLayer(const wxString& path, SetLayer& layer)
{
    std::string bytes = Bytes(path);
    std::string member;
    bool isArchive = Archive::HasArchiveExtension(bytes);
    // A recent-file entry of a set in an archive names the archive and the configuration.
    if (CheckReadable(bytes) != 0)
    {
        if (auto split = SplitArchiveMemberPath(bytes))
        {
            bytes = split->first;
            member = split->second;
            isArchive = true;
        }
    }
    if (const int error = CheckReadable(bytes))
    {
        m_pSink->ShowMessage(
            OpenFailureMessage(error, member.empty() ? path : FromBytes(bytes)).utf8_string());
        return false;
    }
    // Taken whole before the directory changes: a relative path would otherwise name another
    // file once the load, a reload or the recent-file list reads it again.
    wxFileName name(member.empty() ? path : FromBytes(bytes));
    name.MakeAbsolute();
    layer.fullPath = name.GetFullPath();
    const std::string fullBytes = Bytes(layer.fullPath);
    if (!isArchive)
    {
        layer.files = std::make_shared<FolderFileSource>(FolderOf(fullBytes));
        return true;
    }

    Archive::OpenResult opened = Archive::Open(fullBytes);
    if (!opened.archive)
    {
        ShowArchiveMessage(UiText::kArchiveUnreadable, layer.fullPath,
                           ArchiveReason(opened.error, opened.errnoValue));
        return false;
    }
    layer.archive = std::move(opened.archive);
    if (member.empty())
        member = ChooseConfiguration(*layer.archive, layer.fullPath);
    if (member.empty())
        return false;
    const ArchiveMember* config = layer.archive->Find(member);
    if (!config)
    {
        ShowArchiveMessage(UiText::kArchiveNoMember, layer.fullPath, DecodeCp932(member));
        return false;
    }
    if (!config->bytes)
    {
        const Problem problem{ProblemKind::CannotOpenFile, member, 0, {member}};
        m_problems.Report({&problem, 1});
        return false;
    }
    layer.member = member;
    layer.files = std::make_shared<ArchiveFileSource>(layer.archive, MemberFolder(member));
    return true;
}

std::string CSysDoc::ChooseConfiguration(const Archive& archive, const wxString& archivePath)
{
    const std::vector<std::string> configs = archive.Configurations();
    if (configs.empty())
    {
        ShowArchiveMessage(UiText::kArchiveNoConfig, archivePath);
        return {};
    }
    if (configs.size() == 1)
        return configs.front();
    wxArrayString items;
    for (const std::string& config : configs)
    {
        wxString item = DecodeCp932(config);
        const auto& bytes = archive.Find(config)->bytes;
        if (const std::string hint = bytes ? FirstCommentLine(*bytes) : std::string();
            !hint.empty())
            item += wxString::FromUTF8("  \u2014  ") + DecodeCp932(hint);
        items.Add(item);
    }
    wxString prompt = Ui(UiText::kChooseConfigPrompt);
    prompt.Replace("%1", wxFileName(archivePath).GetFullName());
    CChooseConfigDlg dialog(GetDocumentWindow(), prompt, Ui(UiText::kChooseConfigTitle), items);
    if (dialog.ShowModal() != wxID_OK || dialog.GetSelection() < 0)
        return {};
    return configs[static_cast<std::size_t>(dialog.GetSelection())];
}

void CSysDoc::ShowArchiveMessage(const char* text, const wxString& archivePath,
                                 const wxString& detail)
{
    wxString message = Ui(text);
    message.Replace("%1", archivePath);
    message.Replace("%2", detail);
    m_pSink->ShowMessage(message.utf8_string());
}

void CSysDoc::LoadLayers()
{
    ClearHistory();
    const SetLayer& top = TopLayer();
    m_pFiles = m_pAddOn ? std::make_shared<LayeredFileSource>(m_pAddOn->files, m_base.files)
                        : m_base.files;
    // Relative names inside the set resolve against its folder; the directory stays changed,
    // and a folder that cannot be entered is passed over without a word.
    std::error_code ignored;
    std::filesystem::current_path(FolderOf(Bytes(top.fullPath)), ignored);
    // The load's file messages are shown below, in one box with the FKiSS diagnostics.
    m_scene.SetProblemSink(nullptr);
    if (!top.archive)
    {
        m_scene.LoadScene(Bytes(top.fullPath), m_pFiles.get());
    }
    else
    {
        const std::vector<std::uint8_t>& config = *top.archive->Find(top.member)->bytes;
        m_scene.LoadSceneFromBytes(
            std::string_view(reinterpret_cast<const char*>(config.data()), config.size()),
            *m_pFiles);
    }
    m_scene.SetProblemSink(&m_problems);
    m_bPlayFieldClamped = false;
    StartFkiss(m_scene.IsLoaded()
                   ? ProblemLines(m_scene.LoadProblems(), ProblemForm::Sentence, UiTranslate)
                   : std::string());
}

std::string CSysDoc::ConfigName() const
{
    const SetLayer& top = TopLayer();
    if (top.archive)
        return DecodeCp932(MemberBaseName(top.member)).utf8_string();
    return wxFileName(top.fullPath).GetFullName().utf8_string();
}

void CSysDoc::ShowTopLayer()
{
    const SetLayer& top = TopLayer();
    const wxFileName name(top.fullPath);
    SetDocumentSaved(true);
    if (top.archive)
        SetTitle(DecodeCp932(MemberBaseName(top.member)) + " (" + name.GetFullName() + ")");
    else
        SetTitle(name.GetFullName());
    SetFilename(LayerPath(top), true);
    RefreshScreen(true, true, kHintReset);
    // What the load events asked of the window (a size, a scroll, even quit()).
    AfterFkiss();
}

bool CSysDoc::OnSaveDocument(const wxString& path)
{
    return SaveTo(path);
}

bool CSysDoc::DeleteContents()
{
    StopFkiss();
    m_scene.ClearScene();
    ClearHistory();
    return true;
}

wxCommandProcessor* CSysDoc::OnCreateCommandProcessor()
{
    return new wxCommandProcessor(kUndoSteps);
}

void CSysDoc::ClearHistory()
{
    m_drag.Cancel();
    if (wxCommandProcessor* history = GetCommandProcessor())
        history->ClearCommands();
}

void CSysDoc::BeginDrag()
{
    if (m_scene.IsLoaded())
        m_drag.Begin(m_scene);
}

void CSysDoc::EndDrag(int cel)
{
    if (!m_drag.IsActive())
        return;
    std::set<std::int32_t> objects;
    const auto& cels = m_scene.PlacedCels();
    if (cel >= 0 && static_cast<std::size_t>(cel) < cels.size())
        objects.insert(cels[static_cast<std::size_t>(cel)]->objectNumber);
    if (FkissEngine* engine = Fkiss())
        objects.insert(engine->DraggedObjects().begin(), engine->DraggedObjects().end());
    std::optional<DragStep> step = m_drag.Finish(m_scene, objects);
    if (step && GetCommandProcessor())
        GetCommandProcessor()->Store(new CMoveCommand(*this, std::move(*step)));
}

void CSysDoc::ApplyMoveStep(const MoveStep& step, StepDirection direction)
{
    if (ApplyStep(step, direction, m_scene, m_screen) == StepRepaint::All)
        RefreshScreen(true, false, kHintRepaintAll);
    else
        UpdateAllViewsWithHint(kHintRepaintDirty);
}

void CSysDoc::OnUndo(wxCommandEvent&)
{
    if (!m_drag.IsActive() && GetCommandProcessor())
        GetCommandProcessor()->Undo();
}

void CSysDoc::OnRedo(wxCommandEvent&)
{
    if (!m_drag.IsActive() && GetCommandProcessor())
        GetCommandProcessor()->Redo();
}

void CSysDoc::OnUpdateUndo(wxUpdateUIEvent& event)
{
    event.Enable(!m_drag.IsActive() && GetCommandProcessor() && GetCommandProcessor()->CanUndo());
}

void CSysDoc::OnUpdateRedo(wxUpdateUIEvent& event)
{
    event.Enable(!m_drag.IsActive() && GetCommandProcessor() && GetCommandProcessor()->CanRedo());
}

void CSysDoc::StartFkiss(std::string messages)
{
    m_pFkiss.reset();
    m_fnAfterClose = nullptr;
    m_fkissHost = Host();
    m_fkissHost.owner = this;
    if (m_bFkissEnabled && m_scene.IsLoaded())
        m_pFkiss = FkissSession::Create(m_scene, m_screen, m_fkissHost, ConfigName(),
                                        static_cast<std::uint32_t>(m_clock.NowMs()));
    if (!m_pFkiss)
    {
        if (!messages.empty())
            m_pSink->ShowMessage(messages);
        return;
    }
    FkissEngine& engine = m_pFkiss->Engine();
    engine.SetSound(m_pFiles.get(), m_pSound.get());
    // Every event reads this clock, so a delay counts from the click or key that set it.
    engine.SetClock(&m_clock);
    engine.Start(m_clock.NowMs());
    LogFkissDiagnostics();
    if (!engine.Diagnostics().empty())
        messages += (messages.empty() ? "" : "\n") +
                    ProblemLines(engine.Diagnostics(), ProblemForm::Located, UiTranslate);
    if (!messages.empty())
        m_pSink->ShowMessage(messages);
    if (engine.HasPendingTimers())
        m_fkissTimer.Start(kFkissTickMs);
}

void CSysDoc::StopFkiss()
{
    m_fnAfterClose = nullptr;
    m_fkissTimer.Stop();
    if (m_pFkiss)
        m_pFkiss->Engine().Stop();
    m_pFkiss.reset();
    if (m_pSound)
        m_pSound->StopAll();
}

bool CSysDoc::CloseSetThen(std::function<void()> then)
{
    if (!m_pFkiss)
        return false;
    FkissEngine& engine = m_pFkiss->Engine();
    if (!engine.IsClosing())
    {
        engine.BeginClose();
        LogFkissDiagnostics();
        if (engine.HasPendingTimers())
        {
            // The set stays on the screen while what end() started plays out.
            m_fnAfterClose = std::move(then);
            m_nCloseDeadline = m_clock.NowMs() + kEndGraceMs;
            AfterFkiss();
            return true;
        }
    }
    StopFkiss();
    return false;
}

void CSysDoc::FinishClose()
{
    const std::function<void()> then = std::move(m_fnAfterClose);
    StopFkiss();
    if (then)
        then();
}

void CSysDoc::Host::ShowText(int line, const std::string& bytes)
{
    const wxString text = DecodeCp932(bytes);
    if (owner != nullptr)
        owner->m_scene.AddMessage(
            Problem{ProblemKind::ScriptText, owner->ConfigName(), line, {text.utf8_string()}});
    if (CMainFrame* frame = MainFrame())
        frame->ShowScriptText(text);
}

void CSysDoc::LogFkissDiagnostics()
{
    if (!m_pFkiss)
        return;
    // The engine reports each fault once; a restart reports its parse faults again, and those
    // are listed already.
    const std::vector<Problem>& listed = m_scene.Log().Entries();
    for (const FkissDiagnostic& diagnostic : m_pFkiss->Engine().Diagnostics())
    {
        if (std::find(listed.begin(), listed.end(), diagnostic) == listed.end())
            m_scene.AddMessage(diagnostic);
    }
}

void CSysDoc::AfterFkiss()
{
    if (!m_pFkiss)
        return;
    LogFkissDiagnostics();
    if (m_fkissHost.closeSet)
    {
        // quit(): end() has run; the set closes as New does once its timers are over.
        m_fkissHost.closeSet = false;
        if (!m_fnAfterClose)
        {
            m_fnAfterClose = [this] { OnNewDocument(); };
            m_nCloseDeadline = m_clock.NowMs() + kEndGraceMs;
        }
    }
    const FkissEngine& engine = m_pFkiss->Engine();
    if (engine.IsClosing() && (!engine.HasPendingTimers() || m_clock.NowMs() >= m_nCloseDeadline))
    {
        FinishClose();
        return;
    }
    if (m_fkissHost.resize)
    {
        const Point size = *m_fkissHost.resize;
        SetPlayFieldSize(Point{std::max(size.x, 1), std::max(size.y, 1)});
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
            frame->Canvas()->Scroll(std::clamp(m_fkissHost.scroll->x, 0, m_screen.Width()),
                                    std::clamp(m_fkissHost.scroll->y, 0, m_screen.Height()));
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
    m_pFkiss->Engine().Tick();
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

void CSysDoc::FkissMouseLeft()
{
    if (!m_pFkiss)
        return;
    m_pFkiss->Engine().MouseLeft();
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
    m_scene.ApplyToBuffer(m_screen, handColours, false);
    if (resize)
        SetPlayFieldSize(m_scene.ScreenSize());
    UpdateAllViewsWithHint(hint);
}

void CSysDoc::SetPlayFieldSize(Point size)
{
    const Point drawable = ClampPlayField(size);
    m_screen.SetFormat(drawable.x, drawable.y, 0);
    if (drawable == size || m_bPlayFieldClamped)
        return;
    m_bPlayFieldClamped = true;
    wxString text = Ui(UiText::kPlayFieldClamped);
    text.Replace("%1", wxString::Format("%d,%d", size.x, size.y));
    text.Replace("%2", wxString::Format("%d,%d", drawable.x, drawable.y));
    m_pSink->ShowMessage(text.utf8_string());
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
    if (const std::optional<Problem> problem = m_scene.SaveSceneToFile(Bytes(path)))
    {
        m_problems.Report({&*problem, 1});
        return false;
    }
    // The history stays: undoing past this point and saving again writes the older places.
    if (GetCommandProcessor())
        GetCommandProcessor()->MarkAsSaved();
    return true;
}

wxString CSysDoc::LayerPath(const SetLayer& layer)
{
    if (!layer.archive)
        return layer.fullPath;
    return FromBytes(ArchiveMemberPath(Bytes(layer.fullPath), layer.member));
}

wxString CSysDoc::SaveProposal() const
{
    const SetLayer& top = TopLayer();
    if (!top.archive)
        return GetFilename();
    return wxFileName(wxFileName(top.fullPath).GetPath(), DecodeCp932(MemberBaseName(top.member)))
        .GetFullPath();
}

bool CSysDoc::SaveAs()
{
    const wxString path = AskSavePath(GetDocumentWindow(), SaveProposal());
    return !path.empty() && SaveAsPath(path);
}

bool CSysDoc::SaveAsPath(const wxString& path)
{
    if (IsOpenArchive(path))
    {
        ShowArchiveMessage(UiText::kSaveOverArchive, path);
        return false;
    }
    if (!SaveTo(path))
        return false;
    wxFileName name(path);
    name.MakeAbsolute();
    if (m_base.archive || (m_pAddOn && m_pAddOn->archive))
    {
        WriteArchiveFiles(name.GetFullPath());
        // Everything the set needs is in the folder now: it is a plain set from here on.
        m_base = SetLayer{name.GetFullPath(), {}, nullptr,
                          std::make_shared<FolderFileSource>(Bytes(name.GetPath()))};
        m_pAddOn.reset();
        m_pFiles = m_base.files;
        if (m_pFkiss)
            m_pFkiss->Engine().SetSound(m_pFiles.get(), m_pSound.get());
    }
    else
    {
        (m_pAddOn ? *m_pAddOn : m_base).fullPath = name.GetFullPath();
    }
    SetDocumentSaved(true);
    SetTitle(name.GetFullName());
    SetFilename(name.GetFullPath(), true);
    if (wxDocManager* manager = GetDocumentManager())
        manager->AddFileToHistory(name.GetFullPath());
    return true;
}

bool CSysDoc::IsOpenArchive(const wxString& path) const
{
    struct stat target{};
    if (::stat(Bytes(path).c_str(), &target) != 0)
        return false;
    for (const SetLayer* layer : {static_cast<const SetLayer*>(m_pAddOn.get()), &m_base})
    {
        struct stat info{};
        if (layer && layer->archive && ::stat(Bytes(layer->fullPath).c_str(), &info) == 0 &&
            info.st_dev == target.st_dev && info.st_ino == target.st_ino)
            return true;
    }
    return false;
}

void CSysDoc::WriteArchiveFiles(const wxString& path)
{
    std::vector<std::string> used;
    if (const ConfigFile* config = m_scene.Config())
    {
        for (const PaletteLine* line : config->PaletteLines())
            used.push_back(line->PaletteFileName());
        for (const CelLine* line : config->CelLines())
            used.push_back(line->CelFileName());
    }
    const std::string folder = FolderOf(Bytes(path));
    wxString text;
    auto addLine = [&text](const char* format, const wxString& reason, const wxString& name) {
        wxString line = Ui(format);
        line.Replace("%1", reason);
        line.Replace("%2", name);
        if (!text.empty())
            text += "\n";
        text += line;
    };
    // The add-on's files first: a file is never written twice, so its own win.
    for (const SetLayer* layer : {m_pAddOn.get(), &m_base})
    {
        if (!layer || !layer->archive)
            continue;
        const MemberWriteReport report =
            WriteArchiveMembers(layer->archive, layer->member, used, folder);
        for (const std::string& name : report.refused)
            addLine(UiText::kMemberRefused, wxString(), DecodeCp932(name));
        for (const auto& [name, reason] : report.failed)
            addLine(UiText::kMemberWriteFailed, wxString::FromUTF8(reason), DecodeCp932(name));
    }
    if (!text.empty())
        m_pSink->ShowMessage(text.utf8_string());
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
    m_drag.Cancel();
    RestoreStep step{m_scene.TakeArrangement(), {}};
    m_fkissTimer.Stop();
    m_pFkiss.reset();
    m_scene.RestoreLoadState();
    StartFkiss(std::string());
    RefreshScreen(true, true, kHintReset);
    AfterFkiss();
    // quit() from the load events closes the set, and the history with it.
    if (!m_scene.IsLoaded() || !GetCommandProcessor())
        return;
    step.after = m_scene.TakeArrangement();
    if (!ChangesNothing(step))
        GetCommandProcessor()->Store(new CMoveCommand(*this, std::move(step)));
}

void CSysDoc::OnReload(wxCommandEvent&)
{
    if (!m_scene.IsLoaded())
        return;
    if (!m_pAddOn)
    {
        OnOpenDocument(GetFilename());
        return;
    }
    // Both layers again, each with the configuration chosen before.
    SetLayer base;
    SetLayer addOn;
    if (!OpenLayer(LayerPath(m_base), base) || !OpenLayer(LayerPath(*m_pAddOn), addOn))
        return;
    StopFkiss();
    m_scene.ClearScene();
    m_base = std::move(base);
    *m_pAddOn = std::move(addOn);
    LoadLayers();
    ShowTopLayer();
}

void CSysDoc::OnOpenAddOn(wxCommandEvent&)
{
    const wxString path = AskOpenPath(GetDocumentWindow(), Ui(UiText::kAddOnTitle));
    if (!path.empty())
        OpenAddOn(path);
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
