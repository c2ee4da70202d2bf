#include "UIPanGestureRecognizer.h"

#include "UIView.h"

namespace {

CGPoint difference(CGPoint to, CGPoint from)
{
    return {to.x - from.x, to.y - from.y};
}

} // namespace

CGPoint UIPanGestureRecognizer::translation(const UIView& view) const
{
    return difference(view.convertFromRoot(rootTranslation_), view.convertFromRoot({0, 0}));
}

void UIPanGestureRecognizer::setTranslation(CGPoint translation, const UIView& view)
{
    rootTranslation_ = difference(view.convertToRoot(translation), view.convertToRoot({0, 0}));
}
