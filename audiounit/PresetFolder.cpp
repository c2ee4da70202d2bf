#include "PresetFolder.h"

#include "FileManager.h"

#include <algorithm>
#include <cctype>
#include <string_view>

namespace {

bool isPresetExtension(std::string_view extension)
{
    static constexpr std::string_view kExtension = "VELMORA";
    return std::equal(extension.begin(), extension.end(), kExtension.begin(), kExtension.end(),
        [](char a, char b) { return std::toupper(static_cast<unsigned char>(a)) == b; });
}

// Only names that stand for an entry of the folder itself are preset names:
// none leads elsewhere, none is hidden behind an empty name.
bool isPlainName(const std::string& name)
{
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos
        && name.find('\0') == std::string::npos;
}

} // namespace

std::optional<PresetFolder> PresetFolder::inDocuments()
{
    const auto documents = FileManager::default_().urls(SearchPathDirectory::documentDirectory,
        SearchPathDomainMask::userDomainMask);
    if (documents.empty()) {
        return std::nullopt;
    }
    return PresetFolder(std::filesystem::path(documents.front().path()) / "Presets");
}

PresetFolder::PresetFolder(std::filesystem::path path)
    : path_(std::move(path))
{
}

bool PresetFolder::exists() const { return FileManager::default_().fileExists(path_.string()); }

std::vector<PresetFolder::Entry> PresetFolder::presets() const
{
    const auto entries = sortedEntries();
    std::vector<Entry> presets;
    for (std::size_t number = 0; number < entries.size(); ++number) {
        const auto name = presetName(entries[number]);
        auto file = path_ / entries[number];
        if (name && FileManager::default_().fileExists(file.string())) {
            presets.push_back({ AUAudioUnitPreset(static_cast<std::int64_t>(number), *name), std::move(file) });
        }
    }
    return presets;
}

std::optional<std::filesystem::path> PresetFolder::fileFor(const std::string& name) const
{
    if (!isPlainName(name)) {
        return std::nullopt;
    }
    const auto exact = path_ / (name + ".velmora");
    if (FileManager::default_().fileExists(exact.string())) {
        return exact;
    }
    try {
        for (const auto& entry : sortedEntries()) {
            if (presetName(entry) == name && FileManager::default_().fileExists((path_ / entry).string())) {
                return path_ / entry;
            }
        }
    } catch (const FileManagerError&) {
        // An unreadable folder holds no preset file that could be loaded.
    }
    return std::nullopt;
}

std::optional<std::string> PresetFolder::presetName(const std::string& fileName)
{
    const auto dot = fileName.rfind('.');
    if (dot == std::string::npos || !isPresetExtension(std::string_view(fileName).substr(dot + 1))) {
        return std::nullopt;
    }
    auto name = fileName.substr(0, dot);
    if (!isPlainName(name)) {
        return std::nullopt;
    }
    return name;
}

std::vector<std::string> PresetFolder::sortedEntries() const
{
    auto entries = FileManager::default_().contentsOfDirectory(path_.string());
    std::sort(entries.begin(), entries.end());
    return entries;
}
