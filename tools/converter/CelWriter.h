#pragma once

#include <array>
#include <cstdint>

constexpr std::size_t kCelHeaderBytes = 32;

/// The fields of the 32-byte "KiSS" cel header. The defaults describe a solid 32-bit cel at
/// offset 0, the form that Tarnel writes.
struct CelHeader
{
    std::uint8_t mark = 0x21;
    std::uint8_t bitsPerPixel = 32;
    std::uint16_t width = 0;
    std::uint16_t height = 0;
    std::uint16_t xOffset = 0;
    std::uint16_t yOffset = 0;
    std::uint16_t transparency = 0;
    std::uint8_t transparentIndex = 0;
};

/// The header bytes, little-endian, reserved bytes 0.
std::array<std::uint8_t, kCelHeaderBytes> EncodeCelHeader(const CelHeader& header);
