// FkissEngine: watching pairs for in, out, stillin, stillout, collide and apart.
#include "fkiss/FkissEngine.h"

#include "fkiss/CollisionWatch.h"

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
