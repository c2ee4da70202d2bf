#pragma once

// Note names of the chromatic scale: "C ", "C#", ... "B " (naturals carry a
// trailing blank) joined with an octave number.
class Names {
public:
    // Name of a MIDI note (0..127) with the given octave, e.g. "C 4", "C#4",
    // "C -1"; the text lives in this object until the next call. "-" for notes
    // outside 0..127.
    const char* getName(int note, int octave);
    // 1 for a natural note, 0 for a sharp, -1 outside 0..127.
    static int getWhite(int note);

private:
    static constexpr char names[12][3] = {"C ", "C#", "D ", "D#", "E ", "F ",
                                          "F#", "G ", "G#", "A ", "A#", "B "};
    // Two name characters, a sign, ten digits and the terminator.
    char result[14] = {};
};
