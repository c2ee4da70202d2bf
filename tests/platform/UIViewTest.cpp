#include "../support/SamplePNG.h"
#include "CGRect.h"
#include "Console.h"
#include "UIImage.h"
#include "UIImageView.h"
#include "UIView.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::ElementsAre;
using ::testing::IsEmpty;

TEST(CGRect, EdgesAndSizeReadTheStandardizedRectangle)
{
    const CGRect flipped(10, 20, -30, -40);
    EXPECT_EQ(flipped.minX(), -20);
    EXPECT_EQ(flipped.maxX(), 10);
    EXPECT_EQ(flipped.minY(), -20);
    EXPECT_EQ(flipped.maxY(), 20);
    EXPECT_EQ(flipped.width(), 30);
    EXPECT_EQ(flipped.height(), 40);
}

TEST(CGRect, IntersectsOnlyWhereAreasOverlap)
{
    const CGRect area(0, 0, 10, 10);
    EXPECT_TRUE(area.intersects(CGRect(9, 9, 5, 5)));
    EXPECT_TRUE(area.intersects(CGRect(12, 12, -4, -4)));
    EXPECT_FALSE(area.intersects(CGRect(10, 0, 5, 5)));
    EXPECT_FALSE(area.intersects(CGRect(0, -5, 10, 5)));
    EXPECT_FALSE(area.intersects(CGRect(5, 5, 0, 3)));
}

TEST(UIView, SubviewsMoveBetweenSuperviews)
{
    auto first = std::make_shared<UIView>();
    auto second = std::make_shared<UIView>();
    auto child = std::make_shared<UIView>(CGRect(1, 2, 3, 4));
    first->addSubview(child);
    EXPECT_EQ(child->superview(), first);
    second->addSubview(child);
    EXPECT_THAT(first->subviews(), IsEmpty());
    EXPECT_THAT(second->subviews(), ElementsAre(child));
    EXPECT_EQ(child->bounds(), CGRect(0, 0, 3, 4));
    child->removeFromSuperview();
    EXPECT_FALSE(child->superview());
    EXPECT_THAT(second->subviews(), IsEmpty());
}

TEST(UIView, RefusesToMakeATreeACycle)
{
    auto parent = std::make_shared<UIView>();
    auto child = std::make_shared<UIView>();
    parent->addSubview(child);
    Console::Capture capture;
    child->addSubview(parent);
    parent->addSubview(parent);
    EXPECT_FALSE(parent->superview());
    EXPECT_EQ(capture.lines().size(), 2u);
}

TEST(UIView, LayoutAppliesEdgeConstraintsFromTheCommonAncestor)
{
    auto root = std::make_shared<UIView>(CGRect(0, 0, 400, 300));
    auto sibling = std::make_shared<UIView>(CGRect(0, 0, 100, 50));
    auto child = std::make_shared<UIView>(CGRect(5, 5, 10, 10));
    root->addSubview(sibling);
    root->addSubview(child);
    child->setTranslatesAutoresizingMaskIntoConstraints(false);
    NSLayoutConstraint::activate({
        child->topAnchor().constraint(sibling->bottomAnchor(), 8),
        child->leadingAnchor().constraint(root->leadingAnchor(), 20),
        child->trailingAnchor().constraint(root->trailingAnchor(), -20),
    });
    EXPECT_EQ(root->constraints().size(), 3u);
    root->layoutIfNeeded();
    EXPECT_EQ(child->frame(), CGRect(20, 58, 360, 10));

    child->removeFromSuperview();
    EXPECT_THAT(root->constraints(), IsEmpty());
}

TEST(UIView, ConstraintsWaitForViewsThatTranslateTheirMask)
{
    auto root = std::make_shared<UIView>(CGRect(0, 0, 400, 300));
    auto child = std::make_shared<UIView>(CGRect(5, 5, 10, 10));
    root->addSubview(child);
    NSLayoutConstraint::activate({child->bottomAnchor().constraint(root->bottomAnchor())});
    root->layoutIfNeeded();
    EXPECT_EQ(child->frame(), CGRect(5, 5, 10, 10));
    child->setTranslatesAutoresizingMaskIntoConstraints(false);
    root->layoutIfNeeded();
    EXPECT_EQ(child->frame(), CGRect(5, 290, 10, 10));
}

namespace {

class CountingView : public UIView {
public:
    using UIView::UIView;
    int layouts = 0;
    void layoutSubviews() override
    {
        ++layouts;
        UIView::layoutSubviews();
    }
};

} // namespace

TEST(UIView, ALayoutPassLaysOutOnlyTheViewsThatAskedForIt)
{
    auto root = std::make_shared<CountingView>(CGRect(0, 0, 100, 100));
    auto child = std::make_shared<CountingView>(CGRect(0, 0, 50, 50));
    root->addSubview(child);
    root->layoutIfNeeded();
    root->layoutIfNeeded();
    // A move keeps the layout; a new size asks for one, down the tree only.
    child->setFrame(CGRect(10, 10, 50, 50));
    root->layoutIfNeeded();
    child->setFrame(CGRect(10, 10, 60, 50));
    root->layoutIfNeeded();
    EXPECT_EQ(root->layouts, 1);
    EXPECT_EQ(child->layouts, 2);
    // Losing a subview lays the superview out again.
    child->removeFromSuperview();
    root->layoutIfNeeded();
    EXPECT_EQ(root->layouts, 2);
    EXPECT_FALSE(root->needsLayout());
}

TEST(UIView, ConstraintBetweenUnrelatedViewsStaysInactive)
{
    auto a = std::make_shared<UIView>();
    auto b = std::make_shared<UIView>();
    const auto constraint = a->topAnchor().constraint(b->topAnchor());
    Console::Capture capture;
    NSLayoutConstraint::activate({constraint});
    EXPECT_FALSE(constraint->isActive());
    EXPECT_EQ(capture.lines().size(), 1u);
}

TEST(UIImage, DecodesPNGDataOnly)
{
    const auto image = UIImage::fromData(kSamplePNG);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->size(), (CGSize{3, 2}));
    EXPECT_FALSE(UIImage::fromData(Data{'n', 'o'}));
    EXPECT_FALSE(UIImage::fromData(Data(kSamplePNG.begin(), kSamplePNG.begin() + 40)));
    EXPECT_FALSE(UIImage::fromData(Data{}));

    auto view = std::make_shared<UIImageView>(CGRect(0, 0, 3, 2));
    view->setImage(image);
    EXPECT_EQ(view->image(), image);
}
