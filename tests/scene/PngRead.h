#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

/// A PNG read back as 8-bit RGB rows, top row first.
struct RgbPicture
{
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::vector<std::uint8_t> rgb;

    /// Red, green, blue of pixel (x, y) as one 0xRRGGBB value.
    std::uint32_t At(std::uint32_t x, std::uint32_t y) const;
};

std::optional<RgbPicture> ReadPng(const std::string& path);
