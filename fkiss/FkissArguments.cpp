// FkissEngine: what an action's arguments stand for.
#include "fkiss/FkissEngine.h"

#include "config/AsciiCase.h"

#include <algorithm>

using Kind = FkissArg::Kind;

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
    if (arg.NamesObject())
        return m_tree.CelsOf(Value(arg));
    const auto& map = arg.kind == Kind::Group ? m_celsByGroup : m_celsByName;
    const auto found = map.find(arg.kind == Kind::Group ? arg.text : LowerAscii(arg.text));
    return found == map.end() ? kNone : found->second;
}

std::vector<std::int32_t> FkissEngine::ObjectsOf(const FkissArg& arg) const
{
    if (arg.NamesObject())
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
    if (arg.NamesObject())
        return m_stage.ObjectOf(cel) == Value(arg);
    const auto& cels = CelsOf(arg);
    return std::find(cels.begin(), cels.end(), cel) != cels.end();
}
