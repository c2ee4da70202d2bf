#include "UIGraphicsImageRenderer.h"

#include "UIGraphics.h"
#include "UIGraphicsImageContext.h"

namespace {

// The context stops being current however the actions end.
class Current {
public:
    explicit Current(CGContext& context) { UIGraphicsPushContext(context); }
    ~Current() { UIGraphicsPopContext(); }
    Current(const Current&) = delete;
    Current& operator=(const Current&) = delete;
};

} // namespace

std::shared_ptr<UIImage> UIGraphicsImageRenderer::image(const std::function<void(CGContext&)>& actions,
                                                        std::shared_ptr<UIImage> reusable) const
{
    UIGraphicsImageContext imageContext(size_, opaque_, scale_, std::move(reusable));
    {
        const Current current(imageContext.context());
        actions(imageContext.context());
    }
    return imageContext.finishedImage();
}
