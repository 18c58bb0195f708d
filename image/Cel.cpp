#include "image/Cel.h"

#include <cstddef>
#include <cstring>

namespace
{

constexpr std::size_t kHeaderSize = 32;
constexpr std::size_t kOldHeaderSize = 4;

std::uint16_t ReadWord(const std::uint8_t* p)
{
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

bool HasMagic(std::span<const std::uint8_t> file)
{
    return file.size() >= kHeaderSize && std::memcmp(file.data(), "KiSS", 4) == 0;
}

/// Colour numbers one per byte from rows of two pixels per byte, high nibble first. A row of
/// odd width ends with an unused low nibble.
std::vector<std::uint8_t> UnpackNibbles(const std::uint8_t* data, std::size_t width,
                                        std::size_t height)
{
    const std::size_t stride = (width + 1) / 2;
    std::vector<std::uint8_t> out(width * height);
    std::uint8_t* target = out.data();
    for (std::size_t row = 0; row < height; ++row, data += stride)
    {
        for (std::size_t c = 0; c < width; ++c)
        {
            const std::uint8_t pair = data[c / 2];
            *target++ = (c % 2 == 0) ? static_cast<std::uint8_t>(pair >> 4) : (pair & 0x0F);
        }
    }
    return out;
}

} // namespace

void CelImage::ClearImage()
{
    *this = CelImage{};
}

void Cel::Load(std::span<const std::uint8_t> file)
{
    // A reused cel must not keep reporting an earlier success, so everything starts afresh. A
    // rejected file keeps its header fields but clears the image part, so nothing looks drawable.
    *this = Cel{};
    if (file.size() <= kOldHeaderSize)
        return;

    std::size_t dataStart = 0;
    std::uint8_t statedMark = 0;
    if (HasMagic(file))
    {
        const std::uint8_t* h = file.data();
        statedMark = h[4];
        fileBitsPerPixel = h[5];
        reservedWord = ReadWord(h + 6);
        width = ReadWord(h + 8);
        height = ReadWord(h + 10);
        xOffset = ReadWord(h + 12);
        yOffset = ReadWord(h + 14);
        const std::uint16_t transparency = ReadWord(h + 16);
        if (transparency <= 256)
            opacity = 256 - transparency;
        transparentIndex = h[18];
        dataStart = kHeaderSize;
    }
    else
    {
        width = ReadWord(file.data());
        height = ReadWord(file.data() + 2);
        statedMark = kCelMarkIndexed;
        fileBitsPerPixel = 4;
        dataStart = kOldHeaderSize;
    }

    if (statedMark == kCelMarkIndexed && fileBitsPerPixel == 32)
    {
        // Newer editors mark their 32-bit cels 0x20; their rows are four bytes a pixel as with
        // 0x21, and they leave the reserved word to chance.
        depth = 32;
    }
    else if (statedMark == kCelMarkIndexed)
    {
        // Anything but 8 is unpacked as 4-bit rows; below 4 the rows read would not cover that.
        if (fileBitsPerPixel < 4)
            return ClearImage();
        depth = 8;
    }
    else if (statedMark == kCelMarkTrueColour)
    {
        if (fileBitsPerPixel != 32 || reservedWord != 0)
            return ClearImage();
        depth = 32;
    }
    else
    {
        return ClearImage();
    }

    const auto w = static_cast<std::size_t>(width);
    const auto h = static_cast<std::size_t>(height);
    const std::size_t rowSize = (fileBitsPerPixel * w + 7) / 8;
    // Compared with what the file holds before anything is allocated, so a small file cannot
    // claim gigabytes.
    if (rowSize * h > file.size() - dataStart)
        return ClearImage();

    const std::uint8_t* data = file.data() + dataStart;
    if (depth == 32 || fileBitsPerPixel == 8)
        pixels = std::make_shared<const std::vector<std::uint8_t>>(data, data + rowSize * h);
    else
        pixels = std::make_shared<const std::vector<std::uint8_t>>(UnpackNibbles(data, w, h));
    mark = statedMark;
}
