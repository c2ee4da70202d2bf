#include "ViewImages.h"

#include "UIGraphics.h"
#include "UIGraphicsImageRenderer.h"
#include "UIImage.h"
#include "UIScreen.h"
#include "UIView.h"

namespace ViewImages {

std::shared_ptr<UIImage> asImage(const UIView& view)
{
    return UIGraphicsImageRenderer(view.bounds().size).image([&](CGContext& context) {
        view.renderLayer(context);
    });
}

std::shared_ptr<UIImage> _asImage(UIView& view)
{
    return hierarchyImage(view, view.bounds().size);
}

std::shared_ptr<UIImage> hierarchyImage(UIView& view, CGSize size)
{
    UIGraphicsBeginImageContextWithOptions(size, false, UIScreen::main().scale());
    view.drawHierarchy(CGRect(0, 0, size.width, size.height), false);
    auto image = UIGraphicsGetImageFromCurrentImageContext();
    UIGraphicsEndImageContext();
    return image;
}

} // namespace ViewImages
