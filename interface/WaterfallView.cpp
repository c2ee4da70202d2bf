#include "WaterfallView.h"

#include "ViewImages.h"

#include <utility>

namespace {

constexpr std::int64_t kSlowestSpeedMode = 8;

} // namespace

WaterfallView::WaterfallView(CGRect frame) : UIControl(frame)
{
    baseClass_.parent = this;
}

void WaterfallView::setViewController(std::weak_ptr<ViewControllerLink> controller)
{
    viewController_ = std::move(controller);
}

AudioUnitLink* WaterfallView::audioUnit() const
{
    const std::shared_ptr<ViewControllerLink> controller = viewController_.lock();
    return controller ? controller->audioUnit() : nullptr;
}

void WaterfallView::reset()
{
    baseClass_.magnitudeMax = 0;
    baseClass_.magnitudeMin = 0;
    baseClass_.values.fill(0);
}

void WaterfallView::setSpeed(std::int64_t mode)
{
    if (mode < 0 || mode > kSlowestSpeedMode) {
        return;
    }
    baseClass_.speed = static_cast<CGFloat>(std::int64_t{2} << mode);
}

void WaterfallView::update()
{
    if (!suspended_) {
        setNeedsDisplay();
    }
}

void WaterfallView::makeImage()
{
    image_ = ViewImages::hierarchyImage(*this, CGSize{WaterfallViewBase::kCanvasWidth, baseClass_.speed});
}

void WaterfallView::draw(CGRect)
{
    baseClass_.parent = this;
    baseClass_.draw(bounds());
}
