#include "fkiss/SceneStage.h"

#include "config/AsciiCase.h"
#include "image/ScreenBuffer.h"
#include "scene/Scene.h"

#include <algorithm>
#include <limits>

SceneStage::SceneStage(Scene& scene, ScreenBuffer& buffer) : m_scene(scene), m_buffer(buffer)
{
    std::map<std::int32_t, const CelLine*> lines;
    if (const ConfigFile* config = scene.Config())
    {
        for (const CelLine* line : config->CelLines())
            lines.emplace(line->Serial(), line);
    }
    const auto& cels = scene.PlacedCels();
    for (std::size_t i = 0; i < cels.size(); ++i)
    {
        const auto line = lines.find(cels[i]->celLineSerial);
        m_names.push_back(line == lines.end() ? std::string()
                                              : LowerAscii(line->second->CelFileName()));
        m_lineOpacity.push_back(cels[i]->opacity);
        m_objectCels[cels[i]->objectNumber].push_back(static_cast<int>(i));
    }
}

PlacedCel& SceneStage::At(int cel) const
{
    return *m_scene.PlacedCels()[static_cast<std::size_t>(cel)];
}

int SceneStage::CelCount() const
{
    return static_cast<int>(std::min(m_scene.PlacedCels().size(), m_names.size()));
}

std::string SceneStage::CelName(int cel) const
{
    return m_names[static_cast<std::size_t>(cel)];
}

std::string_view SceneStage::CelComment(int cel) const
{
    return At(cel).comment;
}

std::int32_t SceneStage::ObjectOf(int cel) const
{
    return At(cel).objectNumber;
}

Rect SceneStage::CelBounds(int cel) const
{
    return At(cel).CelRect();
}

bool SceneStage::InCurrentSet(int cel) const
{
    return At(cel).visible != 0;
}

bool SceneStage::OpaqueAt(int cel, std::int32_t x, std::int32_t y) const
{
    return At(cel).IsOpaqueAt(x, y);
}

std::int32_t SceneStage::LineOpacity(int cel) const
{
    return m_lineOpacity[static_cast<std::size_t>(cel)];
}

void SceneStage::SetCelState(int cel, bool mapped, bool ghosted, std::int32_t opacity)
{
    PlacedCel& placed = At(cel);
    const bool looksDifferent = placed.mapped != mapped || placed.opacity != opacity;
    placed.mapped = mapped;
    placed.ghosted = ghosted;
    placed.opacity = opacity;
    if (looksDifferent && placed.visible)
        m_buffer.AddDirty(placed.CelRect());
}

Point SceneStage::ObjectPosition(std::int32_t object) const
{
    const auto found = m_objectCels.find(object);
    if (found == m_objectCels.end())
        return Point{};
    const PlacedCel& cel = At(found->second.front());
    return Point{cel.x, cel.y};
}

Point SceneStage::InitialPosition(std::int32_t object) const
{
    const ConfigFile* config = m_scene.Config();
    const auto set = static_cast<std::size_t>(m_scene.CurrentSet());
    if (!config || set >= config->SetLines().size())
        return Point{};
    const SetLine& line = *config->SetLines()[set];
    return Point{line.GetX(object), line.GetY(object)};
}

void SceneStage::MoveObjectTo(std::int32_t object, Point position)
{
    const auto found = m_objectCels.find(object);
    if (found == m_objectCels.end())
        return;
    for (const int cel : found->second)
        At(cel).MoveTo(m_buffer, position.x, position.y);
}

Point SceneStage::ObjectExtent(std::int32_t object) const
{
    const auto found = m_objectCels.find(object);
    return found == m_objectCels.end() ? Point{} : m_scene.GetObjectExtent(found->second.front());
}

std::int32_t SceneStage::ObjectFix(std::int32_t object) const
{
    const auto found = m_objectCels.find(object);
    return found == m_objectCels.end() ? 0 : m_scene.GetObjectFix(found->second.front());
}

void SceneStage::SetObjectFix(std::int32_t object, std::int32_t fix)
{
    const auto found = m_objectCels.find(object);
    if (found == m_objectCels.end())
        return;
    // The object's fix is the sum over its cels: the first carries it all.
    for (const int cel : found->second)
        At(cel).fix = cel == found->second.front() ? fix : 0;
}

int SceneStage::CurrentSet() const
{
    return m_scene.CurrentSet();
}

std::int64_t SceneStage::CurrentPaletteGroup() const
{
    return m_scene.CurrentPaletteGroup();
}

bool SceneStage::SelectSet(int set)
{
    if (set < 0 || set >= kSetCount || !m_scene.IsLoaded())
        return false;
    m_scene.SelectSet(set, 0);
    m_scene.ApplyToBuffer(m_buffer, true, false);
    return true;
}

bool SceneStage::SelectPaletteGroup(std::int64_t group)
{
    if (group < 0 || group > std::numeric_limits<std::int32_t>::max() || !m_scene.IsLoaded())
        return false;
    m_scene.SelectPaletteGroup(group, 0);
    m_scene.ApplyToBuffer(m_buffer, true, false);
    return true;
}

Point SceneStage::ScreenSize() const
{
    return m_scene.ScreenSize();
}
