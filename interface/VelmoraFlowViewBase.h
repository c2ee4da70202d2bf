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
#include <functional>
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

    // The widget drawers: each draws one control on its own design canvas
    // (the default frame), resized into `frame`, from its arguments and the
    // panel's colours and arrays. They change no state, record no scale, and
    // without a current context draw nothing.
    //
    // The 128 keys, each a cell 8 units wide; black keys are the shorter cells.
    void drawSymbolKeyboard(CGRect frame = CGRect(0, 0, 1026, 32),
                            ResizingBehavior resizing = ResizingBehavior::aspectFit) const;
    // A framed label between two arrows; the frame and label light up while
    // active.
    void drawSymbolOption(CGRect frame = CGRect(0, 0, 100, 20),
                          ResizingBehavior resizing = ResizingBehavior::aspectFit,
                          const std::string& label = "option", bool active = false) const;
    void drawSymbolButton(CGRect frame = CGRect(0, 0, 80, 20),
                          ResizingBehavior resizing = ResizingBehavior::aspectFit,
                          const std::string& label = "button", bool active = false) const;
    // A processing-mode button, tinted while it is the selected mode.
    void drawSymbolModeButton(CGRect frame = CGRect(0, 0, 80, 20),
                              ResizingBehavior resizing = ResizingBehavior::aspectFit,
                              const std::string& label = "button", bool selected = false) const;
    // The range ends: a bracket the height of the flow area with a tab that
    // names the end's key.
    void drawSymbolRangeRight(CGRect frame = CGRect(0, 0, 40, 536),
                              ResizingBehavior resizing = ResizingBehavior::aspectFit,
                              bool active = false) const;
    void drawSymbolRangeLeft(CGRect frame = CGRect(0, 0, 40, 536),
                             ResizingBehavior resizing = ResizingBehavior::aspectFit,
                             bool active = false) const;
    // One dot per band at the height of its value (1 at the top); selected
    // dots are twice as large.
    void drawSymbolHandles(CGRect frame = CGRect(0, 0, 1026, 256),
                           ResizingBehavior resizing = ResizingBehavior::aspectFit) const;
    // A track with a knob at `value` (not clamped).
    void drawSymbolSlider(CGRect frame = CGRect(0, 0, 360, 22),
                          ResizingBehavior resizing = ResizingBehavior::aspectFit, CGFloat value = 1) const;
    void drawSymbolReset(CGRect frame = CGRect(0, 0, 36, 29),
                         ResizingBehavior resizing = ResizingBehavior::aspectFit, bool active = false) const;
    void drawSymbolRoundButton(CGRect frame = CGRect(0, 0, 26, 26),
                               ResizingBehavior resizing = ResizingBehavior::aspectFit,
                               const std::string& label = "OFF", bool active = false) const;

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
    // Pressed flags: set for the item under a starting touch; its release or
    // cancel clears the flag of the item it began on.
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

    // The translucent shades of a pass.
    struct PassColours {
        UIColor faintAccent;
        UIColor strongContrast;
        UIColor faintContrast;
    };

    PassPositions passPositions() const;
    // The drawing steps of a pass, in design units, in their order.
    void drawPanel(const PassPositions& positions) const;
    void drawFrameAndGrid(const PassColours& colours) const;
    void drawCaptions(const PassColours& colours) const;
    void drawButtonRow() const;
    void drawKeyboardAndSlider() const;
    void drawDisplayBox(const PassColours& colours) const;
    void drawTitleRow() const;
    void drawRangeHandles(const PassPositions& positions) const;
    void drawDrawer(const PassColours& colours) const;
    void drawCrossHair(const PassPositions& positions, const PassColours& colours) const;
    // Calls `drawer` for a widget whose frame is given around `centre`, grown
    // by `pressedFactor` about it and clipped to the frame.
    void placeWidget(CGPoint centre, CGRect widgetFrame, CGFloat pressedFactor,
                     const std::function<void(CGRect)>& drawer) const;
    // Calls `drawer` for a widget at `widgetFrame` of the current units,
    // clipped to it.
    void placeCanvasWidget(CGRect widgetFrame, const std::function<void(CGRect)>& drawer) const;
    void rebuildHitAreas(const PassPositions& positions);

    // The colour of a control's frame and label: the accent while active.
    const UIColor& stateColor(bool active) const { return active ? colorEmphasize : colorContrast; }
    void drawRangeHandle(CGRect frame, ResizingBehavior resizing, bool active, bool left) const;

    static constexpr std::array<CGFloat, 128> filled(CGFloat value)
    {
        std::array<CGFloat, 128> values{};
        values.fill(value);
        return values;
    }
};
