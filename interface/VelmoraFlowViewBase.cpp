#include "VelmoraFlowViewBase.h"

#include "CGContext.h"
#include "FlowPanelLabels.h"
#include "UIGraphics.h"

namespace {

const CGRect kPanelCanvas(0, 0, 600, 660);

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
    const CGRect placed = resizing.apply(kPanelCanvas, frame);
    if (CGContext* context = UIGraphicsGetCurrentContext()) {
        context->saveGState();
        context->translateBy(placed.minX(), placed.minY());
        context->scaleBy(placed.width() / kPanelCanvas.width(), placed.height() / kPanelCanvas.height());
        context->restoreGState();
    }
    rebuildHitAreas(positions);
}

VelmoraFlowViewBase::PassPositions VelmoraFlowViewBase::passPositions() const
{
    return {44 + 512 * valueHorizontal, 66 + 512 * valueVertical, 44 + 508 * valueRangeLeft,
            48 + 508 * valueRangeRight};
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
