#include "MIDIEventRing.h"

#include <algorithm>

MIDIEventRing::MIDIEventRing()
{
    for (std::size_t index = 0; index < kCapacity; ++index)
        cells_[index].sequence.store(index, std::memory_order_relaxed);
}

bool MIDIEventRing::push(AUEventSampleTime sampleTime, std::int64_t length, const std::uint8_t* bytes)
{
    std::size_t position = pushPosition_.load(std::memory_order_relaxed);
    Cell* cell = nullptr;
    for (;;) {
        cell = &cells_[position & (kCapacity - 1)];
        const std::size_t sequence = cell->sequence.load(std::memory_order_acquire);
        if (sequence == position) {
            if (pushPosition_.compare_exchange_weak(position, position + 1, std::memory_order_relaxed))
                break;
        } else if (sequence < position) {
            dropped_.fetch_add(1, std::memory_order_relaxed);
            return false;
        } else {
            position = pushPosition_.load(std::memory_order_relaxed);
        }
    }
    const auto kept = bytes == nullptr ? 0 : static_cast<std::size_t>(std::clamp<std::int64_t>(length, 0, kKeptBytes));
    cell->event.sampleTime = sampleTime;
    cell->event.length = length;
    std::copy_n(bytes, kept, cell->event.bytes.begin());
    cell->event.keptBytes = kept;
    cell->sequence.store(position + 1, std::memory_order_release);
    return true;
}

bool MIDIEventRing::pop(Event& event)
{
    std::size_t position = popPosition_.load(std::memory_order_relaxed);
    Cell* cell = nullptr;
    for (;;) {
        cell = &cells_[position & (kCapacity - 1)];
        const std::size_t sequence = cell->sequence.load(std::memory_order_acquire);
        if (sequence == position + 1) {
            if (popPosition_.compare_exchange_weak(position, position + 1, std::memory_order_relaxed))
                break;
        } else if (sequence < position + 1) {
            return false;
        } else {
            position = popPosition_.load(std::memory_order_relaxed);
        }
    }
    event = cell->event;
    cell->sequence.store(position + kCapacity, std::memory_order_release);
    return true;
}
