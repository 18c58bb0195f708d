#include "image/Blend.h"
#include "image/Compose.h"

#include <bit>
#include <cstring>

// Pixels are handled as 32-bit words whose low byte comes first in memory.
static_assert(std::endian::native == std::endian::little);

namespace
{

/// target = (target & keep) | put, with keep and put as bytes in memory order.
template <std::size_t TargetBytes>
void PutMasked(std::uint8_t* d, std::uint32_t keep, std::uint32_t put)
{
    if constexpr (TargetBytes == 4)
    {
        std::uint32_t word;
        std::memcpy(&word, d, 4);
        word = (word & keep) | put;
        std::memcpy(d, &word, 4);
    }
    else
    {
        std::uint8_t keepBytes[4];
        std::uint8_t putBytes[4];
        std::memcpy(keepBytes, &keep, 4);
        std::memcpy(putBytes, &put, 4);
        for (std::size_t k = 0; k < TargetBytes; ++k)
            d[k] = static_cast<std::uint8_t>((d[k] & keepBytes[k]) | putBytes[k]);
    }
}

template <std::size_t SourceBytes, std::size_t TargetBytes, typename Op>
void ForEachPixel(const std::uint8_t* s, std::uint8_t* d, std::size_t count, Op op)
{
    // The solid paths take a few instructions a pixel, so the loop's own count matters.
#pragma GCC unroll 4
    for (std::size_t i = 0; i < count; ++i, s += SourceBytes, d += TargetBytes)
        op(s, d);
}

template <std::size_t TargetBytes>
void ComposeRow(const std::uint8_t* source, std::uint8_t* target, std::size_t count,
                const Composition& c)
{
    const NumberLookup* n = c.numbers;
    const std::int32_t g = c.opacity;
    switch (c.rule)
    {
    // Colour numbers are drawn without a branch per pixel: scattered transparent pixels would
    // otherwise cost a mispredicted branch each.
    case ComposeRule::IndexedNumbers:
        return ForEachPixel<1, 1>(
            source, target, count,
            [index = n->index.data(), t = n->transparent](const std::uint8_t* s, std::uint8_t* d)
            {
                const auto keep = static_cast<std::uint8_t>(-int{*s == t});
                *d = static_cast<std::uint8_t>((*d & keep) | (index[*s] & ~keep));
            });
    case ComposeRule::SolidNumbers:
        return ForEachPixel<1, TargetBytes>(
            source, target, count,
            [pixel = n->pixel.data()](const std::uint8_t* s, std::uint8_t* d)
            {
                // The transparent number keeps the whole target, any other its fourth byte.
                const std::uint32_t p = pixel[*s];
                const std::uint32_t keep =
                    0xFF000000u | static_cast<std::uint32_t>(static_cast<std::int32_t>(p) >> 31);
                PutMasked<TargetBytes>(d, keep, p & ~keep);
            });
    case ComposeRule::BlendedNumbers:
        return ForEachPixel<1, TargetBytes>(source, target, count,
                                            [n, g](const std::uint8_t* s, std::uint8_t* d)
                                            {
                                                // Weight 0 keeps the target exactly.
                                                const std::int32_t w = *s == n->transparent ? 0 : g;
                                                d[0] = Blend(d[0], n->blue[*s], w);
                                                d[1] = Blend(d[1], n->green[*s], w);
                                                d[2] = Blend(d[2], n->red[*s], w);
                                            });
    case ComposeRule::Alpha:
        return ForEachPixel<4, TargetBytes>(source, target, count,
                                            [](const std::uint8_t* s, std::uint8_t* d)
                                            {
                                                const std::uint8_t a = s[3];
                                                if (a == 255)
                                                {
                                                    std::memcpy(d, s, TargetBytes);
                                                }
                                                else if (a != 0)
                                                {
                                                    for (int k = 0; k < 3; ++k)
                                                        d[k] = Blend(d[k], s[k], a);
                                                }
                                            });
    case ComposeRule::AlphaAndOpacity:
        return ForEachPixel<4, TargetBytes>(source, target, count,
                                            [g](const std::uint8_t* s, std::uint8_t* d)
                                            {
                                                const std::uint8_t a = s[3];
                                                if (a == 255)
                                                {
                                                    for (int k = 0; k < 3; ++k)
                                                        d[k] = Blend(d[k], s[k], g);
                                                }
                                                else if (a != 0)
                                                {
                                                    for (int k = 0; k < 3; ++k)
                                                        d[k] = BlendTwice(d[k], s[k], a, g);
                                                }
                                            });
    }
}

} // namespace

void NumberLookup::PackPixels()
{
    for (std::size_t c = 0; c < pixel.size(); ++c)
        pixel[c] = std::uint32_t{blue[c]} | std::uint32_t{green[c]} << 8 |
                   std::uint32_t{red[c]} << 16 | (c == transparent ? 0xFF000000u : 0u);
}

void ComposeRowScalar(const std::uint8_t* source, std::uint8_t* target, std::size_t count,
                      const Composition& composition)
{
    switch (composition.targetBytes)
    {
    case 1:
        return ComposeRow<1>(source, target, count, composition);
    case 3:
        return ComposeRow<3>(source, target, count, composition);
    default:
        return ComposeRow<4>(source, target, count, composition);
    }
}

void ComposeScalar(const Run& run, const Composition& composition)
{
    const std::uint8_t* source = run.source;
    std::uint8_t* target = run.target;
    for (std::int32_t row = 0; row < run.rows; ++row)
    {
        ComposeRowScalar(source, target, static_cast<std::size_t>(run.width), composition);
        source += run.sourceStep;
        target += run.targetStep;
    }
}
