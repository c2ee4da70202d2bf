#include "PointerGestures.h"

#include "UILongPressGestureRecognizer.h"
#include "UIPanGestureRecognizer.h"
#include "UIPinchGestureRecognizer.h"
#include "UITapGestureRecognizer.h"
#include "UIView.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

using State = UIGestureRecognizer::State;

CGFloat distance(CGPoint a, CGPoint b)
{
    return std::hypot(a.x - b.x, a.y - b.y);
}

bool isActive(const UIGestureRecognizer& recogniser)
{
    return recogniser.state() == State::began || recogniser.state() == State::changed;
}

template <class Recogniser> Recogniser* as(const std::shared_ptr<UIGestureRecognizer>& recogniser)
{
    return dynamic_cast<Recogniser*>(recogniser.get());
}

} // namespace

template <class Step> void PointerGestures::forEachInSeries(Step step)
{
    for (std::size_t index = 0; index < series_.size(); ++index) {
        const Tracked tracked = series_[index];
        step(tracked);
    }
}

void PointerGestures::press(const Recognisers& recognisers, CGPoint point, double time)
{
    const bool continuesSeries = seriesDeadline_ && time <= *seriesDeadline_ &&
                                 distance(point, seriesStart_) < kMovementThreshold * 2;
    if (continuesSeries) {
        // Whatever finished in the earlier presses starts afresh.
        for (auto& tracked : series_) {
            if (tracked.recogniser->state() != State::possible) {
                tracked.recogniser->reset();
                tracked.taps = 0;
            }
        }
    } else {
        finishSeries();
        // Pinches follow zooms, not presses.
        for (const auto& recogniser : recognisers) {
            if (!as<UIPinchGestureRecognizer>(recogniser)) {
                series_.push_back({recogniser, 0});
            }
        }
        seriesStart_ = point;
    }
    seriesDeadline_.reset();
    pressed_ = true;
    dragging_ = false;
    start_ = point;
    last_ = point;
    pressTime_ = time;
}

void PointerGestures::move(CGPoint point, double)
{
    if (!pressed_) {
        return;
    }
    last_ = point;
    if (!dragging_ && distance(point, start_) >= kMovementThreshold) {
        beginDrag(point);
    } else if (dragging_) {
        followDrag(point);
    }
}

void PointerGestures::beginDrag(CGPoint point)
{
    dragging_ = true;
    failPendingTaps();
    const bool longPressing = dragOrLongPressActive();
    forEachInSeries([&](const Tracked& tracked) {
        auto& recogniser = *tracked.recogniser;
        if (as<UILongPressGestureRecognizer>(tracked.recogniser) && recogniser.state() == State::possible) {
            drive(recogniser, State::failed);
        } else if (auto* pan = as<UIPanGestureRecognizer>(tracked.recogniser);
                   pan && recogniser.state() == State::possible) {
            if (longPressing) {
                drive(recogniser, State::failed);
            } else {
                setPanTranslation(*pan, point);
                drive(recogniser, State::began);
            }
        }
    });
    followDrag(point);
}

void PointerGestures::followDrag(CGPoint point)
{
    forEachInSeries([&](const Tracked& tracked) {
        auto& recogniser = *tracked.recogniser;
        if (!isActive(recogniser)) {
            return;
        }
        if (auto* pan = as<UIPanGestureRecognizer>(tracked.recogniser)) {
            setPanTranslation(*pan, point);
            drive(recogniser, State::changed);
        } else if (as<UILongPressGestureRecognizer>(tracked.recogniser)) {
            drive(recogniser, State::changed);
        }
    });
}

void PointerGestures::release(CGPoint point, double time)
{
    if (!pressed_) {
        return;
    }
    if (point.x != last_.x || point.y != last_.y) {
        move(point, time);
    }
    pressed_ = false;
    bool recognisedHold = false;
    for (const auto& tracked : series_) {
        auto& recogniser = *tracked.recogniser;
        if (as<UIPanGestureRecognizer>(tracked.recogniser) || as<UILongPressGestureRecognizer>(tracked.recogniser)) {
            recognisedHold = recognisedHold || isActive(recogniser);
            if (isActive(recogniser)) {
                drive(recogniser, State::ended);
            } else if (recogniser.state() == State::possible) {
                drive(recogniser, State::failed);
            }
        }
    }
    if (dragging_ || recognisedHold) {
        failPendingTaps();
    } else {
        countTap();
    }
    if (tapsPending()) {
        seriesDeadline_ = time + kMultiTapInterval;
    } else {
        finishSeries();
    }
}

void PointerGestures::countTap()
{
    for (auto& tracked : series_) {
        auto* tap = as<UITapGestureRecognizer>(tracked.recogniser);
        if (!tap || tap->state() != State::possible) {
            continue;
        }
        ++tracked.taps;
        if (tracked.taps == tap->numberOfTapsRequired()) {
            drive(*tap, State::ended);
        } else if (tracked.taps > tap->numberOfTapsRequired()) {
            drive(*tap, State::failed);
        }
    }
}

void PointerGestures::cancel()
{
    if (!pressed_) {
        return;
    }
    pressed_ = false;
    for (const auto& tracked : series_) {
        if (isActive(*tracked.recogniser)) {
            drive(*tracked.recogniser, State::cancelled);
        }
    }
    finishSeries();
}

void PointerGestures::zoomStep(const Recognisers& recognisers, double factor, double time)
{
    // A pinch begins where the fingers rest, at scale 1: the step itself is
    // its first change.
    if (zooming_.empty()) {
        zoomBegan(recognisers);
    }
    if (!zooming_.empty()) {
        zoomChanged(zooming_.front()->scale() * factor);
        zoomDeadline_ = time + kZoomIdleSeconds;
    }
}

void PointerGestures::zoomBegan(const Recognisers& recognisers)
{
    endZoom();
    for (const auto& recogniser : recognisers) {
        if (auto pinch = std::dynamic_pointer_cast<UIPinchGestureRecognizer>(recogniser);
            pinch && pinch->state() == State::possible) {
            zooming_.push_back(pinch);
        }
    }
    for (const auto& pinch : zooming_) {
        pinch->setScale(1);
        drive(*pinch, State::began);
    }
}

void PointerGestures::zoomChanged(double scale)
{
    for (const auto& pinch : zooming_) {
        pinch->setScale(scale);
        drive(*pinch, State::changed);
    }
}

void PointerGestures::zoomEnded()
{
    endZoom();
}

void PointerGestures::endZoom()
{
    zoomDeadline_.reset();
    const auto pinches = std::exchange(zooming_, {});
    for (const auto& pinch : pinches) {
        if (isActive(*pinch)) {
            drive(*pinch, State::ended);
        }
        pinch->reset();
    }
}

std::optional<double> PointerGestures::nextDeadline() const
{
    std::optional<double> next;
    for (const auto& deadline : {longPressDeadline(), seriesDeadline_, zoomDeadline_}) {
        if (deadline && (!next || *deadline < *next)) {
            next = deadline;
        }
    }
    return next;
}

std::optional<double> PointerGestures::longPressDeadline() const
{
    if (!pressed_ || dragging_ || dragOrLongPressActive()) {
        return std::nullopt;
    }
    std::optional<double> next;
    for (const auto& tracked : series_) {
        const auto* longPress = as<UILongPressGestureRecognizer>(tracked.recogniser);
        if (longPress && longPress->state() == State::possible) {
            const double due = pressTime_ + longPress->minimumPressDuration();
            next = next ? std::min(*next, due) : due;
        }
    }
    return next;
}

void PointerGestures::advance(double time)
{
    if (const auto due = longPressDeadline(); due && time >= *due) {
        beginLongPresses(time);
    }
    if (seriesDeadline_ && time >= *seriesDeadline_ && !pressed_) {
        finishSeries();
    }
    if (zoomDeadline_ && time >= *zoomDeadline_) {
        endZoom();
    }
}

void PointerGestures::beginLongPresses(double time)
{
    failPendingTaps();
    forEachInSeries([&](const Tracked& tracked) {
        auto* longPress = as<UILongPressGestureRecognizer>(tracked.recogniser);
        if (longPress && longPress->state() == State::possible &&
            time >= pressTime_ + longPress->minimumPressDuration()) {
            drive(*longPress, State::began);
        }
    });
}

bool PointerGestures::takeTouchCancellation()
{
    return std::exchange(touchCancellation_, false);
}

void PointerGestures::drive(UIGestureRecognizer& recogniser, State state)
{
    recogniser.setState(state);
    const State now = recogniser.state();
    if (recogniser.cancelsTouchesInView() && (isActive(recogniser) || now == State::ended)) {
        touchCancellation_ = true;
    }
}

void PointerGestures::failPendingTaps()
{
    forEachInSeries([&](const Tracked& tracked) {
        const auto* tap = as<UITapGestureRecognizer>(tracked.recogniser);
        if (tap && tap->state() == State::possible && tracked.taps < tap->numberOfTapsRequired()) {
            drive(*tracked.recogniser, State::failed);
        }
    });
}

bool PointerGestures::tapsPending() const
{
    return std::any_of(series_.begin(), series_.end(), [](const Tracked& tracked) {
        const auto* tap = as<UITapGestureRecognizer>(tracked.recogniser);
        return tap && tap->state() == State::possible && tracked.taps > 0 &&
               tracked.taps < tap->numberOfTapsRequired();
    });
}

bool PointerGestures::dragOrLongPressActive() const
{
    return std::any_of(series_.begin(), series_.end(), [](const Tracked& tracked) {
        return (as<UIPanGestureRecognizer>(tracked.recogniser) ||
                as<UILongPressGestureRecognizer>(tracked.recogniser)) &&
               isActive(*tracked.recogniser);
    });
}

void PointerGestures::finishSeries()
{
    seriesDeadline_.reset();
    failPendingTaps();
    for (const auto& tracked : series_) {
        if (tracked.recogniser->state() == State::possible && !as<UITapGestureRecognizer>(tracked.recogniser)) {
            drive(*tracked.recogniser, State::failed);
        }
    }
    const auto finished = std::exchange(series_, {});
    for (const auto& tracked : finished) {
        tracked.recogniser->reset();
    }
}

void PointerGestures::setPanTranslation(UIPanGestureRecognizer& pan, CGPoint to) const
{
    const auto view = pan.view();
    if (!view) {
        return;
    }
    const CGPoint from = view->convertFromRoot(start_);
    const CGPoint here = view->convertFromRoot(to);
    pan.setTranslation({here.x - from.x, here.y - from.y}, *view);
}
