#include "ParameterRanges.h"

#include <algorithm>
#include <cmath>

void ParameterRanges::set(AUParameterAddress address, AUValue minValue, AUValue maxValue)
{
    if (const auto index = slot(address)) {
        ranges_[*index] = Range { minValue, maxValue, true };
        limited_ = true;
    }
}

std::optional<AUValue> ParameterRanges::held(AUParameterAddress address, AUValue value) const
{
    if (!limited_ || !std::isfinite(value))
        return value;
    const auto index = slot(address);
    if (!index || !ranges_[*index].known)
        return std::nullopt;
    const Range& range = ranges_[*index];
    return std::clamp(value, range.minValue, range.maxValue);
}

std::optional<std::size_t> ParameterRanges::slot(AUParameterAddress address)
{
    if (parameterAddressFromRaw(address))
        return static_cast<std::size_t>(address - rawValue(ParameterAddress::kBypass));
    const AUParameterAddress note = address % kBandBlockSize;
    if (address < kFirstBandAddress || address >= kBandAddressEnd || note >= kBandsPerMode)
        return std::nullopt;
    return kGlobals + static_cast<std::size_t>(address / kBandBlockSize - 1) * kBandsPerMode
        + static_cast<std::size_t>(note);
}
