#pragma once

#include <cstdint>
#include <vector>

/// Builds the bytes of a bitmap file. Header fields are public so that tests can break them;
/// pixels are given top row first, as 0xRRGGBB.
struct BmpBytes
{
    BmpBytes(std::int32_t width, std::int32_t height, std::uint32_t fill = 0);

    std::uint32_t& At(std::int32_t x, std::int32_t y) { return pixels[y * width + x]; }
    /// The whole file: 54 header bytes, then the rows bottom-up, each padded to four bytes with
    /// kPadding, which a reader must never copy.
    std::vector<std::uint8_t> Bytes() const;
    /// The 54 header bytes alone, so that any size can be stated.
    std::vector<std::uint8_t> Headers() const;

    static constexpr std::uint8_t kPadding = 0xEE;

    std::uint16_t type = 0x4D42;
    std::int32_t width;
    std::int32_t height; ///< written as given; the pixel rows are |height| many
    std::uint16_t planes = 1;
    std::uint16_t bitCount = 24;
    std::uint32_t compression = 0;
    std::uint32_t coloursUsed = 0;
    std::uint32_t coloursImportant = 0;
    std::vector<std::uint32_t> pixels;
};
