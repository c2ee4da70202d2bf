#pragma once

#include "CGSize.h"

#include <memory>

class UIImage;
class UIView;

// Pictures of what a view shows, not opaque, at the main screen's scale.
namespace ViewImages {

// What the view's layer renders (its kept picture and its subviews'), in an
// image of its bounds' size; works outside a window too.
std::shared_ptr<UIImage> asImage(const UIView& view);

// The view's hierarchy as it is on screen now (no display pass first), in an
// image of its bounds' size; transparent outside a window.
std::shared_ptr<UIImage> _asImage(UIView& view);

// The same, scaled into an image of `size` points.
std::shared_ptr<UIImage> hierarchyImage(UIView& view, CGSize size);

} // namespace ViewImages
