#pragma once

#include "fkiss/FkissSession.h"
#include "image/ScreenBuffer.h"
#include "scene/MoveSteps.h"
#include "scene/FileSource.h"
#include "scene/Scene.h"
#include "shell/WxBridge.h"
#include "sound/SoundPlayer.h"

#include <wx/docview.h>
#include <wx/timer.h>

#include <functional>
#include <memory>
#include <optional>
#include <string_view>

#include <memory>
#include <string>

class Archive;
struct FileSource;

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
    /// Keeps the last kUndoSteps moves.
    wxCommandProcessor* OnCreateCommandProcessor() override;
    /// Never modified, so nothing ever asks whether to save.
    bool IsModified() const override { return false; }
    void Modify(bool) override {}

    ScreenBuffer& Screen() { return m_screen; }
    Scene& GetScene() { return m_scene; }

    /// Where load, open and save messages go. Used by tests.
    void SetMessageSink(MessageSink* sink);

    /// Hands the scene to the screen buffer, then tells the views.
    void RefreshScreen(bool handColours, bool resize, int hint);
    void UpdateAllViewsWithHint(int hint);

    /// Opens an add-on set (an archive, or a configuration in its folder) over the open one: its
    /// files are looked up first, then those of the set beneath. False when nothing changed.
    bool OpenAddOn(const wxString& path);
    /// Where the open set's files come from, the add-on's first; null before the first open.
    FileSource* Files() const { return m_pFiles.get(); }

    // FKiSS: the engine runs from the load to the close of a set when it is enabled and the
    // set carries code; each call below does nothing otherwise.
    void SetFkissEnabled(bool enabled) { m_bFkissEnabled = enabled; }
    bool IsFkissEnabled() const { return m_bFkissEnabled; }
    FkissEngine* Fkiss() { return m_pFkiss ? &m_pFkiss->Engine() : nullptr; }
    void FkissPress(int cel, Point point);
    /// Drags the object of cel by dx, dy, through the engine when it runs.
    void DragObject(int cel, std::int32_t dx, std::int32_t dy);
    void FkissUnfixed(int cel);
    void FkissRelease(int cel, Point point);
    void FkissMouseMove(Point point);
    void FkissMouseLeft();
    /// True when a keypress or keyrelease handler took the key.
    bool FkissKey(std::string_view name, bool down);
    /// Closing or replacing the set: end() runs. False once the set has closed; true while it
    /// stays on the screen for the timers end() set (5 s at most), after which then runs. A
    /// request while one waits closes at once (and the waiting one is dropped).
    bool CloseSetThen(std::function<void()> then);
    static constexpr std::int64_t kEndGraceMs = 5000;

    // Undo: a drag is watched from the press to the release and stored as one step when it
    // moved or loosened something. Moves made by the set's own code are not recorded.
    static constexpr int kUndoSteps = 100;
    /// Call once the press has been handled.
    void BeginDrag();
    /// Call at the release of cel, before the release events fire.
    void EndDrag(int cel);
    /// Applies a step of the history without firing any event of the set, and repaints.
    void ApplyMoveStep(const MoveStep& step, StepDirection direction);

    /// Save writes over the document's own file only when that file exists and may be written.
    static bool NeedsNewName(const wxString& path);
    /// Saves to path; a failure is shown with its reason.
    bool SaveTo(const wxString& path);
    /// Where Save As starts: the document's file, or for a set in an archive the archive's
    /// folder and the configuration's name.
    wxString SaveProposal() const;
    /// Save As once the name is confirmed: writes the configuration, and from archives what it
    /// needs beside it; the document then is that file.
    bool SaveAsPath(const wxString& path);

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
    void OnUndo(wxCommandEvent& event);
    void OnRedo(wxCommandEvent& event);
    void OnUpdateUndo(wxUpdateUIEvent& event);
    void OnUpdateRedo(wxUpdateUIEvent& event);
    /// Empties the history: a new set, or the same one loaded anew.
    void ClearHistory();

    void OnUpdateSetN(wxUpdateUIEvent& event);
    void OnUpdatePaletteN(wxUpdateUIEvent& event);
    void OnUpdate256Colour(wxUpdateUIEvent& event);
    void OnUpdateFullColour(wxUpdateUIEvent& event);
    void OnUpdateNeedsConfig(wxUpdateUIEvent& event);
    void OnUpdateAlways(wxUpdateUIEvent& event);

    void OnOpenAddOn(wxCommandEvent& event);

    /// One opened set: a configuration file in its folder, or a configuration in an archive.
    struct SetLayer
    {
        wxString fullPath;  ///< the configuration file, or the archive
        std::string member; ///< the configuration inside the archive
        std::shared_ptr<const Archive> archive;
        std::shared_ptr<FileSource> files;
    };

    /// Resolves a configuration file, an archive or an "ARCHIVE|MEMBER" path to a layer, asking
    /// which configuration to use when an archive holds several and the path names none.
    /// False after telling why, or when the user cancelled.
    bool OpenLayer(const wxString& path, SetLayer& layer);
    /// Loads the top layer's configuration over the files of every layer.
    void LoadLayers();
    /// The configuration the user picks from an archive, or "" after a message or a cancel.
    std::string ChooseConfiguration(const Archive& archive, const wxString& archivePath);
    void ShowArchiveMessage(const char* text, const wxString& archivePath,
                            const wxString& detail = wxString());
    /// Marks the document as the top layer's (caption, file name) and shows it.
    void ShowTopLayer();
    const SetLayer& TopLayer() const { return m_pAddOn ? *m_pAddOn : m_base; }
    /// The path that opens the layer again without asking.
    static wxString LayerPath(const SetLayer& layer);
    /// After a save: writes what the saved configuration needs from the archives beside it.
    void WriteArchiveFiles(const wxString& path);
    /// Sizes the screen, shrunk to what the window system can draw, saying so once per set.
    void SetPlayFieldSize(Point size);
    /// Whether path is an archive that a layer reads from: it is never written.
    bool IsOpenArchive(const wxString& path) const;
    void AfterSelection();
    bool SaveAs();

    /// Starts the engine on the loaded scene (the load events run) and shows the load's
    /// messages with the engine's diagnostics after them, in one message.
    void StartFkiss(std::string messages);
    /// The open configuration's file name, as diagnostics name it.
    std::string ConfigName() const;
    /// Adds the engine's diagnostics that the messages list does not hold yet.
    void LogFkissDiagnostics();
    /// Fires end() unless it ran already, and drops the engine.
    void StopFkiss();
    /// The wait for end()'s timers is over: the set closes and what waited runs.
    void FinishClose();
    /// Replaces the set with the layer's (the open, once the old set has closed).
    void ReplaceSet(const SetLayer& layer);
    /// After the engine ran: closes the set on quit(), else repaints what changed and keeps the
    /// timer running exactly while an alarm is pending.
    void AfterFkiss();
    void OnFkissTimer(wxTimerEvent& event);

    /// What the engine asks of the viewer; applied once the running event is over.
    class Host : public FkissHost
    {
    public:
        void ShowText(int line, const std::string& bytes) override;
        void CloseSet() override { closeSet = true; }
        void ScrollTo(Point point) override { scroll = point; }
        void ResizePlayField(Point size) override { resize = size; }

        CSysDoc* owner = nullptr;
        bool closeSet = false;
        std::optional<Point> scroll;
        std::optional<Point> resize;
    };

    /// Words the core's problems in the current language and shows them through the sink.
    struct ProblemBoxes : ProblemSink
    {
        void Report(std::span<const Problem> problems) override;
        MessageSink* sink = nullptr;
    };

    ProblemBoxes m_problems;
    ScreenBuffer m_screen;
    Scene m_scene;
    SetLayer m_base;
    std::unique_ptr<SetLayer> m_pAddOn;
    std::shared_ptr<FileSource> m_pFiles;
    MessageSink* m_pSink;
    bool m_bFkissEnabled = true;
    /// The current set has been told that its play field was shrunk.
    bool m_bPlayFieldClamped = false;
    Host m_fkissHost;
    std::unique_ptr<SoundPlayer> m_pSound;
    std::unique_ptr<FkissSession> m_pFkiss;
    SteadyClock m_clock;
    wxTimer m_fkissTimer;
    DragRecorder m_drag;
    /// What runs once the closing set has closed, and when it closes at the latest.
    std::function<void()> m_fnAfterClose;
    std::int64_t m_nCloseDeadline = 0;

    wxDECLARE_EVENT_TABLE();
};
