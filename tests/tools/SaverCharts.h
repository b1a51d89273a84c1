#pragma once
// The charts the interrupted-save tests write: the same run and number
// always give the same chart, in the saver process and in the test.

#include "TJednoMereni.h"

#include <string>

namespace lumidrax::test {

// Chart `number` (1-based) of saver run `run`, as an automatic save of a
// received chart: unsaved, its FileName still empty.
TJednoMereni SaverChart(int run, int number);

// The file name chart `number` of run `run` is saved under.
std::string SaverChartName(int run, int number);

// Run and number of a name SaverChartName gives; false for any other name.
bool ParseSaverChartName(const std::string& name, int& run, int& number);

} // namespace lumidrax::test
