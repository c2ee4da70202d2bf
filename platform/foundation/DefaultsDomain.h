#pragma once

#include "PropertyListValue.h"

#include <filesystem>
#include <optional>
#include <string>

// The file of one user-defaults domain. Unreadable content is reported on the
// Console and read as empty; before such a file is overwritten it is moved
// aside to "<file>.corrupt", or when that name is taken to the first free one
// of "<file>.corrupt.1", "<file>.corrupt.2", ..., so that no file kept aside
// is ever replaced. When it cannot be moved the write is refused, so nothing
// in it is lost.
class DefaultsDomain {
public:
    explicit DefaultsDomain(std::string name) : name_(std::move(name)) {}

    PropertyListValue::Dictionary read() const;
    // Sets (or, given none, removes) one key: read, change, write atomically.
    void write(const std::string& key, const std::optional<PropertyListValue>& value) const;

private:
    // None when no configuration folder can be found.
    std::optional<std::filesystem::path> file() const;
    // The content, or none when the file exists but cannot be parsed.
    std::optional<PropertyListValue::Dictionary> load(const std::filesystem::path& file) const;
    // Renames the file to the first free "<file>.corrupt" name; false
    // (reported) when it cannot.
    bool moveAside(const std::filesystem::path& file) const;
    void store(const std::filesystem::path& file,
               const PropertyListValue::Dictionary& content) const;

    std::string name_;
};
