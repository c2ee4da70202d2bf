#pragma once

#include "PropertyListValue.h"
#include "URL.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

// A key-value settings store. Each domain (the program's own, named after its
// bundle, and every app-group suite) is an XML property list
// $XDG_CONFIG_HOME/<domain>.plist (default ~/.config), read on every get and
// rewritten atomically (temporary file and rename) on every set, so that all
// stores on a domain, in any process, see each other's writes; a lock held
// from the read to the write keeps any set from losing another's. A set that
// cannot have the lock within two seconds, or whose file could then not be
// read back, is reported and not stored. A domain file that is a symbolic
// link is written through and stays a link; one with hard links is parted
// from them by the rename, and they keep the old settings. The file keeps its
// mode, and its owner and group where the system lets it. A store reads its own
// domain first and then the suites added to its search list; it writes only
// to its own domain. Absent keys give neutral values.
class UserDefaults {
public:
    // The program's standard store: the same object on every call.
    static std::shared_ptr<UserDefaults> standard();
    // A new store on the app-group suite `suiteName`; none for an empty name,
    // a name with a '/', "." or "..", or the program's own domain.
    static std::shared_ptr<UserDefaults> suite(const std::string& suiteName);

    // Adds a suite to the end of the search list (once; repeats do nothing).
    void addSuite(const std::string& suiteName);

    void setObject(const std::optional<PropertyListValue>& value, const std::string& key);
    void setInteger(std::int64_t value, const std::string& key);
    void setFloat(float value, const std::string& key);
    void setBool(bool value, const std::string& key);
    // Stores the URL's text; none removes the key.
    void setURL(const std::optional<URL>& value, const std::string& key);
    void removeObject(const std::string& key);

    std::optional<PropertyListValue> object(const std::string& key) const;
    // Texts, and numbers as text.
    std::optional<std::string> string(const std::string& key) const;
    // Numbers (reals truncated), booleans as 0/1, texts parsed; else 0.
    std::int64_t integer(const std::string& key) const;
    // Numbers, booleans as 0/1, texts parsed; else 0.
    float float_(const std::string& key) const;
    // Booleans, numbers other than 0, texts "yes"/"true" or a number other
    // than 0; else false.
    bool bool_(const std::string& key) const;
    // A stored URL text, or a path (a leading "~" is the home folder).
    std::optional<URL> url(const std::string& key) const;

    // Every key of the search list with the value a get would give.
    PropertyListValue::Dictionary dictionaryRepresentation() const;

    const std::string& domain() const { return domain_; }

private:
    explicit UserDefaults(std::string domain);
    std::vector<std::string> searchList() const;

    const std::string domain_;
    mutable std::mutex mutex_;
    std::vector<std::string> suites_;
};
