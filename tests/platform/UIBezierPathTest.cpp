#include "CGAffineTransform.h"
#include "UIBezierPath.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

TEST(CGRect, StandardizedMovesTheOriginToTheSmallestEdges)
{
    EXPECT_EQ(CGRect(10, 20, -30, -40).standardized(), CGRect(-20, -20, 30, 40));
    EXPECT_EQ(CGRect(1, 2, 3, 4).standardized(), CGRect(1, 2, 3, 4));
}

TEST(CGAffineTransform, ConcatenationAppliesTheLeftTransformFirst)
{
    const auto moveThenScale =
        CGAffineTransform::translation(10, 0).concatenating(CGAffineTransform::scale(2, 3));
    EXPECT_EQ(moveThenScale.apply({1, 1}), (CGPoint{22, 3}));
    const auto scaleThenMove =
        CGAffineTransform::scale(2, 3).concatenating(CGAffineTransform::translation(10, 0));
    EXPECT_EQ(scaleThenMove.apply({1, 1}), (CGPoint{12, 3}));
    const CGPoint back = moveThenScale.inverted().apply({22, 3});
    EXPECT_DOUBLE_EQ(back.x, 1);
    EXPECT_DOUBLE_EQ(back.y, 1);

    // A quarter turn takes the x axis onto the y axis (y grows downwards on
    // screen, so this turns clockwise there).
    const CGPoint turned = CGAffineTransform::rotation(std::numbers::pi / 2).apply({1, 0});
    EXPECT_NEAR(turned.x, 0, 1e-15);
    EXPECT_NEAR(turned.y, 1, 1e-15);
    EXPECT_FALSE(CGAffineTransform::scale(0, 1).isInvertible());
    EXPECT_FALSE(CGAffineTransform::translation(NAN, 0).isInvertible());
}

TEST(UIBezierPath, RectangleHoldsItsEdgesAndNothingBeyond)
{
    const UIBezierPath path(CGRect(11, 290, 34, 78));
    EXPECT_EQ(path.bounds(), CGRect(11, 290, 34, 78));
    for (const CGPoint inside : {CGPoint{11, 290}, CGPoint{45, 368}, CGPoint{45, 300},
                                 CGPoint{20, 368}, CGPoint{28, 329}}) {
        EXPECT_TRUE(path.contains(inside)) << inside.x << ", " << inside.y;
    }
    for (const CGPoint outside : {CGPoint{10.999, 300}, CGPoint{45.001, 300},
                                  CGPoint{20, 289.999}, CGPoint{20, 368.001}}) {
        EXPECT_FALSE(path.contains(outside)) << outside.x << ", " << outside.y;
    }
    // A rectangle given with a negative size covers the same area.
    EXPECT_TRUE(UIBezierPath(CGRect(45, 368, -34, -78)).contains({12, 291}));
}

TEST(UIBezierPath, PathsWithoutAreaHoldNoPoint)
{
    const UIBezierPath zero(CGRect::zero());
    EXPECT_FALSE(zero.isEmpty());
    EXPECT_EQ(zero.bounds(), CGRect::zero());
    EXPECT_FALSE(zero.contains({0, 0}));
    EXPECT_FALSE(UIBezierPath(CGRect(5, 5, 0, 10)).contains({5, 7}));

    const UIBezierPath empty;
    EXPECT_TRUE(empty.isEmpty());
    EXPECT_EQ(empty.bounds(), CGRect::zero());
    EXPECT_FALSE(empty.contains({0, 0}));
}

TEST(UIBezierPath, RoundedCornersLeaveTheCornerPointsOut)
{
    const auto path = UIBezierPath::roundedRect(CGRect(0, 0, 100, 50), 10);
    EXPECT_EQ(path.bounds(), CGRect(0, 0, 100, 50));
    EXPECT_FALSE(path.contains({1, 1}));
    EXPECT_FALSE(path.contains({99, 49}));
    // On the arc: 45 degrees from the top-left corner's centre (10, 10).
    const CGFloat onArc = 10 - 10 / std::numbers::sqrt2;
    EXPECT_TRUE(path.contains({onArc + 0.05, onArc + 0.05}));
    EXPECT_FALSE(path.contains({onArc - 0.05, onArc - 0.05}));
    EXPECT_TRUE(path.contains({0, 25}));

    // A radius beyond half the shorter side becomes half of it: a capsule.
    const auto capsule = UIBezierPath::roundedRect(CGRect(0, 0, 100, 20), 50);
    EXPECT_EQ(capsule.bounds(), CGRect(0, 0, 100, 20));
    EXPECT_TRUE(capsule.contains({10, 10}));
    EXPECT_FALSE(capsule.contains({2, 2}));
}

TEST(UIBezierPath, CornerMaskRoundsOnlyTheNamedCorners)
{
    // The left range tab: its two outer (left) corners rounded.
    const auto tab = UIBezierPath::roundedRect(
        CGRect(2, 229, 32, 77), UIRectCorner::topLeft | UIRectCorner::bottomLeft, {5, 5});
    EXPECT_EQ(tab.bounds(), CGRect(2, 229, 32, 77));
    EXPECT_FALSE(tab.contains({2.5, 229.5}));
    EXPECT_FALSE(tab.contains({2.5, 305.5}));
    EXPECT_TRUE(tab.contains({34, 229}));
    EXPECT_TRUE(tab.contains({34, 306}));

    // Elliptical corners follow the two radii.
    const auto wide = UIBezierPath::roundedRect(CGRect(0, 0, 100, 100), UIRectCorner::allCorners,
                                                {40, 10});
    EXPECT_FALSE(wide.contains({9, 2}));
    EXPECT_TRUE(wide.contains({40, 0.5}));
}

TEST(UIBezierPath, OvalTouchesItsRectangleOnlyAtTheMiddles)
{
    const auto oval = UIBezierPath::ovalIn(CGRect(-4, -4, 8, 8));
    EXPECT_EQ(oval.bounds(), CGRect(-4, -4, 8, 8));
    EXPECT_TRUE(oval.contains({4, 0}));
    EXPECT_TRUE(oval.contains({0, -4}));
    EXPECT_TRUE(oval.contains({2.8, 2.8}));
    EXPECT_FALSE(oval.contains({2.9, 2.9}));
}

TEST(UIBezierPath, OpenPathsKeepTheirPointsAndStrokeSettings)
{
    UIBezierPath bracket;
    bracket.move({38.16, 2});
    bracket.addLine({34.16, 2});
    bracket.addLine({34.16, 534});
    bracket.addLine({38.16, 534});
    EXPECT_EQ(bracket.bounds(), CGRect(34.16, 2, 38.16 - 34.16, 532));
    EXPECT_EQ(bracket.lineWidth(), 1);
    EXPECT_EQ(bracket.lineCapStyle(), CGLineCap::butt);
    EXPECT_EQ(bracket.lineJoinStyle(), CGLineJoin::miter);

    // A closed triangle (the option arrows) holds its inside.
    UIBezierPath arrow;
    arrow.move({0, -2});
    arrow.addLine({-2.17, 1});
    arrow.addLine({2.17, 1});
    arrow.close();
    EXPECT_TRUE(arrow.contains({0, 0}));
    EXPECT_FALSE(arrow.contains({2, -1}));
}
