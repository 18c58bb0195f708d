#include "fkiss/FkissEngine.h"

#include "scene/FileSource.h"
#include "sound/SoundPlayer.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <limits>

namespace
{

using Kind = FkissArg::Kind;

std::string Lowered(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
    {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return out;
}

/// Wrapping 32-bit arithmetic, read back as signed: no overflow is undefined.
std::int32_t Wrap(std::uint32_t value)
{
    return static_cast<std::int32_t>(value);
}

std::int32_t Saturate(std::int64_t value)
{
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(
        value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

/// Touching edges count as overlapping; an empty box overlaps nothing.
bool BoxesMeet(const Rect& a, const Rect& b)
{
    return !a.IsEmpty() && !b.IsEmpty() && a.left <= b.right && b.left <= a.right &&
           a.top <= b.bottom && b.top <= a.bottom;
}

bool IsCollisionEvent(FkissOp op)
{
    switch (op)
    {
    case FkissOp::In:
    case FkissOp::Out:
    case FkissOp::StillIn:
    case FkissOp::StillOut:
    case FkissOp::Collide:
    case FkissOp::Apart:
        return true;
    default:
        return false;
    }
}

/// The code letkey gives for a key name.
std::int32_t KeyCode(std::string_view key)
{
    static const std::map<std::string_view, std::int32_t> kNamed = {
        {"backspace", 8}, {"tab", 9},    {"enter", 13}, {"return", 13},
        {"escape", 27},   {"esc", 27},   {"space", 32}, {"left", 37},
        {"up", 38},       {"right", 39}, {"down", 40},  {"delete", 127}};
    if (key.size() == 1)
        return static_cast<unsigned char>(key.front());
    const auto found = kNamed.find(key);
    return found == kNamed.end() ? 0 : found->second;
}

std::string CanonicalKey(std::string_view key)
{
    std::string name = Lowered(key);
    if (name == "esc")
        return "escape";
    if (name == "return")
        return "enter";
    if (name == " ")
        return "space";
    return name;
}

} // namespace

std::int64_t SteadyClock::NowMs() const
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

FkissEngine::FkissEngine(FkissScript script, FkissStage& stage, FkissHost& host, std::uint32_t seed)
    : m_script(std::move(script)), m_stage(stage), m_host(host), m_random(seed),
      m_diagnostics(m_script.diagnostics)
{
    const int count = stage.CelCount();
    m_cels.resize(static_cast<std::size_t>(count));
    for (int cel = 0; cel < count; ++cel)
    {
        m_objects[stage.ObjectOf(cel)].cels.push_back(cel);
        m_celsByName[stage.CelName(cel)].push_back(cel);
    }
    ReadCelTags();

    m_handlersByEvent.resize(static_cast<std::size_t>(FkissOp::Detached) + 1);
    for (std::size_t i = 0; i < m_script.handlers.size(); ++i)
    {
        const FkissHandler& handler = m_script.handlers[i];
        const int index = static_cast<int>(i);
        if (handler.event == FkissOp::Alarm)
            m_alarms[HandlerKey(handler.args[0])].push_back(index);
        else if (handler.event == FkissOp::Label)
            m_labels[HandlerKey(handler.args[0])].push_back(index);
        else
            m_handlersByEvent[static_cast<std::size_t>(handler.event)].push_back(index);
        if (IsCollisionEvent(handler.event))
            m_collisionHandlers.push_back(index);
        if (handler.event == FkissOp::MouseIn || handler.event == FkissOp::MouseOut)
            m_mouseHandlers.push_back(index);
    }
    m_mouseInside.assign(m_mouseHandlers.size(), 0);
}

void FkissEngine::SetSound(FileSource* files, SoundPlayer* player)
{
    m_files = files;
    m_player = player;
}

void FkissEngine::ReadCelTags()
{
    for (std::size_t i = 0; i < m_cels.size(); ++i)
    {
        CelState& state = m_cels[i];
        const int cel = static_cast<int>(i);
        state.transparency = 256 - m_stage.LineOpacity(cel);
        const std::string_view comment = m_stage.CelComment(cel);
        for (std::size_t pos = 0; pos < comment.size(); ++pos)
        {
            const char c = comment[pos];
            const bool wordStart = pos == 0 || comment[pos - 1] == ' ' ||
                                   comment[pos - 1] == '\t' || comment[pos - 1] == ';';
            if (c == '%' && pos + 1 < comment.size())
            {
                const char tag = static_cast<char>(comment[pos + 1] | 0x20);
                if (tag == 'u')
                    state.mapped = false;
                else if (tag == 'g')
                    state.ghosted = true;
            }
            else if (c == '!' && wordStart)
            {
                std::size_t end = pos + 1;
                while (
                    end < comment.size() &&
                    (std::isalnum(static_cast<unsigned char>(comment[end])) || comment[end] == '_'))
                    ++end;
                if (end > pos + 1)
                {
                    state.groups.push_back(Lowered(comment.substr(pos + 1, end - pos - 1)));
                    m_celsByGroup[state.groups.back()].push_back(cel);
                }
                pos = end - 1;
            }
            else if (c == ':' && wordStart)
            {
                std::size_t end = pos + 1;
                while (end < comment.size())
                {
                    while (end < comment.size() && comment[end] == ' ')
                        ++end;
                    std::int32_t frame = 0;
                    std::size_t digits = 0;
                    while (end < comment.size() && comment[end] >= '0' && comment[end] <= '9' &&
                           digits < 9)
                    {
                        frame = frame * 10 + (comment[end] - '0');
                        ++end;
                        ++digits;
                    }
                    if (digits == 0)
                        break;
                    state.frames.push_back(frame);
                }
                pos = end - 1;
            }
        }
    }
}

void FkissEngine::PushCel(int cel)
{
    const CelState& state = m_cels[static_cast<std::size_t>(cel)];
    m_stage.SetCelState(cel, state.mapped, state.ghosted,
                        std::clamp(256 - state.transparency, 0, 256));
}

void FkissEngine::Reapply()
{
    for (std::size_t i = 0; i < m_cels.size(); ++i)
        PushCel(static_cast<int>(i));
}

void FkissEngine::Start(std::int64_t time)
{
    m_now = time;
    m_running = true;
    Reapply();
    m_offScreen = true;
    FireEvent(FkissOp::Initialize);
    std::vector<int> versions;
    for (const int handler : m_handlersByEvent[static_cast<std::size_t>(FkissOp::Version)])
    {
        const std::int32_t level =
            Value(m_script.handlers[static_cast<std::size_t>(handler)].args[0]);
        if (level >= 1 && level <= kLevel)
            versions.push_back(handler);
    }
    Fire(versions);
    m_offScreen = false;
    FireEvent(FkissOp::Begin);
    m_lastGroup = m_stage.CurrentPaletteGroup();
    FireSetEvents();
    FirePaletteEvents();
}

void FkissEngine::Stop()
{
    if (!m_running)
        return;
    ReadClock();
    if (!m_closing)
        FireEvent(FkissOp::End);
    m_running = false;
    m_timers.Clear();
}

void FkissEngine::BeginClose()
{
    if (!m_running || m_closing)
        return;
    ReadClock();
    m_closing = true;
    m_timers.Clear();
    FireEvent(FkissOp::End);
}

bool FkissEngine::BeginUserEvent()
{
    ReadClock();
    return m_running && !m_closing && !m_quit;
}

void FkissEngine::ReadClock()
{
    if (m_clock)
        m_now = std::max(m_now, m_clock->NowMs());
}

std::int32_t FkissEngine::Variable(std::string_view name) const
{
    const auto found = m_variables.find(Lowered(name));
    return found == m_variables.end() ? 0 : found->second;
}

void FkissEngine::Report(int line, std::string text)
{
    if (m_reported.emplace(line, text).second)
        m_diagnostics.push_back(FkissDiagnostic{m_script.fileName, line, std::move(text)});
}

// ---- Time -------------------------------------------------------------------------------------

void FkissEngine::SetTimer(const std::string& key, std::int64_t ms)
{
    if (ms <= 0)
        m_timers.Cancel(key);
    else
        m_timers.Set(key, m_now + ms);
}

void FkissEngine::AdvanceTo(std::int64_t time)
{
    m_timers.Hold();
    while (m_running && !m_quit)
    {
        const std::optional<AlarmQueue::Due> due = m_timers.PopDue(time);
        if (!due)
            break;
        // An alarm's own time is the moment it was due, so a repeating timer keeps its beat.
        m_now = std::max(m_now, due->time);
        const auto handlers = m_alarms.find(due->alarm);
        if (handlers != m_alarms.end())
            Fire(handlers->second);
    }
    m_timers.Release();
    m_now = std::max(m_now, time);
}

void FkissEngine::Tick()
{
    if (m_clock)
        AdvanceTo(m_clock->NowMs());
}

void FkissEngine::RunFor(std::int64_t ms)
{
    const std::int64_t end = m_now + std::max<std::int64_t>(ms, 0);
    while (m_running && !m_quit)
    {
        const std::optional<std::int64_t> next = m_timers.NextDue();
        if (!next || *next > end)
            break;
        AdvanceTo(std::max(*next, m_now));
    }
    m_now = std::max(m_now, end);
}

std::int32_t FkissEngine::RandomBetween(std::int32_t low, std::int32_t high)
{
    if (low > high)
        std::swap(low, high);
    return std::uniform_int_distribution<std::int32_t>(low, high)(m_random);
}

// ---- Arguments --------------------------------------------------------------------------------

std::int32_t FkissEngine::Value(const FkissArg& arg) const
{
    if (arg.kind == Kind::Variable)
    {
        const auto found = m_variables.find(arg.text);
        return found == m_variables.end() ? 0 : found->second;
    }
    return arg.number;
}

std::string FkissEngine::HandlerKey(const FkissArg& arg)
{
    return arg.kind == Kind::Variable ? arg.text : std::to_string(arg.number);
}

std::string FkissEngine::AlarmKey(const FkissArg& arg) const
{
    // A name that is itself an alarm or label names it; otherwise the variable's value does.
    if (arg.kind == Kind::Variable && !m_alarms.contains(arg.text) && !m_labels.contains(arg.text))
        return std::to_string(Value(arg));
    return HandlerKey(arg);
}

void FkissEngine::SetVariable(const FkissArg& arg, std::int32_t value)
{
    m_variables[arg.text] = value;
}

const std::vector<int>& FkissEngine::CelsOf(const FkissArg& arg) const
{
    static const std::vector<int> kNone;
    if (arg.kind == Kind::Object || arg.kind == Kind::Variable)
    {
        const auto found = m_objects.find(Value(arg));
        return found == m_objects.end() ? kNone : found->second.cels;
    }
    const auto& map = arg.kind == Kind::Group ? m_celsByGroup : m_celsByName;
    const auto found = map.find(arg.kind == Kind::Group ? arg.text : Lowered(arg.text));
    return found == map.end() ? kNone : found->second;
}

std::vector<std::int32_t> FkissEngine::ObjectsOf(const FkissArg& arg) const
{
    if (arg.kind == Kind::Object || arg.kind == Kind::Variable)
    {
        const std::int32_t object = Value(arg);
        return m_objects.contains(object) ? std::vector<std::int32_t>{object}
                                          : std::vector<std::int32_t>{};
    }
    std::vector<std::int32_t> objects;
    for (const int cel : CelsOf(arg))
    {
        const std::int32_t object = m_stage.ObjectOf(cel);
        if (std::find(objects.begin(), objects.end(), object) == objects.end())
            objects.push_back(object);
    }
    return objects;
}

bool FkissEngine::Matches(const FkissArg& arg, int cel) const
{
    if (arg.kind == Kind::Object || arg.kind == Kind::Variable)
        return m_stage.ObjectOf(cel) == Value(arg);
    const auto& cels = CelsOf(arg);
    return std::find(cels.begin(), cels.end(), cel) != cels.end();
}

FkissEngine::ObjectState* FkissEngine::Object(std::int32_t object)
{
    const auto found = m_objects.find(object);
    return found == m_objects.end() ? nullptr : &found->second;
}

// ---- Geometry ---------------------------------------------------------------------------------

bool FkissEngine::AnyMapped(const FkissArg& arg) const
{
    // An object counts by its cels in the current set; a cel name by every cel of that file.
    const bool object = arg.kind == Kind::Object || arg.kind == Kind::Variable;
    for (const int cel : CelsOf(arg))
    {
        if (m_cels[static_cast<std::size_t>(cel)].mapped && (!object || m_stage.InCurrentSet(cel)))
            return true;
    }
    return false;
}

Rect FkissEngine::BoxOf(const std::vector<int>& cels) const
{
    Rect box;
    for (const int cel : cels)
    {
        if (m_cels[static_cast<std::size_t>(cel)].mapped && m_stage.InCurrentSet(cel))
            box = Rect::Union(box, m_stage.CelBounds(cel));
    }
    return box;
}

bool FkissEngine::Inside(const FkissArg& a, const FkissArg& b) const
{
    return BoxesMeet(BoxOf(CelsOf(a)), BoxOf(CelsOf(b)));
}

bool FkissEngine::Collide(const FkissArg& a, const FkissArg& b) const
{
    for (const int first : CelsOf(a))
    {
        if (!m_cels[static_cast<std::size_t>(first)].mapped || !m_stage.InCurrentSet(first))
            continue;
        const Rect firstBox = m_stage.CelBounds(first);
        for (const int second : CelsOf(b))
        {
            if (second == first || !m_cels[static_cast<std::size_t>(second)].mapped ||
                !m_stage.InCurrentSet(second))
                continue;
            const Rect common = Rect::Intersect(firstBox, m_stage.CelBounds(second));
            for (std::int32_t y = common.top; y < common.bottom; ++y)
            {
                for (std::int32_t x = common.left; x < common.right; ++x)
                {
                    if (m_stage.OpaqueAt(first, x, y) && m_stage.OpaqueAt(second, x, y))
                        return true;
                }
            }
        }
    }
    return false;
}

bool FkissEngine::Overlapping(int handler) const
{
    const FkissHandler& h = m_script.handlers[static_cast<std::size_t>(handler)];
    const bool pixels = h.event == FkissOp::Collide || h.event == FkissOp::Apart;
    return pixels ? Collide(h.args[0], h.args[1]) : Inside(h.args[0], h.args[1]);
}

std::vector<char> FkissEngine::CollisionStates() const
{
    std::vector<char> states;
    states.reserve(m_collisionHandlers.size());
    for (const int handler : m_collisionHandlers)
        states.push_back(Overlapping(handler) ? 1 : 0);
    return states;
}

void FkissEngine::FireCollisions(const std::vector<char>& before,
                                 const std::set<std::int32_t>& moved)
{
    const std::vector<char> after = CollisionStates();
    // What an event changed during a hold is decided now, not again at the release.
    if (m_heldCel >= 0 && m_holdBefore.size() == after.size() && &before != &m_holdBefore)
    {
        for (std::size_t i = 0; i < after.size() && i < before.size(); ++i)
        {
            if (before[i] != after[i])
                m_holdBefore[i] = after[i];
        }
    }
    std::vector<int> fired;
    for (std::size_t i = 0; i < m_collisionHandlers.size() && i < before.size(); ++i)
    {
        const int index = m_collisionHandlers[i];
        const FkissHandler& h = m_script.handlers[static_cast<std::size_t>(index)];
        const bool was = before[i] != 0;
        const bool is = after[i] != 0;
        bool involved = false;
        for (const FkissArg& arg : h.args)
        {
            for (const std::int32_t object : ObjectsOf(arg))
                involved = involved || moved.contains(object);
        }
        bool fire = false;
        switch (h.event)
        {
        case FkissOp::In:
        case FkissOp::Collide:
            fire = !was && is;
            break;
        case FkissOp::Out:
        case FkissOp::Apart:
            fire = was && !is;
            break;
        case FkissOp::StillIn:
            fire = was && is && involved;
            break;
        default:
            fire = !was && !is && involved;
            break;
        }
        if (fire)
            fired.push_back(index);
    }
    Fire(fired);
}

void FkissEngine::NoteMoved(std::int32_t object)
{
    for (MoveFrame& frame : m_frames)
    {
        if (!frame.taken)
        {
            frame.before = CollisionStates();
            frame.taken = true;
        }
        frame.moved.insert(object);
    }
    if (m_dragging)
        m_holdMoved.insert(object);
}

Point FkissEngine::Limited(std::int32_t object, const ObjectState& state, std::int64_t x,
                           std::int64_t y, MoveKind kind) const
{
    std::int64_t lowX = std::numeric_limits<std::int32_t>::min();
    std::int64_t lowY = lowX;
    std::int64_t highX = std::numeric_limits<std::int32_t>::max();
    std::int64_t highY = highX;
    if (kind == MoveKind::Script)
    {
        // A drag holds the pointer so that the whole object stays on the screen, short of its
        // last column and row; an object larger than the screen keeps a point on it.
        const Point screen = m_stage.ScreenSize();
        const Point extent = m_stage.ObjectExtent(object);
        const bool fits = extent.x <= screen.x && extent.y <= screen.y;
        lowX = 0;
        lowY = 0;
        highX = std::max<std::int64_t>(0, fits ? screen.x - extent.x - 1 : screen.x - 1);
        highY = std::max<std::int64_t>(0, fits ? screen.y - extent.y - 1 : screen.y - 1);
    }
    x = std::clamp(x, lowX, highX);
    y = std::clamp(y, lowY, highY);
    if (state.restrictX)
        x = std::clamp<std::int64_t>(x, state.restrictX->first, state.restrictX->second);
    if (state.restrictY)
        y = std::clamp<std::int64_t>(y, state.restrictY->first, state.restrictY->second);
    return Point{static_cast<std::int32_t>(x), static_cast<std::int32_t>(y)};
}

void FkissEngine::MoveObjectBy(std::int32_t object, std::int64_t dx, std::int64_t dy, MoveKind kind,
                               int depth)
{
    ObjectState* state = Object(object);
    if (!state || depth > kMaxEventDepth)
        return;
    const Point from = m_stage.ObjectPosition(object);
    const Point to = Limited(object, *state, from.x + dx, from.y + dy, kind);
    if (to == from)
        return;
    if ((!m_collisionHandlers.empty() && !m_offScreen) || m_dragging)
        NoteMoved(object);
    m_stage.MoveObjectTo(object, to);
    const std::int64_t movedX = std::int64_t{to.x} - from.x;
    const std::int64_t movedY = std::int64_t{to.y} - from.y;
    for (auto& [child, childState] : m_objects)
    {
        if (childState.parent == object)
            MoveObjectBy(child, movedX, movedY, MoveKind::Follow, depth + 1);
    }
}

// ---- Events -----------------------------------------------------------------------------------

void FkissEngine::FireEvent(FkissOp event)
{
    Fire(m_handlersByEvent[static_cast<std::size_t>(event)]);
}

void FkissEngine::FireKeyed(FkissOp event, std::int32_t key)
{
    // set(*) and col(*) come after the handlers of the number itself.
    std::vector<int> matching;
    std::vector<int> generic;
    for (const int handler : m_handlersByEvent[static_cast<std::size_t>(event)])
    {
        const FkissArg& arg = m_script.handlers[static_cast<std::size_t>(handler)].args[0];
        if (arg.kind == Kind::Any)
            generic.push_back(handler);
        else if (Value(arg) == key)
            matching.push_back(handler);
    }
    matching.insert(matching.end(), generic.begin(), generic.end());
    Fire(matching);
}

void FkissEngine::FireDetached(std::int32_t object)
{
    std::vector<int> matching;
    for (const int handler : m_handlersByEvent[static_cast<std::size_t>(FkissOp::Detached)])
    {
        const auto objects =
            ObjectsOf(m_script.handlers[static_cast<std::size_t>(handler)].args[0]);
        if (std::find(objects.begin(), objects.end(), object) != objects.end())
            matching.push_back(handler);
    }
    Fire(matching);
}

void FkissEngine::FireForCel(FkissOp event, int cel)
{
    std::vector<int> matching;
    for (const int handler : m_handlersByEvent[static_cast<std::size_t>(event)])
    {
        if (Matches(m_script.handlers[static_cast<std::size_t>(handler)].args[0], cel))
            matching.push_back(handler);
    }
    Fire(matching);
}

void FkissEngine::Fire(const std::vector<int>& handlers)
{
    if (handlers.empty() || !m_running || m_quit)
        return;
    if (m_depth >= kMaxEventDepth)
    {
        Report(m_script.handlers[static_cast<std::size_t>(handlers.front())].line,
               "events nested more than " + std::to_string(kMaxEventDepth) + " deep; stopped");
        return;
    }
    if (m_depth == 0)
    {
        m_budget = kMaxActionsPerEvent;
        m_stopped = false;
    }
    ++m_depth;
    m_frames.emplace_back();
    // Copied: an event may change the lists it was found in (labels never, but be safe).
    const std::vector<int> list = handlers;
    for (const int handler : list)
    {
        if (m_stopped || m_quit)
            break;
        RunHandler(handler, 0);
    }
    MoveFrame frame = std::move(m_frames.back());
    m_frames.pop_back();
    if (frame.taken && !m_stopped && !m_quit && !m_offScreen)
        FireCollisions(frame.before, frame.moved);
    --m_depth;
}

std::size_t FkissEngine::FalseBranch(const std::vector<FkissAction>& actions, int clause, int end)
{
    while (clause >= 0 && clause != end && static_cast<std::size_t>(clause) < actions.size())
    {
        const FkissAction& next = actions[static_cast<std::size_t>(clause)];
        if (next.op != FkissOp::Else && !Test(next))
        {
            clause = next.jump;
            continue;
        }
        return static_cast<std::size_t>(clause) + 1;
    }
    return std::min(static_cast<std::size_t>(std::max(end, 0)), actions.size());
}

bool FkissEngine::Test(const FkissAction& action)
{
    const std::int32_t a = Value(action.args[0]);
    const std::int32_t b = Value(action.args[1]);
    switch (action.op)
    {
    case FkissOp::IfEqual:
    case FkissOp::ElseIfEqual:
        return a == b;
    case FkissOp::IfNotEqual:
    case FkissOp::ElseIfNotEqual:
        return a != b;
    case FkissOp::IfGreaterThan:
    case FkissOp::ElseIfGreaterThan:
        return a > b;
    default:
        return a < b;
    }
}

FkissEngine::Flow FkissEngine::RunHandler(int handler, int gosubDepth)
{
    std::size_t current = static_cast<std::size_t>(handler);
    std::size_t pc = 0;
    while (true)
    {
        const auto& actions = m_script.handlers[current].actions;
        if (pc >= actions.size())
            return Flow::Next;
        const FkissAction& action = actions[pc];
        if (m_budget <= 0)
        {
            Report(action.line, "more than " + std::to_string(kMaxActionsPerEvent) +
                                    " actions in one event; stopped");
            m_stopped = true;
            return Flow::Exit;
        }
        --m_budget;
        switch (action.op)
        {
        case FkissOp::IfEqual:
        case FkissOp::IfNotEqual:
        case FkissOp::IfGreaterThan:
        case FkissOp::IfLessThan:
            pc = Test(action) ? pc + 1 : FalseBranch(actions, action.jump, action.end);
            break;
        case FkissOp::Else:
        case FkissOp::ElseIfEqual:
        case FkissOp::ElseIfNotEqual:
        case FkissOp::ElseIfGreaterThan:
        case FkissOp::ElseIfLessThan:
            // Reached at the end of the branch that ran: skip the others.
            pc = static_cast<std::size_t>(action.end);
            break;
        case FkissOp::Goto:
        case FkissOp::Gosub:
        case FkissOp::GotoRandom:
        case FkissOp::GosubRandom:
        {
            const bool random =
                action.op == FkissOp::GotoRandom || action.op == FkissOp::GosubRandom;
            const FkissArg& target =
                !random ? action.args[0]
                        : (RandomBetween(0, 99) < Value(action.args[0]) ? action.args[1]
                                                                        : action.args[2]);
            const auto label = m_labels.find(AlarmKey(target));
            if (label == m_labels.end())
            {
                Report(action.line, "no label " + AlarmKey(target));
                ++pc;
                break;
            }
            if (action.op == FkissOp::Goto || action.op == FkissOp::GotoRandom)
            {
                current = static_cast<std::size_t>(label->second.front());
                pc = 0;
                break;
            }
            if (gosubDepth >= kMaxGosubDepth)
            {
                Report(action.line, "gosub nested more than " + std::to_string(kMaxGosubDepth) +
                                        " deep; stopped");
                m_stopped = true;
                return Flow::Exit;
            }
            if (RunHandler(label->second.front(), gosubDepth + 1) == Flow::Exit)
                return Flow::Exit;
            ++pc;
            break;
        }
        case FkissOp::ExitEvent:
            return Flow::Exit;
        default:
            Execute(action);
            if (m_stopped || m_quit)
                return Flow::Exit;
            ++pc;
            break;
        }
    }
}

void FkissEngine::ChangeSet(std::int32_t set)
{
    if (m_stage.SelectSet(set))
        FireSetEvents();
}

void FkissEngine::ChangeCol(std::int32_t group)
{
    if (m_stage.SelectPaletteGroup(group))
        FirePaletteEvents();
}

void FkissEngine::SetSelected()
{
    if (BeginUserEvent())
        FireSetEvents();
}

void FkissEngine::PaletteGroupSelected()
{
    if (BeginUserEvent())
        FirePaletteEvents();
}

void FkissEngine::FireSetEvents()
{
    FireKeyed(FkissOp::Set, m_stage.CurrentSet());
    if (m_stage.CurrentPaletteGroup() != m_lastGroup)
        FirePaletteEvents();
}

void FkissEngine::FirePaletteEvents()
{
    m_lastGroup = m_stage.CurrentPaletteGroup();
    FireKeyed(FkissOp::Col, static_cast<std::int32_t>(m_lastGroup));
}

void FkissEngine::PlaySound(const FkissAction& action, bool music)
{
    const std::string name = action.args.empty() ? std::string() : action.args[0].text;
    if (!m_player)
        return;
    if (music && name.empty())
    {
        m_player->StopMusic();
        return;
    }
    const auto bytes = m_files ? m_files->Read(name) : std::nullopt;
    if (!bytes)
    {
        Report(action.line, "cannot open sound file " + name);
        return;
    }
    std::string error;
    const bool played = music ? m_player->PlayMusic(name, *bytes, &error)
                              : m_player->PlaySound(name, *bytes, &error);
    if (!played)
        // Players name the file in their reasons.
        Report(action.line, "cannot play " + (error.empty() ? name : error));
}

void FkissEngine::Execute(const FkissAction& action)
{
    const auto& args = action.args;
    const auto arg = [&](std::size_t i) { return Value(args[i]); };
    switch (action.op)
    {
    case FkissOp::Map:
    case FkissOp::Unmap:
    case FkissOp::AltMap:
        for (const int cel : CelsOf(args[0]))
        {
            CelState& state = m_cels[static_cast<std::size_t>(cel)];
            state.mapped = action.op == FkissOp::AltMap ? !state.mapped : action.op == FkissOp::Map;
            PushCel(cel);
        }
        break;
    case FkissOp::Ghost:
        for (const int cel : CelsOf(args[0]))
        {
            m_cels[static_cast<std::size_t>(cel)].ghosted = arg(1) != 0;
            PushCel(cel);
        }
        break;
    case FkissOp::Transparent:
        for (const int cel : CelsOf(args[0]))
        {
            CelState& state = m_cels[static_cast<std::size_t>(cel)];
            state.transparency = static_cast<std::int32_t>(
                std::clamp<std::int64_t>(std::int64_t{state.transparency} + arg(1), 0, 255));
            PushCel(cel);
        }
        break;
    case FkissOp::Move:
        for (const std::int32_t object : ObjectsOf(args[0]))
            MoveObjectBy(object, arg(1), arg(2), MoveKind::Script);
        break;
    case FkissOp::MoveTo:
        for (const std::int32_t object : ObjectsOf(args[0]))
        {
            const Point at = m_stage.ObjectPosition(object);
            MoveObjectBy(object, std::int64_t{arg(1)} - at.x, std::int64_t{arg(2)} - at.y,
                         MoveKind::Script);
        }
        break;
    case FkissOp::MoveByX:
    case FkissOp::MoveByY:
    {
        const auto reference = ObjectsOf(args[1]);
        if (reference.empty())
            break;
        const Point to = m_stage.ObjectPosition(reference.front());
        for (const std::int32_t object : ObjectsOf(args[0]))
        {
            const Point at = m_stage.ObjectPosition(object);
            if (action.op == FkissOp::MoveByX)
                MoveObjectBy(object, std::int64_t{to.x} + arg(2) - at.x, 0, MoveKind::Script);
            else
                MoveObjectBy(object, 0, std::int64_t{to.y} + arg(2) - at.y, MoveKind::Script);
        }
        break;
    }
    case FkissOp::MoveRandX:
    case FkissOp::MoveRandY:
        for (const std::int32_t object : ObjectsOf(args[0]))
        {
            const std::int32_t step = RandomBetween(arg(1), arg(2));
            if (action.op == FkissOp::MoveRandX)
                MoveObjectBy(object, step, 0, MoveKind::Script);
            else
                MoveObjectBy(object, 0, step, MoveKind::Script);
        }
        break;
    case FkissOp::MoveToRand:
        for (const std::int32_t object : ObjectsOf(args[0]))
        {
            ObjectState* state = Object(object);
            const Point at = m_stage.ObjectPosition(object);
            const Rect box = BoxOf(state->cels);
            const Point screen = m_stage.ScreenSize();
            const std::int32_t offsetX = box.IsEmpty() ? 0 : box.left - at.x;
            const std::int32_t offsetY = box.IsEmpty() ? 0 : box.top - at.y;
            const std::int32_t x = RandomBetween(0, std::max(0, screen.x - box.Width())) - offsetX;
            const std::int32_t y = RandomBetween(0, std::max(0, screen.y - box.Height())) - offsetY;
            MoveObjectBy(object, std::int64_t{x} - at.x, std::int64_t{y} - at.y, MoveKind::Script);
        }
        break;
    case FkissOp::Sound:
        PlaySound(action, false);
        break;
    case FkissOp::Music:
        PlaySound(action, true);
        break;
    case FkissOp::Timer:
        SetTimer(AlarmKey(args[0]), arg(1));
        break;
    case FkissOp::RandomTimer:
    {
        const std::int32_t range = std::max(arg(2), 0);
        if (arg(1) <= 0 && range == 0)
            SetTimer(AlarmKey(args[0]), 0);
        else
            SetTimer(AlarmKey(args[0]),
                     std::max<std::int64_t>(1, std::int64_t{arg(1)} + RandomBetween(0, range)));
        break;
    }
    case FkissOp::IfFixed:
    case FkissOp::IfNotFixed:
    case FkissOp::IfMapped:
    case FkissOp::IfNotMapped:
    case FkissOp::IfMoved:
    case FkissOp::IfNotMoved:
    {
        bool condition = false;
        if (action.op == FkissOp::IfMapped || action.op == FkissOp::IfNotMapped)
        {
            condition = AnyMapped(args[0]);
        }
        else
        {
            for (const std::int32_t object : ObjectsOf(args[0]))
            {
                if (action.op == FkissOp::IfFixed || action.op == FkissOp::IfNotFixed)
                    condition = condition || m_stage.ObjectFix(object) > 0;
                else
                    condition = condition || !(m_stage.ObjectPosition(object) ==
                                               m_stage.InitialPosition(object));
            }
        }
        const bool wanted = action.op == FkissOp::IfFixed || action.op == FkissOp::IfMapped ||
                            action.op == FkissOp::IfMoved;
        if (condition == wanted)
            SetTimer(AlarmKey(args[1]), arg(2));
        break;
    }
    case FkissOp::SetFix:
        for (const std::int32_t object : ObjectsOf(args[0]))
            m_stage.SetObjectFix(object, std::max(arg(1), 0));
        break;
    case FkissOp::ChangeSet:
        ChangeSet(arg(0));
        break;
    case FkissOp::ChangeCol:
        ChangeCol(arg(0));
        break;
    case FkissOp::Quit:
        m_quitCalled = true;
        if (m_closing)
        {
            // Asked again while closing: nothing more runs.
            m_quit = true;
            m_timers.Clear();
        }
        else
        {
            BeginClose();
            m_stopped = true;
        }
        m_host.CloseSet();
        break;
    case FkissOp::Debug:
    case FkissOp::Notify:
        m_host.ShowText(action.line, args[0].text);
        break;
    case FkissOp::Viewport:
        m_host.ScrollTo(Point{arg(0), arg(1)});
        break;
    case FkissOp::WindowSize:
        m_host.ResizePlayField(Point{arg(0), arg(1)});
        break;
    case FkissOp::Let:
        SetVariable(args[0], arg(1));
        break;
    case FkissOp::Add:
        SetVariable(args[0],
                    Wrap(static_cast<std::uint32_t>(arg(1)) + static_cast<std::uint32_t>(arg(2))));
        break;
    case FkissOp::Sub:
        SetVariable(args[0],
                    Wrap(static_cast<std::uint32_t>(arg(1)) - static_cast<std::uint32_t>(arg(2))));
        break;
    case FkissOp::Mul:
        SetVariable(args[0],
                    Wrap(static_cast<std::uint32_t>(arg(1)) * static_cast<std::uint32_t>(arg(2))));
        break;
    case FkissOp::Div:
    case FkissOp::Mod:
    {
        const std::int64_t a = arg(1);
        const std::int64_t b = arg(2);
        if (b == 0)
        {
            SetVariable(args[0], 0);
            FireEvent(FkissOp::Overflow);
            break;
        }
        const std::int64_t result = action.op == FkissOp::Div ? a / b : a % b;
        SetVariable(args[0], Wrap(static_cast<std::uint32_t>(result)));
        break;
    }
    case FkissOp::Random:
        SetVariable(args[0], RandomBetween(arg(1), arg(2)));
        break;
    case FkissOp::LetCatch:
        SetVariable(args[0], m_heldCel >= 0 ? m_stage.ObjectOf(m_heldCel) : -1);
        break;
    case FkissOp::LetCollide:
        SetVariable(args[0], Collide(args[1], args[2]) ? 1 : 0);
        break;
    case FkissOp::LetInside:
        SetVariable(args[0], Inside(args[1], args[2]) ? 1 : 0);
        break;
    case FkissOp::LetFix:
    {
        const auto objects = ObjectsOf(args[1]);
        SetVariable(args[0], objects.empty() ? 0 : m_stage.ObjectFix(objects.front()));
        break;
    }
    case FkissOp::LetMapped:
        SetVariable(args[0], AnyMapped(args[1]) ? 1 : 0);
        break;
    case FkissOp::LetMouseX:
        SetVariable(args[0], m_mouse.x);
        break;
    case FkissOp::LetMouseY:
        SetVariable(args[0], m_mouse.y);
        break;
    case FkissOp::LetObjectX:
    case FkissOp::LetObjectY:
    case FkissOp::LetInitX:
    case FkissOp::LetInitY:
    {
        const auto objects = ObjectsOf(args[1]);
        Point at;
        if (!objects.empty())
            at = action.op == FkissOp::LetObjectX || action.op == FkissOp::LetObjectY
                     ? m_stage.ObjectPosition(objects.front())
                     : m_stage.InitialPosition(objects.front());
        SetVariable(args[0], action.op == FkissOp::LetObjectX || action.op == FkissOp::LetInitX
                                 ? at.x
                                 : at.y);
        break;
    }
    case FkissOp::LetWidth:
    case FkissOp::LetHeight:
    {
        Rect box;
        for (const int cel : CelsOf(args[1]))
            box = Rect::Union(box, m_stage.CelBounds(cel));
        SetVariable(args[0], action.op == FkissOp::LetWidth ? box.Width() : box.Height());
        break;
    }
    case FkissOp::LetPal:
        SetVariable(args[0], static_cast<std::int32_t>(m_stage.CurrentPaletteGroup()));
        break;
    case FkissOp::LetSet:
        SetVariable(args[0], m_stage.CurrentSet());
        break;
    case FkissOp::LetTransparent:
    {
        const auto& cels = CelsOf(args[1]);
        SetVariable(args[0],
                    cels.empty() ? 0 : m_cels[static_cast<std::size_t>(cels.front())].transparency);
        break;
    }
    case FkissOp::LetTimer:
    {
        const std::optional<std::int64_t> due = m_timers.DueOf(AlarmKey(args[1]));
        SetVariable(args[0], due ? Saturate(*due - m_now) : 0);
        break;
    }
    case FkissOp::Attach:
    case FkissOp::Glue:
    {
        const auto children = ObjectsOf(args[0]);
        const auto parents = ObjectsOf(args[1]);
        if (parents.empty())
            break;
        for (const std::int32_t child : children)
        {
            // Refuse a loop: the parent may not hang from the child.
            bool loop = false;
            for (std::int32_t up = parents.front(); up >= 0 && !loop;)
            {
                loop = up == child;
                const ObjectState* above = Object(up);
                up = above ? above->parent : -1;
            }
            if (loop)
            {
                Report(action.line, "attach would make a loop");
                continue;
            }
            ObjectState& state = *Object(child);
            const bool leaves = state.parent >= 0 && state.parent != parents.front();
            state.parent = parents.front();
            state.glued = action.op == FkissOp::Glue;
            if (leaves)
                FireDetached(child);
        }
        break;
    }
    case FkissOp::Detach:
        for (const std::int32_t child : ObjectsOf(args[0]))
        {
            ObjectState& state = *Object(child);
            const bool leaves = state.parent >= 0;
            state.parent = -1;
            state.glued = false;
            if (leaves)
                FireDetached(child);
        }
        break;
    case FkissOp::LetParent:
    case FkissOp::LetChild:
    case FkissOp::LetSibling:
    {
        const auto objects = ObjectsOf(args[1]);
        std::int32_t result = -1;
        if (!objects.empty())
        {
            const std::int32_t object = objects.front();
            const std::int32_t parent = Object(object)->parent;
            if (action.op == FkissOp::LetParent)
            {
                result = parent;
            }
            else
            {
                const std::int32_t wantedParent = action.op == FkissOp::LetChild ? object : parent;
                for (const auto& [other, state] : m_objects)
                {
                    const bool after = action.op == FkissOp::LetChild || other > object;
                    if (wantedParent >= 0 && state.parent == wantedParent && after)
                    {
                        result = other;
                        break;
                    }
                }
            }
        }
        SetVariable(args[0], result);
        break;
    }
    case FkissOp::LetKey:
        SetVariable(args[0], m_lastKey);
        break;
    case FkissOp::LetKeyMap:
    {
        std::int32_t found = -1;
        const std::string& keys = args[1].text;
        for (std::size_t i = 0; i < keys.size() && found < 0; ++i)
        {
            if (m_keysDown.contains(CanonicalKey(keys.substr(i, 1))))
                found = static_cast<std::int32_t>(i);
        }
        SetVariable(args[0], found);
        break;
    }
    case FkissOp::RestrictX:
    case FkissOp::RestrictY:
        for (const std::int32_t object : ObjectsOf(args[0]))
        {
            auto& limit = action.op == FkissOp::RestrictX ? Object(object)->restrictX
                                                          : Object(object)->restrictY;
            // A minimum above the maximum is how sets lift a restriction.
            if (arg(1) <= arg(2))
                limit = std::make_pair(arg(1), arg(2));
            else
                limit.reset();
        }
        break;
    case FkissOp::SetFrame:
    {
        const std::int32_t frame = arg(1);
        if (args[0].kind == Kind::Group)
            m_groupFrames[args[0].text] = frame;
        for (const int cel : CelsOf(args[0]))
        {
            CelState& state = m_cels[static_cast<std::size_t>(cel)];
            if (state.frames.empty())
                continue;
            state.mapped =
                std::find(state.frames.begin(), state.frames.end(), frame) != state.frames.end();
            PushCel(cel);
        }
        break;
    }
    case FkissOp::LetFrame:
    {
        const auto found = m_groupFrames.find(args[1].text);
        SetVariable(args[0], found == m_groupFrames.end() ? 0 : found->second);
        break;
    }
    default:
        break;
    }
}

// ---- The user's actions -----------------------------------------------------------------------

void FkissEngine::Press(int cel, Point point)
{
    if (cel < 0 || static_cast<std::size_t>(cel) >= m_cels.size() || !BeginUserEvent())
        return;
    m_mouse = point;
    m_heldCel = cel;
    m_holdMoved.clear();
    FireForCel(FkissOp::Press, cel);
    const bool fixed = m_stage.ObjectFix(m_stage.ObjectOf(cel)) > 0;
    FireForCel(fixed ? FkissOp::FixCatch : FkissOp::Catch, cel);
    m_holdBefore = CollisionStates();
    m_holdMoved.clear();
}

void FkissEngine::Drag(int cel, std::int32_t dx, std::int32_t dy)
{
    if (cel < 0 || static_cast<std::size_t>(cel) >= m_cels.size())
        return;
    // While the set closes the object still follows the hand, but the code hears nothing.
    const bool live = BeginUserEvent();
    std::int32_t object = m_stage.ObjectOf(cel);
    // A glued object takes its parent along instead of moving alone.
    for (ObjectState* state = Object(object); state && state->glued && state->parent >= 0;
         state = Object(object))
        object = state->parent;
    ObjectState* state = Object(object);
    const bool detaching = state && state->parent >= 0;
    if (detaching)
        state->parent = -1;
    m_dragging = live;
    MoveObjectBy(object, dx, dy, MoveKind::Follow);
    m_dragging = false;
    if (detaching && live)
        FireDetached(object);
}

void FkissEngine::Unfixed(int cel)
{
    if (cel >= 0 && static_cast<std::size_t>(cel) < m_cels.size() && BeginUserEvent())
        FireForCel(FkissOp::Unfix, cel);
}

void FkissEngine::Release(int cel, Point point)
{
    m_mouse = point;
    if (cel < 0 || static_cast<std::size_t>(cel) >= m_cels.size() || !BeginUserEvent())
    {
        m_heldCel = -1;
        return;
    }
    if (!m_holdMoved.empty())
    {
        const std::set<std::int32_t> moved = std::move(m_holdMoved);
        m_holdMoved.clear();
        m_heldCel = -1;
        FireCollisions(m_holdBefore, moved);
    }
    m_heldCel = -1;
    FireForCel(FkissOp::Release, cel);
    const bool fixed = m_stage.ObjectFix(m_stage.ObjectOf(cel)) > 0;
    FireForCel(fixed ? FkissOp::FixDrop : FkissOp::Drop, cel);
}

void FkissEngine::MouseMoved(Point point)
{
    m_mouse = point;
    if (BeginUserEvent())
        FireMouseCrossings(&point);
}

void FkissEngine::MouseLeft()
{
    if (BeginUserEvent())
        FireMouseCrossings(nullptr);
}

void FkissEngine::FireMouseCrossings(const Point* point)
{
    std::vector<int> fired;
    for (std::size_t i = 0; i < m_mouseHandlers.size(); ++i)
    {
        const FkissHandler& h = m_script.handlers[static_cast<std::size_t>(m_mouseHandlers[i])];
        bool inside = false;
        for (const int cel : CelsOf(h.args[0]))
        {
            inside =
                inside || (point && m_cels[static_cast<std::size_t>(cel)].mapped &&
                           m_stage.InCurrentSet(cel) && m_stage.OpaqueAt(cel, point->x, point->y));
        }
        const bool wasInside = m_mouseInside[i] != 0;
        m_mouseInside[i] = inside ? 1 : 0;
        if (inside != wasInside && (h.event == FkissOp::MouseIn) == inside)
            fired.push_back(m_mouseHandlers[i]);
    }
    Fire(fired);
}

bool FkissEngine::KeyPress(std::string_view key)
{
    if (!BeginUserEvent())
        return false;
    const std::string name = CanonicalKey(key);
    m_keysDown.insert(name);
    m_lastKey = KeyCode(name);
    std::vector<int> matching;
    for (const int handler : m_handlersByEvent[static_cast<std::size_t>(FkissOp::KeyPress)])
    {
        if (CanonicalKey(m_script.handlers[static_cast<std::size_t>(handler)].args[0].text) == name)
            matching.push_back(handler);
    }
    Fire(matching);
    return !matching.empty();
}

bool FkissEngine::KeyRelease(std::string_view key)
{
    if (!BeginUserEvent())
        return false;
    const std::string name = CanonicalKey(key);
    m_keysDown.erase(name);
    std::vector<int> matching;
    for (const int handler : m_handlersByEvent[static_cast<std::size_t>(FkissOp::KeyRelease)])
    {
        if (CanonicalKey(m_script.handlers[static_cast<std::size_t>(handler)].args[0].text) == name)
            matching.push_back(handler);
    }
    Fire(matching);
    return !matching.empty();
}
