#include "BmpBytes.h"

#include <cstdlib>

namespace
{
void Put(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}
} // namespace

BmpBytes::BmpBytes(std::int32_t w, std::int32_t h, std::uint32_t fill)
    : width(w), height(h), pixels(static_cast<std::size_t>(std::abs(w) * std::abs(h)), fill)
{
}

std::vector<std::uint8_t> BmpBytes::Headers() const
{
    const std::uint32_t rowBytes = (3 * static_cast<std::uint32_t>(width) + 3) & ~3U;
    const std::uint32_t imageBytes = rowBytes * static_cast<std::uint32_t>(height);
    std::vector<std::uint8_t> out;
    Put(out, type, 2);
    Put(out, 54 + imageBytes, 4);
    Put(out, 0, 4);
    Put(out, 54, 4);
    Put(out, 40, 4);
    Put(out, static_cast<std::uint32_t>(width), 4);
    Put(out, static_cast<std::uint32_t>(height), 4);
    Put(out, planes, 2);
    Put(out, bitCount, 2);
    Put(out, compression, 4);
    Put(out, imageBytes, 4);
    Put(out, 2835, 4);
    Put(out, 2835, 4);
    Put(out, coloursUsed, 4);
    Put(out, coloursImportant, 4);
    return out;
}

std::vector<std::uint8_t> BmpBytes::Bytes() const
{
    const std::int32_t rows = std::abs(height);
    const std::int32_t columns = std::abs(width);
    const std::uint32_t rowBytes = (3 * static_cast<std::uint32_t>(columns) + 3) & ~3U;
    std::vector<std::uint8_t> out = Headers();
    for (std::int32_t y = rows - 1; y >= 0; --y)
    {
        for (std::int32_t x = 0; x < columns; ++x)
            Put(out, pixels[static_cast<std::size_t>(y * columns + x)], 3);
        out.resize(out.size() + rowBytes - 3 * static_cast<std::uint32_t>(columns), kPadding);
    }
    return out;
}
