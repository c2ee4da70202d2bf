#include "ControllerFixture.h"
#include "UITouch.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace {

constexpr double kSampleRate = 48000;
// A5 and A4, notes 93 and 81: 4800 samples hold whole periods of both.
constexpr double kRemoved = 1760;
constexpr double kKept = 880;
constexpr std::size_t kMeasured = 4800;

// The amplitude of the sinusoid at `frequency` in `samples`, by a Goertzel
// filter in double precision.
double amplitudeAt(const std::vector<float>& samples, double frequency)
{
    const double coefficient = 2 * std::cos(2 * std::numbers::pi * frequency / kSampleRate);
    double previous = 0;
    double beforeThat = 0;
    for (const float sample : samples) {
        const double next = sample + coefficient * previous - beforeThat;
        beforeThat = previous;
        previous = next;
    }
    const double power = previous * previous + beforeThat * beforeThat - coefficient * previous * beforeThat;
    return 2 * std::sqrt(power) / static_cast<double>(samples.size());
}

// The real panel in a window, wired to the real audio unit, which plays two
// tones of amplitude 0.25.
class PanelEditsHeard : public ControllerFixture {
protected:
    void SetUp() override
    {
        unit = connectUnit();
        window = showInWindow();
        window->layoutIfNeeded();
        window->displayIfNeeded();
        unit->allocateRenderResources();
    }

    // A finger on the flow view at `from`, moved to `to` and lifted; points in
    // panel design units, which the panel at its natural size draws 1:1.
    void drag(CGPoint from, CGPoint to)
    {
        auto& flow = *controller->velmoraView();
        const auto touch = std::make_shared<UITouch>(flow.shared_from_this(), flow.convertToRoot(from));
        flow.touchesBegan({touch}, nullptr);
        touch->moveTo(flow.convertToRoot(to), UITouch::Phase::moved);
        flow.touchesMoved({touch}, nullptr);
        touch->moveTo(flow.convertToRoot(to), UITouch::Phase::ended);
        flow.touchesEnded({touch}, nullptr);
    }

    // Plays long enough for the analysis window and the compander to settle,
    // and returns the left channel's last samples.
    std::vector<float> play()
    {
        const AURenderBlock render = unit->renderBlock();
        StereoOutput output(480);
        std::vector<float> played;
        for (int call = 0; call < 80; ++call) {
            EXPECT_EQ(output.render(render, 480, tones), noErr);
            played.insert(played.end(), output.left.begin(), output.left.end());
        }
        return std::vector<float>(played.end() - kMeasured, played.end());
    }

    std::shared_ptr<ZUV_VELMORA_Quillmere_Extension_AudioUnit> unit;
    std::shared_ptr<UIWindow> window;
    std::int64_t position = 0;
    AURenderPullInputBlock tones = [this](AudioUnitRenderActionFlags*, const AudioTimeStamp*, AUAudioFrameCount frames,
                                          std::int64_t, AudioBufferList* list) {
        for (AUAudioFrameCount frame = 0; frame < frames; ++frame) {
            const double time = static_cast<double>(position + frame) / kSampleRate;
            const double value = 0.25 * std::sin(2 * std::numbers::pi * kRemoved * time) +
                                 0.25 * std::sin(2 * std::numbers::pi * kKept * time);
            for (std::uint32_t channel = 0; channel < list->mNumberBuffers; ++channel) {
                static_cast<float*>(list->mBuffers[channel].mData)[frame] = static_cast<float>(value);
            }
        }
        position += frames;
        return noErr;
    };
};

} // namespace

TEST_F(PanelEditsHeard, InFilterMode1ABandPaintedToZeroRemovesItsNote)
{
    drag({376, 28}, {376, -122}); // the operation selector, from 0 to 2
    ASSERT_EQ(treeParameter(*unit, 104).value(), 2);
    const auto before = play();
    const double removedBefore = amplitudeAt(before, kRemoved);
    const double keptBefore = amplitudeAt(before, kKept);
    EXPECT_GT(removedBefore, 0.1);
    EXPECT_GT(keptBefore, 0.1);

    drag({420, 481}, {420, 700}); // band 93, from 0.5 down to the bottom
    EXPECT_EQ(treeParameter(*unit, 1093).value(), 0);
    const auto after = play();
    EXPECT_LT(amplitudeAt(after, kRemoved), removedBefore / 100);
    // The compander lifts what is left a little.
    EXPECT_GT(amplitudeAt(after, kKept), keptBefore * 0.9);
    EXPECT_LT(amplitudeAt(after, kKept), keptBefore * 1.5);
}
