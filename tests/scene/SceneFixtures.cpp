#include "SceneFixtures.h"

std::vector<std::uint8_t> SolidCel(std::uint16_t width, std::uint16_t height, std::uint8_t colour,
                                   std::uint16_t xOffset, std::uint16_t yOffset)
{
    return CelBytes::Indexed(width, height, std::vector<std::uint8_t>(width * height, colour))
        .Offset(xOffset, yOffset)
        .Bytes();
}

std::vector<std::uint8_t> Palette24(const std::vector<std::vector<PaletteColour>>& groups)
{
    PaletteBytes palette;
    for (const auto& group : groups)
        palette.Group(group);
    return palette.Bytes();
}

PaletteColour Rgb(std::uint8_t red, std::uint8_t green, std::uint8_t blue)
{
    return PaletteColour{red, green, blue, 0};
}
