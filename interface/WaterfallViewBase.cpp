#include "WaterfallViewBase.h"

#include "CGContext.h"
#include "UIGraphics.h"
#include "UIImage.h"
#include "WaterfallView.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr CGFloat kCellWidth = 4;
constexpr CGFloat kCellHeight = 2;
// The history moves by one unit a pass, so each new row covers half of the
// one before.
constexpr CGFloat kScroll = 1;
constexpr CGFloat kRawOpacityFactor = 0.01;

} // namespace

void WaterfallViewBase::draw(CGRect frame, ResizingBehavior resizing)
{
    CGContext* context = UIGraphicsGetCurrentContext();
    if (parent == nullptr || context == nullptr) {
        return;
    }
    context->saveGState();
    const CGRect canvas(0, 0, kCanvasWidth, speed);
    const CGRect target = resizing.apply(canvas, frame);
    context->translateBy(target.minX(), target.minY());
    context->scaleBy(target.width() / kCanvasWidth, target.height() / speed);
    parent->makeImage();
    drawMoveScreen(*context);
    drawMagnitudes(*context);
    context->restoreGState();
}

void WaterfallViewBase::drawMoveScreen(CGContext& context) const
{
    const auto& image = parent->image();
    if (!image) {
        return;
    }
    const CGSize size = image->size();
    context.drawImage(*image, CGRect(0, up ? -kScroll : kScroll, size.width, size.height));
}

void WaterfallViewBase::drawMagnitudes(CGContext& context)
{
    const auto controller = parent->viewController().lock();
    if (!controller) {
        return;
    }
    const std::size_t count = takeMagnitudes(controller->getMagnitudes());
    // A silent row (nothing above 0) paints nothing rather than divide by 0.
    if (!(magnitudeMax > 0)) {
        return;
    }
    const CGFloat norm = 1 / magnitudeMax;
    const CGFloat top = up ? speed - 1 : 0;
    const CGFloat step = kCanvasWidth / static_cast<CGFloat>(values.size());
    for (std::size_t note = 0; note < count; ++note) {
        context.setFillColor(colorEmphasize.withAlphaComponent(opacity(values[note], norm) * contrast));
        context.fill(CGRect(static_cast<CGFloat>(note) * step, top, kCellWidth, kCellHeight));
    }
}

std::size_t WaterfallViewBase::takeMagnitudes(const std::vector<float>& magnitudes)
{
    magnitudeMax = 0;
    magnitudeMin = 0;
    const std::size_t count = std::min(magnitudes.size(), values.size());
    for (std::size_t note = 0; note < count; ++note) {
        // One value that is not a number or infinite would otherwise blank
        // the row (as the maximum) or light its key in the highlighting.
        const CGFloat value = std::isfinite(magnitudes[note]) ? magnitudes[note] : 0;
        magnitudeMax = std::max(magnitudeMax, value);
        magnitudeMin = std::min(magnitudeMin, value);
        values[note] = value;
    }
    return count;
}

CGFloat WaterfallViewBase::opacity(CGFloat magnitude, CGFloat norm) const
{
    const CGFloat value = magnitude * (isNormalized ? norm : kRawOpacityFactor);
    return std::clamp(value, CGFloat{0}, CGFloat{1});
}
