#include "scene/Scene.h"

#include <algorithm>
#include <limits>

const PlacedCel* Scene::CelAt(int index) const
{
    if (index < 0 || static_cast<std::size_t>(index) >= m_placedCels.size())
        return nullptr;
    return m_placedCels[static_cast<std::size_t>(index)].get();
}

void Scene::StorePositions()
{
    SetLine* set = CurrentSetLine();
    if (!set)
        return;
    // Last to first, so that of cels disagreeing on their object's position the first wins.
    for (auto placed = m_placedCels.rbegin(); placed != m_placedCels.rend(); ++placed)
        set->SetPosition((*placed)->objectNumber, (*placed)->x, (*placed)->y);
}

Scene::HitResult Scene::HitTest(Point point) const
{
    for (std::size_t i = m_placedCels.size(); i-- > 0;)
    {
        const PlacedCel& cel = *m_placedCels[i];
        if (cel.HitTest(point.x, point.y))
            return HitResult{static_cast<int>(i), cel.objectNumber, Point{cel.x, cel.y},
                             cel.comment};
    }
    return HitResult{};
}

Point Scene::GetCelPosition(int index) const
{
    const PlacedCel* cel = CelAt(index);
    return cel ? Point{cel->x, cel->y} : Point{};
}

std::int32_t Scene::GetObjectFix(int index) const
{
    const PlacedCel* cel = CelAt(index);
    if (!cel)
        return 0;
    std::int64_t sum = 0;
    for (const auto& other : m_placedCels)
    {
        if (other->objectNumber == cel->objectNumber)
            sum += other->fix;
    }
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(
        sum, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

void Scene::ReduceObjectFix(int index, std::int64_t squaredDistance)
{
    const PlacedCel* cel = CelAt(index);
    if (!cel)
        return;
    // About the base-2 logarithm of the distance: a quick first move loosens more.
    std::int64_t strength = 0;
    for (std::int64_t q = squaredDistance / 4; q != 0; q /= 4)
        ++strength;
    const std::int32_t object = cel->objectNumber;
    for (const auto& other : m_placedCels)
    {
        if (other->objectNumber != object)
            continue;
        if (strength <= other->fix)
        {
            other->fix -= static_cast<std::int32_t>(strength);
            return;
        }
        strength -= other->fix;
        other->fix = 0;
    }
}

Point Scene::GetObjectExtent(int index) const
{
    const PlacedCel* cel = CelAt(index);
    if (!cel)
        return Point{};
    // Offsets from cel lines may lie anywhere in 32 bits, so the far edges are summed wider.
    std::int64_t right = std::int64_t{cel->xOffset} + cel->width;
    std::int64_t bottom = std::int64_t{cel->yOffset} + cel->height;
    for (const auto& other : m_placedCels)
    {
        if (other->objectNumber != cel->objectNumber)
            continue;
        right = std::max(right, std::int64_t{other->xOffset} + other->width);
        bottom = std::max(bottom, std::int64_t{other->yOffset} + other->height);
    }
    constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();
    return Point{static_cast<std::int32_t>(std::min(right, kMax)),
                 static_cast<std::int32_t>(std::min(bottom, kMax))};
}

template <typename Move> void Scene::ForEachCelOfObject(int index, Move move)
{
    const PlacedCel* cel = CelAt(index);
    if (!cel)
        return;
    const std::int32_t object = cel->objectNumber;
    for (const auto& other : m_placedCels)
    {
        if (other->objectNumber == object)
            move(*other);
    }
}

void Scene::MoveObjectBy(ScreenBuffer& buffer, int index, std::int32_t dx, std::int32_t dy)
{
    ForEachCelOfObject(index, [&](PlacedCel& cel) { cel.MoveBy(buffer, dx, dy); });
}

void Scene::MoveObjectTo(ScreenBuffer& buffer, int index, std::int32_t x, std::int32_t y)
{
    ForEachCelOfObject(index, [&](PlacedCel& cel) { cel.MoveTo(buffer, x, y); });
}

void Scene::DrawAll(ScreenBuffer& buffer) const
{
    for (const auto& cel : m_placedCels)
        cel->Draw(buffer);
}

void Scene::DrawDirty(ScreenBuffer& buffer) const
{
    const Rect dirty = buffer.DirtyRect();
    if (dirty.IsEmpty())
        return;
    buffer.FillBackground(dirty);
    DrawAll(buffer);
}

void Scene::RestoreLoadState()
{
    m_colourMaps.clear();
    m_placedCels.clear();
    m_colours.count = 0;
    m_workingSets.clear();
    CopySetLines();
    BuildSet(-1, 0);
}

int Scene::FirstCelOf(std::int32_t object) const
{
    for (std::size_t i = 0; i < m_placedCels.size(); ++i)
    {
        if (m_placedCels[i]->objectNumber == object)
            return static_cast<int>(i);
    }
    return -1;
}

std::vector<std::int32_t> Scene::ObjectCelFixes(std::int32_t object) const
{
    std::vector<std::int32_t> fixes;
    for (const auto& cel : m_placedCels)
    {
        if (cel->objectNumber == object)
            fixes.push_back(cel->fix);
    }
    return fixes;
}

void Scene::SetObjectCelFixes(std::int32_t object, const std::vector<std::int32_t>& fixes)
{
    auto fix = fixes.begin();
    for (const auto& cel : m_placedCels)
    {
        if (cel->objectNumber == object && fix != fixes.end())
            cel->fix = *fix++;
    }
}

Scene::Arrangement Scene::TakeArrangement()
{
    StorePositions();
    Arrangement arrangement;
    arrangement.set = m_currentSet;
    for (const auto& set : m_workingSets)
        arrangement.sets.push_back(*set);
    for (const auto& cel : m_placedCels)
        arrangement.fixes.push_back(cel->fix);
    return arrangement;
}

void Scene::PutArrangement(const Arrangement& arrangement)
{
    // Taken from this scene, so the sizes agree unless the set was loaded anew since.
    if (arrangement.sets.size() != m_workingSets.size() ||
        arrangement.fixes.size() != m_placedCels.size())
        return;
    for (std::size_t i = 0; i < m_workingSets.size(); ++i)
        *m_workingSets[i] = arrangement.sets[i];
    for (std::size_t i = 0; i < m_placedCels.size(); ++i)
        m_placedCels[i]->fix = arrangement.fixes[i];
    ShowSet(arrangement.set);
}
