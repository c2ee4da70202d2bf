#include "DSPKernel.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

// Far beyond any real session, and small enough that adding a cycle cannot overflow.
constexpr double kSampleTimeLimit = 4611686018427387904.0; // 2^62

AUEventSampleTime startTime(const AudioTimeStamp* timestamp)
{
    if (timestamp == nullptr || std::isnan(timestamp->mSampleTime))
        return 0;
    return static_cast<AUEventSampleTime>(std::clamp(timestamp->mSampleTime, -kSampleTimeLimit, kSampleTimeLimit));
}

// Frames from now to the event, never more than remain in the cycle.
AUAudioFrameCount framesUntil(AUEventSampleTime eventTime, AUEventSampleTime now, AUAudioFrameCount remaining)
{
    if (eventTime <= now)
        return 0;
    const std::uint64_t distance = static_cast<std::uint64_t>(eventTime) - static_cast<std::uint64_t>(now);
    return static_cast<AUAudioFrameCount>(std::min<std::uint64_t>(distance, remaining));
}

} // namespace

void DSPKernel::processWithEvents(const AudioTimeStamp* timestamp, AUAudioFrameCount frameCount,
                                  const AURenderEvent* events, const AUMIDIOutputEventBlock* midiOutput)
{
    resetIfRequested();
    midiOut = midiOutput;
    AUEventSampleTime now = startTime(timestamp);
    AUAudioFrameCount remaining = frameCount;
    const AURenderEvent* event = events;

    while (remaining > 0) {
        if (event == nullptr) {
            process(remaining, frameCount - remaining);
            break;
        }
        const AUAudioFrameCount segment = framesUntil(event->head.eventSampleTime, now, remaining);
        if (segment > 0) {
            process(segment, frameCount - remaining);
            remaining -= segment;
            now += segment;
        }
        if (event->head.eventSampleTime > now)
            break;
        performAllSimultaneousEvents(now, event);
    }
    midiOut = nullptr;
}

void DSPKernel::requestReset()
{
    resetRequested.store(true, std::memory_order_release);
}

// A plain load first: a cycle without a request costs no read-modify-write.
void DSPKernel::resetIfRequested()
{
    if (resetRequested.load(std::memory_order_relaxed) && resetRequested.exchange(false, std::memory_order_acquire))
        reset();
}

void DSPKernel::performAllSimultaneousEvents(AUEventSampleTime now, const AURenderEvent*& event)
{
    do {
        handleOneEvent(event);
        event = event->head.next;
    } while (event != nullptr && event->head.eventSampleTime <= now);
}

void DSPKernel::handleOneEvent(const AURenderEvent* event)
{
    switch (event->head.eventType) {
    case AURenderEventType::parameter:
    case AURenderEventType::parameterRamp:
        setParameterAutomated(event->parameter.parameterAddress, event->parameter.value,
                              event->parameter.eventSampleTime);
        break;
    case AURenderEventType::midi:
    case AURenderEventType::midiSysEx:
        handleMIDIEvent(event->MIDI);
        break;
    case AURenderEventType::midiEventList:
        break;
    }
}

void DSPKernel::reset() {}

void DSPKernel::process(AUAudioFrameCount, AUAudioFrameCount) {}

void DSPKernel::setParameterAutomated(AUParameterAddress, AUValue, AUEventSampleTime) {}

void DSPKernel::handleMIDIEvent(const AUMIDIEvent&) {}
