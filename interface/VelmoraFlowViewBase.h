#pragma once

#include "BasicResizingBehavior.h"
#include "CGFloat.h"
#include "CGRect.h"
#include "NoteNames.h"
#include "ScaleRecords.h"
#include "UIBezierPath.h"
#include "UIColor.h"
#include "ViewControllerLink.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>

// Everything the flow panel shows or its touch handling edits. The flow view
// owns one and reads and writes the fields directly; writing a field has no
// side effect (the flow view asks for the redraw itself). Main thread only.
class VelmoraFlowViewBase {
public:
    // The panel canvas's behaviour: records its scale in VelmoraFlowViewScale.
    using ResizingBehavior1 = BasicResizingBehavior<RecordsIn<VelmoraFlowViewScale>>;
    // The widget drawers' behaviour: records nothing, so that drawing a control
    // cannot overwrite the panel's scale.
    using ResizingBehavior = BasicResizingBehavior<RecordsNothing>;

    VelmoraFlowViewBase() = default;
    VelmoraFlowViewBase(const VelmoraFlowViewBase&) = delete;
    VelmoraFlowViewBase& operator=(const VelmoraFlowViewBase&) = delete;

    // The controller owns the views, and so this object: not owned here.
    std::weak_ptr<ViewControllerLink> viewController;

    // The controller's audio unit; none while viewController is unset or gone.
    AudioUnitLink* audioUnit() const;

    // One pass: rewrites both captions from the modes, draws the whole panel
    // into the current graphics context with its 600 x 660 design canvas
    // resized into `frame` (which records the scale the touch mapping divides
    // by), and rebuilds the 18 hit areas. Without a current context nothing is
    // drawn; the captions, the scale and the hit areas are still brought up to
    // date.
    void draw(CGRect frame = CGRect(0, 0, 600, 660),
              ResizingBehavior1 resizing = ResizingBehavior1::aspectFit);

    UIColor colorEmphasize{0.174, 0.637, 0.756, 1.0};
    UIColor colorContrast{0, 0, 0, 1};
    UIColor colorContrastInverted{1, 1, 1, 1};
    UIColor colorWhite{1, 1, 1, 1};
    UIColor colorHotspots{0.561, 0.8, 0.32, 0.128};
    UIColor colorBlack{0, 0, 0, 1};
    UIColor colorTransparent{0, 0, 0, 0};
    NoteNames noteNames;
    std::int64_t valueProcessingMode = 0;
    std::int64_t valueSpeedMode = 2;
    std::int64_t valueOperationMode = 0;
    // Rewritten from the modes by every draw pass.
    std::string labelMode = "STEREO";
    std::string labelMode2 = "PITCH MODE";
    std::string labelDisplay = "Display 1200 Hz (C4)";
    bool isFreezeSelected = false;
    std::array<bool, 128> isKeySelected{};
    std::array<bool, 128> isHandleSelected{};
    CGFloat valueMix = 0.5;
    std::array<CGFloat, 128> valueHandle = filled(0.5);
    bool isCrossVisible = true;
    CGFloat valueHorizontal = 0.5;
    CGFloat valueVertical = 0.5;
    bool isRangeVisible = true;
    // The key range as fractions of 127.
    CGFloat valueRangeLeft = 0.0;
    CGFloat valueRangeRight = 1.0;
    // Pressed flags: set for the item under a starting touch, all cleared when
    // the touch ends or is cancelled.
    bool isRangeLeftActive = false;
    bool isRangeRightActive = false;
    bool isSliderActive = false;
    bool isDrawerVisible = true;
    bool isButtonResetActive = false;
    bool isButtonFreezeActive = false;
    bool isOptionSpeedActive = false;
    bool isOptionRangeActive = false;
    bool isButtonModeMonoActive = false;
    bool isButtonModeLeftActive = false;
    bool isButtonModeRightActive = false;
    bool isButtonModeMidActive = false;
    bool isButtonModeSideActive = false;
    // The on/off item's state; not drawn.
    bool isButtoOnOffActive = false;
    // Hit areas in panel design units, rebuilt by every draw pass; empty until
    // the first one, so that no touch hits anything before the panel is shown.
    // hotspotRangePath is the operation selector's, hotspotCaptionPath the
    // title's, hotspotButtonMonoPath the LINKED button's.
    UIBezierPath hotspotFlowPath;
    UIBezierPath hotspotSliderPath;
    UIBezierPath hotspotDrawerPath;
    UIBezierPath hotspotCaptionPath;
    UIBezierPath hotspotSpeedPath;
    UIBezierPath hotspotRangePath;
    UIBezierPath hotspotButtonOnOffPath;
    UIBezierPath hotspotCaption2Path;
    UIBezierPath hotspotKeysPath;
    UIBezierPath hotspotButtonMonoPath;
    UIBezierPath hotspotButtonLeftPath;
    UIBezierPath hotspotButtonRightPath;
    UIBezierPath hotspotButtonMidPath;
    UIBezierPath hotspotButtonSidePath;
    UIBezierPath hotspotResetPath;
    UIBezierPath hotspotButtonFreezePath;
    UIBezierPath hotspotLeftPath;
    UIBezierPath hotspotRightPath;

private:
    // Where the cross-hair and the two range handles stand during a pass, in
    // design units, taken once from the state at the pass's start.
    struct PassPositions {
        CGFloat crossX;
        CGFloat crossY;
        CGFloat leftX;
        CGFloat rightX;
    };

    PassPositions passPositions() const;
    void rebuildHitAreas(const PassPositions& positions);

    static constexpr std::array<CGFloat, 128> filled(CGFloat value)
    {
        std::array<CGFloat, 128> values{};
        values.fill(value);
        return values;
    }
};
