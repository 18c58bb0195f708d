#pragma once

#include "image/PaletteFile.h"

#include <array>
#include <cstdint>

/// The distinct colours of the current palette groups, in order of first appearance.
struct MergedColourTable
{
    std::uint16_t count = 0;
    std::array<PaletteColour, 256> entries{};
};

/// For one loaded palette: byte c is the merged-table index of colour number c.
/// Entries at and beyond the palette's colour count are 0.
struct ColourMap
{
    std::array<std::uint8_t, 256> map{};
};
