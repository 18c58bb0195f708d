#pragma once

#include "fkiss/FkissStage.h"

#include <map>
#include <string>
#include <vector>

class Scene;
class ScreenBuffer;
struct PlacedCel;

/// The engine's view of a loaded scene: changes go to the placed cels of the current set and
/// mark what they touch in the screen buffer, as drags do.
class SceneStage : public FkissStage
{
public:
    SceneStage(Scene& scene, ScreenBuffer& buffer);

    int CelCount() const override;
    std::string CelName(int cel) const override;
    std::string_view CelComment(int cel) const override;
    std::int32_t ObjectOf(int cel) const override;
    Rect CelBounds(int cel) const override;
    bool InCurrentSet(int cel) const override;
    bool OpaqueAt(int cel, std::int32_t x, std::int32_t y) const override;
    std::int32_t LineOpacity(int cel) const override;
    void SetCelState(int cel, bool mapped, bool ghosted, std::int32_t opacity) override;
    Point ObjectPosition(std::int32_t object) const override;
    Point InitialPosition(std::int32_t object) const override;
    void MoveObjectTo(std::int32_t object, Point position) override;
    Point ObjectExtent(std::int32_t object) const override;
    std::int32_t ObjectFix(std::int32_t object) const override;
    void SetObjectFix(std::int32_t object, std::int32_t fix) override;
    int CurrentSet() const override;
    std::int64_t CurrentPaletteGroup() const override;
    bool SelectSet(int set) override;
    bool SelectPaletteGroup(std::int64_t group) override;
    Point ScreenSize() const override;

private:
    PlacedCel& At(int cel) const;

    Scene& m_scene;
    ScreenBuffer& m_buffer;
    std::vector<std::string> m_names;
    std::vector<std::int32_t> m_lineOpacity;
    std::map<std::int32_t, std::vector<int>> m_objectCels;
};
