#include "VelmoraFlowViewBase.h"

#include "CGContext.h"
#include "FlowPanelGeometry.h"
#include "FlowPanelLabels.h"
#include "PanelDrawing.h"
#include "RangeKey.h"
#include "UIGraphics.h"

#include <numbers>

namespace {

constexpr const char* kRegular = "HelveticaNeue";
constexpr const char* kCondensedBold = "HelveticaNeue-CondensedBold";

CGFloat radians(CGFloat degrees)
{
    return degrees * std::numbers::pi / 180;
}

// Runs `drawing` in the units of a widget canvas of `size`, resized into
// `frame`; nothing without a current context.
void onWidgetCanvas(CGSize size, CGRect frame, VelmoraFlowViewBase::ResizingBehavior resizing,
                    const std::function<void()>& drawing)
{
    CGContext* context = UIGraphicsGetCurrentContext();
    if (context == nullptr) {
        return;
    }
    const CGRect canvas({0, 0}, size);
    drawOnCanvas(*context, canvas, resizing.apply(canvas, frame), drawing);
}

// A small triangle around (x, 10), turned by `degrees`; its point starts
// upwards.
void drawArrow(CGFloat x, CGFloat degrees, CGPoint left, CGPoint right, const UIColor& color)
{
    CGContext& context = *UIGraphicsGetCurrentContext();
    context.saveGState();
    context.translateBy(x, 10);
    context.rotate(radians(degrees));
    UIBezierPath triangle;
    triangle.move({0, -2});
    triangle.addLine(left);
    triangle.addLine(right);
    triangle.close();
    fillPath(triangle, color);
    strokePath(triangle, color, 2, StrokeEnds::round);
    context.restoreGState();
}

} // namespace

AudioUnitLink* VelmoraFlowViewBase::audioUnit() const
{
    const std::shared_ptr<ViewControllerLink> controller = viewController.lock();
    return controller ? controller->audioUnit() : nullptr;
}

void VelmoraFlowViewBase::draw(CGRect frame, ResizingBehavior1 resizing)
{
    // Both captions first, so that the pass after a mode change already shows
    // the new ones.
    labelMode = processingModeCaption(valueProcessingMode);
    labelMode2 = operationModeCaption(valueOperationMode);
    const PassPositions positions = passPositions();
    const CGRect placed = resizing.apply(FlowPanelGeometry::canvas(), frame);
    if (CGContext* context = UIGraphicsGetCurrentContext()) {
        drawOnCanvas(*context, FlowPanelGeometry::canvas(), placed, [&] { drawPanel(positions); });
    }
    rebuildHitAreas(positions);
}

VelmoraFlowViewBase::PassPositions VelmoraFlowViewBase::passPositions() const
{
    return {44 + 512 * valueHorizontal, 66 + 512 * valueVertical, 44 + 508 * valueRangeLeft,
            48 + 508 * valueRangeRight};
}

void VelmoraFlowViewBase::drawPanel(const PassPositions& positions) const
{
    const PassColours colours{colorEmphasize.withAlphaComponent(0.2), colorContrast.withAlphaComponent(0.8),
                              colorContrast.withAlphaComponent(0.2)};
    drawFrameAndGrid(colours);
    drawCaptions(colours);
    drawButtonRow();
    drawKeyboardAndSlider();
    drawDisplayBox(colours);
    drawTitleRow();
    if (isRangeVisible) {
        drawRangeHandles(positions);
    }
    if (isDrawerVisible) {
        drawDrawer(colours);
    }
    if (isCrossVisible) {
        drawCrossHair(positions, colours);
    }
}

void VelmoraFlowViewBase::drawFrameAndGrid(const PassColours& colours) const
{
    strokePath(UIBezierPath::roundedRect({31.5, 53.5, 538, 552}, 5), colours.strongContrast, 2,
               StrokeEnds::round);
    for (int k = 0; k <= 10; ++k) {
        const CGFloat x = 44.25 + 48 * k;
        // The first line and the one at 380.25 stand a little higher than the
        // others.
        const CGFloat shift = k == 0 ? -0.5 : k == 7 ? -1.0 : 0.0;
        strokePolyline({{x, 66.75 + shift}, {x, 578.75 + shift}}, colours.faintContrast, 0.5, StrokeEnds::plain);
    }
}

void VelmoraFlowViewBase::drawCaptions(const PassColours& colours) const
{
    drawText(labelMode2, {350, 485, 163, 58},
             {kCondensedBold, 16, colours.faintContrast, NSTextAlignment::right});
    drawText(labelMode, {89, 118, 102, 58}, {kCondensedBold, 32, colours.faintContrast, NSTextAlignment::center});
}

void VelmoraFlowViewBase::drawButtonRow() const
{
    const CGRect buttonFrame(-40, -10, 80, 20);
    placeWidget({530, 628}, buttonFrame, isButtonFreezeActive ? 2 : 1,
                [&](CGRect frame) { drawSymbolButton(frame, ResizingBehavior::stretch, "Freeze", isFreezeSelected); });
    placeWidget({459, 630.5}, {-18, -14.5, 36, 29}, isButtonResetActive ? 2 : 1,
                [&](CGRect frame) { drawSymbolReset(frame, ResizingBehavior::stretch, isButtonResetActive); });
    const std::array<std::pair<const char*, bool>, 5> modeButtons{{
        {"LINKED", isButtonModeMonoActive},
        {"LEFT", isButtonModeLeftActive},
        {"RIGHT", isButtonModeRightActive},
        {"MID", isButtonModeMidActive},
        {"SIDE", isButtonModeSideActive},
    }};
    for (std::size_t mode = 0; mode < modeButtons.size(); ++mode) {
        const auto& [label, pressed] = modeButtons[mode];
        const bool selected = valueProcessingMode == static_cast<std::int64_t>(mode);
        placeWidget({72 + 78.0 * mode, 628}, buttonFrame, pressed ? 2 : 1, [&](CGRect frame) {
            drawSymbolModeButton(frame, ResizingBehavior::stretch, label, selected);
        });
    }
    // Brackets pairing LEFT with RIGHT and MID with SIDE.
    for (const CGFloat left : {149.75, 305.75}) {
        strokePolyline({{left, 641.75}, {left, 648.75}, {left + 80, 648.75}, {left + 80, 641.75}}, colorContrast,
                       2, StrokeEnds::round);
    }
}

void VelmoraFlowViewBase::drawKeyboardAndSlider() const
{
    placeCanvasWidget({44, 66, 513, 16}, [&](CGRect frame) { drawSymbolKeyboard(frame, ResizingBehavior::stretch); });
    placeWidget({301, 580}, {-180, -11, 360, 22}, isSliderActive ? 1.2 : 1,
                [&](CGRect frame) { drawSymbolSlider(frame, ResizingBehavior::stretch, valueMix); });
}

void VelmoraFlowViewBase::drawDisplayBox(const PassColours& colours) const
{
    const UIBezierPath box = UIBezierPath::roundedRect({301.5, 130.5, 210, 78}, 5);
    fillPath(box, colorContrastInverted.withAlphaComponent(0.5));
    strokePath(box, colours.faintContrast, 1, StrokeEnds::round);
    drawText(labelDisplay, {321.5, 150.5, 170, 38}, {kRegular, 12, colorContrast, NSTextAlignment::right},
             TextPlacement::top);
}

void VelmoraFlowViewBase::drawTitleRow() const
{
    drawText("ZUV [ VELMORA ] SERIES", {32, 19, 184, 20}, {kCondensedBold, 18, colorContrast, NSTextAlignment::left});
    const CGRect optionFrame(-51.22, -10, 100, 20);
    placeWidget({272.34, 28}, optionFrame, isOptionSpeedActive ? 2 : 1, [&](CGRect frame) {
        drawSymbolOption(frame, ResizingBehavior::stretch, speedOptionLabel(valueSpeedMode), isOptionSpeedActive);
    });
    placeWidget({376.34, 28}, optionFrame, isOptionRangeActive ? 2 : 1, [&](CGRect frame) {
        drawSymbolOption(frame, ResizingBehavior::stretch, operationOptionLabel(valueOperationMode),
                         isOptionRangeActive);
    });
    drawText("[QUILLMERE]", {459, 19, 110, 20}, {kCondensedBold, 18, colorEmphasize, NSTextAlignment::right});
}

void VelmoraFlowViewBase::drawRangeHandles(const PassPositions& positions) const
{
    placeWidget({positions.rightX, 329}, {-5.33, -268, 40, 536}, 1, [&](CGRect frame) {
        drawSymbolRangeRight(frame, ResizingBehavior::stretch, isRangeRightActive);
    });
    placeWidget({positions.leftX, 329}, {-34.66, -268, 40, 536}, 1, [&](CGRect frame) {
        drawSymbolRangeLeft(frame, ResizingBehavior::stretch, isRangeLeftActive);
    });
}

void VelmoraFlowViewBase::drawDrawer(const PassColours& colours) const
{
    const UIBezierPath drawer = UIBezierPath::roundedRect({28, 400, 546, 160}, 5);
    fillPath(drawer, colorContrastInverted.withAlphaComponent(0.8));
    strokePath(drawer, colorEmphasize, 4, StrokeEnds::round);
    strokePolyline({{46, 481}, {556, 481}}, colours.faintAccent, 1, StrokeEnds::round);
    placeCanvasWidget({45, 417, 512, 128}, [&](CGRect frame) { drawSymbolHandles(frame, ResizingBehavior::stretch); });
}

void VelmoraFlowViewBase::drawCrossHair(const PassPositions& positions, const PassColours& colours) const
{
    CGContext& context = *UIGraphicsGetCurrentContext();
    context.saveGState();
    context.translateBy(positions.crossX, positions.crossY);
    const CGRect around(-50, -50, 100, 100);
    strokePath(UIBezierPath::ovalIn(around), colorEmphasize, 2, StrokeEnds::round);
    drawText("+", around, {kRegular, 22, colorContrast, NSTextAlignment::center});
    context.restoreGState();
    strokePolyline({{positions.crossX, 63.5}, {positions.crossX, 575.5}}, colours.faintAccent, 2, StrokeEnds::round);
    strokePolyline({{44, positions.crossY}, {556, positions.crossY}}, colours.faintAccent, 2, StrokeEnds::round);
}

void VelmoraFlowViewBase::placeWidget(CGPoint centre, CGRect widgetFrame, CGFloat pressedFactor,
                                      const std::function<void(CGRect)>& drawer) const
{
    CGContext& context = *UIGraphicsGetCurrentContext();
    context.saveGState();
    context.translateBy(centre.x, centre.y);
    context.scaleBy(pressedFactor, pressedFactor);
    placeCanvasWidget(widgetFrame, drawer);
    context.restoreGState();
}

void VelmoraFlowViewBase::placeCanvasWidget(CGRect widgetFrame, const std::function<void(CGRect)>& drawer) const
{
    CGContext& context = *UIGraphicsGetCurrentContext();
    context.saveGState();
    context.clip(widgetFrame);
    context.translateBy(widgetFrame.minX(), widgetFrame.minY());
    drawer(CGRect({0, 0}, widgetFrame.size));
    context.restoreGState();
}

void VelmoraFlowViewBase::rebuildHitAreas(const PassPositions& positions)
{
    const auto area = [](bool shown, CGRect rect) { return UIBezierPath(shown ? rect : CGRect::zero()); };
    hotspotDrawerPath = area(isDrawerVisible, {45, 417, 512, 128});
    hotspotFlowPath = UIBezierPath(CGRect(44, 81, 512, 488));
    hotspotSliderPath = UIBezierPath(CGRect(45, 569, 511, 30));
    hotspotCaptionPath = UIBezierPath(CGRect(32, 16, 178, 26));
    hotspotSpeedPath = UIBezierPath(CGRect(218, 17, 106, 23));
    hotspotRangePath = UIBezierPath(CGRect(324, 17, 106, 23));
    hotspotButtonOnOffPath = UIBezierPath(CGRect(435, 10, 38, 38));
    hotspotCaption2Path = UIBezierPath(CGRect(476, 16, 99, 26));
    hotspotKeysPath = UIBezierPath(CGRect(44, 66, 512, 15));
    hotspotButtonMonoPath = UIBezierPath(CGRect(32, 619, 80, 20));
    hotspotButtonLeftPath = UIBezierPath(CGRect(110, 618, 80, 20));
    hotspotButtonRightPath = UIBezierPath(CGRect(188, 618, 80, 20));
    hotspotButtonMidPath = UIBezierPath(CGRect(266, 618, 80, 20));
    hotspotButtonSidePath = UIBezierPath(CGRect(344, 619, 80, 20));
    hotspotResetPath = UIBezierPath(CGRect(440, 618, 36, 30));
    hotspotButtonFreezePath = UIBezierPath(CGRect(490, 618, 80, 20));
    hotspotLeftPath = area(isRangeVisible, {positions.leftX - 33, 290, 34, 78});
    hotspotRightPath = area(isRangeVisible, {positions.rightX, 291, 34, 78});
}

void VelmoraFlowViewBase::drawSymbolKeyboard(CGRect frame, ResizingBehavior resizing) const
{
    onWidgetCanvas({1026, 32}, frame, resizing, [&] {
        for (int key = 0; key < 128; ++key) {
            const CGFloat x = 8.0 * key;
            const bool selected = isKeySelected[static_cast<std::size_t>(key)];
            if (noteNames.isBlackKey(key)) {
                const UIBezierPath cell = UIBezierPath::roundedRect({x + 0.5, 0.5, 8, 19}, 4);
                fillPath(cell, selected ? colorEmphasize : colorBlack);
                strokePath(cell, colorBlack, 1, StrokeEnds::plain);
            } else {
                const UIBezierPath cell = UIBezierPath::roundedRect({x + 0.5, 0.5, 8, 31}, 4);
                fillPath(cell, selected ? colorEmphasize : colorWhite);
                strokePath(cell, colorBlack, 0.5, StrokeEnds::round);
            }
        }
    });
}

void VelmoraFlowViewBase::drawSymbolOption(CGRect frame, ResizingBehavior resizing, const std::string& label,
                                           bool active) const
{
    onWidgetCanvas({100, 20}, frame, resizing, [&] {
        const UIColor& color = stateColor(active);
        drawArrow(95, 90, {-2.17, 1}, {2.17, 1}, colorContrast);
        const CGRect box(11.25, 2.75, 78, 14);
        strokePath(UIBezierPath::roundedRect(box, 2), color, 0.5, StrokeEnds::round);
        drawText(label, box, {kRegular, 8, color, NSTextAlignment::center});
        drawArrow(5, -90, {2.17, 1}, {-2.17, 1}, colorContrast);
    });
}

void VelmoraFlowViewBase::drawSymbolButton(CGRect frame, ResizingBehavior resizing, const std::string& label,
                                           bool active) const
{
    onWidgetCanvas({80, 20}, frame, resizing, [&] {
        const UIColor& color = stateColor(active);
        const CGRect box(1, 1, 78, 18);
        strokePath(UIBezierPath::roundedRect(box, 3), color, 1, StrokeEnds::round);
        drawText(label, box, {kRegular, 10, color, NSTextAlignment::center});
    });
}

void VelmoraFlowViewBase::drawSymbolModeButton(CGRect frame, ResizingBehavior resizing, const std::string& label,
                                               bool selected) const
{
    onWidgetCanvas({80, 20}, frame, resizing, [&] {
        const CGRect box(1, 1, 78, 18);
        const UIBezierPath outline = UIBezierPath::roundedRect(box, 2);
        fillPath(outline, selected ? colorEmphasize.withAlphaComponent(0.2) : colorTransparent);
        strokePath(outline, colorContrast, 1, StrokeEnds::round);
        drawText(label, box, {kCondensedBold, 9, colorContrast, NSTextAlignment::center});
    });
}

void VelmoraFlowViewBase::drawSymbolRangeRight(CGRect frame, ResizingBehavior resizing, bool active) const
{
    drawRangeHandle(frame, resizing, active, false);
}

void VelmoraFlowViewBase::drawSymbolRangeLeft(CGRect frame, ResizingBehavior resizing, bool active) const
{
    drawRangeHandle(frame, resizing, active, true);
}

void VelmoraFlowViewBase::drawRangeHandle(CGRect frame, ResizingBehavior resizing, bool active, bool left) const
{
    onWidgetCanvas({40, 536}, frame, resizing, [&] {
        if (left) {
            strokePolyline({{38.16, 2}, {34.16, 2}, {34.16, 534}, {38.16, 534}}, colorEmphasize, 3,
                           StrokeEnds::round);
        } else {
            strokePolyline({{2, 2}, {6, 2}, {6, 534}, {2, 534}}, colorEmphasize, 3, StrokeEnds::round);
        }
        const CGRect tab = left ? CGRect(2, 229, 32, 77) : CGRect(6, 230, 32, 77);
        const UIRectCorner outer = left ? UIRectCorner::topLeft | UIRectCorner::bottomLeft
                                        : UIRectCorner::topRight | UIRectCorner::bottomRight;
        fillPath(UIBezierPath::roundedRect(tab, outer, {5, 5}),
                 active ? colorEmphasize : colorEmphasize.withAlphaComponent(0.5));
        const CGFloat end = left ? valueRangeLeft : valueRangeRight;
        drawText(noteNames.values[static_cast<std::size_t>(rangeKey(end))], tab,
                 {kRegular, 8, colorWhite, NSTextAlignment::center});
    });
}

void VelmoraFlowViewBase::drawSymbolHandles(CGRect frame, ResizingBehavior resizing) const
{
    onWidgetCanvas({1026, 256}, frame, resizing, [&] {
        CGContext& context = *UIGraphicsGetCurrentContext();
        for (std::size_t band = 0; band < 128; ++band) {
            const bool selected = isHandleSelected[band];
            context.saveGState();
            context.translateBy(8.0 * band + 6, (1 - valueHandle[band]) * 256);
            context.scaleBy(selected ? 2 : 1, selected ? 2 : 1);
            const UIBezierPath dot = UIBezierPath::ovalIn({-4, -4, 8, 8});
            fillPath(dot, selected ? colorEmphasize : colorContrast);
            strokePath(dot, colorContrast, 1, StrokeEnds::round);
            context.restoreGState();
        }
    });
}

void VelmoraFlowViewBase::drawSymbolSlider(CGRect frame, ResizingBehavior resizing, CGFloat value) const
{
    onWidgetCanvas({360, 22}, frame, resizing, [&] {
        strokePolyline({{2.5, 10.5}, {357.5, 10.5}}, colorEmphasize, 3, StrokeEnds::round);
        const UIBezierPath knob = UIBezierPath::ovalIn({8 + 338 * value - 6, 2, 18, 18});
        fillPath(knob, colorEmphasize);
        strokePath(knob, colorContrast, 2, StrokeEnds::plain);
    });
}

void VelmoraFlowViewBase::drawSymbolReset(CGRect frame, ResizingBehavior resizing, bool active) const
{
    onWidgetCanvas({36, 29}, frame, resizing, [&] {
        const UIColor& color = stateColor(active);
        strokePath(UIBezierPath::ovalIn({9, 2, 17, 17}), color, 2, StrokeEnds::round);
        strokePolyline({{4, 11}, {31, 11}}, color, 2, StrokeEnds::round);
        drawText("RESET", {0, 21, 36, 8}, {kRegular, 6, colorContrast, NSTextAlignment::center});
    });
}

void VelmoraFlowViewBase::drawSymbolRoundButton(CGRect frame, ResizingBehavior resizing, const std::string& label,
                                                bool active) const
{
    onWidgetCanvas({26, 26}, frame, resizing, [&] {
        const UIColor& color = stateColor(active);
        const CGRect circle(2, 2, 22, 22);
        strokePath(UIBezierPath::ovalIn(circle), color, 2, StrokeEnds::round);
        drawText(label, circle, {kCondensedBold, 9, color, NSTextAlignment::center});
    });
}
