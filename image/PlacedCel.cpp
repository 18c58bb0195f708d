#include "image/PlacedCel.h"

#include "image/ScreenBuffer.h"

#include <algorithm>
#include <cstddef>
#include <limits>
#include <optional>

namespace
{

/// What each colour number shows: through the colour map into the buffer's palette data, where a
/// map entry past the palette data gives black rather than reading beyond it; without a map,
/// white (index 255 in 256 colours).
NumberLookup Numbers(const CelImage& cel, const ColourMap* colourMap,
                     const std::vector<PaletteColour>& palette)
{
    NumberLookup numbers;
    numbers.transparent = cel.transparentIndex;
    for (std::size_t c = 0; c < numbers.index.size(); ++c)
    {
        if (!colourMap)
        {
            numbers.index[c] = numbers.blue[c] = numbers.green[c] = numbers.red[c] = 255;
            continue;
        }
        const std::uint8_t index = colourMap->map[c];
        numbers.index[c] = index;
        if (index < palette.size())
        {
            numbers.blue[c] = palette[index].blue;
            numbers.green[c] = palette[index].green;
            numbers.red[c] = palette[index].red;
        }
    }
    numbers.PackPixels();
    return numbers;
}

/// Picks the rule for the cel and the buffer; nothing when the cel does not show.
std::optional<Composition> ChooseRule(const CelImage& cel, bool hasColourMap,
                                      std::int32_t bufferDepth)
{
    Composition c;
    c.targetBytes = static_cast<std::size_t>(bufferDepth / 8);
    c.opacity = cel.opacity;
    if (bufferDepth == 8)
    {
        // 32-bit cels do not show in 256 colours; opacity plays no part here.
        if (cel.depth != 8)
            return std::nullopt;
        c.rule = ComposeRule::IndexedNumbers;
        return c;
    }
    if (cel.depth == 32)
    {
        c.rule = c.opacity >= 256 ? ComposeRule::Alpha : ComposeRule::AlphaAndOpacity;
        return c.opacity > 0 ? std::optional(c) : std::nullopt;
    }
    // Without a map the cel shows white whatever its opacity.
    if (!hasColourMap)
        c.opacity = 256;
    c.rule = c.opacity >= 256 ? ComposeRule::SolidNumbers : ComposeRule::BlendedNumbers;
    return c.opacity > 0 ? std::optional(c) : std::nullopt;
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

void PlacedCel::Draw(ScreenBuffer& buffer, ComposeFunction compose) const
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
    std::optional<Composition> rule = ChooseRule(*this, colourMap != nullptr, buffer.Depth());
    if (!rule)
        return;
    NumberLookup numbers;
    if (depth == 8)
    {
        numbers = Numbers(*this, colourMap, buffer.PaletteData());
        rule->numbers = &numbers;
    }
    compose(run, *rule);
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
