#include "image/Reduce.h"

#include <algorithm>
#include <cstddef>

namespace
{
/// The source pixels one target pixel covers along an axis and how much of each. Measured in
/// units where a source pixel is `to` long and a target pixel `from` long, so every weight is
/// a whole number and the weights of one target pixel add up to `from`.
struct Coverage
{
    std::size_t first = 0;
    std::vector<std::uint64_t> weights;
};

std::vector<Coverage> CoverageAlong(std::int32_t from, std::int32_t to)
{
    const auto source = static_cast<std::int64_t>(from);
    const auto target = static_cast<std::int64_t>(to);
    std::vector<Coverage> spans(static_cast<std::size_t>(to));
    for (std::int64_t j = 0; j < target; ++j)
    {
        const std::int64_t start = j * source;
        const std::int64_t end = start + source;
        Coverage& span = spans[static_cast<std::size_t>(j)];
        span.first = static_cast<std::size_t>(start / target);
        for (std::int64_t i = start / target; i * target < end; ++i)
        {
            const std::int64_t overlap = std::min(end, (i + 1) * target) - std::max(start, i * target);
            span.weights.push_back(static_cast<std::uint64_t>(overlap));
        }
    }
    return spans;
}
} // namespace

ImageSize FitWithin(ImageSize image, std::int32_t limit)
{
    const std::int32_t longer = std::max(image.width, image.height);
    if (limit <= 0 || longer <= limit)
        return image;
    auto scaled = [&](std::int32_t side) {
        const std::int64_t rounded =
            (static_cast<std::int64_t>(side) * limit + longer / 2) / longer;
        return static_cast<std::int32_t>(std::max<std::int64_t>(rounded, 1));
    };
    return {scaled(image.width), scaled(image.height)};
}

std::vector<std::uint8_t> ReduceRgb(const std::vector<std::uint8_t>& rgb, ImageSize from,
                                    ImageSize to)
{
    const auto fromWidth = static_cast<std::size_t>(from.width);
    const auto toWidth = static_cast<std::size_t>(to.width);
    const std::vector<Coverage> columns = CoverageAlong(from.width, to.width);
    const std::vector<Coverage> rows = CoverageAlong(from.height, to.height);

    // Across first, keeping the sums: each row of `across` holds weighted sums of one source row.
    std::vector<std::uint64_t> across(3 * toWidth * static_cast<std::size_t>(from.height));
    for (std::size_t y = 0; y < static_cast<std::size_t>(from.height); ++y)
    {
        const std::uint8_t* source = rgb.data() + 3 * fromWidth * y;
        std::uint64_t* sums = across.data() + 3 * toWidth * y;
        for (std::size_t x = 0; x < toWidth; ++x)
        {
            const Coverage& span = columns[x];
            for (std::size_t k = 0; k < span.weights.size(); ++k)
                for (std::size_t c = 0; c < 3; ++c)
                    sums[3 * x + c] += span.weights[k] * source[3 * (span.first + k) + c];
        }
    }

    const std::uint64_t area =
        static_cast<std::uint64_t>(from.width) * static_cast<std::uint64_t>(from.height);
    std::vector<std::uint8_t> reduced(3 * toWidth * static_cast<std::size_t>(to.height));
    for (std::size_t y = 0; y < static_cast<std::size_t>(to.height); ++y)
    {
        const Coverage& span = rows[y];
        for (std::size_t i = 0; i < 3 * toWidth; ++i)
        {
            std::uint64_t sum = 0;
            for (std::size_t k = 0; k < span.weights.size(); ++k)
                sum += span.weights[k] * across[3 * toWidth * (span.first + k) + i];
            reduced[3 * toWidth * y + i] = static_cast<std::uint8_t>((sum + area / 2) / area);
        }
    }
    return reduced;
}
