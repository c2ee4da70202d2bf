#include "UIGraphics.h"

#include "UIGraphicsImageContext.h"

#include <vector>

namespace {

// Drawing happens on one thread at a time per context; each thread keeps its
// own stack, as the platform does.
std::vector<CGContext*>& contextStack()
{
    thread_local std::vector<CGContext*> stack;
    return stack;
}

std::vector<std::unique_ptr<UIGraphicsImageContext>>& imageContextStack()
{
    thread_local std::vector<std::unique_ptr<UIGraphicsImageContext>> stack;
    return stack;
}

// The pixels of the image context ended last, for the next one of its size.
std::shared_ptr<UIImage>& spareCanvas()
{
    thread_local std::shared_ptr<UIImage> canvas;
    return canvas;
}

} // namespace

CGContext* UIGraphicsGetCurrentContext()
{
    const auto& stack = contextStack();
    return stack.empty() ? nullptr : stack.back();
}

void UIGraphicsPushContext(CGContext& context)
{
    contextStack().push_back(&context);
}

void UIGraphicsPopContext()
{
    auto& stack = contextStack();
    if (!stack.empty()) {
        stack.pop_back();
    }
}

void UIGraphicsBeginImageContextWithOptions(CGSize size, bool opaque, double scale)
{
    auto& images = imageContextStack();
    images.push_back(std::make_unique<UIGraphicsImageContext>(size, opaque, scale, std::move(spareCanvas())));
    UIGraphicsPushContext(images.back()->context());
}

std::shared_ptr<UIImage> UIGraphicsGetImageFromCurrentImageContext()
{
    const auto& images = imageContextStack();
    if (images.empty() || &images.back()->context() != UIGraphicsGetCurrentContext()) {
        return nullptr;
    }
    return images.back()->image();
}

void UIGraphicsEndImageContext()
{
    auto& images = imageContextStack();
    if (images.empty() || &images.back()->context() != UIGraphicsGetCurrentContext()) {
        return;
    }
    UIGraphicsPopContext();
    spareCanvas() = images.back()->finishedImage();
    images.pop_back();
}
