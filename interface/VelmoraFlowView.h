#pragma once

#include "FlowHotspot.h"
#include "UIControl.h"
#include "VelmoraFlowViewBase.h"
#include "VelmoraFlowViewDelegate.h"
#include "ViewControllerLink.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

// The control that shows the flow panel and turns touches on it into parameter
// edits for its delegate. It keeps the panel in step with the parameter values
// the controller passes on, and touches do nothing until both a controller and
// a delegate are set. Main thread only.
class VelmoraFlowView : public UIControl {
public:
    explicit VelmoraFlowView(CGRect frame = {});

    // The plug-in's view controller, which owns the view: held without owning
    // it. Setting it also sets the panel's.
    std::shared_ptr<ViewControllerLink> viewController() const { return viewController_.lock(); }
    void setViewController(std::weak_ptr<ViewControllerLink> controller);
    // The controller's audio unit; none without a controller.
    AudioUnitLink* audioUnit() const;
    // Receives the edits; held without owning it (the controller is the
    // delegate and owns the view).
    std::shared_ptr<VelmoraFlowViewDelegate> delegate() const { return delegate_.lock(); }
    void setDelegate(std::weak_ptr<VelmoraFlowViewDelegate> delegate) { delegate_ = std::move(delegate); }
    VelmoraFlowViewBase& baseClass() { return baseClass_; }
    const VelmoraFlowViewBase& baseClass() const { return baseClass_; }

    void setFocus(bool focus);
    // The panel's foreground grey becomes 1 - contrast, its background grey
    // contrast.
    void setContrast(CGFloat contrast);
    // The flow area in panel design units.
    CGRect getFlowSize() const;
    // Highlights exactly the given notes on the keyboard strip.
    void setKeys(const std::vector<std::int64_t>& keys);
    // Brings the panel in step with a value that changed in the parameter
    // tree. Sends nothing.
    void setParameter(std::int64_t address, float value);

    // What the touch handling keeps between a touch's start, moves and end.
    // The name of the hit area under the current touch; "" while there is none.
    std::string_view hotspotMode() const { return hotspotName(hotspot_); }
    CGPoint startLocation() const { return startLocation_; }
    CGFloat scaler() const { return scaler_; }
    // Whether each note's band is edited in the current operation mode.
    const std::array<bool, 128>& range() const { return range_; }
    CGFloat savedValue() const { return savedValue_; }
    std::int64_t lastIndex() const { return lastIndex_; }

    // Draws the panel into the bounds; the pass records the scale the touch
    // mapping divides by and rebuilds the hit areas. A hidden view draws
    // nothing.
    void draw(CGRect rect) override;
    void touchesBegan(const Touches& touches, UIEvent* event) override;
    void touchesMoved(const Touches& touches, UIEvent* event) override;
    void touchesEnded(const Touches& touches, UIEvent* event) override;
    void touchesCancelled(const Touches& touches, UIEvent* event) override;

private:
    // A view point in panel design units.
    CGPoint designPoint(CGPoint location) const;
    void setHotspotMode(CGPoint location);

    void beginOn(FlowHotspot hotspot);
    void selectBand(CGPoint location);
    void placeCrossHair(CGPoint location);
    void selectChannelMode(int mode);
    void toggleFreeze();
    void endOn(FlowHotspot hotspot);
    void commitOperationMode();
    void releasePressedState(FlowHotspot hotspot);
    void dragTo(CGPoint location);
    void paintBand(CGPoint location);
    void dragRangeLeft(CGFloat value);
    void dragRangeRight(CGFloat value);
    void writeRangeReadout();

    void sendParameter(std::int64_t address, float value) const;
    void sendOption(std::int64_t address, float value) const;
    void getBands();
    void closeGaps(int newIndex, int lastIndex, CGFloat value);
    void setBand(int index, float value);
    void setBands();
    void resetBands();
    void setRange();
    void rebuildRange();
    bool inRange(std::int64_t key) const;

    std::weak_ptr<ViewControllerLink> viewController_;
    std::weak_ptr<VelmoraFlowViewDelegate> delegate_;
    VelmoraFlowViewBase baseClass_;
    FlowHotspot hotspot_ = FlowHotspot::none;
    CGPoint startLocation_;
    CGFloat scaler_ = 1.0;
    std::array<bool, 128> range_;
    CGFloat savedValue_ = 0.0;
    std::int64_t lastIndex_ = 0;
};
