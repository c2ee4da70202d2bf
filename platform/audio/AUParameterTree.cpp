#include "AUParameterTree.h"

#include <utility>

namespace {

template <typename Callback> std::shared_ptr<const Callback> share(Callback callback)
{
    return callback ? std::make_shared<const Callback>(std::move(callback)) : nullptr;
}

template <typename Callback>
std::shared_ptr<const Callback> snapshot(std::mutex& mutex, const std::shared_ptr<const Callback>& callback)
{
    const std::lock_guard lock(mutex);
    return callback;
}

} // namespace

std::shared_ptr<AUParameter>
AUParameterTree::createParameter(std::string identifier, std::string name, AUParameterAddress address, AUValue minValue,
                                 AUValue maxValue, AudioUnitParameterUnit unit, std::optional<std::string> unitName,
                                 AudioUnitParameterOptions flags, std::optional<std::vector<std::string>> valueStrings)
{
    return std::make_shared<AUParameter>(std::move(identifier), std::move(name), address, minValue, maxValue, unit,
                                         std::move(unitName), flags, std::move(valueStrings));
}

std::shared_ptr<AUParameterGroup> AUParameterTree::createGroup(std::string identifier, std::string name,
                                                               std::vector<std::shared_ptr<AUParameterNode>> children)
{
    return std::make_shared<AUParameterGroup>(std::move(identifier), std::move(name), std::move(children));
}

std::shared_ptr<AUParameterTree> AUParameterTree::createTree(std::vector<std::shared_ptr<AUParameterNode>> children)
{
    auto tree = std::make_shared<AUParameterTree>(std::move(children));
    for (const auto& parameter : tree->allParameters()) {
        parameter->attach(tree);
    }
    return tree;
}

AUParameterTree::AUParameterTree(std::vector<std::shared_ptr<AUParameterNode>> children)
    : AUParameterGroup("", "", std::move(children))
{
    for (auto& parameter : allParameters()) {
        parametersByAddress_.try_emplace(parameter->address(), std::move(parameter));
    }
}

std::shared_ptr<AUParameter> AUParameterTree::parameterWithAddress(AUParameterAddress address) const
{
    const auto found = parametersByAddress_.find(address);
    return found == parametersByAddress_.end() ? nullptr : found->second;
}

AUParameterObserverToken AUParameterTree::tokenByAddingParameterObserver(AUParameterObserver observer)
{
    if (!observer) {
        return 0;
    }
    auto shared = share(std::move(observer));
    const std::lock_guard lock(mutex_);
    observers_.emplace(++lastToken_, std::move(shared));
    return lastToken_;
}

void AUParameterTree::removeParameterObserver(AUParameterObserverToken token)
{
    const std::lock_guard lock(mutex_);
    observers_.erase(token);
}

void AUParameterTree::setImplementorValueObserver(AUImplementorValueObserver observer)
{
    auto shared = share(std::move(observer));
    const std::lock_guard lock(mutex_);
    valueObserver_ = std::move(shared);
}

void AUParameterTree::setImplementorValueProvider(AUImplementorValueProvider provider)
{
    auto shared = share(std::move(provider));
    const std::lock_guard lock(mutex_);
    valueProvider_ = std::move(shared);
}

void AUParameterTree::setImplementorStringFromValueCallback(AUImplementorStringFromValueCallback callback)
{
    auto shared = share(std::move(callback));
    const std::lock_guard lock(mutex_);
    stringFromValue_ = std::move(shared);
}

void AUParameterTree::valueChanged(const AUParameter& parameter, AUValue value)
{
    std::shared_ptr<const AUImplementorValueObserver> valueObserver;
    std::vector<std::shared_ptr<const AUParameterObserver>> observers;
    {
        const std::lock_guard lock(mutex_);
        valueObserver = valueObserver_;
        observers.reserve(observers_.size());
        for (const auto& entry : observers_) {
            observers.push_back(entry.second);
        }
    }
    if (valueObserver) {
        (*valueObserver)(parameter, value);
    }
    for (const auto& observer : observers) {
        (*observer)(parameter.address(), value);
    }
}

std::optional<AUValue> AUParameterTree::providedValue(const AUParameter& parameter) const
{
    const auto provider = snapshot(mutex_, valueProvider_);
    if (!provider) {
        return std::nullopt;
    }
    return (*provider)(parameter);
}

std::optional<std::string> AUParameterTree::stringFromValue(const AUParameter& parameter, const AUValue* value) const
{
    const auto callback = snapshot(mutex_, stringFromValue_);
    if (!callback) {
        return std::nullopt;
    }
    return (*callback)(parameter, value);
}
