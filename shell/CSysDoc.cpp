#include "shell/CSysDoc.h"

#include "archive/ArchiveFileSource.h"
#include "i18n/ProblemText.h"
#include "scene/PathParts.h"
#include "shell/CChooseConfigDlg.h"
#include "shell/CMainFrame.h"
#include "shell/CMoveCommand.h"
#include "shell/CSysCanvas.h"
#include "shell/CommandIds.h"
#include "shell/FileDialogs.h"
#include "shell/OpenCheck.h"
#include "shell/UiText.h"
#include "sound/SoundModule.h"

#include <wx/app.h>
#include <wx/filename.h>

#include <filesystem>
#include <system_error>
#include <utility>

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

/// The FKiSS timer's period: alarms are checked about a hundred times a second.
constexpr int kFkissTickMs = 10;

CMainFrame* MainFrame()
{
    return wxTheApp ? wxDynamicCast(wxTheApp->GetTopWindow(), CMainFrame) : nullptr;
}

int HintFor(SessionUpdate::Repaint repaint)
{
    switch (repaint)
    {
    case SessionUpdate::Repaint::None:
    case SessionUpdate::Repaint::Dirty:
        break;
    case SessionUpdate::Repaint::All:
        return kHintRepaintAll;
    case SessionUpdate::Repaint::Refit:
        return kHintRefit;
    case SessionUpdate::Repaint::Reset:
        return kHintReset;
    }
    return kHintRepaintDirty;
}

} // namespace

wxIMPLEMENT_DYNAMIC_CLASS(CSysDoc, wxDocument);

// Only the commands that the document carries out; the view, the frame and the application
// each answer their own, so no identifier appears in two tables.
wxBEGIN_EVENT_TABLE(CSysDoc, wxDocument)
    EVT_MENU(ID_RELOAD, CSysDoc::OnReload)
    EVT_MENU(ID_FILE_SAVE, CSysDoc::OnFileSave)
    EVT_MENU(ID_FILE_SAVE_AS, CSysDoc::OnFileSaveAs)
    EVT_MENU(ID_FILE_OPEN_ADD_ON, CSysDoc::OnOpenAddOn)
    EVT_UPDATE_UI(ID_RELOAD, CSysDoc::OnUpdateNeedsConfig)
    EVT_UPDATE_UI(ID_FILE_OPEN_ADD_ON, CSysDoc::OnUpdateNeedsConfig)
    EVT_UPDATE_UI(ID_FILE_SAVE, CSysDoc::OnUpdateAlways)
    EVT_UPDATE_UI(ID_FILE_SAVE_AS, CSysDoc::OnUpdateAlways)
wxEND_EVENT_TABLE()

CSysDoc::CSysDoc()
    : m_pSink(&g_messageBoxes),
      // The one place where the player is made.
      m_pSound(MakeDeferredSoundPlayer()),
      m_session(SetSession::Options{Presentation::Window, &m_clock}, &m_problems, m_pSound.get()),
      m_fkissTimer(this), m_commands(*this)
{
    SetMessageSink(m_pSink);
    SetNextHandler(&m_commands);
    m_commands.SetPreviousHandler(this);
    Bind(wxEVT_TIMER, &CSysDoc::OnFkissTimer, this);
}

CSysDoc::~CSysDoc()
{
    // Unchained while both still stand: neither may reach the other on its way out.
    SetNextHandler(nullptr);
    m_commands.SetPreviousHandler(nullptr);
}

void CSysDoc::SetMessageSink(MessageSink* sink)
{
    m_pSink = sink;
    m_problems.sink = sink;
}

void CSysDoc::ProblemBoxes::Report(std::span<const Problem> problems)
{
    sink->ShowMessage(ProblemBox(problems, UiTranslate));
}

void CSysDoc::Apply(const SessionUpdate& update)
{
    // Stored before a close runs: a close empties the history, this step with it.
    if (update.step && GetCommandProcessor())
        GetCommandProcessor()->Store(new CMoveCommand(*this, *update.step));
    CMainFrame* frame = MainFrame();
    for (const std::string& text : update.texts)
    {
        if (frame != nullptr)
            frame->ShowScriptText(DecodeCp932(text));
    }
    if (update.closed)
    {
        m_fkissTimer.Stop();
        // quit() with nothing waiting closes the set as New does.
        if (const std::function<void()> then = std::exchange(m_fnAfterClose, nullptr))
            then();
        else
            OnNewDocument();
        return;
    }
    if (update.repaint != SessionUpdate::Repaint::None)
        UpdateAllViewsWithHint(HintFor(update.repaint));
    if (update.scroll && frame != nullptr)
        frame->Canvas()->Scroll(update.scroll->x, update.scroll->y);
    if (!update.ticking)
        m_fkissTimer.Stop();
    else if (!m_fkissTimer.IsRunning())
        m_fkissTimer.Start(kFkissTickMs);
}

void CSysDoc::UpdateAllViewsWithHint(int hint)
{
    CSysUpdateHint object(hint);
    UpdateAllViews(nullptr, &object);
}

bool CSysDoc::OnNewDocument()
{
    m_fkissTimer.Stop();
    m_fnAfterClose = nullptr;
    m_session.Clear();
    ClearHistory();
    SetDocumentSaved(false);
    SetTitle(Ui(UiText::kUntitled));
    SetFilename(wxString(), true);
    Apply(m_session.ShowEmpty());
    return true;
}

bool CSysDoc::OnOpenDocument(const wxString& path)
{
    std::optional<SetLayer> layer = OpenLayer(path);
    if (!layer)
        return false;
    // The old set goes before the new one loads, so that both are never held at once.
    const auto open = [this, layer] {
        m_session.Clear();
        AdoptSet(LoadSet(*layer));
    };
    if (!CloseSetThen(open))
        open();
    return true;
}

std::optional<SetLayer> CSysDoc::OpenLayer(const wxString& path)
{
    OpenOutcome outcome = OpenSetLayer(
        Bytes(path), [this, &path](const Archive& archive, const std::vector<std::string>& configs) {
            return CChooseConfigDlg::Choose(GetDocumentWindow(), path, archive, configs);
        });
    if (!outcome.layer)
    {
        if (const wxString text = OpenOutcomeMessage(outcome); !text.empty())
            m_pSink->ShowMessage(text.utf8_string());
    }
    return std::move(outcome.layer);
}

void CSysDoc::PrepareLoad(const SetLayer& top)
{
    ClearHistory();
    m_fkissTimer.Stop();
    m_fnAfterClose = nullptr;
    // Relative names inside the set resolve against its folder; the directory stays changed,
    // and a folder that cannot be entered is passed over without a word.
    std::error_code ignored;
    std::filesystem::current_path(FolderOf(top.path), ignored);
}

void CSysDoc::AdoptSet(LoadedSet set)
{
    PrepareLoad(set.layer);
    m_session.Adopt(std::move(set));
    ShowTopLayer();
    // Here rather than by the caller: the open may have waited for the old set's end().
    if (wxDocManager* manager = GetDocumentManager())
        manager->AddFileToHistory(GetFilename());
}

bool CSysDoc::OpenAddOn(const wxString& path)
{
    if (!GetScene().IsLoaded())
        return false;
    std::optional<SetLayer> layer = OpenLayer(path);
    if (!layer)
        return false;
    PrepareLoad(*layer);
    m_session.OpenAddOn(std::move(*layer));
    ShowTopLayer();
    return true;
}

void CSysDoc::ShowTopLayer()
{
    const SetLayer& top = m_session.Top();
    const wxFileName name(FromBytes(top.path));
    SetDocumentSaved(true);
    if (top.archive)
        SetTitle(DecodeCp932(top.ConfigName()) + " (" + name.GetFullName() + ")");
    else
        SetTitle(name.GetFullName());
    SetFilename(FromBytes(top.ReopenPath()), true);
    // Also what the load events asked of the window (a size, a scroll, even quit()).
    Apply(m_session.AfterOpen());
}

bool CSysDoc::OnSaveDocument(const wxString& path)
{
    return SaveTo(path);
}

bool CSysDoc::DeleteContents()
{
    m_fkissTimer.Stop();
    m_fnAfterClose = nullptr;
    m_session.Clear();
    ClearHistory();
    return true;
}

wxCommandProcessor* CSysDoc::OnCreateCommandProcessor()
{
    return new wxCommandProcessor(kUndoSteps);
}

void CSysDoc::ClearHistory()
{
    m_session.CancelDrag();
    if (wxCommandProcessor* history = GetCommandProcessor())
        history->ClearCommands();
}

bool CSysDoc::FkissKey(std::string_view name, bool down)
{
    bool taken = false;
    Apply(m_session.Key(name, down ? KeyDirection::Down : KeyDirection::Up, taken));
    return taken;
}

bool CSysDoc::CloseSetThen(std::function<void()> then)
{
    if (m_session.BeginClose() == CloseState::Closed)
    {
        m_fkissTimer.Stop();
        m_fnAfterClose = nullptr;
        return false;
    }
    // The set stays on the screen while what end() started plays out.
    m_fnAfterClose = std::move(then);
    Apply(m_session.AfterCode());
    return true;
}

void CSysDoc::OnFkissTimer(wxTimerEvent&)
{
    Apply(m_session.Tick());
}

bool CSysDoc::SaveTo(const wxString& path)
{
    if (const std::optional<Problem> problem = m_session.Save(Bytes(path)))
    {
        m_problems.Report({&*problem, 1});
        return false;
    }
    // The history stays: undoing past this point and saving again writes the older places.
    if (GetCommandProcessor())
        GetCommandProcessor()->MarkAsSaved();
    return true;
}

wxString CSysDoc::SaveProposal() const
{
    const SetLayer& top = m_session.Top();
    if (!top.archive)
        return GetFilename();
    return wxFileName(wxFileName(FromBytes(top.path)).GetPath(), DecodeCp932(top.ConfigName()))
        .GetFullPath();
}

bool CSysDoc::SaveAs()
{
    const wxString path = AskSavePath(GetDocumentWindow(), SaveProposal());
    return !path.empty() && SaveAsPath(path);
}

bool CSysDoc::SaveAsPath(const wxString& path)
{
    if (m_session.IsOpenArchive(Bytes(path)))
    {
        wxString text = Ui(UiText::kSaveOverArchive);
        text.Replace("%1", path);
        m_pSink->ShowMessage(text.utf8_string());
        return false;
    }
    if (!SaveTo(path))
        return false;
    wxFileName name(path);
    name.MakeAbsolute();
    m_session.SavedAs(Bytes(name.GetFullPath()));
    SetDocumentSaved(true);
    SetTitle(name.GetFullName());
    SetFilename(name.GetFullPath(), true);
    if (wxDocManager* manager = GetDocumentManager())
        manager->AddFileToHistory(name.GetFullPath());
    return true;
}

void CSysDoc::Restore()
{
    if (!GetScene().IsLoaded())
        return;
    m_fkissTimer.Stop();
    m_fnAfterClose = nullptr;
    Apply(m_session.Restore());
}

void CSysDoc::OnReload(wxCommandEvent&)
{
    if (!GetScene().IsLoaded())
        return;
    if (!m_session.AddOn())
    {
        OnOpenDocument(GetFilename());
        return;
    }
    // Both layers again, each with the configuration chosen before.
    std::optional<SetLayer> base = OpenLayer(FromBytes(m_session.Base().ReopenPath()));
    if (!base)
        return;
    std::optional<SetLayer> addOn = OpenLayer(FromBytes(m_session.AddOn()->ReopenPath()));
    if (!addOn)
        return;
    PrepareLoad(*addOn);
    m_session.Reload(std::move(*base), std::move(addOn));
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

void CSysDoc::OnUpdateNeedsConfig(wxUpdateUIEvent& event)
{
    event.Enable(GetScene().IsLoaded());
}

void CSysDoc::OnUpdateAlways(wxUpdateUIEvent& event)
{
    event.Enable(true);
}
