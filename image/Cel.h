#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

/// The pixel bytes of one loaded cel. Copies of a CelImage share one block; the last owner
/// frees it.
using PixelBlock = std::shared_ptr<const std::vector<std::uint8_t>>;

/// The image part that a loaded Cel and every PlacedCel share.
struct CelImage
{
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t xOffset = 0;
    std::int32_t yOffset = 0;
    PixelBlock pixels;          ///< rows top-down, no padding; empty when not loaded
    std::int32_t depth = 0;     ///< 8 (colour numbers) or 32 (blue, green, red, alpha); 0 while empty
    std::int32_t opacity = 256; ///< 0 to 256
    std::uint8_t transparentIndex = 0;

    /// Drops the pixels and resets the image fields (opacity back to 256).
    void ClearImage();
    const std::uint8_t* Data() const { return pixels ? pixels->data() : nullptr; }
    std::int32_t RowBytes() const { return depth == 32 ? 4 * width : width; }
};

/// Colour numbers, or 32-bit pixels when the file states 32 bits per pixel.
constexpr std::uint8_t kCelMarkIndexed = 0x20;
constexpr std::uint8_t kCelMarkTrueColour = 0x21;

/// A cel file. Loading never throws; a rejected file leaves mark 0.
struct Cel : CelImage
{
    std::uint8_t mark = 0;
    std::uint8_t fileBitsPerPixel = 0;
    std::uint16_t reservedWord = 0;

    /// Loads from the whole contents of a cel file.
    void Load(std::span<const std::uint8_t> file);
    bool IsOk() const { return mark != 0; }
};
