#include "image/Zoom.h"

#include <algorithm>
#include <cmath>

namespace
{
std::int32_t Floor(double value)
{
    return static_cast<std::int32_t>(std::floor(value));
}

std::int32_t Ceil(double value)
{
    return static_cast<std::int32_t>(std::ceil(value));
}
} // namespace

Point ZoomMapping::ToPicture(Point window) const
{
    return Point{Floor(window.x * scale / zoom), Floor(window.y * scale / zoom)};
}

Rect ZoomMapping::ToWindow(const Rect& picture) const
{
    const double factor = zoom / scale;
    return Rect{Floor(picture.left * factor), Floor(picture.top * factor),
                Ceil(picture.right * factor), Ceil(picture.bottom * factor)};
}

Point ZoomMapping::WindowSize(Point picture) const
{
    const double factor = zoom / scale;
    return Point{Ceil(picture.x * factor), Ceil(picture.y * factor)};
}

int FitZoom(Point picture, Point window, double scale)
{
    int zoom = kMaxZoom;
    while (zoom > kMinZoom)
    {
        const Point size = ZoomMapping{zoom, scale}.WindowSize(picture);
        if (size.x <= window.x && size.y <= window.y)
            break;
        --zoom;
    }
    return zoom;
}

int DefaultZoom(double displayScale)
{
    return ClampZoom(static_cast<int>(std::lround(displayScale)));
}

int ClampZoom(int zoom)
{
    return std::clamp(zoom, kMinZoom, kMaxZoom);
}

namespace
{
/// What the window system holds in one bitmap: pixels a side, and bytes at 4 a pixel.
constexpr std::int64_t kMaxSide = 32767;
constexpr std::int64_t kMaxBytes = std::int64_t{512} << 20;
} // namespace

int LargestZoomFor(Point picture)
{
    int zoom = kMaxZoom;
    while (zoom > kMinZoom)
    {
        const std::int64_t width = std::int64_t{picture.x} * zoom;
        const std::int64_t height = std::int64_t{picture.y} * zoom;
        if (width <= kMaxSide && height <= kMaxSide && width * height * 4 <= kMaxBytes)
            break;
        --zoom;
    }
    return zoom;
}

Point ClampPlayField(Point size)
{
    const auto width = static_cast<std::int32_t>(std::min<std::int64_t>(size.x, kMaxSide));
    auto height = static_cast<std::int32_t>(std::min<std::int64_t>(size.y, kMaxSide));
    if (width > 0 && std::int64_t{width} * height * 4 > kMaxBytes)
        height = static_cast<std::int32_t>(kMaxBytes / 4 / width);
    return Point{width, height};
}
