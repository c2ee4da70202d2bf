#include "Wavetables.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <vector>

namespace {

constexpr int kLength = Wavetables::kLength;
constexpr int kTimbres = Wavetables::kLastTimbre - Wavetables::kFirstTimbre + 1;

using Table = std::array<float, kLength>;

struct Store {
    Table sine;
    Table tri;
    Table saw;
    Table sqr;
    std::array<Table, kTimbres> timbres;
};

double cyclePosition(int i) {
    return (static_cast<double>(i) + 0.5) / kLength;
}

// Timbre n sums the first n harmonics with amplitudes falling as h^-p, the
// slope p and the use of even harmonics varying from table to table; the
// result is scaled to a peak of 1.
void fillTimbre(Table& table, int number, const std::vector<double>& sine) {
    const double slope = 0.5 + 0.25 * (number % 8);
    const bool oddOnly = (number / 8) % 2 == 1;
    std::vector<double> sum(kLength, 0.0);
    for (int h = 1; h <= number; ++h) {
        if (oddOnly && h % 2 == 0) {
            continue;
        }
        const double amplitude = std::pow(h, -slope);
        for (int i = 0; i < kLength; ++i) {
            sum[static_cast<std::size_t>(i)] += amplitude * sine[static_cast<std::size_t>((h * i) % kLength)];
        }
    }
    double peak = 0.0;
    for (double v : sum) {
        peak = std::max(peak, std::fabs(v));
    }
    for (int i = 0; i < kLength; ++i) {
        table[static_cast<std::size_t>(i)] = static_cast<float>(sum[static_cast<std::size_t>(i)] / peak);
    }
}

std::unique_ptr<Store> build() {
    auto store = std::make_unique<Store>();
    std::vector<double> sine(kLength);
    for (int i = 0; i < kLength; ++i) {
        sine[static_cast<std::size_t>(i)] = std::sin(2.0 * M_PI * i / kLength);
        const double x = cyclePosition(i);
        store->sine[static_cast<std::size_t>(i)] = static_cast<float>(sine[static_cast<std::size_t>(i)]);
        store->tri[static_cast<std::size_t>(i)] = static_cast<float>(1.0 - 4.0 * std::fabs(x - 0.5));
        store->saw[static_cast<std::size_t>(i)] = static_cast<float>(1.0 - 2.0 * x);
        store->sqr[static_cast<std::size_t>(i)] = i < kLength / 2 ? 1.0f : -1.0f;
    }
    for (int t = 0; t < kTimbres; ++t) {
        fillTimbre(store->timbres[static_cast<std::size_t>(t)], t + Wavetables::kFirstTimbre, sine);
    }
    return store;
}

const Store& store() {
    static const std::unique_ptr<Store> tables = build();
    return *tables;
}

} // namespace

const float* Wavetables::table_sine() { return store().sine.data(); }
const float* Wavetables::table_tri() { return store().tri.data(); }
const float* Wavetables::table_saw() { return store().saw.data(); }
const float* Wavetables::table_sqr() { return store().sqr.data(); }

const float* Wavetables::timbre(int number) {
    if (number < kFirstTimbre || number > kLastTimbre) {
        return nullptr;
    }
    return store().timbres[static_cast<std::size_t>(number - kFirstTimbre)].data();
}
