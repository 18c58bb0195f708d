// FkissEngine: the user's presses, drags, releases, pointer moves and keys.
#include "fkiss/FkissEngine.h"

#include "fkiss/KeyNames.h"

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
    // A glued object takes its parent along instead of moving alone; an attached one comes
    // loose.
    const std::int32_t object = m_tree.DragRoot(m_stage.ObjectOf(cel));
    const bool detaching = m_tree.Contains(object) && m_tree.Detach(object);
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

std::vector<int> FkissEngine::KeyHandlers(FkissOp event, const std::string& name) const
{
    std::vector<int> matching;
    for (const int handler : HandlersOf(event))
    {
        if (CanonicalKey(m_script.handlers[static_cast<std::size_t>(handler)].args[0].text) == name)
            matching.push_back(handler);
    }
    return matching;
}

bool FkissEngine::KeyPress(std::string_view key)
{
    if (!BeginUserEvent())
        return false;
    const std::string name = CanonicalKey(key);
    m_keysDown.insert(name);
    m_lastKey = KeyCode(name);
    const std::vector<int> matching = KeyHandlers(FkissOp::KeyPress, name);
    Fire(matching);
    return !matching.empty();
}

bool FkissEngine::KeyRelease(std::string_view key)
{
    if (!BeginUserEvent())
        return false;
    const std::string name = CanonicalKey(key);
    m_keysDown.erase(name);
    const std::vector<int> matching = KeyHandlers(FkissOp::KeyRelease, name);
    Fire(matching);
    return !matching.empty();
}
