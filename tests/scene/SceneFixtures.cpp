#include "SceneFixtures.h"

#include <algorithm>

namespace
{

void PutWord(std::vector<std::uint8_t>& bytes, std::size_t at, int value)
{
    bytes[at] = static_cast<std::uint8_t>(value & 0xFF);
    bytes[at + 1] = static_cast<std::uint8_t>((value >> 8) & 0xFF);
}

} // namespace

std::vector<std::uint8_t> IndexedCel(int width, int height, std::vector<std::uint8_t> pixels,
                                     int xOffset, int yOffset)
{
    std::vector<std::uint8_t> bytes(32 + pixels.size(), 0);
    std::copy(pixels.begin(), pixels.end(), bytes.begin() + 32);
    bytes[0] = 'K';
    bytes[1] = 'i';
    bytes[2] = 'S';
    bytes[3] = 'S';
    bytes[4] = 0x20;
    bytes[5] = 8;
    PutWord(bytes, 8, width);
    PutWord(bytes, 10, height);
    PutWord(bytes, 12, xOffset);
    PutWord(bytes, 14, yOffset);
    return bytes;
}

std::vector<std::uint8_t> SolidCel(int width, int height, std::uint8_t colour, int xOffset,
                                   int yOffset)
{
    return IndexedCel(width, height,
                      std::vector<std::uint8_t>(static_cast<std::size_t>(width * height), colour),
                      xOffset, yOffset);
}

std::vector<std::uint8_t> Palette24(const std::vector<std::vector<PaletteColour>>& groups)
{
    std::vector<std::uint8_t> bytes(32, 0);
    bytes[0] = 'K';
    bytes[1] = 'i';
    bytes[2] = 'S';
    bytes[3] = 'S';
    bytes[4] = 0x10;
    bytes[5] = 24;
    PutWord(bytes, 8, groups.empty() ? 0 : static_cast<int>(groups[0].size()));
    PutWord(bytes, 10, static_cast<int>(groups.size()));
    for (const auto& group : groups)
    {
        for (const PaletteColour& colour : group)
        {
            bytes.push_back(colour.red);
            bytes.push_back(colour.green);
            bytes.push_back(colour.blue);
        }
    }
    return bytes;
}

PaletteColour Rgb(std::uint8_t red, std::uint8_t green, std::uint8_t blue)
{
    return PaletteColour{red, green, blue, 0};
}
