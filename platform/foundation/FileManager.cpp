#include "FileManager.h"

#include "Bundle.h"
#include "XDGFolders.h"

#include <filesystem>
#include <system_error>

FileManager& FileManager::default_()
{
    static FileManager manager;
    return manager;
}

std::vector<URL> FileManager::urls(SearchPathDirectory, SearchPathDomainMask) const
{
    const auto dataHome = XDGFolders::dataHome();
    if (!dataHome) {
        return {};
    }
    const auto documents = *dataHome / Bundle::main().bundleName() / "Documents";
    std::error_code error;
    std::filesystem::create_directories(documents, error);
    return {URL::fileURL(documents)};
}

bool FileManager::fileExists(const std::string& path) const
{
    bool isDirectory = false;
    return fileExists(path, isDirectory);
}

bool FileManager::fileExists(const std::string& path, bool& isDirectory) const
{
    std::error_code error;
    const auto status = std::filesystem::status(path, error);
    isDirectory = std::filesystem::is_directory(status);
    return std::filesystem::exists(status);
}

void FileManager::createDirectory(const URL& url, bool withIntermediateDirectories) const
{
    const std::filesystem::path path = url.path();
    std::error_code error;
    if (withIntermediateDirectories) {
        std::filesystem::create_directories(path, error);
        if (!error && !std::filesystem::is_directory(path)) {
            error = std::make_error_code(std::errc::not_a_directory);
        }
    } else if (!std::filesystem::create_directory(path, error) && !error) {
        error = std::make_error_code(std::errc::file_exists);
    }
    if (error) {
        throw FileManagerError("The folder '" + path.string() + "' could not be created: " +
                               error.message() + ".");
    }
}
