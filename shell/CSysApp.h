#pragma once

#include "shell/CMainFrame.h"

#include <wx/app.h>
#include <wx/docview.h>
#include <wx/weakref.h>

#include <deque>
#include <memory>

class CSysDoc;
class ModalDialogCounter;
struct MessageSink;
class RecentFiles;
class ServiceLock;
class SetPreload;
class ShellOpenServer;
class ViewSettings;

/// Keeps the recent-file list in its own INI file instead of wx's lower-case keys.
class CSysDocManager : public wxDocManager
{
public:
    explicit CSysDocManager(RecentFiles& recent) : m_recent(recent) {}
    void AddFileToHistory(const wxString& file) override;

private:
    RecentFiles& m_recent;
};

/// The application: start-up, the application's own commands and the shell-open service.
class CSysApp : public wxApp
{
public:
    struct StartOptions
    {
        wxString file;        ///< the configuration file to open, or empty
        wxString iniPath;     ///< where the recent-file list is kept
        wxString openService; ///< the shell-open service to answer, or empty for none
        MessageSink* messages = nullptr; ///< where the document's messages go; null for boxes
        /// The set loading ahead for file, or null: adopted when it opened without asking.
        SetPreload* preload = nullptr;
    };
    /// The preload that the next OnInit hands to StartUp; set by main before the toolkit starts.
    static void PreloadAtStart(SetPreload* preload);

    CSysApp();
    ~CSysApp() override;

    bool OnInit() override;
    int OnRun() override;
    int OnExit() override;

    /// Builds the frame, the document and its view and opens options.file; false ends the
    /// program (the reason has been shown).
    bool StartUp(const StartOptions& options);
    /// Closes the document and the frame and forgets them. Used by tests and on exit.
    void ShutDown();

    /// Opens path as the document; on success it goes to the top of the recent files.
    bool OpenDocumentFile(const wxString& path);
    /// Opens a file that another viewer handed over, and raises the window: at once, or once
    /// no modal dialog is open and no other open is under way, so that the document never
    /// changes under a dialog whose command goes on with it afterwards.
    void RequestOpen(const wxString& path);

    CMainFrame* GetMainFrame() const { return m_pFrame; }
    CSysDoc* GetDocument() const;
    RecentFiles* Recent() const { return m_pRecent.get(); }
    ViewSettings* Settings() const { return m_pSettings.get(); }

private:
    void OnFileNew(wxCommandEvent& event);
    void OnFileOpen(wxCommandEvent& event);
    void OnRecentFile(wxCommandEvent& event);
    void OnAppAbout(wxCommandEvent& event);
    void OnAppExit(wxCommandEvent& event);
    void OnUpdateAlways(wxUpdateUIEvent& event);
    void OnUpdateRecentFile(wxUpdateUIEvent& event);
    void OnUpdateUnhandled(wxUpdateUIEvent& event);
    void OnViewFkiss(wxCommandEvent& event);
    void OnUpdateViewFkiss(wxUpdateUIEvent& event);
    void OnLanguage(wxCommandEvent& event);
    void OnUpdateLanguage(wxUpdateUIEvent& event);
    /// Opens the command line's file, taking it from the preload when that has it.
    bool OpenStartFile(const StartOptions& options);
    /// Opens the waiting requests in turn while nothing holds them back.
    void OpenRequested();

    std::unique_ptr<RecentFiles> m_pRecent;
    std::unique_ptr<ViewSettings> m_pSettings;
    std::unique_ptr<ServiceLock> m_pServiceLock;
    std::unique_ptr<ShellOpenServer> m_pServer;
    std::unique_ptr<ModalDialogCounter> m_pModalDialogs;
    std::deque<wxString> m_requests;
    bool m_bOpeningRequest = false;
    wxDocManager* m_pDocManager = nullptr;
    // Weak: the frame deletes itself when the user closes it.
    wxWeakRef<CMainFrame> m_pFrame;
    bool m_bHandedOver = false;

    wxDECLARE_EVENT_TABLE();
};

wxDECLARE_APP(CSysApp);
