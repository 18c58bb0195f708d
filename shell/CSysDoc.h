#pragma once

#include "session/SetSession.h"
#include "shell/CPlayCommands.h"
#include "shell/WxBridge.h"

#include <wx/docview.h>
#include <wx/timer.h>

#include <functional>
#include <memory>
#include <string>
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

/// The one document: the set session seen through the framework. It asks for files, shows the
/// session's messages in boxes, keeps the history of moves and runs the session's timer. One
/// object serves the whole run; New, Open and Reload replace its contents.
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
    /// Keeps the last kUndoSteps moves.
    wxCommandProcessor* OnCreateCommandProcessor() override;
    /// Never modified, so nothing ever asks whether to save.
    bool IsModified() const override { return false; }
    void Modify(bool) override {}

    SetSession& Session() { return m_session; }
    ScreenBuffer& Screen() { return m_session.Screen(); }
    Scene& GetScene() { return m_session.GetScene(); }

    /// Where load, open and save messages go. Used by tests.
    void SetMessageSink(MessageSink* sink);

    /// Carries out what the session asks after an action: repaints, scrolls, shows the set's
    /// texts, keeps a step in the history, runs the timer, and runs what waited for a close.
    void Apply(const SessionUpdate& update);
    void UpdateAllViewsWithHint(int hint);

    /// Replaces the set with one loaded beforehand (the open, once the old set has closed):
    /// its code starts now, and it goes to the top of the recent files.
    void AdoptSet(LoadedSet set);

    /// Opens an add-on set (an archive, or a configuration in its folder) over the open one: its
    /// files are looked up first, then those of the set beneath. False when nothing changed.
    bool OpenAddOn(const wxString& path);

    // FKiSS: the engine runs from the load to the close of a set when it is enabled and the
    // set carries code; each call below does nothing otherwise.
    void SetFkissEnabled(bool enabled)
    {
        m_session.SetFkiss(enabled ? FkissSwitch::On : FkissSwitch::Off);
    }
    bool IsFkissEnabled() const { return m_session.Fkiss() == FkissSwitch::On; }
    FkissEngine* Fkiss() { return m_session.Engine(); }
    void FkissPress(int cel, Point point) { Apply(m_session.Press(cel, point)); }
    void FkissMouseMove(Point point) { Apply(m_session.MouseMoved(point)); }
    void FkissMouseLeft() { Apply(m_session.MouseLeft()); }
    /// True when a keypress or keyrelease handler took the key.
    bool FkissKey(std::string_view name, bool down);
    /// Closing or replacing the set: end() runs. False once the set has closed; true while it
    /// stays on the screen for the timers end() set (5 s at most), after which then runs. A
    /// request while one waits closes at once (and the waiting one is dropped).
    bool CloseSetThen(std::function<void()> then);
    static constexpr std::int64_t kEndGraceMs = SetSession::kEndGraceMs;

    // Undo: a drag is watched from the press to the release and stored as one step when it
    // moved or loosened something. Moves made by the set's own code are not recorded.
    static constexpr int kUndoSteps = 100;
    /// Applies a step of the history without firing any event of the set, and repaints.
    void ApplyMoveStep(const MoveStep& step, StepDirection direction)
    {
        Apply(m_session.ApplyStep(step, direction));
    }

    /// Saves to path; a failure is shown with its reason.
    bool SaveTo(const wxString& path);
    /// Where Save As starts: the document's file, or for a set in an archive the archive's
    /// folder and the configuration's name.
    wxString SaveProposal() const;
    /// Save As once the name is confirmed: writes the configuration, and from archives what it
    /// needs beside it; the document then is that file.
    bool SaveAsPath(const wxString& path);

    /// Every object back where the file has it; the code starts over without end().
    void Restore();

private:
    void OnReload(wxCommandEvent& event);
    void OnFileSave(wxCommandEvent& event);
    void OnFileSaveAs(wxCommandEvent& event);
    void OnUpdateNeedsConfig(wxUpdateUIEvent& event);
    void OnUpdateAlways(wxUpdateUIEvent& event);
    void OnOpenAddOn(wxCommandEvent& event);
    void OnFkissTimer(wxTimerEvent& event);

    /// Empties the history: a new set, or the same one loaded anew.
    void ClearHistory();
    /// The layer that path names, asking which configuration of an archive holding several;
    /// nothing after saying why, or when the user chose none.
    std::optional<SetLayer> OpenLayer(const wxString& path);
    /// Before a new load: no history, nothing waiting for a close, and relative names inside
    /// the set resolving against the folder of the layer on top.
    void PrepareLoad(const SetLayer& top);
    /// Marks the document as the top layer's (caption, file name) and shows it.
    void ShowTopLayer();
    bool SaveAs();

    /// Words the core's problems in the current language and shows them through the sink.
    struct ProblemBoxes : ProblemSink
    {
        void Report(std::span<const Problem> problems) override;
        MessageSink* sink = nullptr;
    };

    MessageSink* m_pSink;
    ProblemBoxes m_problems;
    SteadyClock m_clock;
    std::unique_ptr<SoundPlayer> m_pSound;
    SetSession m_session;
    wxTimer m_fkissTimer;
    /// What runs once the closing set has closed.
    std::function<void()> m_fnAfterClose;
    CPlayCommands m_commands;

    wxDECLARE_EVENT_TABLE();
};
