// FkissEngine: moving objects, and attach, glue, detach, restrict and setfix.
#include "fkiss/FkissEngine.h"

#include <algorithm>

void FkissEngine::MoveObjectBy(std::int32_t object, std::int64_t dx, std::int64_t dy, MoveKind kind,
                               int depth)
{
    if (!m_tree.Contains(object) || depth > kMaxEventDepth)
        return;
    std::optional<std::pair<ObjectTree::Range, ObjectTree::Range>> field;
    if (kind == MoveKind::Script)
    {
        // A drag holds the pointer so that the whole object stays on the screen, short of its
        // last column and row; an object larger than the screen keeps a point on it.
        const Point screen = m_stage.ScreenSize();
        const Point extent = m_stage.ObjectExtent(object);
        const bool fits = extent.x <= screen.x && extent.y <= screen.y;
        field =
            std::pair{ObjectTree::Range{0, std::max<std::int64_t>(0, fits ? screen.x - extent.x - 1
                                                                          : screen.x - 1)},
                      ObjectTree::Range{0, std::max<std::int64_t>(0, fits ? screen.y - extent.y - 1
                                                                          : screen.y - 1)}};
    }
    const Point from = m_stage.ObjectPosition(object);
    const Point to = m_tree.Limit(object, from.x + dx, from.y + dy, field);
    if (to == from)
        return;
    if ((!m_collisionHandlers.empty() && !m_offScreen) || m_dragging)
        NoteMoved(object);
    m_stage.MoveObjectTo(object, to);
    const std::int64_t movedX = std::int64_t{to.x} - from.x;
    const std::int64_t movedY = std::int64_t{to.y} - from.y;
    for (const std::int32_t child : m_tree.ChildrenOf(object))
        MoveObjectBy(child, movedX, movedY, MoveKind::Follow, depth + 1);
}

void FkissEngine::MoveActions(const FkissAction& action)
{
    const auto& args = action.args;
    const auto value = [&](std::size_t i) { return Value(args[i]); };
    std::optional<Point> reference;
    if (action.op == FkissOp::MoveByX || action.op == FkissOp::MoveByY)
    {
        const auto objects = ObjectsOf(args[1]);
        if (objects.empty())
            return;
        reference = m_stage.ObjectPosition(objects.front());
    }
    for (const std::int32_t object : ObjectsOf(args[0]))
    {
        const Point at = m_stage.ObjectPosition(object);
        std::int64_t dx = 0;
        std::int64_t dy = 0;
        switch (action.op)
        {
        case FkissOp::MoveTo:
            dx = std::int64_t{value(1)} - at.x;
            dy = std::int64_t{value(2)} - at.y;
            break;
        case FkissOp::MoveByX:
            dx = std::int64_t{reference->x} + value(2) - at.x;
            break;
        case FkissOp::MoveByY:
            dy = std::int64_t{reference->y} + value(2) - at.y;
            break;
        case FkissOp::MoveRandX:
            dx = RandomBetween(value(1), value(2));
            break;
        case FkissOp::MoveRandY:
            dy = RandomBetween(value(1), value(2));
            break;
        case FkissOp::Move:
        default:
            dx = value(1);
            dy = value(2);
            break;
        }
        MoveObjectBy(object, dx, dy, MoveKind::Script);
    }
}

void FkissEngine::MoveToRandom(const FkissAction& action)
{
    for (const std::int32_t object : ObjectsOf(action.args[0]))
    {
        const Point at = m_stage.ObjectPosition(object);
        const Rect box = BoxOf(m_tree.CelsOf(object));
        const Point screen = m_stage.ScreenSize();
        const std::int32_t offsetX = box.IsEmpty() ? 0 : box.left - at.x;
        const std::int32_t offsetY = box.IsEmpty() ? 0 : box.top - at.y;
        const std::int32_t x = RandomBetween(0, std::max(0, screen.x - box.Width())) - offsetX;
        const std::int32_t y = RandomBetween(0, std::max(0, screen.y - box.Height())) - offsetY;
        MoveObjectBy(object, std::int64_t{x} - at.x, std::int64_t{y} - at.y, MoveKind::Script);
    }
}

void FkissEngine::SetFix(const FkissAction& action)
{
    const std::int32_t fix = std::max(Value(action.args[1]), 0);
    for (const std::int32_t object : ObjectsOf(action.args[0]))
        m_stage.SetObjectFix(object, fix);
}

void FkissEngine::Attach(const FkissAction& action)
{
    const auto children = ObjectsOf(action.args[0]);
    const auto parents = ObjectsOf(action.args[1]);
    if (parents.empty())
        return;
    const ObjectTree::Tie tie =
        action.op == FkissOp::Glue ? ObjectTree::Tie::Glue : ObjectTree::Tie::Attach;
    for (const std::int32_t child : children)
    {
        switch (m_tree.Attach(child, parents.front(), tie))
        {
        case ObjectTree::Attached::Loop:
            Report(action.line, ProblemKind::FkissAttachLoop);
            break;
        case ObjectTree::Attached::LeavingParent:
            FireDetached(child);
            break;
        case ObjectTree::Attached::Yes:
            break;
        }
    }
}

void FkissEngine::Detach(const FkissAction& action)
{
    for (const std::int32_t child : ObjectsOf(action.args[0]))
    {
        if (m_tree.Detach(child))
            FireDetached(child);
    }
}

void FkissEngine::Restrict(const FkissAction& action)
{
    const ObjectTree::Axis axis =
        action.op == FkissOp::RestrictX ? ObjectTree::Axis::X : ObjectTree::Axis::Y;
    for (const std::int32_t object : ObjectsOf(action.args[0]))
        m_tree.Restrict(object, axis, Value(action.args[1]), Value(action.args[2]));
}
