#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

/// One colour as the platform's palette entry lays it out: red, green, blue, flags (always 0).
struct PaletteColour
{
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    std::uint8_t flags = 0;
    friend constexpr bool operator==(const PaletteColour&, const PaletteColour&) = default;
};

/// The most colours of one group that a 256-entry colour map can name.
constexpr std::size_t kMappableColours = 256;

/// A palette file: colour groups of equal length. Loading never throws; a rejected file
/// leaves mark 0.
class PaletteFile
{
public:
    /// Loads from the whole contents of a palette file.
    void Load(std::span<const std::uint8_t> file);
    bool IsOk() const { return m_mark != 0; }

    std::uint8_t Mark() const { return m_mark; }
    std::uint8_t BitsPerColour() const { return m_bitsPerColour; }
    std::uint16_t ColoursPerGroup() const { return m_coloursPerGroup; }
    std::size_t GroupCount() const { return m_groups.size(); }

    /// Group g, or group 0 when g is not below the group count; empty when there are no groups.
    std::span<const PaletteColour> Group(std::int64_t g) const;
    /// Group(g) cut to its first kMappableColours colours: a colour map names at most 256, so a
    /// larger group shows only its first 256 colours.
    std::span<const PaletteColour> MappableGroup(std::int64_t g) const;

    /// Adds a group; the first sets the colours per group, a later one of another length is
    /// ignored.
    void AddGroup(std::vector<PaletteColour> colours);
    void Clear();

private:
    std::uint16_t m_coloursPerGroup = 0;
    std::vector<std::vector<PaletteColour>> m_groups;
    std::uint8_t m_mark = 0;
    std::uint8_t m_bitsPerColour = 0;
};
