#pragma once

#include "CGFloat.h"
#include "NSLayoutAnchor.h"

#include <memory>
#include <vector>

// first edge = second edge + constant. An active constraint lives in the
// nearest common ancestor of its two views and is applied when that view lays
// out its subviews.
class NSLayoutConstraint {
public:
    NSLayoutConstraint(NSLayoutAnchor first, NSLayoutAnchor second, CGFloat constant)
        : first_(std::move(first)), second_(std::move(second)), constant_(constant)
    {
    }

    // Activates every constraint in one call. A constraint whose views share
    // no ancestor cannot be applied: it is reported on the Console and stays
    // inactive.
    static void activate(const std::vector<std::shared_ptr<NSLayoutConstraint>>& constraints);

    const NSLayoutAnchor& firstAnchor() const { return first_; }
    const NSLayoutAnchor& secondAnchor() const { return second_; }
    CGFloat constant() const { return constant_; }
    bool isActive() const { return active_; }

private:
    friend class UIView;

    NSLayoutAnchor first_;
    NSLayoutAnchor second_;
    CGFloat constant_;
    bool active_ = false;
};
