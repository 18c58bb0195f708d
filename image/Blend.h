#pragma once

#include <cstdint>

// The 8-bit channel arithmetic of compositing, each rule named once. All of it is integer: a
// product is divided by 256 with the quotient rounded toward zero, also when it is negative, so a
// blend moves the target towards the source by at most the exact fraction and never past it.
// Every result therefore lies between the two values blended and needs no clamping.

/// x / 256 rounded toward zero: -300 gives -1, 300 gives 1.
constexpr std::int32_t DivideBy256(std::int32_t x)
{
    return x / 256;
}

/// v × w / 256 rounded toward zero; v is a signed channel difference (-255 to 255), w a weight
/// from 0 to 256 (an alpha or an opacity).
constexpr std::int32_t Scale(std::int32_t v, std::int32_t w)
{
    return DivideBy256(v * w);
}

/// Moves d towards s by the weight w (0 keeps d, 256 gives s): d + (s − d) × w ÷ 256, the
/// division rounded toward zero.
constexpr std::uint8_t Blend(std::uint8_t d, std::uint8_t s, std::int32_t w)
{
    return static_cast<std::uint8_t>(d + Scale(s - d, w));
}

/// Alpha a (1 to 254) and opacity g (1 to 255) applied one after the other, each division
/// rounded toward zero on its own: d + g × ((s − d) × a ÷ 256) ÷ 256.
constexpr std::uint8_t BlendTwice(std::uint8_t d, std::uint8_t s, std::int32_t a, std::int32_t g)
{
    return static_cast<std::uint8_t>(d + Scale(Scale(s - d, a), g));
}
