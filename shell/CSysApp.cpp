#include "shell/CSysApp.h"

#include "session/SetPreload.h"
#include "shell/CSysDoc.h"
#include "shell/CAboutDlg.h"
#include "shell/CMainFrame.h"
#include "shell/CSysView.h"
#include "shell/CommandIds.h"
#include "shell/FileDialogs.h"
#include "shell/RecentFiles.h"
#include "shell/ShellOpenServer.h"
#include "shell/Translation.h"
#include "shell/UiText.h"
#include "shell/ViewSettings.h"

#include <wx/filename.h>
#include <wx/menu.h>
#include <wx/modalhook.h>
#include <wx/time.h>
#include <wx/utils.h>

#include <array>
#include <functional>
#include <utility>

namespace
{
/// How long a viewer started together with another waits for that one to serve.
constexpr long kStartRaceMs = 10000;
constexpr unsigned long kStartRetryMs = 50;

SetPreload* g_startPreload = nullptr;
} // namespace

/// Counts the modal dialogs on the screen; when the last one closes, what waited runs.
class ModalDialogCounter : public wxModalDialogHook
{
public:
    explicit ModalDialogCounter(std::function<void()> whenClear) : m_whenClear(std::move(whenClear))
    {
        Register();
    }
    bool IsAnyOpen() const { return m_nOpen > 0; }

protected:
    int Enter(wxDialog*) override
    {
        ++m_nOpen;
        return wxID_NONE;
    }
    void Exit(wxDialog*) override
    {
        if (--m_nOpen == 0)
            wxTheApp->CallAfter(m_whenClear);
    }

private:
    std::function<void()> m_whenClear;
    int m_nOpen = 0;
};

void CSysDocManager::AddFileToHistory(const wxString& file)
{
    m_recent.Add(file);
}

wxBEGIN_EVENT_TABLE(CSysApp, wxApp)
    EVT_MENU(ID_FILE_NEW, CSysApp::OnFileNew)
    EVT_MENU(ID_FILE_OPEN, CSysApp::OnFileOpen)
    EVT_MENU_RANGE(ID_FILE_MRU_FIRST, ID_FILE_MRU_LAST, CSysApp::OnRecentFile)
    EVT_MENU(ID_APP_ABOUT, CSysApp::OnAppAbout)
    EVT_MENU(ID_APP_EXIT, CSysApp::OnAppExit)
    EVT_MENU(ID_VIEW_FKISS, CSysApp::OnViewFkiss)
    EVT_UPDATE_UI(ID_VIEW_FKISS, CSysApp::OnUpdateViewFkiss)
    EVT_MENU_RANGE(ID_LANGUAGE_AUTOMATIC, ID_LANGUAGE_ENGLISH, CSysApp::OnLanguage)
    EVT_UPDATE_UI_RANGE(ID_LANGUAGE_AUTOMATIC, ID_LANGUAGE_ENGLISH, CSysApp::OnUpdateLanguage)
    EVT_UPDATE_UI(ID_VIEW_LANGUAGE, CSysApp::OnUpdateAlways)
    EVT_UPDATE_UI(ID_FILE_NEW, CSysApp::OnUpdateAlways)
    EVT_UPDATE_UI(ID_FILE_OPEN, CSysApp::OnUpdateAlways)
    EVT_UPDATE_UI(ID_APP_ABOUT, CSysApp::OnUpdateAlways)
    EVT_UPDATE_UI(ID_APP_EXIT, CSysApp::OnUpdateAlways)
    EVT_UPDATE_UI_RANGE(ID_FILE_MRU_FIRST, ID_FILE_MRU_LAST, CSysApp::OnUpdateRecentFile)
    // The application is the last stop: a command that nobody before it answered is disabled.
    EVT_UPDATE_UI_RANGE(kFirstCommandId, kLastCommandId, CSysApp::OnUpdateUnhandled)
wxEND_EVENT_TABLE()

CSysApp::CSysApp() = default;

void CSysApp::PreloadAtStart(SetPreload* preload)
{
    g_startPreload = preload;
}

CSysApp::~CSysApp() = default;

bool CSysApp::OnInit()
{
    SetAppName("velquin");
    SetAppDisplayName(Ui(UiText::kAppName));

    StartOptions options;
    if (argc > 1)
        options.file = argv[1];
    options.iniPath = RecentFiles::DefaultIniPath();
    options.preload = std::exchange(g_startPreload, nullptr);

    // A second start with a file hands it to the running instance and ends.
    if (const std::optional<std::string> folder = PrivateSocketFolder())
    {
        const wxString service = ShellOpenService(*folder, wxFileName(argv[0]).GetName(),
                                                  CurrentDisplay());
        wxString absolute;
        if (!options.file.empty())
        {
            wxFileName name(options.file);
            name.MakeAbsolute();
            absolute = name.GetFullPath();
        }
        // The lock decides which of several viewers started at once serves; the others wait
        // until it answers, then hand their files over.
        auto lock = std::make_unique<ServiceLock>(service);
        const wxLongLong deadline = wxGetLocalTimeMillis() + kStartRaceMs;
        for (;;)
        {
            if (lock->TryTake())
            {
                options.openService = service;
                m_pServiceLock = std::move(lock);
                break;
            }
            const OfferResult offered = OfferToRunningInstance(service, absolute);
            if (offered == OfferResult::Delivered)
            {
                m_bHandedOver = true;
                return true;
            }
            // Without a lock file, serve when nothing answers, as the only way left.
            if (offered == OfferResult::NoInstance && !lock->IsUsable())
            {
                options.openService = service;
                break;
            }
            // Running: that instance keeps the service and this one shows its own window.
            if (offered == OfferResult::Running || wxGetLocalTimeMillis() >= deadline)
                break;
            wxMilliSleep(kStartRetryMs);
        }
    }
    return StartUp(options);
}

int CSysApp::OnRun()
{
    return m_bHandedOver ? 0 : wxApp::OnRun();
}

int CSysApp::OnExit()
{
    ShutDown();
    return wxApp::OnExit();
}

bool CSysApp::StartUp(const StartOptions& options)
{
    m_pRecent = std::make_unique<RecentFiles>(options.iniPath);
    m_pRecent->Load();
    m_pSettings = std::make_unique<ViewSettings>(options.iniPath);
    m_pSettings->Load();
    UseLanguage(ResolveLanguage(m_pSettings->Language(), LocaleEnvironment::FromProcess()));

    m_pModalDialogs = std::make_unique<ModalDialogCounter>([this] { OpenRequested(); });
    m_pDocManager = new CSysDocManager(*m_pRecent);
    m_pDocManager->SetMaxDocsOpen(1);
    auto* docTemplate = new wxDocTemplate(m_pDocManager, Ui(UiText::kTemplateFilterName),
                      "*" + Ui(UiText::kTemplateExtension), wxString(),
                      Ui(UiText::kTemplateExtension).Mid(1), Ui(UiText::kTemplateNewTypeName),
                      Ui(UiText::kTemplateNewTypeName), CLASSINFO(CSysDoc), CLASSINFO(CSysView));

    m_pFrame = new CMainFrame(m_pDocManager, Ui(UiText::kAppName));
    m_pFrame->SetSettings(m_pSettings.get());
    SetTopWindow(m_pFrame);
    m_pRecent->UseMenu(m_pFrame->GetMenuBar()->GetMenu(0));

    if (!options.openService.empty())
    {
        m_pServer =
            std::make_unique<ShellOpenServer>([this](const wxString& path) { RequestOpen(path); });
        // Without the service the program still works; it only cannot take files from others.
        if (!m_pServer->Create(options.openService))
            m_pServer.reset();
    }

    // Made through the template rather than the manager, which would raise (and so show) the
    // frame at once: the window belongs on the screen only once its document is in place, and
    // a command-line file that fails is told without it.
    wxDocument* doc = docTemplate->CreateDocument(wxString(), wxDOC_NEW);
    if (doc == nullptr || !doc->OnNewDocument())
    {
        ShutDown();
        return false;
    }
    if (options.messages != nullptr)
        GetDocument()->SetMessageSink(options.messages);
    GetDocument()->SetFkissEnabled(m_pSettings->Fkiss());
    if (!options.file.empty() && !OpenStartFile(options))
    {
        ShutDown();
        return false;
    }
    auto* view = wxDynamicCast(GetDocument()->GetFirstView(), CSysView);
    if (view != nullptr)
        view->StartPainting();
    m_pFrame->Show();
    // Now that the window has its real decorations, fit it to the picture once more.
    if (view != nullptr)
        view->RefitIfResized();
    return true;
}

void CSysApp::ShutDown()
{
    m_pServer.reset();
    m_pServiceLock.reset();
    m_requests.clear();
    m_pModalDialogs.reset();
    if (m_pDocManager != nullptr)
        m_pDocManager->Clear(true);
    if (m_pFrame != nullptr)
    {
        m_pFrame->Destroy();
        m_pFrame = nullptr;
        DeletePendingObjects();
    }
    delete m_pDocManager;
    m_pDocManager = nullptr;
}

CSysDoc* CSysApp::GetDocument() const
{
    return m_pDocManager ? wxDynamicCast(m_pDocManager->GetCurrentDocument(), CSysDoc) : nullptr;
}

bool CSysApp::OpenDocumentFile(const wxString& path)
{
    // The document puts its file at the top of the recent files once it is open.
    CSysDoc* doc = GetDocument();
    return doc != nullptr && doc->OnOpenDocument(path);
}

bool CSysApp::OpenStartFile(const StartOptions& options)
{
    CSysDoc* doc = GetDocument();
    if (options.preload != nullptr && doc != nullptr)
    {
        std::optional<LoadedSet> set = options.preload->Take(std::string(options.file.fn_str()));
        if (set)
        {
            doc->AdoptSet(std::move(*set));
            return true;
        }
    }
    return OpenDocumentFile(options.file);
}

void CSysApp::RequestOpen(const wxString& path)
{
    m_requests.push_back(path);
    OpenRequested();
}

void CSysApp::OpenRequested()
{
    while (!m_requests.empty() && !m_bOpeningRequest && m_pModalDialogs &&
           !m_pModalDialogs->IsAnyOpen())
    {
        const wxString path = m_requests.front();
        m_requests.pop_front();
        // An open may show dialogs of its own; requests that come meanwhile wait for it.
        m_bOpeningRequest = true;
        const bool opened = OpenDocumentFile(path);
        m_bOpeningRequest = false;
        if (opened && m_pFrame != nullptr)
            m_pFrame->Raise();
    }
}

void CSysApp::OnFileNew(wxCommandEvent&)
{
    // The document is never modified, so there is nothing to ask first.
    if (CSysDoc* doc = GetDocument())
    {
        if (!doc->CloseSetThen([doc] { doc->OnNewDocument(); }))
            doc->OnNewDocument();
    }
}

void CSysApp::OnFileOpen(wxCommandEvent&)
{
    const wxString path = AskOpenPath(m_pFrame);
    if (!path.empty())
        OpenDocumentFile(path);
}

void CSysApp::OnRecentFile(wxCommandEvent& event)
{
    const auto index = static_cast<std::size_t>(event.GetId() - ID_FILE_MRU_FIRST);
    if (index >= m_pRecent->Count())
        return;
    // Copied: a successful open reorders the list.
    const wxString path = m_pRecent->File(index);
    if (!OpenDocumentFile(path))
        m_pRecent->Remove(index);
}

void CSysApp::OnAppAbout(wxCommandEvent&)
{
    CAboutDlg dialog(m_pFrame);
    dialog.ShowModal();
}

void CSysApp::OnAppExit(wxCommandEvent&)
{
    if (m_pFrame != nullptr)
        m_pFrame->Close();
}

void CSysApp::OnUpdateAlways(wxUpdateUIEvent& event)
{
    event.Enable(true);
}

void CSysApp::OnUpdateRecentFile(wxUpdateUIEvent& event)
{
    const auto index = static_cast<std::size_t>(event.GetId() - ID_FILE_MRU_FIRST);
    event.Enable(m_pRecent != nullptr && index < m_pRecent->Count());
}

void CSysApp::OnViewFkiss(wxCommandEvent&)
{
    // Takes effect from the next load; the set on the screen plays on as it is.
    if (CSysDoc* doc = GetDocument())
    {
        doc->SetFkissEnabled(!doc->IsFkissEnabled());
        m_pSettings->SetFkiss(doc->IsFkissEnabled());
    }
}

void CSysApp::OnUpdateViewFkiss(wxUpdateUIEvent& event)
{
    CSysDoc* doc = GetDocument();
    event.Enable(doc != nullptr);
    event.Check(doc != nullptr && doc->IsFkissEnabled());
}

namespace
{
constexpr std::array kLanguageCommands = {
    std::pair{ID_LANGUAGE_AUTOMATIC, LanguageChoice::Automatic},
    std::pair{ID_LANGUAGE_JAPANESE, LanguageChoice::Japanese},
    std::pair{ID_LANGUAGE_ENGLISH, LanguageChoice::English},
};

LanguageChoice LanguageOfCommand(int id)
{
    for (const auto& [command, choice] : kLanguageCommands)
    {
        if (command == id)
            return choice;
    }
    return LanguageChoice::Automatic;
}
} // namespace

void CSysApp::OnLanguage(wxCommandEvent& event)
{
    const LanguageChoice choice = LanguageOfCommand(event.GetId());
    m_pSettings->SetLanguage(choice);
    UseLanguage(ResolveLanguage(choice, LocaleEnvironment::FromProcess()));
    if (m_pFrame != nullptr)
        m_pFrame->TranslateTexts();
    m_pRecent->TranslateMenu();
}

void CSysApp::OnUpdateLanguage(wxUpdateUIEvent& event)
{
    event.Enable(true);
    event.Check(m_pSettings != nullptr && LanguageOfCommand(event.GetId()) == m_pSettings->Language());
}

void CSysApp::OnUpdateUnhandled(wxUpdateUIEvent& event)
{
    event.Enable(false);
}
