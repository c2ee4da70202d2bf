#pragma once

#include "UIImageView.h"

#include <memory>
#include <string_view>

// Loads the image at `urlAddress` into the view from a main-queue block that
// holds the view weakly; reports an invalid URL, unreadable content or an
// image that could not be set through debugprint.
void loadFrom(const std::shared_ptr<UIImageView>& view, std::string_view urlAddress);

// Loads the image at `imageURLString` into the view from a main-queue block
// that holds the view strongly; content that is not an image clears it. An
// invalid URL text does nothing.
void getImageFromURLString(const std::shared_ptr<UIImageView>& view,
                           std::string_view imageURLString);
