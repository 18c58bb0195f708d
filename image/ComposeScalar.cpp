#include "image/Blend.h"
#include "image/Compose.h"

#include <cstring>

namespace
{

template <std::size_t SourceBytes, std::size_t TargetBytes, typename Op>
void ForEachPixel(const std::uint8_t* s, std::uint8_t* d, std::size_t count, Op op)
{
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
    case ComposeRule::IndexedNumbers:
        return ForEachPixel<1, 1>(source, target, count,
                                  [n](const std::uint8_t* s, std::uint8_t* d)
                                  {
                                      if (*s != n->transparent)
                                          *d = n->index[*s];
                                  });
    case ComposeRule::SolidNumbers:
        return ForEachPixel<1, TargetBytes>(source, target, count,
                                            [n](const std::uint8_t* s, std::uint8_t* d)
                                            {
                                                if (*s == n->transparent)
                                                    return;
                                                d[0] = n->blue[*s];
                                                d[1] = n->green[*s];
                                                d[2] = n->red[*s];
                                            });
    case ComposeRule::BlendedNumbers:
        return ForEachPixel<1, TargetBytes>(source, target, count,
                                            [n, g](const std::uint8_t* s, std::uint8_t* d)
                                            {
                                                if (*s == n->transparent)
                                                    return;
                                                d[0] = Blend(d[0], n->blue[*s], g);
                                                d[1] = Blend(d[1], n->green[*s], g);
                                                d[2] = Blend(d[2], n->red[*s], g);
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
