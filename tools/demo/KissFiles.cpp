#include "KissFiles.h"

#include "CelWriter.h"

#include <algorithm>
#include <cassert>

namespace
{
// The nearest 4-bit level; a reader turns level v back into v × 17.
std::uint8_t Nibble(std::uint8_t channel)
{
    return static_cast<std::uint8_t>((channel * 15 + 127) / 255);
}

std::vector<std::uint8_t> Header(int width, int height, std::uint8_t mark, int bitsPerPixel,
                                 const CelPlacement& placement)
{
    const auto header = EncodeCelHeader({.mark = mark,
                                         .bitsPerPixel = static_cast<std::uint8_t>(bitsPerPixel),
                                         .width = static_cast<std::uint16_t>(width),
                                         .height = static_cast<std::uint16_t>(height),
                                         .xOffset = placement.xOffset,
                                         .yOffset = placement.yOffset,
                                         .transparency = placement.transparency});
    return {header.begin(), header.end()};
}
} // namespace

std::vector<std::uint8_t> EncodeIndexedCel(std::span<const std::uint8_t> pixels, int width,
                                           int height, int bitsPerPixel,
                                           const CelPlacement& placement)
{
    assert(bitsPerPixel == 4 || bitsPerPixel == 8);
    std::vector<std::uint8_t> bytes = Header(width, height, 0x20, bitsPerPixel, placement);
    for (int y = 0; y < height; ++y)
    {
        const std::uint8_t* row = pixels.data() + static_cast<std::ptrdiff_t>(y) * width;
        if (bitsPerPixel == 8)
        {
            bytes.insert(bytes.end(), row, row + width);
            continue;
        }
        // High nibble first; an odd row ends with an unused low nibble.
        for (int x = 0; x < width; x += 2)
        {
            assert(row[x] < 16 && (x + 1 == width || row[x + 1] < 16));
            const std::uint8_t low = x + 1 < width ? row[x + 1] : 0;
            bytes.push_back(static_cast<std::uint8_t>(row[x] << 4 | low));
        }
    }
    return bytes;
}

std::vector<std::uint8_t> EncodeTrueColourCel(std::span<const std::uint8_t> pixels, int width,
                                              int height, const CelPlacement& placement)
{
    std::vector<std::uint8_t> bytes = Header(width, height, 0x21, 32, placement);
    bytes.insert(bytes.end(), pixels.begin(), pixels.end());
    return bytes;
}

std::vector<std::uint8_t> EncodePalette(const std::vector<std::vector<Colour>>& groups,
                                        int bitsPerColour)
{
    assert(bitsPerColour == 12 || bitsPerColour == 24);
    const std::size_t count = groups.front().size();
    std::vector<std::uint8_t> bytes(32);
    const auto put16 = [&](std::size_t at, std::size_t value)
    {
        bytes[at] = static_cast<std::uint8_t>(value & 0xFF);
        bytes[at + 1] = static_cast<std::uint8_t>(value >> 8);
    };
    std::copy_n("KiSS", 4, bytes.begin());
    bytes[4] = 0x10;
    bytes[5] = static_cast<std::uint8_t>(bitsPerColour);
    put16(8, count);
    put16(10, groups.size());
    for (const auto& group : groups)
    {
        assert(group.size() == count);
        for (const Colour& c : group)
        {
            if (bitsPerColour == 24)
            {
                bytes.insert(bytes.end(), {c.red, c.green, c.blue});
                continue;
            }
            bytes.push_back(static_cast<std::uint8_t>(Nibble(c.red) << 4 | Nibble(c.blue)));
            bytes.push_back(Nibble(c.green));
        }
    }
    return bytes;
}
