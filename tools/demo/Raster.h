#pragma once

#include <cstdint>
#include <functional>
#include <vector>

struct Point
{
    double x = 0;
    double y = 0;
};

/// A filled area: a bounding box and a test whether a point lies inside. Pixel (x, y) is
/// sampled at its centre (x + 0.5, y + 0.5).
struct Shape
{
    double left = 0;
    double top = 0;
    double right = 0;
    double bottom = 0;
    std::function<bool(double, double)> inside;
};

Shape Ellipse(double cx, double cy, double rx, double ry);
Shape Box(double left, double top, double right, double bottom);
/// A segment with round ends whose radius goes from r1 at the first end to r2 at the second.
Shape Capsule(Point a, Point b, double r1, double r2);
/// A polygon, filled by the even-odd rule.
Shape Polygon(std::vector<Point> points);
Shape Union(std::vector<Shape> shapes);
Shape Intersect(Shape a, Shape b);
Shape Minus(Shape a, Shape b);
/// The shape mirrored about the vertical line x = axis.
Shape Mirror(Shape shape, double axis);

/// Pixel rectangle of the drawn part of an image: left, top and size.
struct Crop
{
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

/// An image of colour numbers drawn as cartoon parts: each part gets a line of its own colour
/// where it meets the background or a part drawn before it.
class IndexedCanvas
{
public:
    IndexedCanvas(int width, int height);

    /// Draws a new part over everything so far.
    void Part(const Shape& shape, std::uint8_t fill, std::uint8_t line);
    /// Colours the drawn pixels inside the shape without making a new part (shading, details).
    void Paint(const Shape& shape, std::uint8_t colour);

    /// The colour numbers with the part lines, row by row; 0 is transparent.
    std::vector<std::uint8_t> Pixels() const;
    int Width() const { return m_width; }
    int Height() const { return m_height; }

private:
    int m_width;
    int m_height;
    std::vector<std::uint8_t> m_colours;
    std::vector<std::uint16_t> m_parts; ///< 0 where nothing is drawn
    std::vector<std::uint8_t> m_lines;  ///< line colour of each part, by part number
};

struct Rgba
{
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    std::uint8_t alpha = 255;
};

/// A 32-bit image (blue, green, red, alpha per pixel) drawn with smoothed edges.
class TrueColourCanvas
{
public:
    TrueColourCanvas(int width, int height);

    /// Lays the colour over the image inside the shape, each edge pixel weighted by how much of
    /// it the shape covers.
    void Fill(const Shape& shape, Rgba colour);

    const std::vector<std::uint8_t>& Pixels() const { return m_pixels; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }

private:
    int m_width;
    int m_height;
    std::vector<std::uint8_t> m_pixels;
};

/// The smallest rectangle holding every pixel for which `drawn(index)` is true; empty when none.
Crop FindCrop(int width, int height, const std::function<bool(std::size_t)>& drawn);
/// Copies the rectangle out of an image with `bytesPerPixel` bytes per pixel.
std::vector<std::uint8_t> CropPixels(const std::vector<std::uint8_t>& pixels, int width,
                                     const Crop& crop, int bytesPerPixel);
