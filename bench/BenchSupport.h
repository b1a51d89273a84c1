#pragma once
// What the benchmark programs share: the standard test load of the chart
// view, a main() that starts Qt offscreen, and runs for lists of arguments.

#include "TMereni.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

namespace lumidrax::bench {

// Ten drawn charts of 10000 generated samples each (three faults, noise
// 1,5 %), seeds from `firstSeed` on, with the view at the full extent and
// chart 1 the reference.
TMereni TenCharts(std::uint64_t firstSeed);

// Runs the registered benchmarks inside a QApplication, on the offscreen
// platform unless QT_QPA_PLATFORM says otherwise.
int RunWithQt(int argc, char** argv);

using ArgSets = std::vector<std::vector<std::int64_t>>;

// For `->Apply(EachArgs<kSets>)`: one run of the benchmark for each set of
// arguments in `Sets`, in order.
template <const ArgSets& Sets> void EachArgs(benchmark::internal::Benchmark* b)
{
    for (const std::vector<std::int64_t>& args : Sets)
        b->Args(args);
}

} // namespace lumidrax::bench
