#include "AVAudioUnitComponent.h"

#include "FileManager.h"
#include "PropertyListSerialization.h"

#include <exception>

namespace {

// Whatever reading one plug-in's list throws leaves that plug-in out, never
// the others beside it.
std::optional<PropertyListValue::Dictionary> readInfo(const std::filesystem::path& file)
{
    try {
        const auto value = PropertyListSerialization::propertyList(FileManager::default_().contents(file.string()));
        if (const auto* dictionary = value.get<PropertyListValue::Dictionary>()) {
            return *dictionary;
        }
    } catch (const std::exception&) {
    }
    return std::nullopt;
}

const std::string* text(const PropertyListValue::Dictionary& info, const std::string& key)
{
    const auto found = info.find(key);
    return found == info.end() ? nullptr : found->second.get<std::string>();
}

// The code of a four-character text such as "aumf", first character in the
// most significant byte.
std::optional<std::uint32_t> code(const std::string* characters)
{
    if (!characters || characters->size() != 4) {
        return std::nullopt;
    }
    std::uint32_t value = 0;
    for (const char character : *characters) {
        value = (value << 8) | static_cast<unsigned char>(character);
    }
    return value;
}

std::optional<std::uint32_t> flags(const PropertyListValue::Dictionary& info)
{
    const auto found = info.find("flags");
    if (found == info.end()) {
        return 0u;
    }
    const auto* value = found->second.get<std::int64_t>();
    if (!value || *value < 0 || *value > 0xFFFFFFFFll) {
        return std::nullopt;
    }
    return static_cast<std::uint32_t>(*value);
}

} // namespace

AVAudioUnitComponent::AVAudioUnitComponent(AudioComponentDescription description, std::string name,
                                           std::filesystem::path plugInFolder, const std::string& library,
                                           std::string entrySymbol)
    : description_(description), name_(std::move(name)), plugInFolder_(std::move(plugInFolder)),
      library_(plugInFolder_ / library), entrySymbol_(std::move(entrySymbol))
{
}

std::optional<AVAudioUnitComponent> AVAudioUnitComponent::fromPlugInFolder(const std::filesystem::path& plugInFolder)
{
    const auto info = readInfo(plugInFolder / "Info.plist");
    if (!info) {
        return std::nullopt;
    }
    const auto type = code(text(*info, "type"));
    const auto subType = code(text(*info, "subtype"));
    const auto manufacturer = code(text(*info, "manufacturer"));
    const auto componentFlags = flags(*info);
    const auto* name = text(*info, "name");
    const auto* library = text(*info, "library");
    const auto* entry = text(*info, "entry");
    if (!type || !subType || !manufacturer || !componentFlags || !name || !library || !entry) {
        return std::nullopt;
    }
    return AVAudioUnitComponent({*type, *subType, *manufacturer, *componentFlags, 0}, *name, plugInFolder, *library,
                                *entry);
}
