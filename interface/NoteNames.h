#pragma once

#include <array>
#include <cstdint>
#include <string>

// The names of the 128 MIDI notes, index = note number: the pitch name (sharps
// only) followed directly by the octave, note / 12 - 2, so note 0 is "C-2",
// note 60 "C3" and note 127 "G8".
class NoteNames {
public:
    NoteNames();

    std::array<std::string, 128> values;

    // The first note whose name is exactly `key`, or -1.
    std::int64_t getKeyNumber(const std::string& key) const;
    // Whether `key` is a note 0 ... 127 whose name holds a sharp.
    bool isBlackKey(std::int64_t key) const;
};
