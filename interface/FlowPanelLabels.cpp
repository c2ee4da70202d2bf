#include "FlowPanelLabels.h"

#include <array>
#include <string_view>

namespace {

template <std::size_t N>
std::string pick(const std::array<std::string_view, N>& texts, std::int64_t value)
{
    if (value < 0 || value >= static_cast<std::int64_t>(N)) {
        return {};
    }
    return std::string(texts[static_cast<std::size_t>(value)]);
}

} // namespace

std::string processingModeCaption(std::int64_t processingMode)
{
    static constexpr std::array<std::string_view, 5> texts{"STEREO", "LEFT", "RIGHT", "MID", "SIDE"};
    return pick(texts, processingMode);
}

std::string operationModeCaption(std::int64_t operationMode)
{
    static constexpr std::array<std::string_view, 4> texts{"PITCH SHIFT MODE", "HARMONIC SHIFT MODE",
                                                           "FILTER MODE 1", "FILTER MODE 2"};
    return pick(texts, operationMode);
}

std::string speedOptionLabel(std::int64_t speedMode)
{
    static constexpr std::array<std::string_view, 9> texts{
        "fastest", "faster", "fast", "quite fast", "normal", "quite slow", "slow", "slower", "slowest"};
    return pick(texts, speedMode);
}

std::string operationOptionLabel(std::int64_t operationMode)
{
    static constexpr std::array<std::string_view, 4> texts{"shift pitch", "shift harmonics", "filter 1",
                                                           "filter 2"};
    return pick(texts, operationMode);
}
