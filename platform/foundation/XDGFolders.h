#pragma once

#include <filesystem>
#include <optional>

// The per-user base folders of the XDG base-directory convention, read from
// the environment on every call. Relative settings are ignored, as the
// convention asks.
class XDGFolders {
public:
    // $XDG_DATA_HOME, else $HOME/.local/share.
    static std::optional<std::filesystem::path> dataHome();
    // $XDG_CONFIG_HOME, else $HOME/.config.
    static std::optional<std::filesystem::path> configHome();

private:
    static std::optional<std::filesystem::path> folder(const char* variable,
                                                       const char* homeRelative);
};
