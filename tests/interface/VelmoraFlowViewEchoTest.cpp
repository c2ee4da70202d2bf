#include "FlowViewTouchFixture.h"

#include "DispatchQueue.h"
#include "ManualClock.h"
#include "RangeKey.h"

#include <gmock/gmock.h>

#include <map>

namespace {

// The parameter tree as the real system runs it: a value that differs from the
// one held changes the tree, and its observer hands the change back to the
// view later, on the main queue.
class EchoingTree : public VelmoraFlowViewDelegate {
public:
    explicit EchoingTree(std::shared_ptr<VelmoraFlowView> view) : view_(view) {}

    void onVelmoraFlowViewParameter(std::int64_t address, float value) override
    {
        sent.push_back(Sent::parameter(address, value));
        set(address, value);
    }
    void onVelmoraFlowViewOption(std::int64_t address, float value) override
    {
        sent.push_back(Sent::option(address, value));
    }

    // A change from the host or from the tree itself.
    void set(std::int64_t address, float value)
    {
        const auto held = values.find(address);
        if (held != values.end() && held->second == value) {
            return;
        }
        values[address] = value;
        DispatchQueue::main().async([view = view_, address, value] {
            if (const auto target = view.lock()) {
                target->setParameter(address, value);
            }
        });
    }

    std::map<std::int64_t, float> values{{104, 0}, {105, 0}, {106, 127}};
    std::vector<Sent> sent;

private:
    std::weak_ptr<VelmoraFlowView> view_;
};

class VelmoraFlowViewEchoTest : public FlowViewTouchFixture {
protected:
    VelmoraFlowViewEchoTest()
    {
        view->setDelegate(tree);
        show();
    }

    // Lets the main queue deliver what the tree posted, then redraws.
    void settle()
    {
        clock.advance(0);
        show();
    }

    // Touches the low end's handle where it stands and lets go: the range is
    // committed as it is.
    void commitRange()
    {
        tap(44 + 508 * panel().valueRangeLeft - 16, 330);
        settle();
    }

    std::vector<float> sentLowEnds() const
    {
        std::vector<float> ends;
        for (const Sent& sent : tree->sent) {
            if (sent.address == 105) {
                ends.push_back(sent.value);
            }
        }
        return ends;
    }

    ManualClock clock;
    std::shared_ptr<EchoingTree> tree = std::make_shared<EchoingTree>(view);
};

TEST_F(VelmoraFlowViewEchoTest, ALowEndTheHostSetStaysThroughRepeatedCommits)
{
    tree->set(104, 1);
    tree->set(105, 70);
    settle();
    for (int commit = 0; commit < 7; ++commit) {
        commitRange();
    }
    EXPECT_THAT(sentLowEnds(), ::testing::Each(70.0f));
    EXPECT_EQ(sentLowEnds().size(), 7u);
    EXPECT_EQ(rangeKey(panel().valueRangeLeft), 70);
    EXPECT_FALSE(view->range()[69]);
    EXPECT_TRUE(view->range()[70]);

    tree->set(105, 64);
    settle();
    begin(376, 28); // the operation selector, released where it was
    end();
    settle();
    EXPECT_EQ(sentLowEnds().back(), 64.0f);
}

TEST_F(VelmoraFlowViewEchoTest, ARangeTheUserDraggedStaysWhereTheUserPutIt)
{
    tree->set(104, 1);
    settle();
    begin(20, 330);
    move(20, 330 - 206.25); // to 66/128: key 65
    end();
    settle();
    EXPECT_EQ(tree->values[105], 65.0f);
    for (int commit = 0; commit < 7; ++commit) {
        commitRange();
    }
    EXPECT_THAT(sentLowEnds(), ::testing::Each(65.0f));
    EXPECT_EQ(sentLowEnds().size(), 8u);
    EXPECT_EQ(rangeKey(panel().valueRangeLeft), 65);
    EXPECT_FALSE(view->range()[64]);
    EXPECT_TRUE(view->range()[65]);
}

} // namespace
