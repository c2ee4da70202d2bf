#include "Bundle.h"

#include <algorithm>

Bundle::Bundle(std::filesystem::path folder, std::string name)
    : folder_(std::move(folder)), name_(std::move(name))
{
}

Bundle& Bundle::main()
{
    static Bundle bundle = [] {
        std::error_code error;
        const auto executable = std::filesystem::read_symlink("/proc/self/exe", error);
        return Bundle(executable.parent_path(), executable.stem().string());
    }();
    return bundle;
}

std::optional<Bundle> Bundle::withPath(const std::filesystem::path& folder)
{
    std::error_code error;
    if (!std::filesystem::is_directory(folder, error)) {
        return std::nullopt;
    }
    return Bundle(folder, folder.stem().string());
}

std::string Bundle::displayName() const
{
    std::string name = name_;
    std::replace(name.begin(), name.end(), '_', ' ');
    return name;
}

URL Bundle::bundleURL() const
{
    return URL::fileURL(folder_);
}

std::optional<URL> Bundle::resourceURL() const
{
    std::error_code error;
    const auto resources = folder_ / "Resources";
    if (!std::filesystem::is_directory(resources, error)) {
        return std::nullopt;
    }
    return URL::fileURL(resources);
}

std::optional<URL> Bundle::url(std::string_view name, std::string_view extension) const
{
    const auto resources = resourceURL();
    if (!resources) {
        return std::nullopt;
    }
    std::string file(name);
    if (!extension.empty()) {
        file.append(".").append(extension);
    }
    std::error_code error;
    const auto path = std::filesystem::path(resources->path()) / file;
    if (!std::filesystem::exists(path, error)) {
        return std::nullopt;
    }
    return URL::fileURL(path);
}
