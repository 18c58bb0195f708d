#pragma once

#include "image/Rect.h"

#include <cstdint>
#include <map>
#include <optional>
#include <utility>
#include <vector>

/// How the FKiSS code ties objects together: each object may hang from a parent (attached, or
/// glued so that dragging it drags the parent) and may be restricted to a range of positions.
class ObjectTree
{
public:
    enum class Tie
    {
        Attach,
        Glue,
    };
    enum class Axis
    {
        X,
        Y,
    };
    enum class Attached
    {
        Yes,
        /// The child had another parent, which it has left.
        LeavingParent,
        /// Refused: the parent hangs from the child.
        Loop,
    };
    /// Inclusive limits of a position.
    struct Range
    {
        std::int64_t low;
        std::int64_t high;
    };

    void AddCel(std::int32_t object, int cel);
    bool Contains(std::int32_t object) const { return m_objects.contains(object); }
    /// The object's cels in drawing order; none for an unknown object.
    const std::vector<int>& CelsOf(std::int32_t object) const
    {
        const auto found = m_objects.find(object);
        return found == m_objects.end() ? kNoCels : found->second.cels;
    }

    /// Both objects must exist.
    Attached Attach(std::int32_t child, std::int32_t parent, Tie tie);
    /// True when the object had a parent, which it has left.
    bool Detach(std::int32_t child);
    /// A minimum above the maximum lifts the restriction (sets rely on it).
    void Restrict(std::int32_t object, Axis axis, std::int32_t low, std::int32_t high);

    /// -1 for none.
    std::int32_t Parent(std::int32_t object) const;
    /// The lowest-numbered object hanging from this one; -1 for none.
    std::int32_t FirstChild(std::int32_t object) const;
    /// The next higher-numbered object with the same parent; -1 for none or no parent.
    std::int32_t NextSibling(std::int32_t object) const;
    std::vector<std::int32_t> ChildrenOf(std::int32_t object) const;
    /// What a drag of the object moves: the object, or what it is glued to, all the way up.
    std::int32_t DragRoot(std::int32_t object) const;

    /// The position nearest (x, y) within the field (when given) and the object's restrictions.
    Point Limit(std::int32_t object, std::int64_t x, std::int64_t y,
                const std::optional<std::pair<Range, Range>>& field) const;

private:
    struct Node
    {
        std::vector<int> cels;
        std::int32_t parent = -1;
        bool glued = false;
        std::optional<std::pair<std::int32_t, std::int32_t>> restrictX;
        std::optional<std::pair<std::int32_t, std::int32_t>> restrictY;
    };
    const Node* Find(std::int32_t object) const;

    static inline const std::vector<int> kNoCels;

    std::map<std::int32_t, Node> m_objects;
};
