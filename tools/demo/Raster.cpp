#include "Raster.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace
{
// Pixels whose centres the bounding box may hold, clipped to the image.
struct Span
{
    int x0, y0, x1, y1;
};

Span Covered(const Shape& shape, int width, int height)
{
    return {std::max(0, static_cast<int>(std::floor(shape.left))),
            std::max(0, static_cast<int>(std::floor(shape.top))),
            std::min(width, static_cast<int>(std::ceil(shape.right)) + 1),
            std::min(height, static_cast<int>(std::ceil(shape.bottom)) + 1)};
}

// Grows the bounding box of `shape` to take in another box.
void Include(Shape& shape, double left, double top, double right, double bottom)
{
    shape.left = std::min(shape.left, left);
    shape.top = std::min(shape.top, top);
    shape.right = std::max(shape.right, right);
    shape.bottom = std::max(shape.bottom, bottom);
}

std::uint8_t Mix(double top, double below, double topWeight, double belowWeight, double total)
{
    return static_cast<std::uint8_t>(std::lround((top * topWeight + below * belowWeight) / total));
}
} // namespace

Shape Ellipse(double cx, double cy, double rx, double ry)
{
    return {cx - rx, cy - ry, cx + rx, cy + ry,
            [=](double x, double y)
            {
                const double u = (x - cx) / rx;
                const double v = (y - cy) / ry;
                return u * u + v * v <= 1.0;
            }};
}

Shape Box(double left, double top, double right, double bottom)
{
    return {left, top, right, bottom,
            [=](double x, double y) { return x >= left && x < right && y >= top && y < bottom; }};
}

Shape Capsule(Point a, Point b, double r1, double r2)
{
    const double r = std::max(r1, r2);
    return {std::min(a.x, b.x) - r, std::min(a.y, b.y) - r, std::max(a.x, b.x) + r,
            std::max(a.y, b.y) + r,
            [=](double x, double y)
            {
                const double dx = b.x - a.x;
                const double dy = b.y - a.y;
                const double length = dx * dx + dy * dy;
                const double t =
                    length > 0 ? std::clamp(((x - a.x) * dx + (y - a.y) * dy) / length, 0.0, 1.0)
                               : 0.0;
                const double px = a.x + t * dx - x;
                const double py = a.y + t * dy - y;
                const double radius = r1 + (r2 - r1) * t;
                return px * px + py * py <= radius * radius;
            }};
}

Shape Polygon(std::vector<Point> points)
{
    Shape shape{points[0].x, points[0].y, points[0].x, points[0].y, {}};
    for (const Point& p : points)
        Include(shape, p.x, p.y, p.x, p.y);
    shape.inside = [points = std::move(points)](double x, double y)
    {
        bool in = false;
        for (std::size_t i = 0, j = points.size() - 1; i < points.size(); j = i++)
        {
            const Point& p = points[i];
            const Point& q = points[j];
            if ((p.y > y) != (q.y > y) && x < (q.x - p.x) * (y - p.y) / (q.y - p.y) + p.x)
                in = !in;
        }
        return in;
    };
    return shape;
}

Shape Union(std::vector<Shape> shapes)
{
    Shape shape = shapes[0];
    for (const Shape& s : shapes)
        Include(shape, s.left, s.top, s.right, s.bottom);
    shape.inside = [shapes = std::move(shapes)](double x, double y)
    { return std::ranges::any_of(shapes, [&](const Shape& s) { return s.inside(x, y); }); };
    return shape;
}

Shape Intersect(Shape a, Shape b)
{
    return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
            std::min(a.bottom, b.bottom),
            [a = a.inside, b = b.inside](double x, double y) { return a(x, y) && b(x, y); }};
}

Shape Minus(Shape a, Shape b)
{
    return {a.left, a.top, a.right, a.bottom,
            [a = a.inside, b = b.inside](double x, double y) { return a(x, y) && !b(x, y); }};
}

Shape Mirror(Shape shape, double axis)
{
    return {2 * axis - shape.right, shape.top, 2 * axis - shape.left, shape.bottom,
            [inside = std::move(shape.inside), axis](double x, double y)
            { return inside(2 * axis - x, y); }};
}

IndexedCanvas::IndexedCanvas(int width, int height)
    : m_width(width), m_height(height),
      m_colours(static_cast<std::size_t>(width) * static_cast<std::size_t>(height)),
      m_parts(m_colours.size()), m_lines(1)
{
}

void IndexedCanvas::Part(const Shape& shape, std::uint8_t fill, std::uint8_t line)
{
    const auto part = static_cast<std::uint16_t>(m_lines.size());
    m_lines.push_back(line);
    const Span span = Covered(shape, m_width, m_height);
    for (int y = span.y0; y < span.y1; ++y)
        for (int x = span.x0; x < span.x1; ++x)
            if (shape.inside(x + 0.5, y + 0.5))
            {
                const std::size_t i = static_cast<std::size_t>(y) * m_width + x;
                m_colours[i] = fill;
                m_parts[i] = part;
            }
}

void IndexedCanvas::Paint(const Shape& shape, std::uint8_t colour)
{
    const Span span = Covered(shape, m_width, m_height);
    for (int y = span.y0; y < span.y1; ++y)
        for (int x = span.x0; x < span.x1; ++x)
        {
            const std::size_t i = static_cast<std::size_t>(y) * m_width + x;
            if (m_parts[i] && shape.inside(x + 0.5, y + 0.5))
                m_colours[i] = colour;
        }
}

std::vector<std::uint8_t> IndexedCanvas::Pixels() const
{
    std::vector<std::uint8_t> pixels = m_colours;
    const auto partAt = [&](int x, int y) -> std::uint16_t
    {
        if (x < 0 || y < 0 || x >= m_width || y >= m_height)
            return 0;
        return m_parts[static_cast<std::size_t>(y) * m_width + x];
    };
    for (int y = 0; y < m_height; ++y)
        for (int x = 0; x < m_width; ++x)
        {
            const std::uint16_t part = partAt(x, y);
            // The later part of two neighbours carries the line between them, so it is one
            // pixel wide.
            if (part && (partAt(x - 1, y) < part || partAt(x + 1, y) < part ||
                         partAt(x, y - 1) < part || partAt(x, y + 1) < part))
                pixels[static_cast<std::size_t>(y) * m_width + x] = m_lines[part];
        }
    return pixels;
}

TrueColourCanvas::TrueColourCanvas(int width, int height)
    : m_width(width), m_height(height),
      m_pixels(4 * static_cast<std::size_t>(width) * static_cast<std::size_t>(height))
{
}

void TrueColourCanvas::Fill(const Shape& shape, Rgba colour)
{
    constexpr int kSamples = 4;
    const Span span = Covered(shape, m_width, m_height);
    for (int y = span.y0; y < span.y1; ++y)
        for (int x = span.x0; x < span.x1; ++x)
        {
            int hits = 0;
            for (int sy = 0; sy < kSamples; ++sy)
                for (int sx = 0; sx < kSamples; ++sx)
                    hits += shape.inside(x + (sx + 0.5) / kSamples, y + (sy + 0.5) / kSamples);
            if (!hits)
                continue;
            std::uint8_t* d = &m_pixels[4 * (static_cast<std::size_t>(y) * m_width + x)];
            // Straight (not premultiplied) alpha, laid over what is there.
            const double a = colour.alpha / 255.0 * hits / (kSamples * kSamples);
            const double below = d[3] / 255.0 * (1 - a);
            const double total = a + below;
            if (total <= 0)
                continue;
            d[0] = Mix(colour.blue, d[0], a, below, total);
            d[1] = Mix(colour.green, d[1], a, below, total);
            d[2] = Mix(colour.red, d[2], a, below, total);
            d[3] = static_cast<std::uint8_t>(std::lround(total * 255));
        }
}

Crop FindCrop(int width, int height, const std::function<bool(std::size_t)>& drawn)
{
    int left = width;
    int top = height;
    int right = -1;
    int bottom = -1;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (drawn(static_cast<std::size_t>(y) * width + x))
            {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    if (right < 0)
        return {};
    return {left, top, right - left + 1, bottom - top + 1};
}

std::vector<std::uint8_t> CropPixels(const std::vector<std::uint8_t>& pixels, int width,
                                     const Crop& crop, int bytesPerPixel)
{
    std::vector<std::uint8_t> out;
    out.reserve(static_cast<std::size_t>(crop.width * crop.height * bytesPerPixel));
    for (int y = crop.top; y < crop.top + crop.height; ++y)
    {
        const auto row =
            pixels.begin() + (static_cast<std::ptrdiff_t>(y) * width + crop.left) * bytesPerPixel;
        out.insert(out.end(), row, row + crop.width * bytesPerPixel);
    }
    return out;
}
