#pragma once

#include "image/Rect.h"
#include "scene/Scene.h"

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <variant>
#include <vector>

class ScreenBuffer;

/// One object that a drag moved: where it stood and how fixed its cels were, before and after.
struct ObjectMove
{
    std::int32_t object = -1;
    Point before;
    Point after;
    std::vector<std::int32_t> fixBefore;
    std::vector<std::int32_t> fixAfter;
};

/// A completed drag in one set: the held object, and what it carried along.
struct DragStep
{
    int set = 0;
    std::vector<ObjectMove> moves;
};

/// Restore: the whole arrangement before and after it.
struct RestoreStep
{
    Scene::Arrangement before;
    Scene::Arrangement after;
};

/// True when Restore found everything as the file has it: no step worth keeping.
bool ChangesNothing(const RestoreStep& step);

using MoveStep = std::variant<DragStep, RestoreStep>;

enum class StepDirection
{
    Undo,
    Redo,
};

/// What the window must repaint after a step was applied.
enum class StepRepaint
{
    Dirty, ///< the buffer's dirty part: only objects moved
    All,   ///< another set or palette group is shown
};

/// Puts the scene as it was before the step (Undo) or after it (Redo). A drag made in another
/// set shows that set first. Runs no set code: the scene only.
StepRepaint ApplyStep(const MoveStep& step, StepDirection direction, Scene& scene,
                      ScreenBuffer& buffer);

/// Watches one drag, from the press to the release.
class DragRecorder
{
public:
    /// Notes where every object of the current set stands and how fixed it is.
    void Begin(const Scene& scene);
    bool IsActive() const { return m_active; }
    /// The step made by the objects that the user moved (those still where they were, with
    /// their fix unchanged, are left out); nothing when none changed. Ends the watch.
    std::optional<DragStep> Finish(const Scene& scene, const std::set<std::int32_t>& objects);
    void Cancel() { m_active = false; }

private:
    struct Held
    {
        Point position;
        std::vector<std::int32_t> fixes;
    };
    bool m_active = false;
    int m_set = 0;
    std::map<std::int32_t, Held> m_objects;
};
