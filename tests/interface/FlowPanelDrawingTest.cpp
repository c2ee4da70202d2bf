#include "CGContext.h"
#include "ScaleRecords.h"
#include "TextDrawRecorder.h"
#include "UIImage.h"
#include "UIGraphicsImageRenderer.h"
#include "VelmoraFlowViewBase.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

using ::testing::ElementsAre;

namespace {

class FlowPanelDrawingTest : public testing::Test {
protected:
    void SetUp() override { resetScaleRecords(); }
    void TearDown() override { resetScaleRecords(); }

    // One pass of `panel` into a transparent image of `size` at one pixel per
    // point.
    static std::shared_ptr<UIImage> drawn(VelmoraFlowViewBase& panel, CGSize size,
                                          VelmoraFlowViewBase::ResizingBehavior1 resizing =
                                              VelmoraFlowViewBase::ResizingBehavior1::aspectFit)
    {
        return UIGraphicsImageRenderer(size, 1).image(
            [&](CGContext&) { panel.draw(CGRect({0, 0}, size), resizing); });
    }
};

TEST_F(FlowPanelDrawingTest, APassRebuildsEveryHitAreaInDesignUnits)
{
    VelmoraFlowViewBase panel;
    drawn(panel, {300, 330});
    const std::vector<std::pair<const UIBezierPath*, CGRect>> areas{
        {&panel.hotspotDrawerPath, {45, 417, 512, 128}},      {&panel.hotspotFlowPath, {44, 81, 512, 488}},
        {&panel.hotspotSliderPath, {45, 569, 511, 30}},       {&panel.hotspotCaptionPath, {32, 16, 178, 26}},
        {&panel.hotspotSpeedPath, {218, 17, 106, 23}},        {&panel.hotspotRangePath, {324, 17, 106, 23}},
        {&panel.hotspotButtonOnOffPath, {435, 10, 38, 38}},   {&panel.hotspotCaption2Path, {476, 16, 99, 26}},
        {&panel.hotspotKeysPath, {44, 66, 512, 15}},          {&panel.hotspotButtonMonoPath, {32, 619, 80, 20}},
        {&panel.hotspotButtonLeftPath, {110, 618, 80, 20}},   {&panel.hotspotButtonRightPath, {188, 618, 80, 20}},
        {&panel.hotspotButtonMidPath, {266, 618, 80, 20}},    {&panel.hotspotButtonSidePath, {344, 619, 80, 20}},
        {&panel.hotspotResetPath, {440, 618, 36, 30}},        {&panel.hotspotButtonFreezePath, {490, 618, 80, 20}},
        {&panel.hotspotLeftPath, {11, 290, 34, 78}},          {&panel.hotspotRightPath, {556, 291, 34, 78}},
    };
    for (const auto& [path, rect] : areas) {
        EXPECT_EQ(path->bounds(), rect);
        EXPECT_TRUE(path->contains({rect.midX(), rect.midY()}));
        EXPECT_FALSE(path->contains({rect.maxX() + 0.5, rect.midY()}));
    }
    // Touch names follow the first hit: the drawer lies over the flow area.
    EXPECT_TRUE(panel.hotspotFlowPath.contains({300, 480}));
}

TEST_F(FlowPanelDrawingTest, RangeAndDrawerAreasFollowTheRangeEndsAndTheVisibility)
{
    VelmoraFlowViewBase panel;
    for (const auto& [left, right] : {std::pair{0.25, 0.75}, {1.0, 0.0}}) {
        panel.valueRangeLeft = left;
        panel.valueRangeRight = right;
        drawn(panel, {600, 660});
        EXPECT_EQ(panel.hotspotLeftPath.bounds(), CGRect(11 + 508 * left, 290, 34, 78));
        EXPECT_EQ(panel.hotspotRightPath.bounds(), CGRect(48 + 508 * right, 291, 34, 78));
    }
    panel.isDrawerVisible = false;
    panel.isRangeVisible = false;
    drawn(panel, {600, 660});
    for (const UIBezierPath* path : {&panel.hotspotDrawerPath, &panel.hotspotLeftPath, &panel.hotspotRightPath}) {
        EXPECT_EQ(path->bounds(), CGRect::zero());
    }
    EXPECT_FALSE(panel.hotspotLeftPath.contains({530, 300}));
    EXPECT_FALSE(panel.hotspotDrawerPath.contains({300, 480}));
}

// The recorded draw of `string`; fails the test when there is none.
TextDraw drawOf(const TextDrawRecorder& recorder, const std::string& string)
{
    for (const TextDraw& draw : recorder.draws()) {
        if (draw.string == string) {
            return draw;
        }
    }
    ADD_FAILURE() << "\"" << string << "\" was not drawn";
    return {"", {}, "", 0, UIColor::clear(), NSTextAlignment::left, {}};
}

TEST_F(FlowPanelDrawingTest, APassDrawsItsTextsInOrderWithCaptionsOfTheSamePass)
{
    VelmoraFlowViewBase panel;
    TextDrawRecorder recorder;
    drawn(panel, {300, 330});
    EXPECT_EQ(VelmoraFlowViewScale, (CGSize{0.5, 0.5}));
    EXPECT_THAT(recorder.strings(),
                ElementsAre("PITCH SHIFT MODE", "STEREO", "Freeze", "RESET", "LINKED", "LEFT", "RIGHT", "MID",
                            "SIDE", "Display 1200 Hz (C4)", "ZUV [ VELMORA ] SERIES", "fast", "shift pitch",
                            "[QUILLMERE]", "G8", "C-2", "+"));

    panel.valueOperationMode = 1;
    panel.valueProcessingMode = 3;
    panel.valueSpeedMode = 9;
    panel.isOptionRangeActive = true;
    panel.isFreezeSelected = true;
    panel.isButtonResetActive = true;
    TextDrawRecorder changed;
    drawn(panel, {300, 330});
    const std::vector<std::string> strings = changed.strings();
    ASSERT_EQ(strings.size(), 17u);
    EXPECT_EQ(strings[0], "HARMONIC SHIFT MODE");
    EXPECT_EQ(strings[1], "MID");
    EXPECT_EQ(strings[11], "");
    EXPECT_EQ(strings[12], "shift harmonics");
    EXPECT_EQ(panel.labelMode, "MID");
    EXPECT_EQ(panel.labelMode2, "HARMONIC SHIFT MODE");
    // Active controls light their labels; fixed ones keep the contrast colour.
    EXPECT_EQ(drawOf(changed, "shift harmonics").color, panel.colorEmphasize);
    EXPECT_EQ(drawOf(changed, "Freeze").color, panel.colorEmphasize);
    EXPECT_EQ(drawOf(changed, "RESET").color, panel.colorContrast);
    EXPECT_EQ(changed.draws()[7].color, panel.colorContrast); // the selected MID button

    // Without a context nothing is drawn, but the captions still follow.
    panel.valueProcessingMode = 7;
    panel.draw();
    EXPECT_EQ(panel.labelMode, "");
}

TEST_F(FlowPanelDrawingTest, CaptionsAreCentredInTheirRectanglesAndTheDisplayTextHangsFromItsTop)
{
    VelmoraFlowViewBase panel;
    TextDrawRecorder recorder;
    drawn(panel, {600, 330});
    EXPECT_EQ(VelmoraFlowViewScale, (CGSize{0.5, 0.5}));
    const TextDraw caption = drawOf(recorder, "PITCH SHIFT MODE");
    EXPECT_EQ(caption.fontName, "HelveticaNeue-CondensedBold");
    EXPECT_EQ(caption.fontSize, 16);
    EXPECT_EQ(caption.alignment, NSTextAlignment::right);
    EXPECT_EQ(caption.color, UIColor(0, 0, 0, 0.2));
    const NSStringAttributes attributes{*UIFont::named(caption.fontName, 16), caption.color, caption.alignment};
    const CGFloat height = boundingRect(caption.string, {163, INFINITY}, attributes).height();
    EXPECT_EQ(caption.rect, CGRect(350, 485 + (58 - height) / 2, 163, height));

    const TextDraw display = drawOf(recorder, "Display 1200 Hz (C4)");
    EXPECT_EQ(display.rect.origin, (CGPoint{321.5, 150.5}));
    EXPECT_EQ(display.alignment, NSTextAlignment::right);
    // The canvas is centred in the wider frame: (150, 0, 300, 330).
    const TextDraw title = drawOf(recorder, "ZUV [ VELMORA ] SERIES");
    EXPECT_EQ(title.ctm.a, 0.5);
    EXPECT_EQ(title.ctm.d, 0.5);
    EXPECT_EQ(title.ctm.tx, 150);
    EXPECT_EQ(title.ctm.ty, 0);
    EXPECT_EQ(title.rect.minX(), 32);
}

TEST_F(FlowPanelDrawingTest, RangeTabsNameTheKeyOfTheirEnd)
{
    VelmoraFlowViewBase panel;
    const std::vector<std::tuple<CGFloat, CGFloat, std::string, std::string>> cases{
        {0.5, 1.2, "D#3", "G8"},
        {-0.3, 1.0, "C-2", "G8"},
        {static_cast<float>(60.0 / 127), NAN, "C3", "C-2"},
    };
    for (const auto& [left, right, leftName, rightName] : cases) {
        panel.valueRangeLeft = left;
        panel.valueRangeRight = right;
        TextDrawRecorder recorder;
        drawn(panel, {300, 330});
        const std::vector<std::string> strings = recorder.strings();
        ASSERT_EQ(strings.size(), 17u);
        EXPECT_EQ(strings[14], rightName);
        EXPECT_EQ(strings[15], leftName);
        EXPECT_EQ(drawOf(recorder, leftName).color, panel.colorWhite);
    }
}

TEST_F(FlowPanelDrawingTest, DrawersLeaveTheContextAndTheScaleAsTheyFoundThem)
{
    const VelmoraFlowViewBase panel;
    using Resizing = VelmoraFlowViewBase::ResizingBehavior;
    TextDrawRecorder recorder;
    const auto image = UIGraphicsImageRenderer({200, 60}, 1).image([&](CGContext& context) {
        const CGAffineTransform before = context.ctm();
        const CGRect frame(0, 0, 200, 30);
        panel.drawSymbolKeyboard(frame);
        panel.drawSymbolOption(frame);
        panel.drawSymbolButton(frame);
        panel.drawSymbolModeButton(frame);
        panel.drawSymbolRangeLeft(frame);
        panel.drawSymbolRangeRight(frame);
        panel.drawSymbolHandles(frame);
        panel.drawSymbolReset(frame);
        panel.drawSymbolRoundButton(frame, Resizing::aspectFit, "ON", true);
        EXPECT_EQ(context.ctm().tx, before.tx);
        EXPECT_EQ(context.ctm().a, before.a);
        EXPECT_EQ(context.fillColor(), UIColor::black());
        // Half the canvas's width at full height: the knob at 1 ends at 179.
        panel.drawSymbolSlider({0, 30, 180, 22}, Resizing::stretch);
    });
    EXPECT_EQ(VelmoraFlowViewScale, (CGSize{0, 0}));
    EXPECT_THAT(recorder.strings(), ElementsAre("option", "button", "button", "C-2", "G8", "RESET", "ON"));
    EXPECT_EQ(recorder.draws().back().color, panel.colorEmphasize);
    EXPECT_EQ(recorder.draws().back().fontName, "HelveticaNeue-CondensedBold");
    EXPECT_EQ(image->pixel(174, 41).blue, 193);
    EXPECT_EQ(image->pixel(181, 41).alpha, 0);
}

} // namespace
