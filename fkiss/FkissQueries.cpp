// FkissEngine: the let actions that read the state of the set into a variable.
#include "fkiss/FkissEngine.h"

#include "fkiss/KeyNames.h"

#include <algorithm>
#include <limits>

namespace
{

std::int32_t Saturate(std::int64_t value)
{
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(
        value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

} // namespace

void FkissEngine::LetQuery(const FkissAction& action)
{
    const auto& args = action.args;
    std::int32_t result = 0;
    switch (action.op)
    {
    case FkissOp::LetCatch:
        result = m_heldCel >= 0 ? m_stage.ObjectOf(m_heldCel) : -1;
        break;
    case FkissOp::LetCollide:
        result = Collide(args[1], args[2]) ? 1 : 0;
        break;
    case FkissOp::LetInside:
        result = Inside(args[1], args[2]) ? 1 : 0;
        break;
    case FkissOp::LetMapped:
        result = AnyMapped(args[1]) ? 1 : 0;
        break;
    case FkissOp::LetMouseX:
        result = m_mouse.x;
        break;
    case FkissOp::LetMouseY:
        result = m_mouse.y;
        break;
    case FkissOp::LetPal:
        result = static_cast<std::int32_t>(m_stage.CurrentPaletteGroup());
        break;
    case FkissOp::LetSet:
        result = m_stage.CurrentSet();
        break;
    case FkissOp::LetTransparent:
    {
        const auto& cels = CelsOf(args[1]);
        result = cels.empty() ? 0 : m_cels[static_cast<std::size_t>(cels.front())].transparency;
        break;
    }
    case FkissOp::LetTimer:
    {
        const std::optional<std::int64_t> due = m_timers.DueOf(AlarmKey(args[1]));
        result = due ? Saturate(*due - m_now) : 0;
        break;
    }
    case FkissOp::LetKey:
        result = m_lastKey;
        break;
    case FkissOp::LetFrame:
    default:
    {
        const auto found = m_groupFrames.find(args[1].text);
        result = found == m_groupFrames.end() ? 0 : found->second;
        break;
    }
    }
    SetVariable(args[0], result);
}

void FkissEngine::LetObjectQuery(const FkissAction& action)
{
    const FkissOp op = action.op;
    const auto& args = action.args;
    std::int32_t result = 0;
    if (op == FkissOp::LetWidth || op == FkissOp::LetHeight)
    {
        // Every cel counts, mapped or not.
        Rect box;
        for (const int cel : CelsOf(args[1]))
            box = Rect::Union(box, m_stage.CelBounds(cel));
        result = op == FkissOp::LetWidth ? box.Width() : box.Height();
    }
    else
    {
        const auto objects = ObjectsOf(args[1]);
        if (op == FkissOp::LetFix)
        {
            result = objects.empty() ? 0 : m_stage.ObjectFix(objects.front());
        }
        else
        {
            Point at;
            if (!objects.empty())
                at = op == FkissOp::LetObjectX || op == FkissOp::LetObjectY
                         ? m_stage.ObjectPosition(objects.front())
                         : m_stage.InitialPosition(objects.front());
            result = op == FkissOp::LetObjectX || op == FkissOp::LetInitX ? at.x : at.y;
        }
    }
    SetVariable(args[0], result);
}

void FkissEngine::LetTreeQuery(const FkissAction& action)
{
    const auto objects = ObjectsOf(action.args[1]);
    std::int32_t result = -1;
    if (!objects.empty())
    {
        const std::int32_t object = objects.front();
        if (action.op == FkissOp::LetParent)
            result = m_tree.Parent(object);
        else if (action.op == FkissOp::LetChild)
            result = m_tree.FirstChild(object);
        else
            result = m_tree.NextSibling(object);
    }
    SetVariable(action.args[0], result);
}

void FkissEngine::LetKeyMap(const FkissAction& action)
{
    std::int32_t found = -1;
    const std::string& keys = action.args[1].text;
    for (std::size_t i = 0; i < keys.size() && found < 0; ++i)
    {
        if (m_keysDown.contains(CanonicalKey(keys.substr(i, 1))))
            found = static_cast<std::int32_t>(i);
    }
    SetVariable(action.args[0], found);
}
