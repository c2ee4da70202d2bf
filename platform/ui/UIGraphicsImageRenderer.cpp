#include "UIGraphicsImageRenderer.h"

#include "UIGraphics.h"
#include "UIGraphicsImageContext.h"

std::shared_ptr<UIImage> UIGraphicsImageRenderer::image(
    const std::function<void(CGContext&)>& actions) const
{
    UIGraphicsImageContext imageContext(size_, opaque_, scale_);
    // The context stops being current however the actions end.
    struct Current {
        explicit Current(CGContext& context) { UIGraphicsPushContext(context); }
        ~Current() { UIGraphicsPopContext(); }
        Current(const Current&) = delete;
        Current& operator=(const Current&) = delete;
    } current(imageContext.context());
    actions(imageContext.context());
    return imageContext.image();
}
