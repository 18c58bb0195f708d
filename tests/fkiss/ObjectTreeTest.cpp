#include "fkiss/ObjectTree.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{

using Objects = std::vector<std::int32_t>;

/// Objects 0 to 5, one cel each (cel n in object n).
ObjectTree SixObjects()
{
    ObjectTree tree;
    for (int object = 0; object < 6; ++object)
        tree.AddCel(object, object);
    return tree;
}

} // namespace

TEST(ObjectTreeTest, CelsBelongToTheirObjects)
{
    ObjectTree tree;
    tree.AddCel(3, 0);
    tree.AddCel(1, 1);
    tree.AddCel(3, 2);
    EXPECT_EQ(tree.CelsOf(3), (std::vector<int>{0, 2}));
    EXPECT_TRUE(tree.Contains(1));
    EXPECT_FALSE(tree.Contains(2));
    EXPECT_TRUE(tree.CelsOf(2).empty());
    EXPECT_EQ(tree.Parent(2), -1);
}

TEST(ObjectTreeTest, AttachGlueAndDetachReportLeavingAndRefuseLoops)
{
    ObjectTree tree = SixObjects();
    EXPECT_EQ(tree.Attach(1, 0, ObjectTree::Tie::Attach), ObjectTree::Attached::Yes);
    EXPECT_EQ(tree.Attach(2, 1, ObjectTree::Tie::Glue), ObjectTree::Attached::Yes);
    // Attaching again to the same parent is no leaving; to another one is.
    EXPECT_EQ(tree.Attach(1, 0, ObjectTree::Tie::Glue), ObjectTree::Attached::Yes);
    EXPECT_EQ(tree.Attach(1, 3, ObjectTree::Tie::Attach), ObjectTree::Attached::LeavingParent);
    EXPECT_EQ(tree.Parent(1), 3);
    // 3 may not hang from 2, which hangs from 1, which hangs from 3; nor from itself.
    EXPECT_EQ(tree.Attach(3, 2, ObjectTree::Tie::Attach), ObjectTree::Attached::Loop);
    EXPECT_EQ(tree.Attach(3, 3, ObjectTree::Tie::Attach), ObjectTree::Attached::Loop);
    EXPECT_EQ(tree.Parent(3), -1);
    EXPECT_TRUE(tree.Detach(2));
    EXPECT_FALSE(tree.Detach(2));
    EXPECT_EQ(tree.Parent(2), -1);
}

TEST(ObjectTreeTest, ParentChildAndSiblingQueries)
{
    ObjectTree tree = SixObjects();
    tree.Attach(4, 1, ObjectTree::Tie::Attach);
    tree.Attach(2, 1, ObjectTree::Tie::Attach);
    tree.Attach(5, 1, ObjectTree::Tie::Attach);
    tree.Attach(3, 2, ObjectTree::Tie::Attach);
    EXPECT_EQ(tree.FirstChild(1), 2);
    EXPECT_EQ(tree.FirstChild(2), 3);
    EXPECT_EQ(tree.FirstChild(0), -1);
    EXPECT_EQ(tree.NextSibling(2), 4);
    EXPECT_EQ(tree.NextSibling(4), 5);
    EXPECT_EQ(tree.NextSibling(5), -1);
    EXPECT_EQ(tree.NextSibling(1), -1); // no parent, no siblings
    EXPECT_EQ(tree.ChildrenOf(1), (Objects{2, 4, 5}));
    EXPECT_TRUE(tree.ChildrenOf(0).empty());
    EXPECT_EQ(tree.FirstChild(-1), -1);
}

TEST(ObjectTreeTest, ADragMovesWhatAGluedObjectHangsFrom)
{
    ObjectTree tree = SixObjects();
    tree.Attach(1, 0, ObjectTree::Tie::Glue);
    tree.Attach(2, 1, ObjectTree::Tie::Glue);
    tree.Attach(3, 2, ObjectTree::Tie::Attach);
    EXPECT_EQ(tree.DragRoot(2), 0);
    EXPECT_EQ(tree.DragRoot(3), 3); // attached, not glued: it comes loose instead
    EXPECT_EQ(tree.DragRoot(0), 0);
    EXPECT_EQ(tree.DragRoot(9), 9);
    tree.Detach(1);
    EXPECT_EQ(tree.DragRoot(2), 1);
}

TEST(ObjectTreeTest, LimitsKeepTheFieldThenTheRestrictions)
{
    ObjectTree tree = SixObjects();
    using Range = ObjectTree::Range;
    const std::pair field{Range{0, 90}, Range{0, 50}};
    EXPECT_EQ(tree.Limit(1, -5, 70, field), (Point{0, 50}));
    EXPECT_EQ(tree.Limit(1, -5, 70, std::nullopt), (Point{-5, 70}));
    // Beyond 32 bits a move stops at the edge of the numbers.
    EXPECT_EQ(tree.Limit(1, std::int64_t{1} << 40, -(std::int64_t{1} << 40), std::nullopt),
              (Point{2147483647, -2147483647 - 1}));

    tree.Restrict(1, ObjectTree::Axis::X, 10, 20);
    tree.Restrict(1, ObjectTree::Axis::Y, 60, 80);
    EXPECT_EQ(tree.Limit(1, 95, 0, field), (Point{20, 60}));
    EXPECT_EQ(tree.Limit(2, 95, 0, field), (Point{90, 0}));
    // A minimum above the maximum lifts the restriction.
    tree.Restrict(1, ObjectTree::Axis::X, 5, 4);
    EXPECT_EQ(tree.Limit(1, 95, 0, field), (Point{90, 60}));
}
