#pragma once

#include "CGPoint.h"

#include <memory>

class UIView;

// One finger (or the mouse) on the screen. Its locations are kept in the
// coordinate space of the topmost view of the hierarchy it touched.
class UITouch {
public:
    enum class Phase { began, moved, stationary, ended, cancelled };

    UITouch(std::shared_ptr<UIView> view, CGPoint rootLocation)
        : view_(std::move(view)), location_(rootLocation), previous_(rootLocation)
    {
    }

    // The view the touch began in.
    std::shared_ptr<UIView> view() const { return view_.lock(); }
    Phase phase() const { return phase_; }

    // The current or the previous location in `view`'s coordinate space.
    CGPoint location(const UIView& view) const;
    CGPoint previousLocation(const UIView& view) const;

    // Called by whatever delivers the touch.
    void moveTo(CGPoint rootLocation, Phase phase);

private:
    std::weak_ptr<UIView> view_;
    CGPoint location_;
    CGPoint previous_;
    Phase phase_ = Phase::began;
};
