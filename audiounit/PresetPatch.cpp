#include "PresetPatch.h"

#include "Console.h"
#include "FileManager.h"
#include "PresetEntries.h"
#include "PropertyListSerialization.h"

#include <limits>
#include <new>
#include <optional>
#include <string_view>

namespace {

// The four characters packed big-endian, the first in the highest byte.
constexpr std::uint32_t fourCharCode(const char (&code)[5])
{
    return static_cast<std::uint32_t>(static_cast<unsigned char>(code[0])) << 24
        | static_cast<std::uint32_t>(static_cast<unsigned char>(code[1])) << 16
        | static_cast<std::uint32_t>(static_cast<unsigned char>(code[2])) << 8
        | static_cast<std::uint32_t>(static_cast<unsigned char>(code[3]));
}

// The format a property-list read starts from and reports when it fails.
constexpr int kXMLFormat = 100;

void reportUnreadable(std::string_view why)
{
    Console::print("AUPresetFile::FEHLER: Die Datei konnte nicht eingelesen werden: " + std::string(why)
        + ", Format: " + std::to_string(kXMLFormat));
}

std::optional<PropertyListValue> parsedPropertyList(const Data& bytes)
{
    try {
        return PropertyListSerialization::propertyList(bytes);
    } catch (const PropertyListError& error) {
        reportUnreadable(error.what());
    } catch (const std::bad_alloc&) {
        reportUnreadable("out of memory");
    }
    return std::nullopt;
}

} // namespace

PresetPatch::PresetPatch()
    : type(fourCharCode("aumf"))
    , manufacturer(fourCharCode("ZUNK"))
    , subtype(fourCharCode("kbrw"))
{
}

PropertyListValue::Dictionary PresetPatch::toDictionary() const
{
    PropertyListValue::Dictionary dict {
        { "version", version },
        { "type", type },
        { "manufacturer", manufacturer },
        { "subtype", subtype },
        { "number", number },
        { "name", name },
        { "count", groups.size() },
    };
    for (std::size_t index = 0; index < groups.size(); ++index) {
        dict.emplace("group " + std::to_string(index), groups[index]->toDictionary());
    }
    return dict;
}

void PresetPatch::fromDictionary(const PropertyListValue::Dictionary& dict, ZUVPresetDelegate* delegate)
{
    groups.clear();
    for (const auto& [key, entry] : dict) {
        readEntry(key, entry, delegate);
    }
}

void PresetPatch::readEntry(const std::string& key, const PropertyListValue& entry, ZUVPresetDelegate* delegate)
{
    if (key == "name" || key == "type" || integerField(key)) {
        if (!readField(key, entry)) {
            warnSkippedPresetEntry("PresetPatch", key, "has the wrong type and is skipped.");
        }
    } else if (key.find("group") != std::string::npos) {
        const auto* record = nestedPresetRecord("PresetPatch", key, entry);
        if (!record) {
            return;
        }
        groups.push_back(std::make_unique<PresetGroup>());
        groups.back()->fromDictionary(*record, delegate);
    }
}

bool PresetPatch::readField(const std::string& key, const PropertyListValue& entry)
{
    const auto* integer = entry.get<std::int64_t>();
    if (key == "name") {
        const auto* text = entry.get<std::string>();
        if (text) {
            name = *text;
        }
        return text != nullptr;
    }
    if (key == "type") {
        const bool fits = integer && *integer >= 0 && *integer <= std::numeric_limits<std::uint32_t>::max();
        if (fits) {
            type = static_cast<std::uint32_t>(*integer);
        }
        return fits;
    }
    if (integer) {
        *integerField(key) = *integer;
    }
    return integer != nullptr;
}

std::int64_t* PresetPatch::integerField(const std::string& key)
{
    if (key == "version") {
        return &version;
    }
    if (key == "manufacturer") {
        return &manufacturer;
    }
    if (key == "subtype") {
        return &subtype;
    }
    return key == "number" ? &number : nullptr;
}

void PresetPatch::saveToFile(const URL& url) const
{
    Data bytes;
    try {
        bytes = PropertyListSerialization::data(toDictionary());
    } catch (const PropertyListError&) {
        Console::print("PresetPatch::FEHLER: Die Daten konnten nicht serialisiert werden.");
        return;
    }
    try {
        FileManager::default_().write(bytes, url);
    } catch (const FileManagerError& error) {
        Console::print(std::string("PresetPatch::FEHLER: Die Daten konnten nicht gespeichert werden. (") + error.what()
            + ")");
    }
}

bool PresetPatch::loadFromFile(const URL& url, ZUVPresetDelegate* delegate)
{
    const auto path = url.path();
    const auto& files = FileManager::default_();
    if (!files.fileExists(path)) {
        Console::print("AUPresetFile::ERROR: The path " + path + " does not exist.");
        return false;
    }
    Data bytes;
    try {
        bytes = files.contents(path);
    } catch (const FileManagerError& error) {
        Console::print("AUPresetFile::ERROR: " + error.localizedDescription());
        return false;
    }
    const auto value = parsedPropertyList(bytes);
    if (!value) {
        return false;
    }
    const auto* dict = value->get<PropertyListValue::Dictionary>();
    if (!dict) {
        Console::print("AUPresetFile::ERROR: The file " + path + " does not hold a dictionary.");
        return false;
    }
    fromDictionary(*dict, delegate);
    return true;
}
