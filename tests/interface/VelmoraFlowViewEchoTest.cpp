#include "FlowViewTouchFixture.h"

#include "DispatchQueue.h"
#include "ManualClock.h"
#include "RangeKey.h"

#include <gmock/gmock.h>

#include <map>

namespace {

// The parameter tree as the real system runs it: a value that differs from the
// one held changes the tree, whose observer hands it back to the view later,
// on the main queue.
class EchoingTree : public RecordingDelegate {
public:
    explicit EchoingTree(std::weak_ptr<VelmoraFlowView> view) : view_(std::move(view)) {}

    void onVelmoraFlowViewParameter(std::int64_t address, float value) override
    {
        RecordingDelegate::onVelmoraFlowViewParameter(address, value);
        set(address, value);
    }
    // A change made by the user or by the host.
    void set(std::int64_t address, float value)
    {
        if (const auto held = values.find(address); held != values.end() && held->second == value) {
            return;
        }
        values[address] = value;
        DispatchQueue::main().async([view = view_, address, value] {
            if (const auto target = view.lock()) {
                target->setParameter(address, value);
            }
        });
    }
    std::vector<float> lowEndsSent() const
    {
        std::vector<float> ends;
        for (const Sent& each : sent) {
            if (each.address == 105) {
                ends.push_back(each.value);
            }
        }
        return ends;
    }

    std::map<std::int64_t, float> values{{104, 0}, {105, 0}, {106, 127}};

private:
    std::weak_ptr<VelmoraFlowView> view_;
};

class VelmoraFlowViewEchoTest : public FlowViewTouchFixture {
protected:
    VelmoraFlowViewEchoTest()
    {
        view->setDelegate(tree);
        tree->set(104, 1);
        settle();
    }
    void settle()
    {
        clock.advance(0);
        show();
    }
    // Touches the low end's handle where it stands and lets go.
    void commitRange(int times)
    {
        for (int commit = 0; commit < times; ++commit) {
            tap(44 + 508 * panel().valueRangeLeft - 16, 330);
            settle();
        }
    }

    ManualClock clock;
    std::shared_ptr<EchoingTree> tree = std::make_shared<EchoingTree>(view);
};

TEST_F(VelmoraFlowViewEchoTest, ALowEndTheHostSetIsSentBackUnchangedByEveryCommit)
{
    tree->set(105, 70);
    settle();
    commitRange(7);
    EXPECT_THAT(tree->lowEndsSent(), ::testing::ElementsAreArray(std::vector<float>(7, 70)));
    EXPECT_EQ(rangeKey(panel().valueRangeLeft), 70);
    EXPECT_FALSE(view->range()[69]);
    EXPECT_TRUE(view->range()[70]);
}

TEST_F(VelmoraFlowViewEchoTest, ARangeTheUserDraggedStaysWhereTheUserPutIt)
{
    begin(20, 330);
    move(20, 330 - 206.25); // to 66/128: key 65
    end();
    settle();
    commitRange(7);
    EXPECT_THAT(tree->lowEndsSent(), ::testing::ElementsAreArray(std::vector<float>(8, 65)));
    EXPECT_EQ(rangeKey(panel().valueRangeLeft), 65);
    EXPECT_FALSE(view->range()[64]);
    EXPECT_TRUE(view->range()[65]);
}

} // namespace
