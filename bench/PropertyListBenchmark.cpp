// Reading a binary property list whose one array holds one-byte references
// to a single value, as a preset file, the settings store or a plug-in's
// manifest may. Report medians with
//   build/bench/PropertyListBenchmark --benchmark_repetitions=10 --benchmark_report_aggregates_only=true
#include "../tests/support/DeepPropertyLists.h"

#include "PropertyListSerialization.h"

#include <benchmark/benchmark.h>

#include <cstdint>

namespace {

void BM_BinaryArrayOfReferences(benchmark::State& state)
{
    const auto count = static_cast<std::uint32_t>(state.range(0));
    const Data list = binaryObjects({binaryArrayOf(1, count), {0x09}});
    for (auto _ : state) {
        benchmark::DoNotOptimize(PropertyListSerialization::propertyList(list));
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * count);
}
// The longest array the limit of values allows, and an eighth of it.
constexpr auto kLongest = static_cast<std::int64_t>(PropertyListSerialization::kMaximumValues - 1);
BENCHMARK(BM_BinaryArrayOfReferences)->Arg(kLongest / 8)->Arg(kLongest)->Unit(benchmark::kMillisecond);

} // namespace
