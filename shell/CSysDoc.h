#pragma once

#include "fkiss/FkissSession.h"
#include "image/ScreenBuffer.h"
#include "scene/FileSource.h"
#include "scene/Scene.h"
#include "sound/SoundPlayer.h"

#include <wx/docview.h>
#include <wx/timer.h>

#include <memory>
#include <optional>
#include <string_view>

class wxCommandEvent;
class wxUpdateUIEvent;

/// The update code that travels with UpdateAllViews.
class CSysUpdateHint : public wxObject
{
public:
    explicit CSysUpdateHint(int hint) : m_nHint(hint) {}
    int m_nHint;
};

/// The one document: owns the screen buffer and the scene. One object serves the whole run;
/// New, Open and Reload replace its contents.
class CSysDoc : public wxDocument
{
    wxDECLARE_DYNAMIC_CLASS(CSysDoc);

public:
    CSysDoc();
    ~CSysDoc() override;

    bool OnNewDocument() override;
    bool OnOpenDocument(const wxString& path) override;
    bool OnSaveDocument(const wxString& path) override;
    bool DeleteContents() override;
    /// Never modified, so nothing ever asks whether to save.
    bool IsModified() const override { return false; }
    void Modify(bool) override {}

    ScreenBuffer& Screen() { return m_screen; }
    Scene& GetScene() { return m_scene; }

    /// Where load, open and save messages go. Used by tests.
    void SetMessageSink(MessageSink* sink);
    MessageSink* GetMessageSink() const { return m_pSink; }

    /// Hands the scene to the screen buffer, then tells the views.
    void RefreshScreen(bool handColours, bool resize, int hint);
    void UpdateAllViewsWithHint(int hint);

    // FKiSS: the engine runs from the load to the close of a set when it is enabled and the
    // set carries code; each call below does nothing otherwise.
    void SetFkissEnabled(bool enabled) { m_bFkissEnabled = enabled; }
    bool IsFkissEnabled() const { return m_bFkissEnabled; }
    FkissEngine* Fkiss() { return m_pFkiss ? &m_pFkiss->Engine() : nullptr; }
    /// Parser and engine diagnostics of the current set.
    std::vector<FkissDiagnostic> FkissDiagnostics() const;
    void FkissPress(int cel, Point point);
    /// Drags the object of cel by dx, dy, through the engine when it runs.
    void DragObject(int cel, std::int32_t dx, std::int32_t dy);
    void FkissUnfixed(int cel);
    void FkissRelease(int cel, Point point);
    void FkissMouseMove(Point point);
    /// True when a keypress or keyrelease handler took the key.
    bool FkissKey(std::string_view name, bool down);

    /// Save writes over the document's own file only when that file exists and may be written.
    static bool NeedsNewName(const wxString& path);
    /// Saves to path; a failure is shown with its reason.
    bool SaveTo(const wxString& path);

private:
    void OnSetN(wxCommandEvent& event);
    void OnNextSet(wxCommandEvent& event);
    void OnPrevSet(wxCommandEvent& event);
    void OnPaletteN(wxCommandEvent& event);
    void OnNextPalette(wxCommandEvent& event);
    void OnPrevPalette(wxCommandEvent& event);
    void On256Colour(wxCommandEvent& event);
    void OnFullColour(wxCommandEvent& event);
    void OnRestore(wxCommandEvent& event);
    void OnReload(wxCommandEvent& event);
    void OnFileSave(wxCommandEvent& event);
    void OnFileSaveAs(wxCommandEvent& event);

    void OnUpdateSetN(wxUpdateUIEvent& event);
    void OnUpdatePaletteN(wxUpdateUIEvent& event);
    void OnUpdate256Colour(wxUpdateUIEvent& event);
    void OnUpdateFullColour(wxUpdateUIEvent& event);
    void OnUpdateNeedsConfig(wxUpdateUIEvent& event);
    void OnUpdateAlways(wxUpdateUIEvent& event);

    void AfterSelection();
    bool SaveAs();

    /// Starts the engine on the loaded scene (the load events run) and shows the load's
    /// messages with the engine's diagnostics after them, in one message.
    void StartFkiss(const std::string& path, std::string messages);
    /// Fires end() and drops the engine.
    void StopFkiss();
    /// After the engine ran: closes the set on quit(), else repaints what changed and keeps the
    /// timer running exactly while an alarm is pending.
    void AfterFkiss();
    void OnFkissTimer(wxTimerEvent& event);

    /// What the engine asks of the viewer; applied once the running event is over.
    class Host : public FkissHost
    {
    public:
        void ShowText(const std::string& bytes) override;
        void CloseSet() override { closeSet = true; }
        void ScrollTo(Point point) override { scroll = point; }
        void ResizePlayField(Point size) override { resize = size; }

        bool closeSet = false;
        std::optional<Point> scroll;
        std::optional<Point> resize;
    };

    ScreenBuffer m_screen;
    Scene m_scene;
    MessageSink* m_pSink;
    bool m_bFkissEnabled = true;
    Host m_fkissHost;
    std::unique_ptr<FolderFileSource> m_pFkissFiles;
    std::unique_ptr<SoundPlayer> m_pSound;
    std::unique_ptr<FkissSession> m_pFkiss;
    SteadyClock m_clock;
    wxTimer m_fkissTimer;

    wxDECLARE_EVENT_TABLE();
};
