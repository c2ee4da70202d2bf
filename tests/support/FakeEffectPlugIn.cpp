// A plug-in for the component loading tests: its entries make an instance
// that is also the unit's view controller, one whose units always fail, and
// ones that throw what no audio unit error is.
#include "AUViewController.h"
#include "AudioComponentPlugIn.h"
#include "AudioUnitError.h"
#include "GainAudioUnit.h"

#include <stdexcept>

namespace {

class FakeEffectInstance : public AUViewController, public AUAudioUnitFactory {
public:
    std::shared_ptr<AUAudioUnit> createAudioUnit(const AudioComponentDescription&) override
    {
        return std::make_shared<GainAudioUnit>();
    }
};

class FailingEffectInstance : public AUAudioUnitFactory {
public:
    std::shared_ptr<AUAudioUnit> createAudioUnit(const AudioComponentDescription&) override
    {
        throw AudioUnitError(kAudioUnitErr_FailedInitialization, "the fake effect never loads");
    }
};

class StrayThrowingInstance : public AUAudioUnitFactory {
public:
    std::shared_ptr<AUAudioUnit> createAudioUnit(const AudioComponentDescription&) override { throw 42; }
};

} // namespace

extern "C" __attribute__((visibility("default"))) AudioComponentPlugIn FakeEffectFactory()
{
    return {GainAudioUnit::kDescription, std::make_shared<FakeEffectInstance>()};
}

extern "C" __attribute__((visibility("default"))) AudioComponentPlugIn FailingEffectFactory()
{
    return {GainAudioUnit::kDescription, std::make_shared<FailingEffectInstance>()};
}

extern "C" __attribute__((visibility("default"))) AudioComponentPlugIn ThrowingEntryFactory()
{
    throw std::runtime_error("the entry gave up");
}

extern "C" __attribute__((visibility("default"))) AudioComponentPlugIn StrayThrowingFactory()
{
    return {GainAudioUnit::kDescription, std::make_shared<StrayThrowingInstance>()};
}
