#include "XDGFolders.h"

#include <cstdlib>

std::optional<std::filesystem::path> XDGFolders::dataHome()
{
    return folder("XDG_DATA_HOME", ".local/share");
}

std::optional<std::filesystem::path> XDGFolders::configHome()
{
    return folder("XDG_CONFIG_HOME", ".config");
}

std::optional<std::filesystem::path> XDGFolders::folder(const char* variable,
                                                        const char* homeRelative)
{
    if (const char* value = std::getenv(variable); value != nullptr && value[0] == '/') {
        return std::filesystem::path(value);
    }
    if (const char* home = std::getenv("HOME"); home != nullptr && home[0] == '/') {
        return std::filesystem::path(home) / homeRelative;
    }
    return std::nullopt;
}
