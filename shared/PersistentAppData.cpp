#include "PersistentAppData.h"

#include "Console.h"
#include "UserDefaultsSuites.h"

namespace {

void printEntries(const std::string& title, const std::shared_ptr<UserDefaults>& store)
{
    Console::print("PersistentAppData::dumpout() : " + title + " : ");
    if (!store) {
        return;
    }
    for (const auto& [key, value] : store->dictionaryRepresentation()) {
        Console::print(key + " = " + value.description() + " \n");
    }
}

} // namespace

std::optional<PersistentAppData::Storage> PersistentAppData::storageFromRaw(std::int64_t raw)
{
    switch (raw) {
    case 0:
        return Storage::defaults;
    case 1:
        return Storage::shared;
    case 2:
        return Storage::combined;
    default:
        return std::nullopt;
    }
}

PersistentAppData& PersistentAppData::sharedInstance()
{
    static PersistentAppData* instance = new PersistentAppData;
    return *instance;
}

PersistentAppData::PersistentAppData()
    : defaults_(UserDefaults::standard()), shared_(sharedUserDefaults()),
      combined_(combinedUserDefaults())
{
    if (!shared_) {
        Console::print("PersistentAppData::ERROR: The suite '" + sharedContainer +
                       "' cannot be opened; the standard store stands in for it.");
        shared_ = defaults_;
    }
}

const std::shared_ptr<UserDefaults>& PersistentAppData::store(Storage storage) const
{
    switch (storage) {
    case Storage::shared:
        return shared_;
    case Storage::combined:
        return combined_;
    case Storage::defaults:
        break;
    }
    return defaults_;
}

void PersistentAppData::setString(const std::string& key, const std::string& value, Storage storage)
{
    store(storage)->setObject(PropertyListValue(value), key);
}

std::optional<std::string> PersistentAppData::getString(const std::string& key, Storage storage) const
{
    return store(storage)->string(key);
}

void PersistentAppData::setInteger(const std::string& key, std::int64_t value, Storage storage)
{
    store(storage)->setInteger(value, key);
}

std::int64_t PersistentAppData::getInteger(const std::string& key, Storage storage) const
{
    return store(storage)->integer(key);
}

void PersistentAppData::setFloat(const std::string& key, float value, Storage storage)
{
    store(storage)->setFloat(value, key);
}

float PersistentAppData::getFloat(const std::string& key, Storage storage) const
{
    return store(storage)->float_(key);
}

void PersistentAppData::setBool(const std::string& key, bool value, Storage storage)
{
    store(storage)->setBool(value, key);
}

bool PersistentAppData::getBool(const std::string& key, Storage storage) const
{
    return store(storage)->bool_(key);
}

void PersistentAppData::setURL(const std::string& key, const std::optional<URL>& value,
                               Storage storage)
{
    store(storage)->setURL(value, key);
}

std::optional<URL> PersistentAppData::getUrl(const std::string& key, Storage storage) const
{
    return store(storage)->url(key);
}

void PersistentAppData::setObject(const std::string& key,
                                  const std::optional<PropertyListValue>& value, Storage storage)
{
    store(storage)->setObject(value, key);
}

std::optional<PropertyListValue> PersistentAppData::getObject(const std::string& key,
                                                              Storage storage) const
{
    return store(storage)->object(key);
}

PropertyListValue::Dictionary PersistentAppData::frameToDictionary(const CGRect& frame)
{
    return {{"left", static_cast<float>(frame.minX())},
            {"top", static_cast<float>(frame.minY())},
            {"width", static_cast<float>(frame.width())},
            {"height", static_cast<float>(frame.height())}};
}

std::optional<CGRect> PersistentAppData::dictionaryToFrame(const std::string& key)
{
    const auto stored = sharedInstance().getObject(key, Storage::defaults);
    const auto* dictionary = stored ? stored->get<PropertyListValue::Dictionary>() : nullptr;
    if (dictionary == nullptr) {
        return std::nullopt;
    }
    CGRect frame(0, 0, 100, 100);
    for (const auto& [name, value] : *dictionary) {
        const auto number = value.number();
        if (!number) {
            return std::nullopt;
        }
        const auto component = static_cast<CGFloat>(static_cast<float>(*number));
        if (name == "left") {
            frame.origin.x = component;
        } else if (name == "top") {
            frame.origin.y = component;
        } else if (name == "width") {
            frame.size.width = component;
        } else if (name == "height") {
            frame.size.height = component;
        }
    }
    return frame;
}

void PersistentAppData::dumpout() const
{
    printEntries("UserDefaults.standard", UserDefaults::standard());
    printEntries("UserDefaults.shared", sharedUserDefaults());
    printEntries("UserDefaults.combined", combinedUserDefaults());
}
