#include "ZUVPreset.h"

#include "AUParameter.h"
#include "AUParameterGroup.h"
#include "Console.h"

#include <memory>

void ZUVPreset::makeFrom(const AUParameterGroup* tree)
{
    if (!tree) {
        Console::print("PresetPatch: The parameter group has no children.");
        return;
    }
    appendGroups(*tree);
}

void ZUVPreset::appendGroups(const AUParameterGroup& tree)
{
    for (const auto& child : tree.children()) {
        const auto* group = dynamic_cast<const AUParameterGroup*>(child.get());
        if (!group) {
            continue;
        }
        auto record = std::make_unique<PresetGroup>();
        record->identifier = group->identifier();
        for (const auto& parameter : group->allParameters()) {
            PresetParam param;
            param.address = parameter->address();
            param.identifier = parameter->identifier();
            param.value = parameter->value();
            record->params.push_back(std::move(param));
        }
        patch_.groups.push_back(std::move(record));
        appendGroups(*group);
    }
}

void ZUVPreset::makeFrom(const std::optional<PropertyListValue::Dictionary>& state, ZUVPresetDelegate* delegate)
{
    if (state) {
        patch_.fromDictionary(*state, delegate);
    }
}

PropertyListValue::Dictionary ZUVPreset::getDictionary() const { return patch_.toDictionary(); }

void ZUVPreset::save(const URL& url) const { patch_.saveToFile(url); }

bool ZUVPreset::load(const URL& url, ZUVPresetDelegate* delegate) { return patch_.loadFromFile(url, delegate); }
