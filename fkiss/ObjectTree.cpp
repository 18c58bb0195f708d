#include "fkiss/ObjectTree.h"

#include <algorithm>
#include <limits>

void ObjectTree::AddCel(std::int32_t object, int cel)
{
    m_objects[object].cels.push_back(cel);
}

const ObjectTree::Node* ObjectTree::Find(std::int32_t object) const
{
    const auto found = m_objects.find(object);
    return found == m_objects.end() ? nullptr : &found->second;
}

ObjectTree::Attached ObjectTree::Attach(std::int32_t child, std::int32_t parent, Tie tie)
{
    for (std::int32_t up = parent; up >= 0;)
    {
        if (up == child)
            return Attached::Loop;
        up = Parent(up);
    }
    Node& node = m_objects.at(child);
    const bool leaves = node.parent >= 0 && node.parent != parent;
    node.parent = parent;
    node.glued = tie == Tie::Glue;
    return leaves ? Attached::LeavingParent : Attached::Yes;
}

bool ObjectTree::Detach(std::int32_t child)
{
    Node& node = m_objects.at(child);
    const bool leaves = node.parent >= 0;
    node.parent = -1;
    node.glued = false;
    return leaves;
}

void ObjectTree::Restrict(std::int32_t object, Axis axis, std::int32_t low, std::int32_t high)
{
    Node& node = m_objects.at(object);
    auto& limit = axis == Axis::X ? node.restrictX : node.restrictY;
    if (low <= high)
        limit = std::make_pair(low, high);
    else
        limit.reset();
}

std::int32_t ObjectTree::Parent(std::int32_t object) const
{
    const Node* node = Find(object);
    return node ? node->parent : -1;
}

std::int32_t ObjectTree::FirstChild(std::int32_t object) const
{
    for (const auto& [other, node] : m_objects)
    {
        if (object >= 0 && node.parent == object)
            return other;
    }
    return -1;
}

std::int32_t ObjectTree::NextSibling(std::int32_t object) const
{
    const std::int32_t parent = Parent(object);
    if (parent < 0)
        return -1;
    for (auto it = m_objects.upper_bound(object); it != m_objects.end(); ++it)
    {
        if (it->second.parent == parent)
            return it->first;
    }
    return -1;
}

std::vector<std::int32_t> ObjectTree::ChildrenOf(std::int32_t object) const
{
    std::vector<std::int32_t> children;
    for (const auto& [other, node] : m_objects)
    {
        if (node.parent == object)
            children.push_back(other);
    }
    return children;
}

std::int32_t ObjectTree::DragRoot(std::int32_t object) const
{
    for (const Node* node = Find(object); node && node->glued && node->parent >= 0;
         node = Find(object))
        object = node->parent;
    return object;
}

Point ObjectTree::Limit(std::int32_t object, std::int64_t x, std::int64_t y,
                        const std::optional<std::pair<Range, Range>>& field) const
{
    constexpr std::int64_t kLow = std::numeric_limits<std::int32_t>::min();
    constexpr std::int64_t kHigh = std::numeric_limits<std::int32_t>::max();
    const auto [rangeX, rangeY] = field.value_or(std::pair{Range{kLow, kHigh}, Range{kLow, kHigh}});
    x = std::clamp(x, rangeX.low, rangeX.high);
    y = std::clamp(y, rangeY.low, rangeY.high);
    if (const Node* node = Find(object))
    {
        if (node->restrictX)
            x = std::clamp<std::int64_t>(x, node->restrictX->first, node->restrictX->second);
        if (node->restrictY)
            y = std::clamp<std::int64_t>(y, node->restrictY->first, node->restrictY->second);
    }
    return Point{static_cast<std::int32_t>(x), static_cast<std::int32_t>(y)};
}
