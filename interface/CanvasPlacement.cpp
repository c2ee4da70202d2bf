#include "CanvasPlacement.h"

#include <algorithm>

namespace {

CGSize chooseScale(ResizingCase resizing, const CGRect& canvas, const CGRect& target)
{
    const CGFloat horizontal = target.width() / canvas.width();
    const CGFloat vertical = target.height() / canvas.height();
    switch (resizing) {
    case ResizingCase::aspectFit: {
        const CGFloat uniform = std::min(horizontal, vertical);
        return {uniform, uniform};
    }
    case ResizingCase::aspectFill: {
        const CGFloat uniform = std::max(horizontal, vertical);
        return {uniform, uniform};
    }
    case ResizingCase::stretch:
        return {horizontal, vertical};
    case ResizingCase::center:
        break;
    }
    return {1, 1};
}

} // namespace

CanvasPlacement CanvasPlacement::of(ResizingCase resizing, const CGRect& canvas, const CGRect& target)
{
    if (target == CGRect::zero()) {
        return {canvas, std::nullopt};
    }
    if (canvas == target) {
        return {canvas, CGSize{1, 1}};
    }
    const CGSize scale = chooseScale(resizing, canvas, target);
    const CGFloat width = canvas.width() * scale.width;
    const CGFloat height = canvas.height() * scale.height;
    const CGRect placed(target.minX() + (target.width() - width) / 2,
                        target.minY() + (target.height() - height) / 2, width, height);
    return {placed, scale};
}
