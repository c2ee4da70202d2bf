#include "UserDefaults.h"

#include "Bundle.h"
#include "DefaultsDomain.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace {

std::optional<double> parsedNumber(const std::string& text)
{
    const char* begin = text.c_str();
    char* end = nullptr;
    const double value = std::strtod(begin, &end);
    return end == begin ? std::nullopt : std::optional<double>(value);
}

// A number in range of a signed 64-bit integer, truncated toward zero.
std::int64_t truncated(double value)
{
    if (std::isnan(value)) {
        return 0;
    }
    constexpr double limit = 9223372036854775808.0; // 2^63
    if (value >= limit) {
        return std::numeric_limits<std::int64_t>::max();
    }
    if (value < -limit) {
        return std::numeric_limits<std::int64_t>::min();
    }
    return static_cast<std::int64_t>(value);
}

std::string lowered(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// Numbers, booleans as 0/1 and texts holding a number.
std::optional<double> numericValue(const PropertyListValue& value)
{
    if (const auto number = value.number()) {
        return number;
    }
    if (const auto* flag = value.get<bool>()) {
        return *flag ? 1.0 : 0.0;
    }
    if (const auto* text = value.get<std::string>()) {
        return parsedNumber(*text);
    }
    return std::nullopt;
}

} // namespace

UserDefaults::UserDefaults(std::string domain) : domain_(std::move(domain)) {}

std::shared_ptr<UserDefaults> UserDefaults::standard()
{
    static const std::shared_ptr<UserDefaults> store(new UserDefaults(Bundle::main().bundleName()));
    return store;
}

std::shared_ptr<UserDefaults> UserDefaults::suite(const std::string& suiteName)
{
    if (suiteName.empty() || suiteName == "." || suiteName == ".." ||
        suiteName.find('/') != std::string::npos || suiteName == Bundle::main().bundleName()) {
        return nullptr;
    }
    return std::shared_ptr<UserDefaults>(new UserDefaults(suiteName));
}

void UserDefaults::addSuite(const std::string& suiteName)
{
    std::lock_guard lock(mutex_);
    if (suiteName != domain_ &&
        std::find(suites_.begin(), suites_.end(), suiteName) == suites_.end()) {
        suites_.push_back(suiteName);
    }
}

std::vector<std::string> UserDefaults::searchList() const
{
    std::lock_guard lock(mutex_);
    std::vector<std::string> list{domain_};
    list.insert(list.end(), suites_.begin(), suites_.end());
    return list;
}

void UserDefaults::setObject(const std::optional<PropertyListValue>& value, const std::string& key)
{
    DefaultsDomain(domain_).write(key, value);
}

void UserDefaults::setInteger(std::int64_t value, const std::string& key)
{
    setObject(PropertyListValue(value), key);
}

void UserDefaults::setFloat(float value, const std::string& key)
{
    setObject(PropertyListValue(value), key);
}

void UserDefaults::setBool(bool value, const std::string& key)
{
    setObject(PropertyListValue(value), key);
}

void UserDefaults::setURL(const std::optional<URL>& value, const std::string& key)
{
    setObject(value ? std::optional<PropertyListValue>(value->absoluteString()) : std::nullopt, key);
}

void UserDefaults::removeObject(const std::string& key)
{
    setObject(std::nullopt, key);
}

std::optional<PropertyListValue> UserDefaults::object(const std::string& key) const
{
    for (const auto& domain : searchList()) {
        auto content = DefaultsDomain(domain).read();
        if (auto found = content.find(key); found != content.end()) {
            return std::move(found->second);
        }
    }
    return std::nullopt;
}

std::optional<std::string> UserDefaults::string(const std::string& key) const
{
    const auto value = object(key);
    if (!value || !(value->is<std::string>() || value->number())) {
        return std::nullopt;
    }
    return value->description();
}

std::int64_t UserDefaults::integer(const std::string& key) const
{
    const auto value = object(key);
    const auto number = value ? numericValue(*value) : std::nullopt;
    return number ? truncated(*number) : 0;
}

float UserDefaults::float_(const std::string& key) const
{
    const auto value = object(key);
    const auto number = value ? numericValue(*value) : std::nullopt;
    return number ? static_cast<float>(*number) : 0.0f;
}

bool UserDefaults::bool_(const std::string& key) const
{
    const auto value = object(key);
    if (!value) {
        return false;
    }
    if (const auto* text = value->get<std::string>()) {
        const auto word = lowered(*text);
        if (word == "yes" || word == "true") {
            return true;
        }
    }
    const auto number = numericValue(*value);
    return number && *number != 0;
}

std::optional<URL> UserDefaults::url(const std::string& key) const
{
    const auto value = object(key);
    const auto* text = value ? value->get<std::string>() : nullptr;
    if (text == nullptr || text->empty()) {
        return std::nullopt;
    }
    if (text->front() == '/') {
        return URL::fileURL(*text);
    }
    if (text->front() == '~') {
        const char* home = std::getenv("HOME");
        return home ? std::optional<URL>(URL::fileURL(home + text->substr(1))) : std::nullopt;
    }
    return URL::string(*text);
}

PropertyListValue::Dictionary UserDefaults::dictionaryRepresentation() const
{
    PropertyListValue::Dictionary merged;
    for (const auto& domain : searchList()) {
        // Earlier domains win: insert() keeps what is already there.
        auto content = DefaultsDomain(domain).read();
        merged.insert(content.begin(), content.end());
    }
    return merged;
}
