#pragma once

#include "config/Problem.h"
#include "fkiss/FkissSession.h"
#include "image/ScreenBuffer.h"
#include "scene/MoveSteps.h"
#include "scene/Scene.h"
#include "session/LoadedSet.h"
#include "session/SetLayer.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class SoundPlayer;

/// Whether a set's FKiSS code runs.
enum class FkissSwitch : std::uint8_t
{
    Off,
    On,
};

/// Where the set is shown.
enum class Presentation : std::uint8_t
{
    /// A picture without a window: the play field as the configuration gives it, and what the
    /// code asks of a window (a size, a scroll, closing) left undone.
    Headless,
    /// A window: the play field within what it can show, and the code's requests carried out.
    Window,
};

/// What the host must do once the session has handled something.
struct SessionUpdate
{
    enum class Repaint : std::uint8_t
    {
        None,
        Dirty, ///< the buffer's dirty part
        All,   ///< the whole picture, at the same size
        Refit, ///< the whole picture at a new size; the window follows it
        Reset, ///< another set or none: size, scroll position and picture start over
    };
    Repaint repaint = Repaint::None;
    /// The picture point the view should scroll to.
    std::optional<Point> scroll;
    /// Texts the set's code showed, bytes as in its file, oldest first.
    std::vector<std::string> texts;
    /// Whether the host's timer should be ticking (see Tick).
    bool ticking = false;
    /// The set that was closing has closed: what waited for it may run. After quit() with
    /// nothing waiting, the host empties the document.
    bool closed = false;
    /// A change of places worth keeping in the history of moves.
    std::optional<MoveStep> step;
};

enum class CloseState : std::uint8_t
{
    /// The set is closed (or never ran code): go on at once.
    Closed,
    /// end() started timers; the set stays on the screen until an update says closed.
    Waiting,
};

enum class KeyDirection : std::uint8_t
{
    Down,
    Up,
};

/// A set as it plays: its layers (a set, and over it an add-on) and the files they give, the
/// scene and its picture, the FKiSS code while it runs, and the player its sounds go to. The
/// viewer, the export and the thumbnailer each open and play a set through one of these.
class SetSession
{
public:
    struct Options
    {
        Presentation presentation = Presentation::Window;
        /// The clock every event reads, which also seeds the code's random numbers; null keeps
        /// time at 0 for AdvanceTo and RunFor alone, and the seed at 1.
        const FkissClock* clock = nullptr;
    };

    /// problems and sound may be null: nothing reported, silence.
    SetSession(Options options, ProblemSink* problems, SoundPlayer* sound);
    ~SetSession();
    SetSession(const SetSession&) = delete;
    SetSession& operator=(const SetSession&) = delete;

    /// Takes effect at the next load.
    void SetFkiss(FkissSwitch fkiss) { m_fkiss = fkiss; }
    FkissSwitch Fkiss() const { return m_fkiss; }

    // Opening. Each replaces whatever played before without its end(): see BeginClose.
    /// The set of base alone. False when its configuration could not be read.
    bool Open(SetLayer base);
    /// As Open, with a set loaded beforehand (see LoadSet): its code starts now.
    bool Adopt(LoadedSet set);
    /// addOn over the open set: its files are looked up first.
    void OpenAddOn(SetLayer addOn);
    /// Both layers again, as freshly opened.
    void Reload(SetLayer base, std::optional<SetLayer> addOn);
    /// No set any more.
    void Clear();
    /// No set, and the empty 448 by 320 white picture shown.
    SessionUpdate ShowEmpty();
    /// Closing or replacing the set: end() runs. While its timers play out (kEndGraceMs at
    /// most) the set stays; asked again, it closes at once.
    CloseState BeginClose();
    static constexpr std::int64_t kEndGraceMs = 5000;

    /// What the host must do after an open, a reload or an add-on.
    SessionUpdate AfterOpen();
    /// What the host must do after the code ran outside an action (end() once a close began).
    SessionUpdate AfterCode() { return AfterFkiss(SessionUpdate::Repaint::None); }

    // The user's actions.
    SessionUpdate SelectSet(int base, int step);
    SessionUpdate SelectPaletteGroup(std::int64_t base, std::int64_t step);
    /// 8 for 256 colours, 32 for full colour.
    SessionUpdate SetColourMode(std::int32_t depth);
    /// Every object back where the file has it; the code starts over (without end()).
    SessionUpdate Restore();
    SessionUpdate Press(int cel, Point point);
    /// Moves the object of cel by dx, dy, through the code when it runs.
    SessionUpdate Drag(int cel, std::int32_t dx, std::int32_t dy);
    SessionUpdate Unfixed(int cel);
    /// A fixed object let go springs back to where it was caught, with what hangs from it.
    SessionUpdate SpringBack(int cel, Point to);
    /// Ends a drag begun with BeginDrag: the update carries the step it made, if any.
    SessionUpdate Release(int cel, Point point);
    SessionUpdate MouseMoved(Point point);
    SessionUpdate MouseLeft();
    /// taken tells whether a keypress or keyrelease handler took the key.
    SessionUpdate Key(std::string_view name, KeyDirection direction, bool& taken);
    /// The host's timer: runs the alarms that are due.
    SessionUpdate Tick();

    // The history of moves.
    /// Call once a press on a loaded set has been handled.
    void BeginDrag();
    bool IsDragging() const { return m_drag.IsActive(); }
    void CancelDrag() { m_drag.Cancel(); }
    /// Puts a step of the history back without firing any event.
    SessionUpdate ApplyStep(const MoveStep& step, StepDirection direction);

    // Saving.
    std::optional<Problem> Save(const std::string& path);
    /// Whether path is an archive a layer reads from: it is never written.
    bool IsOpenArchive(const std::string& path) const;
    /// After the configuration was saved at path (absolute), the set is that file. From archives,
    /// what it needs is written beside it first, and from then on it is a plain set there.
    void SavedAs(const std::string& path);

    Scene& GetScene() { return m_scene; }
    const Scene& GetScene() const { return m_scene; }
    ScreenBuffer& Screen() { return m_screen; }
    const ScreenBuffer& Screen() const { return m_screen; }
    const SetLayer& Base() const { return m_base; }
    const SetLayer* AddOn() const { return m_addOn ? &*m_addOn : nullptr; }
    const SetLayer& Top() const { return m_addOn ? *m_addOn : m_base; }
    /// The open set's files, the add-on's first; null before the first open.
    FileSource* Files() const { return m_files.get(); }
    FkissEngine* Engine() { return m_fkissSession ? &m_fkissSession->Engine() : nullptr; }

private:
    /// What the code asks of the viewer, applied once the running event is over.
    class Requests : public FkissHost
    {
    public:
        void ShowText(int line, const std::string& bytes) override;
        void CloseSet() override { closeSet = true; }
        void ScrollTo(Point point) override { scroll = point; }
        void ResizePlayField(Point size) override { resize = size; }

        SetSession* owner = nullptr;
        bool closeSet = false;
        std::optional<Point> scroll;
        std::optional<Point> resize;
        std::vector<std::string> texts;
    };

    /// Loads the top layer over the files of both layers, then BeginPlay.
    bool LoadLayers();
    /// Ends the code without end(), and the sounds with it.
    void StopFkiss();
    /// The scene just loaded starts to play: its code starts and the problems are reported.
    void BeginPlay();
    void StartFkiss(std::vector<Problem> problems);
    void LogDiagnostics();
    /// The scene to the buffer: the colours, the background and, for a new set, the size.
    void Refresh(SessionUpdate::Repaint repaint);
    void SetPlayFieldSize(Point size);
    /// After the code ran: closes the set after quit(), applies what it asked, and says what the
    /// host must do.
    SessionUpdate AfterFkiss(SessionUpdate::Repaint repaint);
    SessionUpdate AfterSelection();
    void Report(const Problem& problem);
    std::int64_t Now() const;

    Options m_options;
    FkissSwitch m_fkiss = FkissSwitch::On;
    ProblemSink* m_problems;
    SoundPlayer* m_sound;
    ScreenBuffer m_screen;
    Scene m_scene;
    SetLayer m_base;
    std::optional<SetLayer> m_addOn;
    std::shared_ptr<FileSource> m_files;
    Requests m_requests;
    std::unique_ptr<FkissSession> m_fkissSession;
    DragRecorder m_drag;
    /// The set has been told that its play field was shrunk.
    bool m_playFieldClamped = false;
    /// The set is closing; it closes for good at this time at the latest.
    bool m_closing = false;
    std::int64_t m_closeDeadline = 0;
};
