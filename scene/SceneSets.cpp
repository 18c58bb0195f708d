#include "scene/Scene.h"

#include <algorithm>
#include <limits>

namespace
{

std::int32_t SquaredDistance(const PaletteColour& a, const PaletteColour& b)
{
    const std::int32_t red = a.red - b.red;
    const std::int32_t green = a.green - b.green;
    const std::int32_t blue = a.blue - b.blue;
    return red * red + green * green + blue * blue;
}

/// The index of colour in the table, appending it while there is room; a full table gives the
/// nearest entry (lowest index on ties) so no index ever passes 255.
std::uint8_t IndexOf(MergedColourTable& table, const PaletteColour& colour)
{
    const auto used = table.entries.begin() + table.count;
    const auto found = std::find(table.entries.begin(), used, colour);
    if (found != used)
        return static_cast<std::uint8_t>(found - table.entries.begin());
    if (table.count < table.entries.size())
    {
        table.entries[table.count] = colour;
        return static_cast<std::uint8_t>(table.count++);
    }
    std::size_t nearest = 0;
    std::int32_t best = std::numeric_limits<std::int32_t>::max();
    for (std::size_t i = 0; i < table.entries.size(); ++i)
    {
        const std::int32_t distance = SquaredDistance(table.entries[i], colour);
        if (distance < best)
        {
            best = distance;
            nearest = i;
        }
    }
    return static_cast<std::uint8_t>(nearest);
}

} // namespace

void Scene::MergePaletteGroup(std::size_t mapIndex, const PaletteFile& palette, std::int64_t group)
{
    if (mapIndex >= m_colourMaps.size())
        return;
    ColourMap& map = *m_colourMaps[mapIndex];
    map.map.fill(0);
    const auto colours = palette.MappableGroup(group);
    for (std::size_t i = 0; i < colours.size(); ++i)
        map.map[i] = IndexOf(m_colours, colours[i]);
}

void Scene::MergeAllPalettes(std::int64_t group)
{
    m_colours.count = 0;
    std::size_t mapIndex = 0;
    for (const PaletteLine* line : m_config->PaletteLines())
    {
        const auto found = m_paletteCache.find(line->PaletteFileName());
        if (found == m_paletteCache.end())
            continue;
        if (mapIndex == m_colourMaps.size())
            m_colourMaps.push_back(std::make_unique<ColourMap>());
        MergePaletteGroup(mapIndex, *found->second, group);
        ++mapIndex;
    }
}

void Scene::SelectSet(int base, int step)
{
    const int target = TargetSet(base, step);
    if (target < 0)
        return;
    StorePositions();
    ShowSet(target);
}

void Scene::ShowSet(int target)
{
    m_currentSet = target;
    SelectPaletteGroup(-1, 0);

    // The placed cels follow the cel-line list in order, with a gap for every cel that did not
    // load, so one walk over both pairs each line with its cel.
    const SetLine& set = *CurrentSetLine();
    auto placed = m_placedCels.begin();
    for (const CelLine* line : m_config->CelLines())
    {
        if (placed == m_placedCels.end())
            break;
        PlacedCel& cel = **placed;
        if (cel.celLineSerial != line->Serial())
            continue;
        cel.x = set.GetX(line->ObjectNumber());
        cel.y = set.GetY(line->ObjectNumber());
        cel.visible = line->IsInSet(m_currentSet) ? 1 : 0;
        ++placed;
    }
}

void Scene::SelectPaletteGroup(std::int64_t base, std::int64_t step)
{
    SetLine* set = CurrentSetLine();
    if (!set)
        return;
    const std::int64_t group = (base == -1 ? set->PaletteGroup() : base) + step;
    // The set line holds the group in 32 bits; a group beyond that is out of range like a
    // negative one.
    if (group < 0 || group > std::numeric_limits<std::int32_t>::max())
        return;
    set->SetPaletteGroup(static_cast<std::int32_t>(group));
    MergeAllPalettes(group);
}
