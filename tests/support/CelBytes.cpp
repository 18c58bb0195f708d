#include "support/CelBytes.h"

#include <utility>

namespace
{

void PutWord(std::vector<std::uint8_t>& out, std::uint16_t value)
{
    out.push_back(static_cast<std::uint8_t>(value & 0xFF));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

} // namespace

CelBytes CelBytes::Indexed(std::uint16_t width, std::uint16_t height,
                           std::vector<std::uint8_t> numbers, std::uint8_t bitsPerPixel)
{
    CelBytes cel;
    cel.Size(width, height).BitsPerPixel(bitsPerPixel).Pixels(std::move(numbers));
    return cel;
}

CelBytes CelBytes::TrueColour(std::uint16_t width, std::uint16_t height,
                              std::vector<std::uint8_t> bgra)
{
    CelBytes cel;
    cel.Mark(0x21).BitsPerPixel(32).Size(width, height).Pixels(std::move(bgra));
    return cel;
}

CelBytes& CelBytes::Mark(std::uint8_t mark)
{
    m_mark = mark;
    return *this;
}

CelBytes& CelBytes::BitsPerPixel(std::uint8_t bits)
{
    m_bitsPerPixel = bits;
    return *this;
}

CelBytes& CelBytes::ReservedWord(std::uint16_t word)
{
    m_reservedWord = word;
    return *this;
}

CelBytes& CelBytes::Size(std::uint16_t width, std::uint16_t height)
{
    m_width = width;
    m_height = height;
    return *this;
}

CelBytes& CelBytes::Offset(std::uint16_t x, std::uint16_t y)
{
    m_xOffset = x;
    m_yOffset = y;
    return *this;
}

CelBytes& CelBytes::Transparency(std::uint16_t t)
{
    m_transparency = t;
    return *this;
}

CelBytes& CelBytes::TransparentIndex(std::uint8_t index)
{
    m_transparentIndex = index;
    return *this;
}

CelBytes& CelBytes::OldFormat()
{
    m_oldFormat = true;
    m_bitsPerPixel = 4;
    return *this;
}

CelBytes& CelBytes::Pixels(std::vector<std::uint8_t> values)
{
    m_pixels = std::move(values);
    m_raw = false;
    return *this;
}

CelBytes& CelBytes::RawData(std::vector<std::uint8_t> bytes)
{
    m_pixels = std::move(bytes);
    m_raw = true;
    return *this;
}

std::vector<std::uint8_t> CelBytes::PackedData() const
{
    if (m_raw || m_bitsPerPixel != 4)
        return m_pixels;
    std::vector<std::uint8_t> packed;
    for (std::size_t row = 0; row < m_height; ++row)
    {
        for (std::size_t c = 0; c < m_width; c += 2)
        {
            const std::size_t i = row * m_width + c;
            const auto high = static_cast<std::uint8_t>(i < m_pixels.size() ? m_pixels[i] : 0);
            const auto low = static_cast<std::uint8_t>(
                c + 1 < m_width && i + 1 < m_pixels.size() ? m_pixels[i + 1] : 0);
            packed.push_back(static_cast<std::uint8_t>((high << 4) | (low & 0x0F)));
        }
    }
    return packed;
}

std::vector<std::uint8_t> CelBytes::Bytes() const
{
    std::vector<std::uint8_t> out;
    if (!m_oldFormat)
    {
        out = {'K', 'i', 'S', 'S', m_mark, m_bitsPerPixel};
        PutWord(out, m_reservedWord);
        PutWord(out, m_width);
        PutWord(out, m_height);
        PutWord(out, m_xOffset);
        PutWord(out, m_yOffset);
        PutWord(out, m_transparency);
        out.push_back(m_transparentIndex);
        out.resize(32, 0);
    }
    else
    {
        PutWord(out, m_width);
        PutWord(out, m_height);
    }
    const std::vector<std::uint8_t> data = PackedData();
    out.insert(out.end(), data.begin(), data.end());
    return out;
}
