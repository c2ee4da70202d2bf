#include "AUParameter.h"

#include "AUParameterTree.h"

#include <cstdio>
#include <utility>

AUParameter::AUParameter(std::string identifier, std::string name, AUParameterAddress address, AUValue minValue,
                         AUValue maxValue, AudioUnitParameterUnit unit, std::optional<std::string> unitName,
                         AudioUnitParameterOptions flags, std::optional<std::vector<std::string>> valueStrings)
    : AUParameterNode(std::move(identifier), std::move(name))
    , address_(address)
    , minValue_(minValue)
    , maxValue_(maxValue)
    , unit_(unit)
    , unitName_(std::move(unitName))
    , flags_(flags)
    , valueStrings_(std::move(valueStrings))
{
}

AUValue AUParameter::value() const
{
    const auto tree = tree_.lock();
    if (const auto provided = tree ? tree->providedValue(*this) : std::nullopt) {
        return *provided;
    }
    return storedValue_.load(std::memory_order_relaxed);
}

void AUParameter::setValue(AUValue value)
{
    storedValue_.store(value, std::memory_order_relaxed);
    if (const auto tree = tree_.lock()) {
        tree->valueChanged(*this, value);
    }
}

std::string AUParameter::stringFromValue(const AUValue* value) const
{
    const auto tree = tree_.lock();
    if (auto text = tree ? tree->stringFromValue(*this, value) : std::nullopt) {
        return std::move(*text);
    }
    char text[32];
    std::snprintf(text, sizeof text, "%g", static_cast<double>(value ? *value : this->value()));
    return text;
}

void AUParameter::attach(const std::shared_ptr<AUParameterTree>& tree) { tree_ = tree; }
