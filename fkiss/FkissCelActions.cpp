// FkissEngine: map, unmap, altmap, ghost, transparent and setframe.
#include "fkiss/FkissEngine.h"

#include <algorithm>

void FkissEngine::SetMapping(const FkissAction& action)
{
    for (const int cel : CelsOf(action.args[0]))
    {
        CelState& state = m_cels[static_cast<std::size_t>(cel)];
        state.mapped = action.op == FkissOp::AltMap ? !state.mapped : action.op == FkissOp::Map;
        PushCel(cel);
    }
}

void FkissEngine::SetGhost(const FkissAction& action)
{
    const bool ghosted = Value(action.args[1]) != 0;
    for (const int cel : CelsOf(action.args[0]))
    {
        m_cels[static_cast<std::size_t>(cel)].ghosted = ghosted;
        PushCel(cel);
    }
}

void FkissEngine::AddTransparency(const FkissAction& action)
{
    const std::int32_t step = Value(action.args[1]);
    for (const int cel : CelsOf(action.args[0]))
    {
        CelState& state = m_cels[static_cast<std::size_t>(cel)];
        state.transparency = static_cast<std::int32_t>(
            std::clamp<std::int64_t>(std::int64_t{state.transparency} + step, 0, 255));
        PushCel(cel);
    }
}

void FkissEngine::SetFrame(const FkissAction& action)
{
    const std::int32_t frame = Value(action.args[1]);
    if (action.args[0].kind == FkissArg::Kind::Group)
        m_groupFrames[action.args[0].text] = frame;
    for (const int cel : CelsOf(action.args[0]))
    {
        CelState& state = m_cels[static_cast<std::size_t>(cel)];
        // Cels without frames are not animated and keep their mapping.
        if (state.frames.empty())
            continue;
        state.mapped =
            std::find(state.frames.begin(), state.frames.end(), frame) != state.frames.end();
        PushCel(cel);
    }
}
