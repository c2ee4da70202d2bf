#pragma once

#include "TemporaryFolder.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

// An application bundle in a temporary folder whose plug-ins the tests lay
// out one by one: PlugIns/<folder>.appex/Info.plist naming a shared object
// and its entry.
class PlugInBundle {
public:
    struct PlugIn {
        std::string folder;
        std::string type = "aumf";
        std::string subType = "kbrw";
        std::string manufacturer = "ZUNK";
        std::uint32_t flags = 2;
        std::filesystem::path library;
        std::string entry;
    };

    const std::filesystem::path& path() const { return folder_.path(); }

    void add(const PlugIn& plugIn) const
    {
        const auto appex = path() / "PlugIns" / (plugIn.folder + ".appex");
        std::filesystem::create_directories(appex);
        std::ofstream(appex / "Info.plist")
            << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">\n<dict>\n"
            << entry("name", "string", plugIn.folder) << entry("type", "string", plugIn.type)
            << entry("subtype", "string", plugIn.subType) << entry("manufacturer", "string", plugIn.manufacturer)
            << entry("flags", "integer", std::to_string(plugIn.flags))
            << entry("library", "string", plugIn.library.string()) << entry("entry", "string", plugIn.entry)
            << "</dict>\n</plist>\n";
    }

private:
    static std::string entry(const std::string& key, const std::string& kind, const std::string& value)
    {
        return "<key>" + key + "</key><" + kind + ">" + value + "</" + kind + ">\n";
    }

    TemporaryFolder folder_;
};
