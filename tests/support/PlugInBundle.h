#pragma once

#include "TemporaryFolder.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

// A copy of the shared object `library` at `copy` holding only its first
// `length` bytes, as an interrupted copy leaves it.
inline std::filesystem::path cutShortCopy(const std::filesystem::path& library, const std::filesystem::path& copy,
                                          std::uintmax_t length)
{
    std::filesystem::copy_file(library, copy, std::filesystem::copy_options::overwrite_existing);
    std::filesystem::resize_file(copy, length);
    return copy;
}

// An application bundle in a temporary folder whose plug-ins the tests lay
// out one by one: PlugIns/<folder>.appex/Info.plist naming a shared object
// and its entry, and the shared object beside it.
class PlugInBundle {
public:
    struct PlugIn {
        std::string folder;
        std::string type = "aumf";
        std::string subType = "kbrw";
        std::string manufacturer = "ZUNK";
        std::uint32_t flags = 2;
        // Copied into the plug-in's folder, where the list names it by its
        // file name.
        std::filesystem::path library {};
        std::string entry;
        // Written as the list's library instead, copying nothing.
        std::optional<std::string> libraryText {};
    };

    const std::filesystem::path& path() const { return folder_.path(); }

    // The folder of plug-in `folder`, made when missing, for a test that lays
    // it out by hand.
    std::filesystem::path plugInFolder(const std::string& folder) const
    {
        const auto appex = path() / "PlugIns" / (folder + ".appex");
        std::filesystem::create_directories(appex);
        return appex;
    }

    // The library as the host finds it: the list's text joined to the folder.
    std::filesystem::path add(const PlugIn& plugIn) const
    {
        const auto folder = plugInFolder(plugIn.folder);
        const auto library = plugIn.libraryText.value_or(plugIn.library.filename().string());
        if (!plugIn.libraryText) {
            std::filesystem::copy_file(plugIn.library, folder / library,
                                       std::filesystem::copy_options::overwrite_existing);
        }
        std::ofstream(folder / "Info.plist")
            << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">\n<dict>\n"
            << entry("name", "string", plugIn.folder) << entry("type", "string", plugIn.type)
            << entry("subtype", "string", plugIn.subType) << entry("manufacturer", "string", plugIn.manufacturer)
            << entry("flags", "integer", std::to_string(plugIn.flags))
            << entry("library", "string", library) << entry("entry", "string", plugIn.entry)
            << "</dict>\n</plist>\n";
        return folder / library;
    }

private:
    static std::string entry(const std::string& key, const std::string& kind, const std::string& value)
    {
        return "<key>" + key + "</key><" + kind + ">" + value + "</" + kind + ">\n";
    }

    TemporaryFolder folder_;
};
