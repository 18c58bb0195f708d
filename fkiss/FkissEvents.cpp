// FkissEngine: finding the handlers of an event and running them.
#include "fkiss/FkissEngine.h"

#include <algorithm>
#include <cassert>

const std::vector<int>& FkissEngine::HandlersOf(FkissOp event) const
{
    assert(IsFkissEvent(event));
    return m_handlersByEvent[static_cast<std::size_t>(event)];
}

void FkissEngine::FireEvent(FkissOp event)
{
    Fire(HandlersOf(event));
}

void FkissEngine::FireKeyed(FkissOp event, std::int32_t key)
{
    // set(*) and col(*) come after the handlers of the number itself.
    std::vector<int> matching;
    std::vector<int> generic;
    for (const int handler : HandlersOf(event))
    {
        const FkissArg& arg = m_script.handlers[static_cast<std::size_t>(handler)].args[0];
        if (arg.kind == FkissArg::Kind::Any)
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
    for (const int handler : HandlersOf(FkissOp::Detached))
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
    for (const int handler : HandlersOf(event))
    {
        if (Matches(m_script.handlers[static_cast<std::size_t>(handler)].args[0], cel))
            matching.push_back(handler);
    }
    Fire(matching);
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

void FkissEngine::Fire(const std::vector<int>& handlers)
{
    if (handlers.empty() || !m_running || m_quit)
        return;
    if (m_depth >= kMaxEventDepth)
    {
        Report(m_script.handlers[static_cast<std::size_t>(handlers.front())].line,
               ProblemKind::FkissEventsTooDeep, {std::to_string(kMaxEventDepth)});
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
            Report(action.line, ProblemKind::FkissTooManyActions,
                   {std::to_string(kMaxActionsPerEvent)});
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
                Report(action.line, ProblemKind::FkissNoLabel, {AlarmKey(target)});
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
                Report(action.line, ProblemKind::FkissGosubTooDeep,
                       {std::to_string(kMaxGosubDepth)});
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
            // Every other action is carried out where its family lives.
            Execute(action);
            if (m_stopped || m_quit)
                return Flow::Exit;
            ++pc;
            break;
        }
    }
}
