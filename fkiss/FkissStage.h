#pragma once

#include "image/Rect.h"

#include <cstdint>
#include <string>
#include <string_view>

/// What the FKiSS engine may see and change of the scene. Cels are numbered in drawing order
/// (the bottom one first), as the scene places them.
class FkissStage
{
public:
    virtual ~FkissStage() = default;

    virtual int CelCount() const = 0;
    /// The cel's file name in lower case.
    virtual std::string CelName(int cel) const = 0;
    /// The cel line's comment, from its ";" on.
    virtual std::string_view CelComment(int cel) const = 0;
    virtual std::int32_t ObjectOf(int cel) const = 0;
    /// Where the cel lies on the screen now.
    virtual Rect CelBounds(int cel) const = 0;
    /// Whether the cel belongs to the current set.
    virtual bool InCurrentSet(int cel) const = 0;
    /// Whether the cel's pixel at the screen point is opaque (whatever its mapping).
    virtual bool OpaqueAt(int cel, std::int32_t x, std::int32_t y) const = 0;
    /// The opacity (0 to 256) the cel line gives.
    virtual std::int32_t LineOpacity(int cel) const = 0;
    /// Sets what the engine decides for a cel and repaints it when that changes its look.
    virtual void SetCelState(int cel, bool mapped, bool ghosted, std::int32_t opacity) = 0;

    virtual Point ObjectPosition(std::int32_t object) const = 0;
    /// The object's position in the current set as the file gives it.
    virtual Point InitialPosition(std::int32_t object) const = 0;
    virtual void MoveObjectTo(std::int32_t object, Point position) = 0;
    /// How far the object's cels reach right and down from its position, as drags measure it.
    virtual Point ObjectExtent(std::int32_t object) const = 0;
    virtual std::int32_t ObjectFix(std::int32_t object) const = 0;
    virtual void SetObjectFix(std::int32_t object, std::int32_t fix) = 0;

    virtual int CurrentSet() const = 0;
    virtual std::int64_t CurrentPaletteGroup() const = 0;
    /// Selects a set or palette group as the user's commands do; false when there is none.
    virtual bool SelectSet(int set) = 0;
    virtual bool SelectPaletteGroup(std::int64_t group) = 0;
    virtual Point ScreenSize() const = 0;
};

/// What the engine asks of the viewer around the scene.
class FkissHost
{
public:
    virtual ~FkissHost() = default;
    /// A notify or debug text of the action on line, bytes as in the file (Shift-JIS in Japanese
    /// sets).
    virtual void ShowText(int line, const std::string& bytes) = 0;
    /// quit(): end() has run; close the set once the timers it set are over (or at once when
    /// asked again).
    virtual void CloseSet() = 0;
    virtual void ScrollTo(Point picturePoint) = 0;
    virtual void ResizePlayField(Point size) = 0;
};
