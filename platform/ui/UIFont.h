#pragma once

#include "CGFloat.h"

#include <optional>
#include <string>

// A font by name and size (in points, that is user-space units).
class UIFont {
public:
    // None when no installed font answers to `name` or the size is not a
    // positive finite number.
    static std::optional<UIFont> named(const std::string& name, CGFloat size);

    const std::string& fontName() const { return name_; }
    CGFloat pointSize() const { return size_; }

    bool operator==(const UIFont&) const = default;

private:
    UIFont(std::string name, CGFloat size) : name_(std::move(name)), size_(size) {}

    std::string name_;
    CGFloat size_;
};
