#include "image/PlacedCel.h"

#include "image/Blend.h"
#include "image/ScreenBuffer.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstring>
#include <limits>

namespace
{

/// The clipped part of a cel: its first source and target pixels and the row steps. Target
/// steps are negative because the buffer stores its rows bottom-up.
struct Run
{
    const std::uint8_t* source;
    std::ptrdiff_t sourceStep;
    std::uint8_t* target;
    std::ptrdiff_t targetStep;
    std::int32_t width;
    std::int32_t rows;
};

/// Calls op(source pixel, target pixel) for every pixel of the run.
template <std::size_t SourceBytes, std::size_t TargetBytes, typename Op>
void ForEachPixel(const Run& run, Op op)
{
    // Locals, so that stores into the target cannot be taken to change the run.
    const std::int32_t width = run.width;
    const std::ptrdiff_t sourceStep = run.sourceStep;
    const std::ptrdiff_t targetStep = run.targetStep;
    const std::uint8_t* sourceRow = run.source;
    std::uint8_t* targetRow = run.target;
    for (std::int32_t row = 0; row < run.rows; ++row)
    {
        const std::uint8_t* s = sourceRow;
        std::uint8_t* d = targetRow;
        // The solid paths take a few instructions a pixel, so the loop's own count matters.
#pragma GCC unroll 4
        for (std::int32_t i = 0; i < width; ++i, s += SourceBytes, d += TargetBytes)
            op(s, d);
        sourceRow += sourceStep;
        targetRow += targetStep;
    }
}

/// Colour number to blue, green, red (and a zero byte) for full-colour targets.
using ColourLookup = std::array<std::array<std::uint8_t, 4>, 256>;

/// Through the colour map into the buffer's palette data; a map entry past the palette data
/// gives black rather than reading beyond it.
ColourLookup PaletteLookup(const ColourMap& map, const std::vector<PaletteColour>& palette)
{
    ColourLookup lookup{};
    for (std::size_t c = 0; c < lookup.size(); ++c)
    {
        const std::size_t index = map.map[c];
        if (index < palette.size())
            lookup[c] = {palette[index].blue, palette[index].green, palette[index].red, 0};
    }
    return lookup;
}

ColourLookup WhiteLookup()
{
    ColourLookup lookup;
    lookup.fill({255, 255, 255, 0});
    return lookup;
}

// Solid colour numbers are drawn without a branch per pixel, as target = (target & keep[c]) |
// put[c]: scattered transparent pixels would otherwise cost a mispredicted branch each. The
// transparent index keeps the whole target; any other number replaces blue, green and red (or the
// index) and keeps the fourth byte of a 32-bit target.

/// Keep and put values per colour number, bytes in memory order.
template <typename Word> struct MaskLookup
{
    std::array<Word, 256> keep;
    std::array<Word, 256> put;
};

MaskLookup<std::uint32_t> ColourMasks(const ColourLookup& colours, std::uint8_t transparent)
{
    static constexpr std::uint8_t kKeepAll[4] = {255, 255, 255, 255};
    static constexpr std::uint8_t kKeepFourth[4] = {0, 0, 0, 255};
    static constexpr std::uint8_t kNothing[4] = {0, 0, 0, 0};
    MaskLookup<std::uint32_t> masks;
    for (std::size_t c = 0; c < colours.size(); ++c)
    {
        const bool keep = c == transparent;
        std::memcpy(&masks.keep[c], keep ? kKeepAll : kKeepFourth, 4);
        std::memcpy(&masks.put[c], keep ? kNothing : colours[c].data(), 4);
    }
    return masks;
}

template <std::size_t TargetBytes>
void PutMasked(std::uint8_t* d, std::uint32_t keep, std::uint32_t put)
{
    if constexpr (TargetBytes == 4)
    {
        std::uint32_t word;
        std::memcpy(&word, d, 4);
        word = (word & keep) | put;
        std::memcpy(d, &word, 4);
    }
    else
    {
        std::uint8_t keepBytes[4];
        std::uint8_t putBytes[4];
        std::memcpy(keepBytes, &keep, 4);
        std::memcpy(putBytes, &put, 4);
        for (int k = 0; k < 3; ++k)
            d[k] = static_cast<std::uint8_t>((d[k] & keepBytes[k]) | putBytes[k]);
    }
}

void DrawIndexed(const Run& run, const CelImage& cel, const ColourMap* colourMap)
{
    // 32-bit cels do not show in 256 colours; opacity plays no part here.
    if (cel.depth != 8)
        return;
    MaskLookup<std::uint8_t> masks;
    for (std::size_t c = 0; c < masks.keep.size(); ++c)
    {
        const bool keep = c == cel.transparentIndex;
        masks.keep[c] = keep ? 255 : 0;
        masks.put[c] = keep ? 0 : colourMap ? colourMap->map[c] : 255;
    }
    const auto put = [&](const std::uint8_t* s, std::uint8_t* d)
    { *d = static_cast<std::uint8_t>((*d & masks.keep[*s]) | masks.put[*s]); };
    ForEachPixel<1, 1>(run, put);
}

template <std::size_t TargetBytes>
void DrawNumbersInColour(const Run& run, const CelImage& cel, const ColourMap* colourMap,
                         const std::vector<PaletteColour>& palette)
{
    // Without a map the cel shows white whatever its opacity.
    const std::int32_t g = colourMap ? cel.opacity : 256;
    if (g <= 0)
        return;
    const ColourLookup colours = colourMap ? PaletteLookup(*colourMap, palette) : WhiteLookup();
    const std::uint8_t transparent = cel.transparentIndex;
    if (g < 256)
    {
        // Weight 0 keeps the target exactly, which spares a branch on the transparent index.
        std::array<std::int32_t, 256> weights;
        weights.fill(g);
        weights[transparent] = 0;
        const auto blend = [&](const std::uint8_t* s, std::uint8_t* d)
        {
            const auto& e = colours[*s];
            const std::int32_t w = weights[*s];
            for (int k = 0; k < 3; ++k)
                d[k] = Blend(d[k], e[k], w);
        };
        return ForEachPixel<1, TargetBytes>(run, blend);
    }
    const MaskLookup<std::uint32_t> masks = ColourMasks(colours, transparent);
    const auto put = [&](const std::uint8_t* s, std::uint8_t* d)
    { PutMasked<TargetBytes>(d, masks.keep[*s], masks.put[*s]); };
    ForEachPixel<1, TargetBytes>(run, put);
}

template <std::size_t TargetBytes> void DrawTrueColour(const Run& run, const CelImage& cel)
{
    const std::int32_t g = cel.opacity;
    const auto alpha = [](const std::uint8_t* s, std::uint8_t* d)
    {
        const std::uint8_t a = s[3];
        if (a == 255)
        {
            std::memcpy(d, s, TargetBytes);
        }
        else if (a != 0)
        {
            for (int k = 0; k < 3; ++k)
                d[k] = Blend(d[k], s[k], a);
        }
    };
    const auto alphaAndOpacity = [g](const std::uint8_t* s, std::uint8_t* d)
    {
        const std::uint8_t a = s[3];
        if (a == 255)
        {
            for (int k = 0; k < 3; ++k)
                d[k] = Blend(d[k], s[k], g);
        }
        else if (a != 0)
        {
            for (int k = 0; k < 3; ++k)
                d[k] = BlendTwice(d[k], s[k], a, g);
        }
    };
    if (g >= 256)
        ForEachPixel<4, TargetBytes>(run, alpha);
    else if (g > 0)
        ForEachPixel<4, TargetBytes>(run, alphaAndOpacity);
}

template <std::size_t TargetBytes>
void DrawFullColour(const Run& run, const CelImage& cel, const ColourMap* colourMap,
                    const std::vector<PaletteColour>& palette)
{
    if (cel.depth == 32)
        DrawTrueColour<TargetBytes>(run, cel);
    else
        DrawNumbersInColour<TargetBytes>(run, cel, colourMap, palette);
}

std::int32_t Saturate(std::int64_t value)
{
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(
        value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

/// True when the block holds every row that the image's size states, so nothing is read
/// beyond it.
bool HasAllRows(const CelImage& cel)
{
    if (!cel.pixels || (cel.depth != 8 && cel.depth != 32) || cel.width < 0 || cel.height < 0)
        return false;
    const auto needed =
        static_cast<std::size_t>(cel.RowBytes()) * static_cast<std::size_t>(cel.height);
    return cel.pixels->size() >= needed;
}

} // namespace

Rect PlacedCel::CelRect() const
{
    // A position read from a file may lie anywhere in 32 bits; the edges stop at its limits
    // instead of wrapping round to the other side of the screen.
    const std::int64_t left = std::int64_t{x} + xOffset;
    const std::int64_t top = std::int64_t{y} + yOffset;
    return Rect{Saturate(left), Saturate(top), Saturate(left + width), Saturate(top + height)};
}

void PlacedCel::Draw(ScreenBuffer& buffer) const
{
    if (!visible || !mapped || !buffer.HasPixels() || !HasAllRows(*this))
        return;
    const Rect cel = CelRect();
    const Rect clip =
        Rect::Intersect(Rect::Intersect(cel, buffer.DirtyRect()), buffer.ScreenRect());
    if (clip.IsEmpty())
        return;

    const std::size_t sourcePixelBytes = depth == 32 ? 4 : 1;
    const std::size_t targetPixelBytes = static_cast<std::size_t>(buffer.Depth() / 8);
    const Run run{
        Data() + static_cast<std::size_t>(clip.top - cel.top) * RowBytes() +
            static_cast<std::size_t>(clip.left - cel.left) * sourcePixelBytes,
        RowBytes(),
        buffer.ScreenRow(clip.top) + static_cast<std::size_t>(clip.left) * targetPixelBytes,
        -static_cast<std::ptrdiff_t>(buffer.RowSize()),
        clip.Width(),
        clip.Height(),
    };
    switch (buffer.Depth())
    {
    case 8:
        DrawIndexed(run, *this, colourMap);
        break;
    case 24:
        DrawFullColour<3>(run, *this, colourMap, buffer.PaletteData());
        break;
    default:
        DrawFullColour<4>(run, *this, colourMap, buffer.PaletteData());
        break;
    }
}

bool PlacedCel::HitTest(std::int32_t px, std::int32_t py) const
{
    return visible && mapped && !ghosted && IsOpaqueAt(px, py);
}

bool PlacedCel::IsOpaqueAt(std::int32_t px, std::int32_t py) const
{
    if (!HasAllRows(*this))
        return false;
    const std::int64_t u = std::int64_t{px} - x - xOffset;
    const std::int64_t v = std::int64_t{py} - y - yOffset;
    if (u < 0 || v < 0 || u >= width || v >= height)
        return false;
    const auto pixel = static_cast<std::size_t>(v * width + u);
    if (depth == 32)
        return Data()[4 * pixel + 3] != 0;
    return Data()[pixel] != transparentIndex;
}

void PlacedCel::MoveBy(ScreenBuffer& buffer, std::int32_t dx, std::int32_t dy)
{
    MoveTo(buffer, Saturate(std::int64_t{x} + dx), Saturate(std::int64_t{y} + dy));
}

void PlacedCel::MoveTo(ScreenBuffer& buffer, std::int32_t newX, std::int32_t newY)
{
    const Rect before = CelRect();
    x = newX;
    y = newY;
    if (visible)
        buffer.AddDirty(Rect::Union(before, CelRect()));
}
