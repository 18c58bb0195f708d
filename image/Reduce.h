#pragma once

#include <cstdint>
#include <vector>

struct ImageSize
{
    std::int32_t width = 0;
    std::int32_t height = 0;

    bool operator==(const ImageSize&) const = default;
};

/// The largest size within limit by limit that keeps the image's aspect (rounded, at least one
/// pixel each way); the image's own size when it already fits, since nothing is ever enlarged.
ImageSize FitWithin(ImageSize image, std::int32_t limit);

/// Reduces 8-bit RGB rows (3 × width bytes each, no padding) to a size no larger in either
/// direction by area averaging: every target pixel is the mean of the source area it covers,
/// source pixels cut by its edges weighted by the part that falls inside.
std::vector<std::uint8_t> ReduceRgb(const std::vector<std::uint8_t>& rgb, ImageSize from,
                                    ImageSize to);
