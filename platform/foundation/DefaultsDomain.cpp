#include "DefaultsDomain.h"

#include "Console.h"
#include "FileManager.h"
#include "PropertyListSerialization.h"
#include "XDGFolders.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <new>

#include <fcntl.h>
#include <unistd.h>

namespace {

// One lock for every domain file of the process, held while a set reads,
// changes and writes a file, never while it waits for the file's lock, so
// that nothing waits on another file's lock. Where the system has no file
// locks, it still keeps sets in this process from interleaving.
std::mutex& filesMutex()
{
    static std::mutex mutex;
    return mutex;
}

// Renames the file unless the new name is taken (then false, errno EEXIST).
// File systems that cannot rename so fall back to a hard link, which never
// replaces a name either.
bool renameWithoutReplacing(const std::string& from, const std::string& to)
{
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
        return true;
    }
    if (errno != EINVAL && errno != ENOSYS) {
        return false;
    }
    return ::link(from.c_str(), to.c_str()) == 0 && ::unlink(from.c_str()) == 0;
}

} // namespace

PropertyListValue::Dictionary DefaultsDomain::read() const
{
    const auto path = file();
    if (!path) {
        return {};
    }
    std::lock_guard lock(filesMutex());
    return load(*path).content;
}

void DefaultsDomain::write(const std::string& key,
                           const std::optional<PropertyListValue>& value) const
{
    const auto path = file();
    if (!path) {
        Console::print("UserDefaults::ERROR: No configuration folder for '" + name_ +
                       "' ($XDG_CONFIG_HOME and $HOME unset); '" + key + "' was not stored.");
        return;
    }
    const auto target = endOfLinks(*path, key);
    if (!target) {
        return;
    }
    if (const auto held = lockBeside(*target, key)) {
        std::lock_guard lock(filesMutex());
        update(*target, key, value);
    }
}

std::optional<FileLock> DefaultsDomain::lockBeside(const std::filesystem::path& file, const std::string& key) const
{
    try {
        std::filesystem::create_directories(file.parent_path());
        return std::optional<FileLock>(std::in_place, file.string() + ".lock", kLockPatience);
    } catch (const std::exception& error) {
        Console::print("UserDefaults::ERROR: " + std::string(error.what()) + " '" + key + "' was not stored.");
        return std::nullopt;
    }
}

void DefaultsDomain::update(const std::filesystem::path& file, const std::string& key,
                            const std::optional<PropertyListValue>& value) const
{
    auto loaded = load(file);
    if (!mayReplace(loaded.outcome, file, key)) {
        return;
    }
    auto& content = loaded.content;
    if (value) {
        content.insert_or_assign(key, *value);
    } else if (content.erase(key) == 0) {
        return;
    }
    store(file, content);
}

std::optional<std::filesystem::path> DefaultsDomain::file() const
{
    const auto folder = XDGFolders::configHome();
    if (!folder) {
        return std::nullopt;
    }
    return *folder / (name_ + ".plist");
}

DefaultsDomain::Loaded DefaultsDomain::load(const std::filesystem::path& file) const
{
    try {
        auto value = PropertyListSerialization::propertyList(FileManager::default_().contents(file.string()));
        if (const auto* dictionary = value.get<PropertyListValue::Dictionary>()) {
            return {Loaded::Outcome::read, *dictionary};
        }
        Console::print("UserDefaults::ERROR: The settings file '" + file.string() +
                       "' does not hold a dictionary.");
    } catch (const PropertyListError& error) {
        Console::print("UserDefaults::ERROR: The settings file '" + file.string() +
                       "' cannot be read: " + error.what());
    } catch (const FileManagerError& error) {
        // Only a file that is not there is missing: a look at it that fails
        // for any other reason says nothing about whether it is there.
        if (error.code() == ENOENT) {
            return {Loaded::Outcome::read, {}};
        }
        Console::print("UserDefaults::ERROR: " + error.localizedDescription());
        // A failing call to the system says nothing about the file's content.
        if (error.code() != 0) {
            return {Loaded::Outcome::readFailed, {}};
        }
    } catch (const std::bad_alloc&) {
        Console::print("UserDefaults::ERROR: The settings file '" + file.string() +
                       "' could not be read: out of memory.");
        return {Loaded::Outcome::readFailed, {}};
    }
    return {Loaded::Outcome::fileAtFault, {}};
}

std::optional<std::filesystem::path> DefaultsDomain::endOfLinks(const std::filesystem::path& file,
                                                                const std::string& key) const
{
    try {
        const std::filesystem::path target = FileManager::default_().destinationOfSymbolicLinks(file.string());
        // Links that end at no file (a folder, a device) are themselves what
        // is at fault: what they lead to is never moved aside or replaced.
        std::error_code error;
        const auto status = std::filesystem::status(target, error);
        return std::filesystem::exists(status) && !std::filesystem::is_regular_file(status) ? file : target;
    } catch (const FileManagerError& error) {
        Console::print("UserDefaults::ERROR: " + error.localizedDescription() + " '" + key + "' was not stored.");
        return std::nullopt;
    }
}

bool DefaultsDomain::mayReplace(Loaded::Outcome outcome, const std::filesystem::path& file,
                                const std::string& key) const
{
    if (outcome == Loaded::Outcome::readFailed) {
        Console::print("UserDefaults::ERROR: '" + key + "' was not stored, so that the settings file '" +
                       file.string() + "', which could not be read now, is kept as it is.");
        return false;
    }
    if (outcome == Loaded::Outcome::fileAtFault && !moveAside(file)) {
        Console::print("UserDefaults::ERROR: '" + key + "' was not stored, so that the " +
                       "unreadable settings file '" + file.string() + "' is kept.");
        return false;
    }
    return true;
}

bool DefaultsDomain::moveAside(const std::filesystem::path& file) const
{
    const auto kept = file.string() + ".corrupt";
    auto aside = kept;
    for (int number = 1; !renameWithoutReplacing(file.string(), aside); ++number) {
        if (errno != EEXIST) {
            Console::print("UserDefaults::ERROR: The unreadable settings file '" + file.string() +
                           "' could not be moved aside to '" + aside + "': " + std::strerror(errno) + ".");
            return false;
        }
        aside = kept + "." + std::to_string(number);
    }
    Console::print("UserDefaults::ERROR: Moved the unreadable settings file '" + file.string() +
                   "' aside to '" + aside + "'.");
    return true;
}

void DefaultsDomain::store(const std::filesystem::path& file,
                           const PropertyListValue::Dictionary& content) const
{
    try {
        FileManager::default_().write(PropertyListSerialization::data(content), file.string());
    } catch (const std::exception& error) {
        Console::print("UserDefaults::ERROR: The settings file '" + file.string() +
                       "' could not be written: " + error.what());
    }
}
