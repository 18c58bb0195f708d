// FkissEngine: what an action's arguments stand for, and the geometry of the cels they name.
#include "fkiss/FkissEngine.h"

#include "fkiss/FkissNames.h"

#include <algorithm>

namespace
{

using Kind = FkissArg::Kind;

bool NamesObject(const FkissArg& arg)
{
    return arg.kind == Kind::Object || arg.kind == Kind::Variable;
}

/// Touching edges count as overlapping; an empty box overlaps nothing.
bool BoxesMeet(const Rect& a, const Rect& b)
{
    return !a.IsEmpty() && !b.IsEmpty() && a.left <= b.right && b.left <= a.right &&
           a.top <= b.bottom && b.top <= a.bottom;
}

} // namespace

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
    if (NamesObject(arg))
        return m_tree.CelsOf(Value(arg));
    const auto& map = arg.kind == Kind::Group ? m_celsByGroup : m_celsByName;
    const auto found = map.find(arg.kind == Kind::Group ? arg.text : LowerAscii(arg.text));
    return found == map.end() ? kNone : found->second;
}

std::vector<std::int32_t> FkissEngine::ObjectsOf(const FkissArg& arg) const
{
    if (NamesObject(arg))
    {
        const std::int32_t object = Value(arg);
        return m_tree.Contains(object) ? std::vector<std::int32_t>{object}
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
    if (NamesObject(arg))
        return m_stage.ObjectOf(cel) == Value(arg);
    const auto& cels = CelsOf(arg);
    return std::find(cels.begin(), cels.end(), cel) != cels.end();
}

bool FkissEngine::AnyMapped(const FkissArg& arg) const
{
    // An object counts by its cels in the current set; a cel name by every cel of that file.
    const bool object = NamesObject(arg);
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
