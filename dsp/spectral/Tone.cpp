#include "Tone.h"

void Tone::clear() {
    if (bins.Count() != 0) {
        bins.Clear();
    }
}

float Tone::getSum() {
    float sum = 0.0f;
    bins.Rewind();
    while (const DUD::CPointerList::Item* item = bins._Next()) {
        sum += static_cast<const BinRecord*>(item->data)->magnitude;
    }
    return sum;
}
