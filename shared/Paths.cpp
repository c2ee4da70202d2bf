#include "Paths.h"

#include "Bundle.h"
#include "ConsolePrint.h"
#include "FileManager.h"

#include <string>

std::optional<URL> documentsURL;
std::optional<URL> resourcesURL;
std::optional<URL> sharedURLAudio;
std::optional<URL> sharedURLMIDI;

namespace {

void reportCreationFailure(const URL& url, const std::string& description)
{
    debugprint("ensureDirectoryExists() : ERROR: Creating required directory '" + url.path() +
               "' failed: " + description);
}

void reportFolder(const std::optional<URL>& folder, const std::string& name)
{
    const std::string prefix = "AudioUnitViewController::getPaths() : ";
    if (folder) {
        safeprint(prefix + "Audio Unit's " + name + " path is: " + folder->path());
    } else {
        safeprint(prefix + "ERROR: Audio Unit's " + name + " path is nil.");
    }
}

} // namespace

bool ensureDirectoryExists(const URL& url)
{
    const auto& files = FileManager::default_();
    bool isDirectory = false;
    if (files.fileExists(url.path(), isDirectory)) {
        if (!isDirectory) {
            reportCreationFailure(url, "A file that is not a directory already exists at this path.");
        }
        return isDirectory;
    }
    try {
        files.createDirectory(url, true);
        return true;
    } catch (const FileManagerError& error) {
        reportCreationFailure(url, error.localizedDescription());
        return false;
    }
}

void getPaths()
{
    const auto documents = FileManager::default_().urls(SearchPathDirectory::documentDirectory,
                                                       SearchPathDomainMask::userDomainMask);
    documentsURL = documents.empty() ? std::nullopt : std::optional<URL>(documents.front());
    reportFolder(documentsURL, "documents");
    resourcesURL = Bundle::main().resourceURL();
    reportFolder(resourcesURL, "resources");
}
