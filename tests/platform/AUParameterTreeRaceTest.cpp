#include "AUParameterTree.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

// Values set on two threads while a third adds and removes observers and
// swaps the provider: every notification must arrive and nothing may race.
TEST(AUParameterTreeRaceTest, SettersObserversAndProviderOnSeveralThreads)
{
    std::vector<std::shared_ptr<AUParameterNode>> children;
    for (AUParameterAddress address = 0; address < 8; ++address) {
        children.push_back(AUParameterTree::createParameter(
            "p", "P", address, 0.0f, 1.0f, AudioUnitParameterUnit::generic, std::nullopt, 0, std::nullopt));
    }
    const auto tree = AUParameterTree::createTree(children);
    std::atomic<int> implementorCalls { 0 };
    std::atomic<int> permanentCalls { 0 };
    tree->setImplementorValueObserver([&](const AUParameter&, AUValue) { implementorCalls.fetch_add(1); });
    tree->tokenByAddingParameterObserver([&](AUParameterAddress, AUValue) { permanentCalls.fetch_add(1); });

    constexpr int kSetsPerThread = 2000;
    auto setter = [&](AUParameterAddress address) {
        const auto parameter = tree->parameterWithAddress(address);
        for (int i = 0; i < kSetsPerThread; ++i) {
            parameter->setValue(static_cast<AUValue>(i) / kSetsPerThread);
            (void)parameter->value();
        }
    };
    std::thread first(setter, 1);
    std::thread second(setter, 2);
    for (int i = 0; i < 500; ++i) {
        const auto token = tree->tokenByAddingParameterObserver([](AUParameterAddress, AUValue) {});
        tree->setImplementorValueProvider([](const AUParameter& parameter) { return parameter.minValue(); });
        tree->removeParameterObserver(token);
    }
    first.join();
    second.join();

    EXPECT_EQ(implementorCalls.load(), 2 * kSetsPerThread);
    EXPECT_EQ(permanentCalls.load(), 2 * kSetsPerThread);
}
