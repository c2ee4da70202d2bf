#pragma once

#include "CGRect.h"
#include "PropertyListValue.h"
#include "URL.h"
#include "UserDefaults.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

// Typed settings by key in one of three stores: the program's standard store,
// the app-group suite both programs share, or the standard store with the
// suite on its search list. `defaults` and `combined` are the same store
// object, so once the shared instance exists reads through either fall back
// to the suite and writes through either go to the program's own domain; only
// `shared` writes into the suite.
class PersistentAppData {
public:
    enum class Storage { defaults = 0, shared = 1, combined = 2 };
    static std::optional<Storage> storageFromRaw(std::int64_t raw);

    // Built on first use (once, also under concurrent first use); never
    // destroyed.
    static PersistentAppData& sharedInstance();

    void setString(const std::string& key, const std::string& value, Storage store = Storage::defaults);
    std::optional<std::string> getString(const std::string& key, Storage store = Storage::defaults) const;
    void setInteger(const std::string& key, std::int64_t value, Storage store = Storage::defaults);
    std::int64_t getInteger(const std::string& key, Storage store = Storage::defaults) const;
    void setFloat(const std::string& key, float value, Storage store = Storage::defaults);
    float getFloat(const std::string& key, Storage store = Storage::defaults) const;
    void setBool(const std::string& key, bool value, Storage store = Storage::defaults);
    bool getBool(const std::string& key, Storage store = Storage::defaults) const;
    void setURL(const std::string& key, const std::optional<URL>& value, Storage store = Storage::defaults);
    std::optional<URL> getUrl(const std::string& key, Storage store = Storage::defaults) const;
    void setObject(const std::string& key, const std::optional<PropertyListValue>& value,
                   Storage store = Storage::defaults);
    std::optional<PropertyListValue> getObject(const std::string& key,
                                               Storage store = Storage::defaults) const;

    // "left", "top", "width", "height": the standardized rectangle's smallest
    // x and y and its size, each narrowed to a 32-bit float.
    static PropertyListValue::Dictionary frameToDictionary(const CGRect& frame);
    // The rectangle stored under `key` in the standard store: none unless it
    // is a dictionary of numbers; missing keys start at (0, 0, 100, 100) and
    // other keys are ignored.
    static std::optional<CGRect> dictionaryToFrame(const std::string& key);

    // Prints every entry of the standard, the shared and the combined store.
    void dumpout() const;

private:
    PersistentAppData();
    const std::shared_ptr<UserDefaults>& store(Storage storage) const;

    std::shared_ptr<UserDefaults> defaults_;
    std::shared_ptr<UserDefaults> shared_;
    std::shared_ptr<UserDefaults> combined_;
};
