#include "Scala.h"

#include "FlushToZero.h"
#include "Names.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>

namespace {

constexpr double kLowestCentre = 6.875;  // Hz, the A three semitones below MIDI note 0
constexpr int kLastTone = Scala::kTones - 1;

// 6.875 Hz raised by x half-semitones: 6.875 * 2^(x/24), in double precision.
float halfSemitones(int x) {
    return static_cast<float>(kLowestCentre * std::exp(std::log(2.0) * x / 24.0));
}

} // namespace

Scala::Scala() {
    buildTones();
}

Scala::~Scala() {
    clear();
}

void Scala::buildTones() {
    Names names;
    int octave = -2;
    for (int i = 0; i < kTones; ++i) {
        Tone& tone = tones[i];
        tone.bins.setItemPool(&nodes);
        tone.index = i;
        tone.note = i + kFirstNote;
        const int r = tone.note % 12;
        if (r == 0) {
            ++octave;
        }
        tone.octave = octave;
        tone.group = (r < 0 ? r + 12 : r) + 1;
        std::strncpy(tone.name, names.getName(tone.note, octave), sizeof tone.name - 1);
        tone.white = Names::getWhite(tone.note);
        tone.centerfreq = halfSemitones(2 * i);
        tone.upperfreq = halfSemitones(2 * i + 1);
        tone.lowerfreq = i > 0 ? tones[i - 1].upperfreq : 0.0f;
    }
}

// Every node of the stock sits in a tone's list, so the lists let go of theirs
// and the stock takes them all back at once.
void Scala::clear() {
    for (Tone& tone : tones) {
        tone.bins.Abandon();
    }
    nodes.reclaimAll();
    std::fill(std::begin(toneSums), std::end(toneSums), 0.0f);
}

bool Scala::reserve(int32_t bins) {
    clear();
    if (bins == recordCount && nodes.capacity() == bins) {
        return true;
    }
    records.reset();
    recordCount = 0;
    if (bins <= 0) {
        return nodes.reserve(0);
    }
    records.reset(new (std::nothrow) BinRecord[static_cast<std::size_t>(bins)]);
    if (!records || !nodes.reserve(bins)) {
        records.reset();
        nodes.reserve(0);
        return false;
    }
    recordCount = bins;
    return true;
}

void Scala::assignBins(const float* magnitudes, const float* frequencies, const float* phases,
                       int32_t bins, int32_t* toneOfBin) {
    if (magnitudes == nullptr || frequencies == nullptr || phases == nullptr) {
        return;
    }
    clear();
    int32_t walk = 0;
    for (int32_t k = 0; k < bins; ++k) {
        const int32_t tone = toneOf(frequencies[k], walk);
        place(k, tone, magnitudes[k], frequencies[k], phases[k]);
        if (toneOfBin != nullptr) {
            toneOfBin[k] = tone;
        }
    }
}

void Scala::findTones(const float* frequencies, int32_t bins, int32_t* toneOfBin) {
    if (frequencies == nullptr || toneOfBin == nullptr) {
        return;
    }
    int32_t walk = 0;
    for (int32_t k = 0; k < bins; ++k) {
        toneOfBin[k] = toneOf(frequencies[k], walk);
    }
}

// The walk only moves up: a frequency at or below the current tone's lower
// edge goes to the tone just below the walk's position.
int32_t Scala::toneOf(float frequency, int32_t& walk) {
    for (;;) {
        const Tone& tone = tones[walk];
        if (frequency <= tone.lowerfreq) {
            return walk > 0 ? walk - 1 : 0;
        }
        if (frequency <= tone.upperfreq) {
            const int32_t found = walk;
            if (walk < kLastTone) {
                ++walk;
            }
            return found;
        }
        if (!(frequency > tone.upperfreq) || walk == kLastTone) {
            return kLastTone;
        }
        ++walk;
    }
}

void Scala::place(int32_t bin, int32_t tone, float magnitude, float frequency, float phase) {
    if (bin >= recordCount) {
        return;
    }
    BinRecord& record = records[bin];
    record = BinRecord{magnitude, frequency, phase};
    if (tones[tone].bins.Push(&record)) {
        toneSums[tone] += magnitude;
    }
}

void Scala::chromaticScaleSums(int from, int to) {
    if (clearChromatic.load(std::memory_order_relaxed)) {
        pending = Pass{};
    }
    from = std::max(from, 0);
    to = std::min(to, kTones + kFirstNote);
    for (int n = from; n < to; ++n) {
        pending.sums[n] += toneSums[n - kFirstNote];
    }
    pending.count += 1;
    passes.back() = pending;
    passes.publish();
}

float* Scala::getChromatic(int from, int to, bool normalise) {
    const Pass& latest = passes.front();
    if (latest.count == 0) {
        return chromatic;
    }
    std::copy(std::begin(latest.sums), std::end(latest.sums), chromatic);
    from = std::max(from, 0);
    to = std::min(to, kTones);
    const float count = static_cast<float>(latest.count);
    float largest = 0.0f;
    for (int n = from; n < to; ++n) {
        chromatic[n] = VELMORA::flushToZero(chromatic[n] / count);
        largest = std::max(largest, chromatic[n]);
    }
    if (normalise && largest > 1.0f) {
        for (int n = from; n < to; ++n) {
            chromatic[n] = VELMORA::flushToZero(chromatic[n] / largest);
        }
    }
    clearChromatic.store(true, std::memory_order_relaxed);
    return chromatic;
}

float Scala::getFrequency(int note) {
    const int index = note - kFirstNote;
    return index >= 0 && index < kTones ? tones[index].centerfreq : 1.0f;
}
