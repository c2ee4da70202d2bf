#include "ImageLoading.h"

#include "Console.h"
#include "ConsolePrint.h"
#include "DispatchQueue.h"
#include "URLSession.h"

#include <string>

namespace {

void requestImageFromURL(UIImageView& view, const URL& url)
{
    const auto response = URLSession::shared().data(url);
    if (!response.data) {
        Console::print(response.errorDescription);
        return;
    }
    if (response.statusCode == 200) {
        Console::print("Fetched image successfully");
    }
    view.setImage(UIImage::fromData(*response.data));
}

} // namespace

void loadFrom(const std::shared_ptr<UIImageView>& view, std::string_view urlAddress)
{
    const auto url = URL::string(urlAddress);
    if (!url) {
        debugprint("UIImageView::loadFrom() : Could not encode url string : " +
                   std::string(urlAddress));
        return;
    }
    DispatchQueue::main().async([weakView = std::weak_ptr<UIImageView>(view), url = *url] {
        const auto response = URLSession::shared().data(url);
        if (!response.data) {
            debugprint("UIImageView::loadFrom() : Could not encode image data.");
            return;
        }
        const auto image = UIImage::fromData(*response.data);
        const auto target = weakView.lock();
        if (image && target) {
            target->setImage(image);
            return;
        }
        debugprint("UIImageView::loadFrom() : Could not assign image.");
    });
}

void getImageFromURLString(const std::shared_ptr<UIImageView>& view,
                           std::string_view imageURLString)
{
    const auto url = URL::string(imageURLString);
    if (!url) {
        return;
    }
    DispatchQueue::main().async([view, url = *url] { requestImageFromURL(*view, url); });
}
