#pragma once
// What the benchmark programs share: the standard test load of the chart
// view and a main() that starts Qt offscreen.

#include "TMereni.h"

#include <cstdint>

namespace lumidrax::bench {

// Ten drawn charts of 10000 generated samples each (three faults, noise
// 1,5 %), seeds from `firstSeed` on, with the view at the full extent and
// chart 1 the reference.
TMereni TenCharts(std::uint64_t firstSeed);

// Runs the registered benchmarks inside a QApplication, on the offscreen
// platform unless QT_QPA_PLATFORM says otherwise.
int RunWithQt(int argc, char** argv);

} // namespace lumidrax::bench
