#pragma once

#include "CGFloat.h"
#include "NSLayoutAttribute.h"

#include <memory>

class NSLayoutConstraint;
class UIView;

// One edge of a view, from which equality constraints are made.
class NSLayoutAnchor {
public:
    NSLayoutAnchor(std::weak_ptr<UIView> view, NSLayoutAttribute attribute)
        : view_(std::move(view)), attribute_(attribute)
    {
    }

    // A new, inactive constraint: this edge = `other` + constant.
    std::shared_ptr<NSLayoutConstraint> constraint(const NSLayoutAnchor& other,
                                                   CGFloat constant = 0) const;

    std::shared_ptr<UIView> view() const { return view_.lock(); }
    NSLayoutAttribute attribute() const { return attribute_; }

private:
    std::weak_ptr<UIView> view_;
    NSLayoutAttribute attribute_;
};
