#pragma once

#include <algorithm>
#include <cstdint>

/// Left, top, right, bottom; right and bottom are exclusive.
struct Rect
{
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;

    constexpr std::int32_t Width() const { return right - left; }
    constexpr std::int32_t Height() const { return bottom - top; }
    constexpr bool IsEmpty() const { return right <= left || bottom <= top; }
    constexpr bool Contains(std::int32_t x, std::int32_t y) const
    {
        return x >= left && x < right && y >= top && y < bottom;
    }
    constexpr void SetEmpty() { left = top = right = bottom = 0; }
    constexpr void Offset(std::int32_t dx, std::int32_t dy)
    {
        left += dx;
        right += dx;
        top += dy;
        bottom += dy;
    }

    /// The common part; an empty rectangle (all zero) when there is none.
    static constexpr Rect Intersect(const Rect& a, const Rect& b)
    {
        Rect r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
               std::min(a.bottom, b.bottom)};
        if (r.IsEmpty())
            r.SetEmpty();
        return r;
    }

    /// The bounding rectangle; an empty operand does not count.
    static constexpr Rect Union(const Rect& a, const Rect& b)
    {
        if (a.IsEmpty())
            return b.IsEmpty() ? Rect{} : b;
        if (b.IsEmpty())
            return a;
        return Rect{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                    std::max(a.bottom, b.bottom)};
    }

    friend constexpr bool operator==(const Rect&, const Rect&) = default;
};

struct Point
{
    std::int32_t x = 0;
    std::int32_t y = 0;
    friend constexpr bool operator==(const Point&, const Point&) = default;
};
