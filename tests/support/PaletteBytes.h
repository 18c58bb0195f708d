#pragma once

#include "image/PaletteFile.h"

#include <cstdint>
#include <optional>
#include <vector>

/// Writes the bytes of a palette file. By default a header-format palette (mark 0x10, 24 bits
/// per colour) whose colours per group and group count follow the groups added. At 12 bits each
/// channel is stored as its nearest 4-bit value (exact for multiples of 17).
class PaletteBytes
{
public:
    PaletteBytes& Mark(std::uint8_t mark);
    PaletteBytes& BitsPerColour(std::uint8_t bits);
    /// Overrides the header's colours per group (otherwise the first group's length).
    PaletteBytes& ColoursPerGroup(std::uint16_t count);
    /// Overrides the header's group count (otherwise the number of groups added).
    PaletteBytes& GroupCount(std::uint16_t count);
    /// Writes no header, only the groups at 12 bits per colour.
    PaletteBytes& OldFormat();
    PaletteBytes& Group(std::vector<PaletteColour> colours);

    std::vector<std::uint8_t> Bytes() const;

private:
    bool m_oldFormat = false;
    std::uint8_t m_mark = 0x10;
    std::uint8_t m_bitsPerColour = 24;
    std::optional<std::uint16_t> m_coloursPerGroup;
    std::optional<std::uint16_t> m_groupCount;
    std::vector<std::vector<PaletteColour>> m_groups;
};
