#include "fkiss/FkissEngine.h"

#include "fkiss/CelTags.h"
#include "fkiss/CollisionWatch.h"
#include "config/AsciiCase.h"

#include <algorithm>
#include <chrono>

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
        m_tree.AddCel(stage.ObjectOf(cel), cel);
        m_celsByName[stage.CelName(cel)].push_back(cel);
    }
    ApplyCelTags();

    for (std::size_t i = 0; i < m_script.handlers.size(); ++i)
    {
        const FkissHandler& handler = m_script.handlers[i];
        const int index = static_cast<int>(i);
        if (handler.event == FkissOp::Alarm)
            m_alarms[HandlerKey(handler.args[0])].push_back(index);
        else if (handler.event == FkissOp::Label)
            m_labels[HandlerKey(handler.args[0])].push_back(index);
        else
            m_handlersByEvent.at(static_cast<std::size_t>(handler.event)).push_back(index);
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

void FkissEngine::ApplyCelTags()
{
    for (std::size_t i = 0; i < m_cels.size(); ++i)
    {
        const int cel = static_cast<int>(i);
        CelTags tags = ReadCelTags(m_stage.CelComment(cel));
        CelState& state = m_cels[i];
        state.transparency = 256 - m_stage.LineOpacity(cel);
        state.mapped = !tags.unmapped;
        state.ghosted = tags.ghosted;
        for (const std::string& group : tags.groups)
            m_celsByGroup[group].push_back(cel);
        state.frames = std::move(tags.frames);
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
    for (const int handler : HandlersOf(FkissOp::Version))
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
    const auto found = m_variables.find(LowerAscii(name));
    return found == m_variables.end() ? 0 : found->second;
}

void FkissEngine::Report(int line, ProblemKind kind, std::vector<std::string> args)
{
    FkissDiagnostic diagnostic{kind, m_script.fileName, line, std::move(args)};
    if (std::find(m_diagnostics.begin(), m_diagnostics.end(), diagnostic) == m_diagnostics.end())
        m_diagnostics.push_back(std::move(diagnostic));
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
