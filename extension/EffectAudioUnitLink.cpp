#include "EffectAudioUnitLink.h"

#include "AudioUnitViewController.h"
#include "ZUV_VELMORA_Quillmere_Extension_AudioUnit.h"

#include <algorithm>
#include <atomic>

AudioUnitLink::NoteTable EffectAudioUnitLink::getBands(std::int64_t kind) const
{
    NoteTable table{};
    const auto unit = controller_.audioUnit();
    if (!unit) {
        return table;
    }
    // The render thread and parameter events write the kernel's band tables
    // through atomic stores; read them the same way.
    auto* bands = const_cast<float*>(unit->getBands(kind));
    for (std::size_t note = 0; note < table.size(); ++note) {
        table[note] = std::atomic_ref<float>(bands[note]).load(std::memory_order_relaxed);
    }
    return table;
}

AudioUnitLink::NoteTable EffectAudioUnitLink::getFrequencies() const
{
    NoteTable table{};
    if (const auto unit = controller_.audioUnit()) {
        // Built once before any unit exists and never written again.
        std::copy_n(unit->getFrequencies(), table.size(), table.begin());
    }
    return table;
}
