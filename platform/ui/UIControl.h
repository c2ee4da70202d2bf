#pragma once

#include "UIControlEvents.h"
#include "UIView.h"

#include <functional>
#include <vector>

// A view that turns touches into control events and sends them to the
// actions registered for them. By default a touch that begins sends touch
// down, a move sends drag inside or outside, and the end sends touch up
// inside or outside by where it ends; a cancel sends touch cancel.
class UIControl : public UIView {
public:
    using Action = std::function<void(UIControl&)>;

    using UIView::UIView;

    bool isTracking() const { return tracking_; }

    // Calls `action` with this control whenever one of `events` is sent.
    void addTarget(Action action, UIControlEvents events);
    // Calls, in the order they were added, every action registered for any
    // of `events`.
    void sendActions(UIControlEvents events);

    void touchesBegan(const Touches& touches, UIEvent* event) override;
    void touchesMoved(const Touches& touches, UIEvent* event) override;
    void touchesEnded(const Touches& touches, UIEvent* event) override;
    void touchesCancelled(const Touches& touches, UIEvent* event) override;

protected:
    // Whether the first of `touches` is now within the bounds.
    bool isInside(const Touches& touches) const;

private:
    struct Target {
        Action action;
        UIControlEvents events;
    };

    std::vector<Target> targets_;
    bool tracking_ = false;
};
