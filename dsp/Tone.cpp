#include "Tone.h"

void Tone::clear() {
    if (bins.Count() != 0) {
        bins.Clear();
    }
}

float Tone::getSum() {
    float sum = 0.0f;
    bins.Rewind();
    while (auto* record = static_cast<BinRecord*>(bins.Next())) {
        sum += record->magnitude;
    }
    return sum;
}
