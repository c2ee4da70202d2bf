#pragma once

#include "AUAudioUnitPreset.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

// The folder that holds the preset files: "Presets" inside the program's
// documents directory. A preset file is named after its preset, with the
// extension "velmora" in any case.
class PresetFolder {
public:
    // The folder inside the documents directory, or none when the program has
    // no documents directory.
    static std::optional<PresetFolder> inDocuments();
    explicit PresetFolder(std::filesystem::path path);

    // A listed preset and the file it was listed from: files whose names
    // differ only in the extension's case share a name, not a file.
    struct Entry {
        AUAudioUnitPreset preset;
        std::filesystem::path file;
    };

    bool exists() const;
    // The presets among the folder's entries. The entries are numbered in the
    // byte order of their names, so a preset keeps its number from one run to
    // the next; every entry counts, preset or not. Throws FileManagerError
    // when the folder cannot be listed.
    std::vector<Entry> presets() const;
    // The file of the named preset, or none when there is none or the name
    // could lead out of the folder.
    std::optional<std::filesystem::path> fileFor(const std::string& name) const;

    // The preset name a folder entry stands for, or none when it is no preset
    // file. Names that are empty, "." or ".." are refused here as in fileFor.
    static std::optional<std::string> presetName(const std::string& fileName);

private:
    std::vector<std::string> sortedEntries() const;

    std::filesystem::path path_;
};
