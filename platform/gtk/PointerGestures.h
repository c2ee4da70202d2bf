#pragma once

#include "CGPoint.h"
#include "UIGestureRecognizer.h"

#include <memory>
#include <optional>
#include <vector>

class UIPanGestureRecognizer;
class UIPinchGestureRecognizer;

// Reads pointer input as the gestures recognisers stand for and moves their
// states: a press held still for a long press's minimum duration begins it;
// a press that moves past a small threshold is a pan; a press released
// before either is a tap, and presses that follow one another quickly near
// the same point count towards a tap recogniser's number of taps; zoom steps
// (Ctrl+scroll) and touchscreen zooms drive pinch recognisers. Only one of
// pan and long press is recognised per press. Failure requirements are the
// recognisers' own: a tap that needs a double tap to fail is let through once
// the double tap fails, when the series of taps times out.
//
// It knows no toolkit: points are in the topmost view's coordinate space,
// times in seconds on any steady clock. Whoever feeds it calls advance() at
// nextDeadline().
class PointerGestures {
public:
    using Recognisers = std::vector<std::shared_ptr<UIGestureRecognizer>>;

    // Points a press moves before it counts as a drag.
    static constexpr CGFloat kMovementThreshold = 8;
    // Seconds from a release to the next press of the same series of taps.
    static constexpr double kMultiTapInterval = 0.35;
    // The scale factor of one zoom step (one notch of the wheel).
    static constexpr double kZoomStepFactor = 1.1;
    // Seconds without a zoom step after which the zoom ends.
    static constexpr double kZoomIdleSeconds = 0.3;

    // A press at `point`; `recognisers` are those of the view pressed and
    // its ancestors. A press that continues a series of taps keeps the
    // series' recognisers.
    void press(const Recognisers& recognisers, CGPoint point, double time);
    void move(CGPoint point, double time);
    void release(CGPoint point, double time);
    // The press ends without a gesture: what began is cancelled, what was
    // still possible fails.
    void cancel();

    // One zoom step by `factor`: the first begins the pinch recognisers of
    // `recognisers` at scale 1 and changes them to `factor`, the next ones
    // multiply the scale; the zoom ends once no step came for
    // kZoomIdleSeconds.
    void zoomStep(const Recognisers& recognisers, double factor, double time);
    // A touchscreen zoom: it begins at scale 1, follows the fingers' scale
    // and ends when they lift.
    void zoomBegan(const Recognisers& recognisers);
    void zoomChanged(double scale);
    void zoomEnded();

    // When advance() has something to do: a long press to begin, a series of
    // taps or a zoom to end.
    std::optional<double> nextDeadline() const;
    void advance(double time);

    // Whether a recogniser that cancels the touches in its view recognised
    // since the last call.
    bool takeTouchCancellation();

private:
    struct Tracked {
        std::shared_ptr<UIGestureRecognizer> recogniser;
        int taps = 0;
    };

    // Calls `step` with a copy of each entry of the series. A target that
    // presents or dismisses a screen cancels the press, which empties the
    // series under the walk: the walk ends there.
    template <class Step> void forEachInSeries(Step step);
    void drive(UIGestureRecognizer& recogniser, UIGestureRecognizer::State state);
    void beginDrag(CGPoint point);
    void followDrag(CGPoint point);
    void beginLongPresses(double time);
    void countTap();
    // Taps that still wait for presses fail.
    void failPendingTaps();
    bool tapsPending() const;
    bool dragOrLongPressActive() const;
    // Ends the series: whatever is still possible fails (letting waiting
    // recognitions through), then every recogniser starts afresh.
    void finishSeries();
    std::optional<double> longPressDeadline() const;
    void setPanTranslation(UIPanGestureRecognizer& pan, CGPoint to) const;
    void endZoom();

    std::vector<Tracked> series_;
    bool pressed_ = false;
    bool dragging_ = false;
    CGPoint start_;
    CGPoint last_;
    CGPoint seriesStart_;
    double pressTime_ = 0;
    std::optional<double> seriesDeadline_;
    std::vector<std::shared_ptr<UIPinchGestureRecognizer>> zooming_;
    std::optional<double> zoomDeadline_;
    bool touchCancellation_ = false;
};
