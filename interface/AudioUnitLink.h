#pragma once

#include <array>
#include <cstdint>

// What the interface views may use of the effect's audio unit. The plug-in's
// view controller implements it over the real audio unit, which this folder
// must not know; tests implement it with fakes.
class AudioUnitLink {
public:
    // 128 values indexed by MIDI note.
    using NoteTable = std::array<float, 128>;

    virtual ~AudioUnitLink() = default;

    // A copy of the band table of a processing mode (0 ... 4) as the kernel
    // holds it now. The kernel's tables are written by the render thread too,
    // so an implementation copies them with the kernel's atomic reads instead
    // of handing out its live memory.
    virtual NoteTable getBands(std::int64_t kind) const = 0;
    // The equal-tempered frequency in hertz of every MIDI note.
    virtual NoteTable getFrequencies() const = 0;
};
