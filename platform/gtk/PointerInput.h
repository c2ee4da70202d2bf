#pragma once

#include "CGPoint.h"
#include "PointerGestures.h"
#include "UIEvent.h"
#include "UITouch.h"

#include <functional>
#include <memory>
#include <optional>

class UIView;

// Turns pointer input into touches and gestures for a view tree, as the
// platform does: a press becomes a touch of the view under it (the topmost
// shown view whose bounds hold the point, also where it lies beyond its
// superview's bounds, since it is drawn there), whose moves and release that
// view hears; the recognisers of that view and of its ancestors read the same
// samples (see PointerGestures) before the view does. A recogniser that
// cancels touches in its view cancels the touch when it recognises.
//
// It knows no toolkit: points are in the topmost view's coordinate space,
// times in seconds on a steady clock.
class PointerInput {
public:
    // The view tree input goes to now (the topmost shown window), or none.
    using Target = std::function<std::shared_ptr<UIView>()>;

    explicit PointerInput(Target target);

    void press(CGPoint point, double time);
    void move(CGPoint point, double time);
    void release(CGPoint point, double time);
    // The pointer went away (a grab broke, a second finger came): the touch
    // is cancelled.
    void cancel();

    // One zoom step (Ctrl+scroll) at `point`.
    void zoomStep(CGPoint point, double factor, double time);
    // A touchscreen zoom around `point`.
    void zoomBegan(CGPoint point);
    void zoomChanged(double scale);
    void zoomEnded();

    // When advance() has something to do (a long press, the end of a series
    // of taps or of a zoom).
    std::optional<double> nextDeadline() const { return gestures_.nextDeadline(); }
    void advance(double time);

    // The topmost view under `point` (in `root`'s coordinate space) that is
    // shown (neither hidden nor transparent, nor inside such a view) and
    // holds the point, whether or not its ancestors do: views are drawn
    // beyond their superview's bounds and answer touches wherever they are
    // drawn. None where no view of the tree lies.
    static std::shared_ptr<UIView> hitTest(const std::shared_ptr<UIView>& root, CGPoint point);

private:
    static PointerGestures::Recognisers recognisersFrom(const std::shared_ptr<UIView>& view);
    void cancelTouchIfRecognised();
    void cancelTouch();
    // Ends the touch with `phase` (ended or cancelled) at `point`.
    void endTouch(CGPoint point, UITouch::Phase phase);

    Target target_;
    PointerGestures gestures_;
    std::shared_ptr<UITouch> touch_;
    CGPoint lastPoint_;
    UIEvent event_;
};
