#include "BmpReader.h"

#include <algorithm>
#include <array>

namespace
{
constexpr std::uint16_t kBitmapType = 0x4D42;      // "BM"
constexpr std::int64_t kMaxFileBytes = 0xFFFFFFFF; // a bitmap file states its size in 32 bits

std::uint32_t Little(const std::uint8_t* p, int bytes)
{
    std::uint32_t value = 0;
    for (int i = bytes - 1; i >= 0; --i)
        value = (value << 8) | p[i];
    return value;
}

// Reads up to out.size() bytes and zeroes what the stream did not deliver.
std::size_t ReadFilled(std::istream& in, std::span<std::uint8_t> out)
{
    in.read(reinterpret_cast<char*>(out.data()), static_cast<std::streamsize>(out.size()));
    const auto got = static_cast<std::size_t>(std::max<std::streamsize>(in.gcount(), 0));
    std::fill(out.begin() + static_cast<std::ptrdiff_t>(got), out.end(), std::uint8_t{0});
    return got;
}
} // namespace

BmpReader::BmpReader(std::istream& in) : m_in(in)
{
    std::array<std::uint8_t, 14> file{};
    if (ReadFilled(m_in, file) < file.size() || Little(file.data(), 2) != kBitmapType)
        return;

    m_check = BitmapCheck::Unsupported;
    std::array<std::uint8_t, 40> info{};
    if (ReadFilled(m_in, info) < info.size())
        return;
    const auto width = static_cast<std::int32_t>(Little(&info[4], 4));
    const auto height = static_cast<std::int32_t>(Little(&info[8], 4));
    const bool format = Little(&info[12], 2) == 1 && Little(&info[14], 2) == 24 &&
                        Little(&info[16], 4) == 0 && Little(&info[32], 4) == 0 &&
                        Little(&info[36], 4) == 0;
    // Top-down (negative height) and empty bitmaps are refused, and so is a size that neither
    // a cel header nor a bitmap file could hold.
    const bool size = width > 0 && height > 0 && width <= kMaxSide && height <= kMaxSide &&
                      kHeaderBytes + RowBytes(width) * height <= kMaxFileBytes;
    if (!format || !size)
        return;
    m_width = width;
    m_height = height;
    m_check = BitmapCheck::Ok;
}

void BmpReader::ReadRow(std::int32_t width, std::int32_t row, std::span<std::uint8_t> out)
{
    m_in.clear();
    m_in.seekg(kHeaderBytes + RowBytes(width) * row);
    ReadFilled(m_in, out.first(static_cast<std::size_t>(RowBytes(width))));
}
