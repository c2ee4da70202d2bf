#pragma once

#include "CPointerList.h"

#include <cstdint>

// What one FFT bin contributed to a tone in the last analysis.
struct BinRecord {
    float magnitude = 0.0f;
    float frequency = 0.0f;  // Hz
    float phase = 0.0f;      // radians
};

// One equal-tempered tone of the chromatic table: its band (lowerfreq,
// upperfreq] and the records of the bins that fell into it.
class Tone {
public:
    Tone() = default;
    Tone(const Tone&) = delete;
    Tone& operator=(const Tone&) = delete;

    // Forgets the bin records (they belong to the table's record stock).
    void clear();
    // Sum of the magnitudes of the bin records, in list order.
    float getSum();

    DUD::CPointerList bins;
    int32_t index = -1;
    int32_t note = -1;
    int32_t octave = -2;
    int32_t group = -1;  // 1 (C) .. 12 (B)
    int32_t white = -1;  // 1 natural, 0 sharp, -1 outside 0..127
    float lowerfreq = 0.0f;  // exclusive
    float centerfreq = 0.0f;
    float upperfreq = 0.0f;  // inclusive
    char name[5] = {};
};
