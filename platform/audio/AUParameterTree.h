#pragma once

#include "AUParameter.h"
#include "AUParameterGroup.h"
#include "AUParameterTypes.h"

#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

// The root of a parameter hierarchy. It routes every value set on one of its
// parameters to the implementor's value observer and then to every observer
// added with a token; reads go to the implementor's value provider once one is
// installed. Callbacks run without any lock held, so a callback may set values
// or add and remove observers itself.
class AUParameterTree final : public AUParameterGroup {
public:
    static std::shared_ptr<AUParameter>
    createParameter(std::string identifier, std::string name, AUParameterAddress address, AUValue minValue,
                    AUValue maxValue, AudioUnitParameterUnit unit, std::optional<std::string> unitName,
                    AudioUnitParameterOptions flags, std::optional<std::vector<std::string>> valueStrings);
    static std::shared_ptr<AUParameterGroup> createGroup(std::string identifier, std::string name,
                                                         std::vector<std::shared_ptr<AUParameterNode>> children);
    static std::shared_ptr<AUParameterTree> createTree(std::vector<std::shared_ptr<AUParameterNode>> children);

    explicit AUParameterTree(std::vector<std::shared_ptr<AUParameterNode>> children);

    // The first parameter with this address in depth-first order, or null.
    std::shared_ptr<AUParameter> parameterWithAddress(AUParameterAddress address) const;

    // Returns 0 (no token) for an empty observer.
    AUParameterObserverToken tokenByAddingParameterObserver(AUParameterObserver observer);
    void removeParameterObserver(AUParameterObserverToken token);

    void setImplementorValueObserver(AUImplementorValueObserver observer);
    void setImplementorValueProvider(AUImplementorValueProvider provider);
    void setImplementorStringFromValueCallback(AUImplementorStringFromValueCallback callback);

private:
    friend class AUParameter;
    void valueChanged(const AUParameter& parameter, AUValue value);
    std::optional<AUValue> providedValue(const AUParameter& parameter) const;
    std::optional<std::string> stringFromValue(const AUParameter& parameter, const AUValue* value) const;

    std::map<AUParameterAddress, std::shared_ptr<AUParameter>> parametersByAddress_;

    // Callbacks are held through shared pointers so that a caller can take a
    // snapshot under the lock and call them after releasing it.
    mutable std::mutex mutex_;
    AUParameterObserverToken lastToken_ = 0;
    std::map<AUParameterObserverToken, std::shared_ptr<const AUParameterObserver>> observers_;
    std::shared_ptr<const AUImplementorValueObserver> valueObserver_;
    std::shared_ptr<const AUImplementorValueProvider> valueProvider_;
    std::shared_ptr<const AUImplementorStringFromValueCallback> stringFromValue_;
};
