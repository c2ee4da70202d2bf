#include "UIFont.h"

#include "FontLibrary.h"

#include <cmath>

std::optional<UIFont> UIFont::named(const std::string& name, CGFloat size)
{
    if (!std::isfinite(size) || size <= 0 || name.empty() || !FontLibrary::resolves(name)) {
        return std::nullopt;
    }
    return UIFont(name, size);
}
