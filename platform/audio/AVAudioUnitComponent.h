#pragma once

#include "AudioComponentDescription.h"

#include <filesystem>
#include <optional>
#include <string>

// An installed audio component as its plug-in's information list declares
// it: what it is, its name, and where its code lives.
class AVAudioUnitComponent {
public:
    // The component that `plugInFolder`/Info.plist declares, or none when the
    // list is missing, refused by FileManager::contents (not a regular file,
    // too large), unreadable or lacks a key ("type", "subtype" and
    // "manufacturer" as four characters, "name", "library", "entry"; "flags"
    // is optional and 0 when absent).
    static std::optional<AVAudioUnitComponent> fromPlugInFolder(const std::filesystem::path& plugInFolder);

    const AudioComponentDescription& audioComponentDescription() const { return description_; }
    const std::string& name() const { return name_; }
    // The folder the component was read from, which must hold its code.
    const std::filesystem::path& plugInFolder() const { return plugInFolder_; }
    // The plug-in's shared object, as its list names it joined to the plug-in
    // folder, and the C symbol of its entry.
    const std::filesystem::path& library() const { return library_; }
    const std::string& entrySymbol() const { return entrySymbol_; }

private:
    AVAudioUnitComponent(AudioComponentDescription description, std::string name, std::filesystem::path plugInFolder,
                         const std::string& library, std::string entrySymbol);

    AudioComponentDescription description_;
    std::string name_;
    std::filesystem::path plugInFolder_;
    std::filesystem::path library_;
    std::string entrySymbol_;
};
