#include "image/PaletteFile.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace
{

constexpr std::size_t kHeaderSize = 32;

std::uint16_t ReadWord(const std::uint8_t* p)
{
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

/// A 4-bit channel spread over 0 to 255: 0 stays 0, 15 becomes 255.
std::uint8_t Widen(unsigned nibble)
{
    return static_cast<std::uint8_t>(nibble * 17);
}

PaletteColour Decode12(const std::uint8_t* p)
{
    return {Widen(p[0] >> 4), Widen(p[1] & 0x0F), Widen(p[0] & 0x0F), 0};
}

PaletteColour Decode24(const std::uint8_t* p)
{
    return {p[0], p[1], p[2], 0};
}

} // namespace

void PaletteFile::Load(std::span<const std::uint8_t> file)
{
    // A reused palette must not keep reporting an earlier success.
    Clear();
    m_mark = 0;
    m_bitsPerColour = 0;
    if (file.size() <= 4)
        return;

    std::uint8_t mark = 0x10;
    std::uint8_t bits = 12;
    std::size_t coloursPerGroup = 16;
    std::size_t groupCount = 10;
    std::size_t dataStart = 0;
    if (file.size() >= kHeaderSize && std::memcmp(file.data(), "KiSS", 4) == 0)
    {
        mark = file[4];
        bits = file[5];
        coloursPerGroup = ReadWord(file.data() + 8);
        groupCount = ReadWord(file.data() + 10);
        dataStart = kHeaderSize;
    }
    m_bitsPerColour = bits;
    if (bits != 12 && bits != 24)
        return;

    const std::size_t colourSize = bits == 12 ? 2 : 3;
    const std::size_t groupSize = coloursPerGroup * colourSize;
    // Every group must be in the file before any is allocated, so a small file cannot claim
    // gigabytes; a short file is unrecognised either way.
    if (groupSize * groupCount > file.size() - dataStart)
        return;

    const std::uint8_t* data = file.data() + dataStart;
    for (std::size_t g = 0; g < groupCount; ++g)
    {
        std::vector<PaletteColour> colours(coloursPerGroup);
        for (PaletteColour& colour : colours)
        {
            colour = colourSize == 2 ? Decode12(data) : Decode24(data);
            data += colourSize;
        }
        AddGroup(std::move(colours));
    }
    m_mark = mark;
}

std::span<const PaletteColour> PaletteFile::Group(std::int64_t g) const
{
    if (m_groups.empty())
        return {};
    if (g < 0 || static_cast<std::uint64_t>(g) >= m_groups.size())
        g = 0;
    return m_groups[static_cast<std::size_t>(g)];
}

std::span<const PaletteColour> PaletteFile::MappableGroup(std::int64_t g) const
{
    const std::span<const PaletteColour> group = Group(g);
    return group.first(std::min(group.size(), kMappableColours));
}

void PaletteFile::AddGroup(std::vector<PaletteColour> colours)
{
    if (colours.size() > std::numeric_limits<std::uint16_t>::max())
        return;
    if (m_groups.empty())
        m_coloursPerGroup = static_cast<std::uint16_t>(colours.size());
    else if (colours.size() != m_coloursPerGroup)
        return;
    m_groups.push_back(std::move(colours));
}

void PaletteFile::Clear()
{
    m_groups.clear();
    m_coloursPerGroup = 0;
}
