#include "support/PaletteBytes.h"

#include <utility>

namespace
{

void PutWord(std::vector<std::uint8_t>& out, std::uint16_t value)
{
    out.push_back(static_cast<std::uint8_t>(value & 0xFF));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

std::uint8_t Nibble(std::uint8_t channel)
{
    return static_cast<std::uint8_t>((channel + 8) / 17);
}

} // namespace

PaletteBytes& PaletteBytes::Mark(std::uint8_t mark)
{
    m_mark = mark;
    return *this;
}

PaletteBytes& PaletteBytes::BitsPerColour(std::uint8_t bits)
{
    m_bitsPerColour = bits;
    return *this;
}

PaletteBytes& PaletteBytes::ColoursPerGroup(std::uint16_t count)
{
    m_coloursPerGroup = count;
    return *this;
}

PaletteBytes& PaletteBytes::GroupCount(std::uint16_t count)
{
    m_groupCount = count;
    return *this;
}

PaletteBytes& PaletteBytes::OldFormat()
{
    m_oldFormat = true;
    m_bitsPerColour = 12;
    return *this;
}

PaletteBytes& PaletteBytes::Group(std::vector<PaletteColour> colours)
{
    m_groups.push_back(std::move(colours));
    return *this;
}

std::vector<std::uint8_t> PaletteBytes::Bytes() const
{
    std::vector<std::uint8_t> out;
    if (!m_oldFormat)
    {
        out = {'K', 'i', 'S', 'S', m_mark, m_bitsPerColour, 0, 0};
        const auto firstLength = m_groups.empty() ? 0 : m_groups.front().size();
        PutWord(out, m_coloursPerGroup.value_or(static_cast<std::uint16_t>(firstLength)));
        PutWord(out, m_groupCount.value_or(static_cast<std::uint16_t>(m_groups.size())));
        out.resize(32, 0);
    }
    for (const std::vector<PaletteColour>& group : m_groups)
    {
        for (const PaletteColour& c : group)
        {
            if (m_bitsPerColour == 12)
            {
                out.push_back(static_cast<std::uint8_t>((Nibble(c.red) << 4) | Nibble(c.blue)));
                out.push_back(Nibble(c.green));
            }
            else
            {
                out.insert(out.end(), {c.red, c.green, c.blue});
            }
        }
    }
    return out;
}
