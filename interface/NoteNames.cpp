#include "NoteNames.h"

#include <algorithm>

namespace {

constexpr std::array<const char*, 12> kPitchNames = {"C",  "C#", "D",  "D#", "E",  "F",
                                                     "F#", "G",  "G#", "A",  "A#", "B"};

} // namespace

NoteNames::NoteNames()
{
    for (std::size_t note = 0; note < values.size(); ++note) {
        const int octave = static_cast<int>(note / 12) - 2;
        values[note] = kPitchNames[note % 12] + std::to_string(octave);
    }
}

std::int64_t NoteNames::getKeyNumber(const std::string& key) const
{
    const auto found = std::find(values.begin(), values.end(), key);
    return found == values.end() ? -1 : found - values.begin();
}

bool NoteNames::isBlackKey(std::int64_t key) const
{
    if (key < 0 || key >= static_cast<std::int64_t>(values.size())) {
        return false;
    }
    return values[static_cast<std::size_t>(key)].find('#') != std::string::npos;
}
