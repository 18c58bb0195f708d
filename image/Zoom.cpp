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

int LargestZoomFor(Point picture)
{
    constexpr std::int64_t kMaxSide = 32767;
    constexpr std::int64_t kMaxBytes = std::int64_t{512} << 20;
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
