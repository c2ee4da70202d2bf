#include "MIDIEventRelay.h"

#include <string>

#include "Console.h"
#include "DispatchQueue.h"

namespace {

void printEvent(const MIDIEventRing::Event& event)
{
    if (event.length != 3)
        Console::print("AUEnginePlayer::WARNING: The MIDI data length is not as expected.");
    std::string line
        = "AUEnginePlayer: MIDI event from audio unit at: " + std::to_string(event.sampleTime) + ", data: ";
    for (std::size_t index = 0; index < event.keptBytes; ++index)
        line += (index > 0 ? ", " : "") + std::to_string(event.bytes[index]);
    Console::print(line);
}

} // namespace

MIDIEventRelay::MIDIEventRelay()
    : notifier_([this] { postDrain(); })
{
}

OSStatus MIDIEventRelay::receive(AUEventSampleTime sampleTime, std::int64_t length, const std::uint8_t* bytes)
{
    ring_.push(sampleTime, length, bytes);
    notifier_.notify();
    return noErr;
}

void MIDIEventRelay::flush() { notifier_.flush(); }

void MIDIEventRelay::postDrain()
{
    if (auto self = weak_from_this().lock())
        DispatchQueue::main().async([self] { self->drain(); });
}

void MIDIEventRelay::drain()
{
    MIDIEventRing::Event event;
    while (ring_.pop(event))
        printEvent(event);
    if (const std::uint64_t dropped = ring_.takeDropped())
        Console::print("AUEnginePlayer::WARNING: " + std::to_string(dropped)
                       + " MIDI events from the audio unit were dropped: too many arrived at once.");
}
