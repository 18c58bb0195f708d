#pragma once

#include "image/Rect.h"

#include <cstdint>
#include <optional>

class Scene;

/// The rules of one drag from the press to the release, in picture pixels. The pointer is held
/// within a limit that keeps the whole object on the screen. A fixed object is tugged on the
/// first move, which spends fix by the squared distance; while still fixed it follows the
/// pointer only by 256/(fix+3) of the way, and springs back at the release.
class ObjectDrag
{
public:
    ObjectDrag() = default;
    /// Holds the object of cel, pressed at press, on a screen of the given rectangle.
    ObjectDrag(const Scene& scene, const Rect& screen, int cel, Point press);

    struct Move
    {
        Point delta;           ///< by how much the object moves
        Point pointer;         ///< where the pointer counts as being: held to the limit, tugged
        bool loosened = false; ///< this move brought the fix to 0
    };
    /// The pointer moved to pointer.
    Move MoveTo(Scene& scene, Point pointer);
    /// Where a still-fixed object goes back to at the release; nothing once it came loose.
    std::optional<Point> SpringBack() const;

    int Cel() const { return m_cel; }
    std::int32_t Fix() const { return m_fix; }
    const Rect& Limit() const { return m_limit; }

private:
    int m_cel = -8;
    Rect m_limit;
    std::int32_t m_fix = 0;
    bool m_firstMove = true;
    Point m_last;
    Point m_press;
    Point m_pressPosition;
};
