#include "FloatText.h"

#include <array>
#include <charconv>
#include <cmath>

std::string shortestText(float value)
{
    // Fixed notation of the largest float needs 39 digits before the point;
    // the smallest subnormal about 150 after it.
    std::array<char, 200> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::fixed);
    std::string text(buffer.data(), result.ptr);
    if (std::isfinite(value) && text.find('.') == std::string::npos) {
        text += ".0";
    }
    return text;
}
