#include "TextDrawRecorder.h"
#include "UIButton.h"
#include "UIControl.h"
#include "UIGraphicsImageRenderer.h"
#include "UIImage.h"
#include "UISlider.h"
#include "UITouch.h"

#include <cmath>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::ElementsAre;

namespace {

struct Recorder {
    std::vector<std::string> events;

    UIControl::Action note(std::string name)
    {
        return [this, name](UIControl&) { events.push_back(name); };
    }
};

} // namespace

TEST(UIControl, SendsEachEventToTheTargetsRegisteredForIt)
{
    UIControl control;
    Recorder recorder;
    control.addTarget(recorder.note("down"), UIControlEvents::touchDown);
    control.addTarget(recorder.note("up or cancel"),
                      UIControlEvents::touchUpInside | UIControlEvents::touchCancel);
    control.addTarget(recorder.note("changed"), UIControlEvents::valueChanged);
    control.sendActions(UIControlEvents::valueChanged);
    control.sendActions(UIControlEvents::touchCancel);
    control.sendActions(UIControlEvents::touchUpOutside);
    EXPECT_THAT(recorder.events, ElementsAre("changed", "up or cancel"));
}

TEST(UIControl, TouchesBecomeControlEventsByWhereTheyEnd)
{
    auto root = std::make_shared<UIView>(CGRect(0, 0, 400, 400));
    auto control = std::make_shared<UIControl>(CGRect(100, 50, 40, 20));
    root->addSubview(control);
    Recorder recorder;
    control->addTarget(recorder.note("down"), UIControlEvents::touchDown);
    control->addTarget(recorder.note("drag in"), UIControlEvents::touchDragInside);
    control->addTarget(recorder.note("drag out"), UIControlEvents::touchDragOutside);
    control->addTarget(recorder.note("up in"), UIControlEvents::touchUpInside);
    control->addTarget(recorder.note("up out"), UIControlEvents::touchUpOutside);
    control->addTarget(recorder.note("cancel"), UIControlEvents::touchCancel);

    auto touch = std::make_shared<UITouch>(control, CGPoint{110, 60});
    EXPECT_EQ(touch->location(*control), (CGPoint{10, 10}));
    control->touchesBegan({touch}, nullptr);
    EXPECT_TRUE(control->isTracking());
    touch->moveTo({141, 60}, UITouch::Phase::moved);
    control->touchesMoved({touch}, nullptr);
    touch->moveTo({140, 70}, UITouch::Phase::ended);
    EXPECT_EQ(touch->previousLocation(*control), (CGPoint{41, 10}));
    control->touchesEnded({touch}, nullptr);
    EXPECT_FALSE(control->isTracking());

    control->touchesBegan({touch}, nullptr);
    touch->moveTo({90, 60}, UITouch::Phase::ended);
    control->touchesEnded({touch}, nullptr);
    control->touchesBegan({touch}, nullptr);
    control->touchesCancelled({touch}, nullptr);
    EXPECT_THAT(recorder.events, ElementsAre("down", "drag out", "up in", "down", "up out",
                                             "down", "cancel"));
}

TEST(UITouch, LocationFollowsFramesAndTransformsOfTheAncestors)
{
    auto root = std::make_shared<UIView>(CGRect(0, 0, 400, 400));
    auto panel = std::make_shared<UIView>(CGRect(100, 100, 200, 100));
    auto child = std::make_shared<UIView>(CGRect(20, 10, 50, 50));
    root->addSubview(panel);
    panel->addSubview(child);
    const UITouch touch(child, {125, 115});
    EXPECT_EQ(touch.location(*child), (CGPoint{5, 5}));
    EXPECT_EQ(touch.location(*root), (CGPoint{125, 115}));

    // Scaled by 2 about its centre (200, 150), the panel shows its point
    // (50, 25) at (100, 100).
    panel->setTransform(CGAffineTransform::scale(2, 2));
    EXPECT_EQ(UITouch(panel, {100, 100}).location(*panel), (CGPoint{50, 25}));
}

TEST(UISlider, KeepsItsValueInsideItsRangeAndFollowsTouches)
{
    auto root = std::make_shared<UIView>(CGRect(0, 0, 400, 400));
    auto slider = std::make_shared<UISlider>(CGRect(100, 10, 200, 20));
    root->addSubview(slider);
    slider->setValue(1.5f);
    EXPECT_EQ(slider->value(), 1.0f);
    slider->setValue(std::nanf(""));
    EXPECT_EQ(slider->value(), 1.0f);
    slider->setRange(4.0f, 2.0f);
    EXPECT_EQ(slider->minimumValue(), 2.0f);
    EXPECT_EQ(slider->value(), 2.0f);

    std::vector<float> sent;
    slider->addTarget([&](UIControl& control) { sent.push_back(static_cast<UISlider&>(control).value()); },
                      UIControlEvents::valueChanged);
    auto touch = std::make_shared<UITouch>(slider, CGPoint{150, 20});
    slider->touchesBegan({touch}, nullptr);
    touch->moveTo({350, 20}, UITouch::Phase::moved);
    slider->touchesMoved({touch}, nullptr);
    EXPECT_THAT(sent, ElementsAre(2.5f, 4.0f));
}

// A button shows its title centred on its face, on one line: a title wider
// than the face is drawn smaller instead of wrapping.
TEST(UIButton, DrawsItsTitleCentredAndShrinksOneThatIsWiderThanItsFace)
{
    UIButton wide(CGRect(0, 0, 88, 28));
    wide.setTitle("Unit");
    UIButton narrow(CGRect(0, 0, 40, 40));
    narrow.setTitle("Contrast");
    TextDrawRecorder recorder;
    for (UIButton* button : {&wide, &narrow}) {
        UIGraphicsImageRenderer(button->bounds().size, 1).image([&](CGContext&) { button->draw(button->bounds()); });
    }
    ASSERT_THAT(recorder.strings(), ElementsAre("Unit", "Contrast"));
    const TextDraw& unit = recorder.draws()[0];
    EXPECT_EQ(unit.fontSize, 14);
    EXPECT_EQ(unit.alignment, NSTextAlignment::center);
    EXPECT_EQ(unit.rect.width(), 88);
    EXPECT_NEAR(unit.rect.midY(), 14, 1e-9);
    const TextDraw& contrast = recorder.draws()[1];
    EXPECT_LT(contrast.fontSize, 14);
    EXPECT_LE(boundingRect("Contrast", CGSize(0, 0), {*UIFont::named(contrast.fontName, contrast.fontSize)}).width(),
              40 - 2 * 3 + 1e-9);
}

// A slider shows its value: its thumb's centre travels from one end to the
// other as the value goes from the minimum to the maximum.
TEST(UISlider, DrawsItsThumbWhereItsValueLies)
{
    UISlider slider(CGRect(0, 0, 200, 20));
    slider.setRange(0, 2);
    slider.setValue(1.5F);
    const auto image = UIGraphicsImageRenderer(slider.bounds().size, 1).image([&](CGContext&) {
        slider.draw(slider.bounds());
    });
    // Thumb centre at 10 + 0.75 x 180 = 145; track filled up to it.
    EXPECT_EQ(image->pixel(145, 10), (UIImage::Pixel{220, 220, 220, 255}));
    EXPECT_EQ(image->pixel(60, 10), (UIImage::Pixel{158, 158, 158, 255}));
    EXPECT_EQ(image->pixel(180, 10), (UIImage::Pixel{220, 220, 220, 255}));
    EXPECT_EQ(image->pixel(60, 3).alpha, 0);
    EXPECT_EQ(image->pixel(180, 3).alpha, 0);
    EXPECT_EQ(image->pixel(145, 3), (UIImage::Pixel{220, 220, 220, 255}));
}
