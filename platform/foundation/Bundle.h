#pragma once

#include "URL.h"

#include <optional>
#include <string>
#include <string_view>

// The program's bundle: the folder that holds the running executable. Its
// resources live in the "Resources" folder beside the executable.
class Bundle {
public:
    static Bundle& main();
    // The bundle in `folder`, or none when it is not a folder.
    static std::optional<Bundle> withPath(const std::filesystem::path& folder);

    URL bundleURL() const;
    // The "Resources" folder, or none when the bundle has none.
    std::optional<URL> resourceURL() const;
    // The resource `name`.`extension` (or `name` alone when the extension is
    // empty), or none when it does not exist.
    std::optional<URL> url(std::string_view name, std::string_view extension) const;
    // The program's name (the executable's file name without extension).
    const std::string& bundleName() const { return name_; }
    // The name people read, as a window shows it: bundleName() with spaces
    // where the file name could only have underscores.
    std::string displayName() const;

private:
    Bundle(std::filesystem::path folder, std::string name);

    std::filesystem::path folder_;
    std::string name_;
};
