#include "PluginFrameBaseEx.h"

#include "CGContext.h"
#include "UIBezierPath.h"
#include "UIGraphics.h"

namespace {

constexpr CGFloat kInset = 2;
constexpr CGFloat kCornerRadius = 4;

} // namespace

void PluginFrameBaseEx::draw(CGRect frame, ResizingBehavior resizing) const
{
    CGContext* context = UIGraphicsGetCurrentContext();
    if (context == nullptr) {
        return;
    }
    context->saveGState();
    const CGRect canvas(0, 0, frame.width(), frame.height());
    const CGRect resized = resizing.apply(canvas, frame);
    context->translateBy(resized.minX(), resized.minY());
    context->scaleBy(resized.width() / canvas.width(), resized.height() / canvas.height());
    // A frame no wider or taller than the two insets leaves no plate.
    const CGRect plate(kInset, kInset, canvas.width() - 2 * kInset, canvas.height() - 2 * kInset);
    if (plate.size.width > 0 && plate.size.height > 0) {
        UIColor(contrast_, contrast_, contrast_, 1).setFill();
        UIBezierPath::roundedRect(plate, kCornerRadius).fill();
    }
    context->restoreGState();
}
