// Loads arbitrary bytes as a palette and checks that every group has the stated length.
#include "image/PaletteFile.h"

#include <cstdlib>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    PaletteFile palette;
    palette.Load(std::span<const std::uint8_t>(data, size));
    for (std::size_t g = 0; g <= palette.GroupCount(); ++g)
    {
        const auto group = palette.Group(static_cast<std::int64_t>(g));
        if (group.size() != palette.ColoursPerGroup() || palette.MappableGroup(g).size() > 256)
            std::abort();
        for (const PaletteColour& colour : group)
        {
            if (colour.flags != 0)
                std::abort();
        }
    }
    return 0;
}
