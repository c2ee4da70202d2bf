#include "WeakPlayerDelegate.h"

void WeakPlayerDelegate::onPlayerStateChanged(bool playing)
{
    if (const auto delegate = delegate_.lock()) {
        delegate->onPlayerStateChanged(playing);
    }
}

void WeakPlayerDelegate::onFileSelect(const std::string& file)
{
    if (const auto delegate = delegate_.lock()) {
        delegate->onFileSelect(file);
    }
}

void WeakPlayerDelegate::onLoop(std::int64_t count)
{
    if (const auto delegate = delegate_.lock()) {
        delegate->onLoop(count);
    }
}
