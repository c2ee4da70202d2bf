#include "AnimationSequencer.h"
#include "AnimationTestSupport.h"
#include "Console.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {

using Frames = std::vector<std::int64_t>;

// The frames on which each member was ticked, and the frames on which the sequence ended.
struct SequenceLog {
    std::map<Animator*, Frames> ticked;
    std::vector<Animator*> order;
    Frames finished;

    explicit SequenceLog(AnimationSequencer& sequencer)
    {
        sequencer.onAnimation = [this](AnimationSequencer& s, const auto& member) {
            ticked[member.get()].push_back(s.getCurrentFrame());
            order.push_back(member.get());
        };
        sequencer.onFinished = [this](AnimationSequencer& s) { finished.push_back(s.getCurrentFrame()); };
    }
    Frames of(const std::shared_ptr<Animator>& member) { return ticked[member.get()]; }
};

std::shared_ptr<AnimationSequencer> sequencerOf(const std::vector<std::pair<std::shared_ptr<Animator>, std::int64_t>>& timeline)
{
    auto sequencer = AnimationSequencer::create();
    sequencer->interval = kTick;
    for (const auto& [member, at] : timeline)
        sequencer->add(member, at);
    return sequencer;
}

TEST(AnimationSequencerTest, MembersJoinAtTheirPositionsAndTheSequenceEndsAtItsLength)
{
    TickClock clock;
    auto a = memberOf(11);
    auto b = memberOf(4);
    auto sequencer = sequencerOf({{a, 0}, {b, 5}});
    SequenceLog log(*sequencer);
    sequencer->start();
    sequencer->start();
    clock.ticks(7);
    EXPECT_EQ(sequencer->getCurrentCount(), 2);
    clock.ticks(6);
    EXPECT_EQ(log.of(a), (Frames{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
    EXPECT_EQ(log.of(b), (Frames{5, 6, 7, 8}));
    EXPECT_TRUE(b->isFinished());
    EXPECT_EQ(log.finished, Frames{10});
    EXPECT_FALSE(a->isFinished());
}

TEST(AnimationSequencerTest, APauseSkipsTheFrameWorkWhileTheCounterRunsOn)
{
    TickClock clock;
    auto a = memberOf(21);
    auto b = memberOf(4);
    auto sequencer = sequencerOf({{a, 0}, {b, 6}});
    SequenceLog log(*sequencer);
    sequencer->start();
    clock.ticks(4);
    sequencer->pause();
    clock.ticks(4);
    EXPECT_EQ(sequencer->getCurrentFrame(), 8);
    sequencer->continue_();
    clock.ticks(1);
    EXPECT_EQ(log.of(a), (Frames{1, 2, 3, 4, 9}));
    EXPECT_EQ(log.of(b), Frames{9});
    EXPECT_EQ(b->getValue(), 1.0f / 3.0f);

    sequencer->pause();
    clock.ticks(20);
    sequencer->continue_();
    clock.ticks(2);
    EXPECT_EQ(log.finished, Frames{30});
}

TEST(AnimationSequencerTest, SeekEndsTheMembersBeforeTheTargetAndRewindsTheRest)
{
    TickClock clock;
    AnimatorList members{memberOf(4), memberOf(4), memberOf(4), memberOf(4)};
    auto sequencer = sequencerOf({{members[0], 0}, {members[1], 5}, {members[2], 6}, {members[3], 9}});
    members[2]->animate();
    sequencer->seek(6);
    EXPECT_EQ(sequencer->getCurrentIndex(), 2);
    EXPECT_TRUE(members[0]->isFinished());
    EXPECT_TRUE(members[1]->isFinished());
    EXPECT_EQ(members[2]->getValue(), 0.0f);
    SequenceLog log(*sequencer);
    sequencer->start();
    clock.ticks(3);
    EXPECT_EQ(log.of(members[2]), (Frames{7, 8, 9}));
    EXPECT_EQ(log.of(members[3]), Frames{9});
    EXPECT_EQ(log.ticked.size(), 2u);

    sequencer->seek(12);
    clock.ticks(1);
    EXPECT_EQ(log.finished, Frames{13});
    sequencer->start();
    sequencer->seek(13);
    clock.ticks(2);
    EXPECT_EQ(sequencer->getCurrentFrame(), 0);
}

TEST(AnimationSequencerTest, StartAfterStopContinuesTheActiveMembersAndRemovalsNeverShortenTheTimeline)
{
    TickClock clock;
    auto quick = memberOf(3);
    auto slow = memberOf(11);
    auto last = memberOf(21);
    auto sequencer = sequencerOf({{quick, 0}, {slow, 0}, {last, 0}});
    sequencer->remove(memberOf(1));
    sequencer->remove(nullptr);
    sequencer->remove(last); // the timeline keeps the length of 20 frames it had
    EXPECT_EQ(sequencer->getCount(), 2);
    sequencer->start();
    clock.ticks(4);
    sequencer->stop();
    SequenceLog log(*sequencer);
    sequencer->start();
    clock.ticks(1);
    EXPECT_EQ(sequencer->getCurrentFrame(), 1);
    EXPECT_TRUE(log.of(quick).empty());
    EXPECT_EQ(slow->getValue(), 0.5f);

    clock.ticks(20);
    EXPECT_EQ(log.finished, Frames{20});
    sequencer->rewind();
    EXPECT_FALSE(quick->isFinished());
    EXPECT_EQ(slow->getValue(), 0.0f);
}

TEST(AnimationSequencerTest, AnEmptyTimelineWarnsOnEveryRunningFrameAndNeverEnds)
{
    TickClock clock;
    Console::Capture console;
    auto sequencer = sequencerOf({{nullptr, 3}, {memberOf(10), 0}});
    SequenceLog log(*sequencer);
    sequencer->start();
    clock.ticks(1);
    sequencer->removeAll();
    clock.ticks(1);
    sequencer->pause();
    clock.ticks(2);
    sequencer->continue_();
    clock.ticks(1);
    const std::string warning = "WARNUNG: Es sind keine Animator Objekte definiert.";
    EXPECT_EQ(console.lines(), (std::vector<std::string>{"FEHLER: Das Animator Objekt ist ungültig.", warning, warning}));
    EXPECT_EQ(sequencer->getCurrentFrame(), 5);
    EXPECT_TRUE(log.finished.empty());
}

} // namespace
