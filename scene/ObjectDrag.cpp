#include "scene/ObjectDrag.h"

#include "scene/Scene.h"

#include <algorithm>

ObjectDrag::ObjectDrag(const Scene& scene, const Rect& screen, int cel, Point press)
    : m_cel(cel), m_fix(scene.GetObjectFix(cel)), m_last(press), m_press(press),
      m_pressPosition(scene.GetCelPosition(cel))
{
    // Bound the pointer by the press offset inside the object and the object's extent; an
    // object larger than the screen gets the whole screen.
    const Point d{press.x - m_pressPosition.x, press.y - m_pressPosition.y};
    const Point e = scene.GetObjectExtent(cel);
    m_limit = Rect{screen.left + d.x, screen.top + d.y, screen.right - (e.x - d.x),
                   screen.bottom - (e.y - d.y)};
    if (m_limit.right < m_limit.left || m_limit.top > m_limit.bottom)
        m_limit = screen;
}

ObjectDrag::Move ObjectDrag::MoveTo(Scene& scene, Point p)
{
    Move move;
    if (!m_limit.Contains(p.x, p.y))
    {
        p.x = std::max(std::min(p.x, m_limit.right - 1), m_limit.left);
        p.y = std::max(std::min(p.y, m_limit.bottom - 1), m_limit.top);
    }
    if (m_fix > 0)
    {
        // Only the first move of a hold tugs at a fixed object.
        if (m_firstMove)
        {
            const std::int64_t dx = m_last.x - p.x;
            const std::int64_t dy = m_last.y - p.y;
            scene.ReduceObjectFix(m_cel, dx * dx + dy * dy);
        }
        m_fix = scene.GetObjectFix(m_cel);
        move.loosened = m_fix == 0;
        if (m_fix != 0)
        {
            const std::int64_t w = 256 / (std::int64_t{m_fix} + 3);
            p.x = static_cast<std::int32_t>((w * p.x + (256 - w) * m_press.x) / 256);
            p.y = static_cast<std::int32_t>((w * p.y + (256 - w) * m_press.y) / 256);
        }
    }
    move.delta = Point{p.x - m_last.x, p.y - m_last.y};
    move.pointer = p;
    m_last = p;
    m_firstMove = false;
    return move;
}

std::optional<Point> ObjectDrag::SpringBack() const
{
    if (m_fix > 0)
        return m_pressPosition;
    return std::nullopt;
}
