#include "PointerInput.h"

#include "UITouch.h"
#include "UIView.h"

#include <utility>


namespace {

// Below this a view counts as transparent and lets touches through.
constexpr CGFloat kMinimumTouchableAlpha = 0.01;

} // namespace

PointerInput::PointerInput(Target target) : target_(std::move(target)) {}

std::shared_ptr<UIView> PointerInput::hitTest(const std::shared_ptr<UIView>& root, CGPoint point)
{
    if (!root || root->isHidden() || root->alpha() < kMinimumTouchableAlpha) {
        return nullptr;
    }
    // Views are drawn beyond their superview's bounds, so subviews are
    // searched wherever the point lies.
    const auto& subviews = root->subviews();
    for (auto subview = subviews.rbegin(); subview != subviews.rend(); ++subview) {
        if (auto hit = hitTest(*subview, point)) {
            return hit;
        }
    }
    const CGPoint local = root->convertFromRoot(point);
    const CGRect area = root->bounds();
    if (local.x < area.minX() || local.x >= area.maxX() || local.y < area.minY() || local.y >= area.maxY()) {
        return nullptr;
    }
    return root;
}

PointerGestures::Recognisers PointerInput::recognisersFrom(const std::shared_ptr<UIView>& view)
{
    PointerGestures::Recognisers recognisers;
    for (auto current = view; current; current = current->superview()) {
        const auto& own = current->gestureRecognizers();
        recognisers.insert(recognisers.end(), own.begin(), own.end());
    }
    return recognisers;
}

void PointerInput::press(CGPoint point, double time)
{
    cancelTouch();
    const auto view = hitTest(target_ ? target_() : nullptr, point);
    if (!view) {
        return;
    }
    gestures_.press(recognisersFrom(view), point, time);
    touch_ = std::make_shared<UITouch>(view, point);
    lastPoint_ = point;
    view->touchesBegan({touch_}, &event_);
    cancelTouchIfRecognised();
}

void PointerInput::move(CGPoint point, double time)
{
    gestures_.move(point, time);
    if (!touch_) {
        return;
    }
    lastPoint_ = point;
    // Recognisers read the move before the view: one that recognised with it
    // takes the touch away.
    if (gestures_.takeTouchCancellation()) {
        cancelTouch();
        return;
    }
    const auto touch = touch_;
    touch->moveTo(point, UITouch::Phase::moved);
    if (const auto view = touch->view()) {
        view->touchesMoved({touch}, &event_);
    }
}

void PointerInput::release(CGPoint point, double time)
{
    gestures_.release(point, time);
    if (gestures_.takeTouchCancellation()) {
        cancelTouch();
        return;
    }
    endTouch(point, UITouch::Phase::ended);
}

void PointerInput::cancel()
{
    gestures_.cancel();
    gestures_.takeTouchCancellation();
    cancelTouch();
}

void PointerInput::zoomStep(CGPoint point, double factor, double time)
{
    gestures_.zoomStep(recognisersFrom(hitTest(target_ ? target_() : nullptr, point)), factor, time);
    cancelTouchIfRecognised();
}

void PointerInput::zoomBegan(CGPoint point)
{
    cancel();
    gestures_.zoomBegan(recognisersFrom(hitTest(target_ ? target_() : nullptr, point)));
    gestures_.takeTouchCancellation();
}

void PointerInput::zoomChanged(double scale)
{
    gestures_.zoomChanged(scale);
}

void PointerInput::zoomEnded()
{
    gestures_.zoomEnded();
}

void PointerInput::advance(double time)
{
    gestures_.advance(time);
    cancelTouchIfRecognised();
}

void PointerInput::cancelTouchIfRecognised()
{
    if (gestures_.takeTouchCancellation()) {
        cancelTouch();
    }
}

void PointerInput::cancelTouch()
{
    endTouch(lastPoint_, UITouch::Phase::cancelled);
}

void PointerInput::endTouch(CGPoint point, UITouch::Phase phase)
{
    if (!touch_) {
        return;
    }
    // The view may go with what its touch does (a dismissed screen): it
    // lives until the call ends.
    const auto touch = std::exchange(touch_, nullptr);
    touch->moveTo(point, phase);
    if (const auto view = touch->view()) {
        if (phase == UITouch::Phase::cancelled) {
            view->touchesCancelled({touch}, &event_);
        } else {
            view->touchesEnded({touch}, &event_);
        }
    }
}
