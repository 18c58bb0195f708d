#pragma once

#include <cstdint>
#include <vector>

/// Writes the bytes of a cel file. By default a header-format cel (mark 0x20, 8 bits per pixel)
/// of size 0 × 0. Pixels are given one value per pixel (colour numbers) for 4 and 8 bits, and as
/// blue, green, red, alpha bytes for 32 bits; Bytes() packs them as the stated bits per pixel.
class CelBytes
{
public:
    /// An indexed cel of the given size and colour numbers (8 or 4 bits per pixel).
    static CelBytes Indexed(std::uint16_t width, std::uint16_t height,
                            std::vector<std::uint8_t> numbers, std::uint8_t bitsPerPixel = 8);
    /// A 32-bit cel; bgra holds four bytes per pixel.
    static CelBytes TrueColour(std::uint16_t width, std::uint16_t height,
                               std::vector<std::uint8_t> bgra);

    CelBytes& Mark(std::uint8_t mark);
    CelBytes& BitsPerPixel(std::uint8_t bits);
    CelBytes& ReservedWord(std::uint16_t word);
    CelBytes& Size(std::uint16_t width, std::uint16_t height);
    CelBytes& Offset(std::uint16_t x, std::uint16_t y);
    CelBytes& Transparency(std::uint16_t t);
    CelBytes& TransparentIndex(std::uint8_t index);
    /// Writes no header: width, height, then 4-bit rows.
    CelBytes& OldFormat();
    /// Values as described above, packed by Bytes().
    CelBytes& Pixels(std::vector<std::uint8_t> values);
    /// Pixel data exactly as stored in the file, instead of packed pixels.
    CelBytes& RawData(std::vector<std::uint8_t> bytes);

    std::vector<std::uint8_t> Bytes() const;

private:
    std::vector<std::uint8_t> PackedData() const;

    bool m_oldFormat = false;
    std::uint8_t m_mark = 0x20;
    std::uint8_t m_bitsPerPixel = 8;
    std::uint16_t m_reservedWord = 0;
    std::uint16_t m_width = 0;
    std::uint16_t m_height = 0;
    std::uint16_t m_xOffset = 0;
    std::uint16_t m_yOffset = 0;
    std::uint16_t m_transparency = 0;
    std::uint8_t m_transparentIndex = 0;
    std::vector<std::uint8_t> m_pixels;
    bool m_raw = false;
};
