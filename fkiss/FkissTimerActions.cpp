// FkissEngine: timer, randomtimer, the timer ifs and quit.
#include "fkiss/FkissEngine.h"

#include <algorithm>

void FkissEngine::SetTimer(const std::string& key, std::int64_t ms)
{
    if (ms <= 0)
        m_timers.Cancel(key);
    else
        m_timers.Set(key, m_now + ms);
}

void FkissEngine::StartTimer(const FkissAction& action)
{
    SetTimer(AlarmKey(action.args[0]), Value(action.args[1]));
}

void FkissEngine::StartRandomTimer(const FkissAction& action)
{
    const std::int32_t least = Value(action.args[1]);
    const std::int32_t range = std::max(Value(action.args[2]), 0);
    if (least <= 0 && range == 0)
        SetTimer(AlarmKey(action.args[0]), 0);
    else
        SetTimer(AlarmKey(action.args[0]),
                 std::max<std::int64_t>(1, std::int64_t{least} + RandomBetween(0, range)));
}

void FkissEngine::TimerIf(const FkissAction& action)
{
    const FkissOp op = action.op;
    bool condition = false;
    if (op == FkissOp::IfMapped || op == FkissOp::IfNotMapped)
    {
        condition = AnyMapped(action.args[0]);
    }
    else
    {
        for (const std::int32_t object : ObjectsOf(action.args[0]))
        {
            if (op == FkissOp::IfFixed || op == FkissOp::IfNotFixed)
                condition = condition || m_stage.ObjectFix(object) > 0;
            else
                condition = condition ||
                            !(m_stage.ObjectPosition(object) == m_stage.InitialPosition(object));
        }
    }
    const bool wanted = op == FkissOp::IfFixed || op == FkissOp::IfMapped || op == FkissOp::IfMoved;
    if (condition == wanted)
        SetTimer(AlarmKey(action.args[1]), Value(action.args[2]));
}

void FkissEngine::Quit()
{
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
}
