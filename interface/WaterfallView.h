#pragma once

#include "UIControl.h"
#include "ViewControllerLink.h"
#include "WaterfallViewBase.h"

#include <cstdint>
#include <memory>

class UIImage;

// The scrolling picture of the chromatic magnitudes. The controller asks for
// one redraw per timer tick (update), and each redraw adds one row pulled from
// the controller. The picture keeps no history of its own: each pass moves a
// snapshot of what the view showed before it. Main thread only.
class WaterfallView : public UIControl {
public:
    explicit WaterfallView(CGRect frame = {});

    // The controller owns the views, so it is not owned here; without it no
    // row is added.
    const std::weak_ptr<ViewControllerLink>& viewController() const { return viewController_; }
    void setViewController(std::weak_ptr<ViewControllerLink> controller);
    // The controller's audio unit; none while there is no controller.
    AudioUnitLink* audioUnit() const;

    WaterfallViewBase& baseClass() { return baseClass_; }
    const WaterfallViewBase& baseClass() const { return baseClass_; }

    // Forgets the last row: values and extremes back to 0.
    void reset();
    // Canvas height 2^(mode + 1) for modes 0 (fastest, 2) to 8 (slowest,
    // 512), from the next pass on; any other mode is ignored.
    void setSpeed(std::int64_t mode);
    // Asks for a redraw, unless frozen.
    void update();
    // While frozen, update asks for nothing; a redraw asked for otherwise
    // still adds a row.
    bool suspended() const { return suspended_; }
    void suspend(bool value) { suspended_ = value; }

    // The snapshot the current pass moves; none before the first.
    const std::shared_ptr<UIImage>& image() const { return image_; }
    // Snapshots what the view shows now, scaled into the design canvas
    // (512 x speed points).
    void makeImage();

    // The whole view, whatever `rect` is, by the drawing object with the
    // default resizing.
    void draw(CGRect rect) override;

private:
    std::weak_ptr<ViewControllerLink> viewController_;
    WaterfallViewBase baseClass_;
    bool suspended_ = false;
    std::shared_ptr<UIImage> image_;
};
