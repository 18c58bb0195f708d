#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

/// One file of the demo set.
struct DemoFile
{
    std::string name;
    std::vector<std::uint8_t> bytes;
};

/// Where a cel's image sits relative to its object, and how solid the file says it is.
struct CelPlacement
{
    std::uint16_t xOffset = 0;
    std::uint16_t yOffset = 0;
    std::uint16_t transparency = 0;
};

/// A header-format cel of colour numbers (0 is transparent), packed at 4 or 8 bits per pixel.
std::vector<std::uint8_t> EncodeIndexedCel(std::span<const std::uint8_t> pixels, int width,
                                           int height, int bitsPerPixel,
                                           const CelPlacement& placement);
/// A 32-bit cel; `pixels` holds blue, green, red, alpha per pixel.
std::vector<std::uint8_t> EncodeTrueColourCel(std::span<const std::uint8_t> pixels, int width,
                                              int height, const CelPlacement& placement);

struct Colour
{
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
};

/// A header-format palette file of equal-length groups with 12-bit or 24-bit colours; 12-bit
/// colours are rounded to the nearest of the 16 levels per channel.
std::vector<std::uint8_t> EncodePalette(const std::vector<std::vector<Colour>>& groups,
                                        int bitsPerColour);
