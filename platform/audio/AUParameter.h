#pragma once

#include "AUParameterNode.h"
#include "AUParameterTypes.h"

#include <atomic>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class AUParameterTree;

// One parameter. It keeps its own value until the tree it belongs to has a value
// provider; from then on its value is whatever the provider reports. Setting a
// value always tells the tree, which passes it to the implementor and observers.
class AUParameter final : public AUParameterNode {
public:
    AUParameter(std::string identifier, std::string name, AUParameterAddress address, AUValue minValue,
                AUValue maxValue, AudioUnitParameterUnit unit, std::optional<std::string> unitName,
                AudioUnitParameterOptions flags, std::optional<std::vector<std::string>> valueStrings);

    AUParameterAddress address() const { return address_; }
    AUValue minValue() const { return minValue_; }
    AUValue maxValue() const { return maxValue_; }
    AudioUnitParameterUnit unit() const { return unit_; }
    const std::optional<std::string>& unitName() const { return unitName_; }
    AudioUnitParameterOptions flags() const { return flags_; }
    const std::optional<std::vector<std::string>>& valueStrings() const { return valueStrings_; }

    AUValue value() const;
    void setValue(AUValue value);
    // Text shown for value, or for the current value when value is null.
    std::string stringFromValue(const AUValue* value) const;

private:
    friend class AUParameterTree;
    void attach(const std::shared_ptr<AUParameterTree>& tree);

    AUParameterAddress address_;
    AUValue minValue_;
    AUValue maxValue_;
    AudioUnitParameterUnit unit_;
    std::optional<std::string> unitName_;
    AudioUnitParameterOptions flags_;
    std::optional<std::vector<std::string>> valueStrings_;
    std::atomic<AUValue> storedValue_ { 0.0f };
    std::weak_ptr<AUParameterTree> tree_;
};
