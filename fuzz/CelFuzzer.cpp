// Loads arbitrary bytes as a cel, then draws and hit-tests whatever loaded in both colour modes.
#include "image/Cel.h"
#include "image/PlacedCel.h"
#include "image/ScreenBuffer.h"

#include <cstdlib>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Cel cel;
    cel.Load(std::span<const std::uint8_t>(data, size));
    if (!cel.IsOk())
        return 0;
    const std::size_t expected = static_cast<std::size_t>(cel.RowBytes()) * cel.height;
    if (!cel.pixels || cel.pixels->size() != expected || (cel.depth != 8 && cel.depth != 32))
        std::abort();

    ColourMap map;
    for (std::size_t c = 0; c < map.map.size(); ++c)
        map.map[c] = static_cast<std::uint8_t>(255 - c);
    const PaletteColour palette[2] = {{1, 2, 3, 0}, {4, 5, 6, 0}};

    PlacedCel placed(cel);
    placed.colourMap = size % 2 ? &map : nullptr;
    // Place the image so it straddles the buffer's top-left corner.
    placed.x = -cel.xOffset - cel.width / 2;
    placed.y = -cel.yOffset - cel.height / 2;
    for (const std::int32_t depth : {8, 24, 32})
    {
        ScreenBuffer buffer;
        buffer.SetFormat(16, 16, depth);
        buffer.SetPalette(palette, 2);
        buffer.FillBackground(buffer.ScreenRect());
        placed.Draw(buffer);
        placed.MoveBy(buffer, 3, 5);
        placed.Draw(buffer);
        placed.MoveTo(buffer, placed.x - 3, placed.y - 5);
    }
    for (std::int32_t y = -1; y <= 1; ++y)
        for (std::int32_t x = -1; x <= 1; ++x)
            placed.HitTest(x, y);
    return 0;
}
