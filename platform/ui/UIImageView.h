#pragma once

#include "UIImage.h"
#include "UIView.h"

#include <memory>

// A view that shows one image (or none).
class UIImageView : public UIView {
public:
    using UIView::UIView;

    const std::shared_ptr<UIImage>& image() const { return image_; }
    void setImage(std::shared_ptr<UIImage> image) { image_ = std::move(image); }

private:
    std::shared_ptr<UIImage> image_;
};
