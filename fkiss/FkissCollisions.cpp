// FkissEngine: the geometry of what the code names, and watching pairs for in, out, stillin,
// stillout, collide and apart. One file, so that the tests run for every move inline.
#include "fkiss/FkissEngine.h"

#include "fkiss/CollisionWatch.h"

namespace
{

/// Touching edges count as overlapping; an empty box overlaps nothing.
bool BoxesMeet(const Rect& a, const Rect& b)
{
    return !a.IsEmpty() && !b.IsEmpty() && a.left <= b.right && b.left <= a.right &&
           a.top <= b.bottom && b.top <= a.bottom;
}

} // namespace

bool FkissEngine::AnyMapped(const FkissArg& arg) const
{
    // An object counts by its cels in the current set; a cel name by every cel of that file.
    const bool object = arg.NamesObject();
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
    return TestsPixels(h.event) ? Collide(h.args[0], h.args[1]) : Inside(h.args[0], h.args[1]);
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
        bool involved = false;
        for (const FkissArg& arg : h.args)
        {
            for (const std::int32_t object : ObjectsOf(arg))
                involved = involved || moved.contains(object);
        }
        if (CollisionFires(h.event, before[i] != 0, after[i] != 0, involved))
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
