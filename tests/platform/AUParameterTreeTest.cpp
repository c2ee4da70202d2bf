#include "AUParameterTree.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr AudioUnitParameterOptions kReadWrite
    = kAudioUnitParameterFlag_IsReadable | kAudioUnitParameterFlag_IsWritable;

std::shared_ptr<AUParameter> makeParameter(const std::string& identifier, AUParameterAddress address,
                                           AUValue value = 0.0f)
{
    auto parameter
        = AUParameterTree::createParameter(identifier, identifier + " name", address, 0.0f, 1.0f,
                                           AudioUnitParameterUnit::generic, std::nullopt, kReadWrite, std::nullopt);
    parameter->setValue(value);
    return parameter;
}

std::vector<std::string> identifiers(const std::vector<std::shared_ptr<AUParameter>>& parameters)
{
    std::vector<std::string> result;
    for (const auto& parameter : parameters) {
        result.push_back(parameter->identifier());
    }
    return result;
}

// root: a(1), outer{ b(2), inner{ c(3) }, d(4) }, e(5)
std::shared_ptr<AUParameterTree> makeNestedTree()
{
    auto inner = AUParameterTree::createGroup("inner", "Inner", { makeParameter("c", 3) });
    auto outer
        = AUParameterTree::createGroup("outer", "Outer", { makeParameter("b", 2), inner, makeParameter("d", 4) });
    return AUParameterTree::createTree({ makeParameter("a", 1), outer, makeParameter("e", 5) });
}

} // namespace

TEST(AUParameterTreeTest, AllParametersWalksDepthFirstInChildOrder)
{
    const auto tree = makeNestedTree();
    EXPECT_THAT(identifiers(tree->allParameters()), testing::ElementsAre("a", "b", "c", "d", "e"));
    const auto outer = std::dynamic_pointer_cast<AUParameterGroup>(tree->children()[1]);
    ASSERT_NE(outer, nullptr);
    EXPECT_THAT(identifiers(outer->allParameters()), testing::ElementsAre("b", "c", "d"));
}

TEST(AUParameterTreeTest, ParameterWithAddressFindsNestedParametersAndNothingElse)
{
    const auto tree = makeNestedTree();
    ASSERT_NE(tree->parameterWithAddress(3), nullptr);
    EXPECT_EQ(tree->parameterWithAddress(3)->identifier(), "c");
    EXPECT_EQ(tree->parameterWithAddress(6), nullptr);
}

TEST(AUParameterTreeTest, DuplicateAddressResolvesToTheFirstInWalkOrder)
{
    const auto tree = AUParameterTree::createTree({ makeParameter("first", 7), makeParameter("second", 7) });
    EXPECT_EQ(tree->parameterWithAddress(7)->identifier(), "first");
}

TEST(AUParameterTreeTest, ValueIsOwnUntilAProviderIsInstalled)
{
    const auto tree = makeNestedTree();
    const auto a = tree->parameterWithAddress(1);
    a->setValue(0.25f);
    EXPECT_EQ(a->value(), 0.25f);

    std::map<AUParameterAddress, AUValue> backing { { 1, 0.75f } };
    tree->setImplementorValueProvider([&](const AUParameter& parameter) { return backing[parameter.address()]; });
    EXPECT_EQ(a->value(), 0.75f);
    backing[1] = 0.5f;
    EXPECT_EQ(a->value(), 0.5f);
}

TEST(AUParameterTreeTest, SettingAValueTellsTheImplementorFirstThenEveryObserver)
{
    const auto tree = makeNestedTree();
    std::vector<std::string> calls;
    tree->setImplementorValueObserver([&](const AUParameter& parameter, AUValue value) {
        calls.push_back("implementor " + parameter.identifier() + " " + std::to_string(value));
    });
    tree->tokenByAddingParameterObserver([&](AUParameterAddress address, AUValue value) {
        calls.push_back("one " + std::to_string(address) + " " + std::to_string(value));
    });
    tree->tokenByAddingParameterObserver(
        [&](AUParameterAddress address, AUValue) { calls.push_back("two " + std::to_string(address)); });

    tree->parameterWithAddress(4)->setValue(0.5f);

    EXPECT_THAT(calls, testing::ElementsAre("implementor d 0.500000", "one 4 0.500000", "two 4"));
}

TEST(AUParameterTreeTest, RemovedObserverHearsNothingMore)
{
    const auto tree = makeNestedTree();
    int heard = 0;
    const auto token = tree->tokenByAddingParameterObserver([&](AUParameterAddress, AUValue) { ++heard; });
    EXPECT_NE(token, 0u);
    tree->parameterWithAddress(1)->setValue(1.0f);
    tree->removeParameterObserver(token);
    tree->parameterWithAddress(1)->setValue(0.0f);
    EXPECT_EQ(heard, 1);
    EXPECT_EQ(tree->tokenByAddingParameterObserver(nullptr), 0u);
}

TEST(AUParameterTreeTest, ObserverMaySetValuesAndRemoveItselfInsideANotification)
{
    const auto tree = makeNestedTree();
    const auto a = tree->parameterWithAddress(1);
    const auto b = tree->parameterWithAddress(2);
    std::vector<AUParameterAddress> heard;
    AUParameterObserverToken token = 0;
    token = tree->tokenByAddingParameterObserver([&](AUParameterAddress address, AUValue value) {
        heard.push_back(address);
        if (address == 1) {
            b->setValue(value);
            tree->removeParameterObserver(token);
        }
    });
    tree->setImplementorValueObserver([&](const AUParameter& parameter, AUValue) {
        if (parameter.address() == 2) {
            tree->tokenByAddingParameterObserver([](AUParameterAddress, AUValue) {});
        }
    });

    a->setValue(0.5f);

    EXPECT_THAT(heard, testing::ElementsAre(1, 2));
    EXPECT_EQ(b->value(), 0.5f);
}

TEST(AUParameterTreeTest, ParameterOutsideATreeKeepsItsValueSilently)
{
    const auto lone = makeParameter("lone", 9, 0.125f);
    EXPECT_EQ(lone->value(), 0.125f);
    EXPECT_EQ(lone->stringFromValue(nullptr), "0.125");
}

TEST(AUParameterTreeTest, StringFromValueUsesTheCallbackWithTheGivenOrTheCurrentValue)
{
    const auto tree = makeNestedTree();
    const auto a = tree->parameterWithAddress(1);
    a->setValue(0.5f);
    const AUValue given = 0.25f;
    EXPECT_EQ(a->stringFromValue(&given), "0.25");

    tree->setImplementorStringFromValueCallback([](const AUParameter& parameter, const AUValue* value) {
        return parameter.identifier() + (value ? std::to_string(*value) : std::string(" current"));
    });
    EXPECT_EQ(a->stringFromValue(&given), "a0.250000");
    EXPECT_EQ(a->stringFromValue(nullptr), "a current");
}
