#include "scene/MoveSteps.h"

#include "image/ScreenBuffer.h"

namespace
{

Point PositionOf(const Scene& scene, std::int32_t object)
{
    return scene.GetCelPosition(scene.FirstCelOf(object));
}

StepRepaint ApplyDrag(const DragStep& step, StepDirection direction, Scene& scene,
                      ScreenBuffer& buffer)
{
    StepRepaint repaint = StepRepaint::Dirty;
    if (scene.CurrentSet() != step.set)
    {
        scene.SelectSet(step.set, 0);
        repaint = StepRepaint::All;
    }
    const bool undo = direction == StepDirection::Undo;
    for (const ObjectMove& move : step.moves)
    {
        const Point to = undo ? move.before : move.after;
        scene.MoveObjectTo(buffer, scene.FirstCelOf(move.object), to.x, to.y);
        scene.SetObjectCelFixes(move.object, undo ? move.fixBefore : move.fixAfter);
    }
    return repaint;
}

} // namespace

bool ChangesNothing(const RestoreStep& step)
{
    const Scene::Arrangement& a = step.before;
    const Scene::Arrangement& b = step.after;
    if (a.set != b.set || a.fixes != b.fixes || a.sets.size() != b.sets.size())
        return false;
    for (std::size_t i = 0; i < a.sets.size(); ++i)
    {
        if (a.sets[i].Positions() != b.sets[i].Positions() ||
            a.sets[i].PaletteGroup() != b.sets[i].PaletteGroup())
            return false;
    }
    return true;
}

StepRepaint ApplyStep(const MoveStep& step, StepDirection direction, Scene& scene,
                      ScreenBuffer& buffer)
{
    if (const auto* drag = std::get_if<DragStep>(&step))
        return ApplyDrag(*drag, direction, scene, buffer);
    const auto& restore = std::get<RestoreStep>(step);
    scene.PutArrangement(direction == StepDirection::Undo ? restore.before : restore.after);
    return StepRepaint::All;
}

void DragRecorder::Begin(const Scene& scene)
{
    m_active = true;
    m_set = scene.CurrentSet();
    m_objects.clear();
    for (const auto& cel : scene.PlacedCels())
    {
        if (m_objects.count(cel->objectNumber) == 0)
            m_objects[cel->objectNumber] = Held{Point{cel->x, cel->y}, {}};
        m_objects[cel->objectNumber].fixes.push_back(cel->fix);
    }
}

std::optional<DragStep> DragRecorder::Finish(const Scene& scene,
                                             const std::set<std::int32_t>& objects)
{
    if (!m_active)
        return std::nullopt;
    m_active = false;
    // A set change during the hold (a key, or the set's code) leaves nothing to compare.
    if (scene.CurrentSet() != m_set)
        return std::nullopt;
    DragStep step;
    step.set = m_set;
    for (const std::int32_t object : objects)
    {
        const auto held = m_objects.find(object);
        if (held == m_objects.end())
            continue;
        ObjectMove move{object, held->second.position, PositionOf(scene, object),
                        held->second.fixes, scene.ObjectCelFixes(object)};
        if (move.before != move.after || move.fixBefore != move.fixAfter)
            step.moves.push_back(std::move(move));
    }
    if (step.moves.empty())
        return std::nullopt;
    return step;
}
