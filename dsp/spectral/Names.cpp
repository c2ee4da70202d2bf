#include "Names.h"

#include "Itoa.h"

namespace {

bool isMidiNote(int note) {
    return note >= 0 && note < 128;
}

} // namespace

const char* Names::getName(int note, int octave) {
    if (!isMidiNote(note)) {
        return "-";
    }
    const char* slot = names[note % 12];
    result[0] = slot[0];
    result[1] = slot[1];
    itoa(octave, result + 2, static_cast<int>(sizeof result) - 2);
    return result;
}

int Names::getWhite(int note) {
    if (!isMidiNote(note)) {
        return -1;
    }
    switch (note % 12) {
    case 0: case 2: case 4: case 5: case 7: case 9: case 11:
        return 1;
    default:
        return 0;
    }
}
