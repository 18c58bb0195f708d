#pragma once

#include "fkiss/AlarmQueue.h"
#include "fkiss/FkissScript.h"
#include "fkiss/FkissStage.h"
#include "fkiss/ObjectTree.h"
#include "image/Rect.h"

#include <array>
#include <cstdint>
#include <map>
#include <random>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

struct FileSource;
class SoundPlayer;

/// Where the engine's time comes from, in milliseconds.
class FkissClock
{
public:
    virtual ~FkissClock() = default;
    virtual std::int64_t NowMs() const = 0;
};

/// The machine's monotonic clock.
class SteadyClock : public FkissClock
{
public:
    std::int64_t NowMs() const override;
};

/// Runs a set's FKiSS code: holds what the code decides about the cels (mapping, ghosting,
/// transparency, attachments, frames), the variables and the pending timers, and fires events.
class FkissEngine
{
public:
    static constexpr std::int64_t kMaxActionsPerEvent = 100000;
    static constexpr int kMaxGosubDepth = 64;
    /// Events started from inside other events (set changes, collisions) nest at most this deep.
    static constexpr int kMaxEventDepth = 64;
    /// version(n) handlers fire for n up to this.
    static constexpr std::int32_t kLevel = 5;

    FkissEngine(FkissScript script, FkissStage& stage, FkissHost& host, std::uint32_t seed);

    /// Where sound and music come from and go to; both may be null (silence).
    void SetSound(FileSource* files, SoundPlayer* player);
    /// The clock that every event reads as it starts, so a delay counts from the event that
    /// set it; null (the default) leaves time to AdvanceTo and RunFor alone.
    void SetClock(const FkissClock* clock) { m_clock = clock; }

    /// Applies the cel tags, then fires initialize, version, begin, set and col. time is the
    /// engine's time at the start.
    void Start(std::int64_t time = 0);
    /// Fires end(); nothing runs after it.
    void Stop();
    /// Closing the set: drops the pending timers and fires end(). The timers end() sets (and
    /// their alarms' timers) still run; the user's actions no longer reach the code.
    void BeginClose();
    bool IsClosing() const { return m_closing; }
    /// Pushes the engine's cel state to the stage again (after the scene rebuilt its cels).
    void Reapply();

    /// Fires the alarms due up to time (in the order they are due, then the order they were
    /// set). Timers set while this runs wait for the next call, so a timer cannot loop within one.
    void AdvanceTo(std::int64_t time);
    /// AdvanceTo the clock's time; nothing without a clock.
    void Tick();
    /// Simulated time: ms milliseconds pass, with every alarm on the way firing at its moment.
    void RunFor(std::int64_t ms);
    std::int64_t Now() const { return m_now; }
    bool HasPendingTimers() const { return !m_timers.IsEmpty(); }

    // The user's actions; cel is the index of the placed cel under the pointer.
    void Press(int cel, Point point);
    /// The user drags the object of cel by dx, dy: glued objects drag their parent, attached
    /// ones come loose, children follow, restrictions hold.
    void Drag(int cel, std::int32_t dx, std::int32_t dy);
    /// A drag loosened the held object's fix to 0.
    void Unfixed(int cel);
    void Release(int cel, Point point);
    void MouseMoved(Point point);
    /// The pointer left the window: every cel it was over is left.
    void MouseLeft();
    /// Key names are letters, digits and names such as "up" or "space", in any case. True when
    /// a handler took the key.
    bool KeyPress(std::string_view key);
    bool KeyRelease(std::string_view key);
    /// The user selected another set or palette group.
    void SetSelected();
    void PaletteGroupSelected();

    /// Parser and engine diagnostics, each reported once.
    const std::vector<FkissDiagnostic>& Diagnostics() const { return m_diagnostics; }
    /// quit() ran: the set is to be closed.
    bool QuitRequested() const { return m_quitCalled; }
    std::int32_t Variable(std::string_view name) const;
    bool IsMapped(int cel) const { return m_cels[static_cast<std::size_t>(cel)].mapped; }
    /// The objects that the user's drag has moved since the press: the held one (or what it is
    /// glued to) and whatever hangs from it. Emptied by the release.
    const std::set<std::int32_t>& DraggedObjects() const { return m_holdMoved; }

private:
    struct CelState
    {
        bool mapped = true;
        bool ghosted = false;
        std::int32_t transparency = 0; ///< 0 opaque to 255
        std::vector<std::int32_t> frames;
    };
    /// Collision bookkeeping of one running event: the state before its first move.
    struct MoveFrame
    {
        bool taken = false;
        std::vector<char> before;
        std::set<std::int32_t> moved;
    };
    enum class Flow
    {
        Next,
        Exit
    };
    enum class Channel
    {
        Sound,
        Music, ///< one tune at a time; no file stops it
    };
    enum class MoveKind
    {
        Script, ///< kept on the play field as a drag is
        Follow, ///< a drag or a parent's move: taken as it comes
    };

    void ApplyCelTags();
    void PushCel(int cel);
    /// Every event from outside starts here: the time is the clock's. False while closing.
    bool BeginUserEvent();
    void ReadClock();
    void Report(int line, ProblemKind kind, std::vector<std::string> args = {});

    // Events (FkissEvents.cpp; the user's in FkissInput.cpp).
    const std::vector<int>& HandlersOf(FkissOp event) const;
    void Fire(const std::vector<int>& handlers);
    void FireEvent(FkissOp event);
    void FireKeyed(FkissOp event, std::int32_t key);
    void FireForCel(FkissOp event, int cel);
    std::vector<int> KeyHandlers(FkissOp event, const std::string& name) const;
    void FireDetached(std::int32_t object);
    void FireSetEvents();
    void FirePaletteEvents();
    void FireMouseCrossings(const Point* point);
    Flow RunHandler(int handler, int gosubDepth);
    bool Test(const FkissAction& action);
    std::size_t FalseBranch(const std::vector<FkissAction>& actions, int clause, int end);

    // Arguments and what they refer to (FkissArguments.cpp). Value is inline: every test and
    // move reads it.
    std::int32_t Value(const FkissArg& arg) const
    {
        if (arg.kind != FkissArg::Kind::Variable)
            return arg.number;
        const auto found = m_variables.find(arg.text);
        return found == m_variables.end() ? 0 : found->second;
    }
    std::string AlarmKey(const FkissArg& arg) const;
    static std::string HandlerKey(const FkissArg& arg);
    const std::vector<int>& CelsOf(const FkissArg& arg) const;
    std::vector<std::int32_t> ObjectsOf(const FkissArg& arg) const;
    bool Matches(const FkissArg& arg, int cel) const;
    void SetVariable(const FkissArg& arg, std::int32_t value);

    // Geometry and collision watching (FkissCollisions.cpp).
    bool AnyMapped(const FkissArg& arg) const;
    Rect BoxOf(const std::vector<int>& cels) const;
    bool Inside(const FkissArg& a, const FkissArg& b) const;
    bool Collide(const FkissArg& a, const FkissArg& b) const;
    bool Overlapping(int handler) const;
    std::vector<char> CollisionStates() const;
    void FireCollisions(const std::vector<char>& before, const std::set<std::int32_t>& moved);
    void NoteMoved(std::int32_t object);

    // The actions, by family. Execute names every action once.
    void Execute(const FkissAction& action);
    // Mapping and cels (FkissCelActions.cpp).
    void SetMapping(const FkissAction& action);
    void SetGhost(const FkissAction& action);
    void AddTransparency(const FkissAction& action);
    void SetFrame(const FkissAction& action);
    // Moves and the object tree (FkissMoveActions.cpp).
    void MoveObjectBy(std::int32_t object, std::int64_t dx, std::int64_t dy, MoveKind kind,
                      int depth = 0);
    void MoveActions(const FkissAction& action);
    void MoveToRandom(const FkissAction& action);
    void SetFix(const FkissAction& action);
    void Attach(const FkissAction& action);
    void Detach(const FkissAction& action);
    void Restrict(const FkissAction& action);
    // Timers and flow (FkissTimerActions.cpp).
    void SetTimer(const std::string& key, std::int64_t ms);
    void StartTimer(const FkissAction& action);
    void StartRandomTimer(const FkissAction& action);
    void TimerIf(const FkissAction& action);
    void Quit();
    // Variables and arithmetic (FkissVariableActions.cpp).
    void Calculate(const FkissAction& action);
    std::int32_t RandomBetween(std::int32_t low, std::int32_t high);
    // Sets, sound and the host (FkissHostActions.cpp).
    void PlaySound(const FkissAction& action, Channel channel);
    void ChangeSet(std::int32_t set);
    void ChangeCol(std::int32_t group);
    // Level-4 queries (FkissQueries.cpp).
    void LetQuery(const FkissAction& action);
    void LetObjectQuery(const FkissAction& action);
    void LetTreeQuery(const FkissAction& action);
    void LetKeyMap(const FkissAction& action);

    FkissScript m_script;
    FkissStage& m_stage;
    FkissHost& m_host;
    FileSource* m_files = nullptr;
    SoundPlayer* m_player = nullptr;
    std::mt19937 m_random;

    std::vector<CelState> m_cels;
    ObjectTree m_tree;
    std::map<std::string, std::vector<int>> m_celsByName;
    std::map<std::string, std::vector<int>> m_celsByGroup;
    std::map<std::string, std::int32_t> m_groupFrames;
    std::unordered_map<std::string, std::int32_t> m_variables;

    /// Handlers of each event but alarm and label, indexed by the event.
    std::array<std::vector<int>, kFkissEvents.size()> m_handlersByEvent;
    std::map<std::string, std::vector<int>> m_alarms;
    std::map<std::string, std::vector<int>> m_labels;
    std::vector<int> m_collisionHandlers;
    std::vector<int> m_mouseHandlers;
    std::vector<char> m_mouseInside;

    AlarmQueue m_timers;
    const FkissClock* m_clock = nullptr;
    std::int64_t m_now = 0;

    std::vector<MoveFrame> m_frames;
    int m_depth = 0;
    std::int64_t m_budget = 0;
    bool m_stopped = false;
    bool m_running = false;
    bool m_quit = false;
    bool m_closing = false;
    bool m_quitCalled = false;
    /// initialize() runs before the set is on the screen: its moves fire no collisions.
    bool m_offScreen = false;

    int m_heldCel = -1;
    bool m_dragging = false;
    /// Collision states at the press, brought up to date by the events during the hold.
    std::vector<char> m_holdBefore;
    /// Objects the user's drag moved during the hold.
    std::set<std::int32_t> m_holdMoved;
    Point m_mouse{0, 0};
    std::int64_t m_lastGroup = -1;
    std::int32_t m_lastKey = 0;
    std::set<std::string> m_keysDown;

    std::vector<FkissDiagnostic> m_diagnostics;
};
