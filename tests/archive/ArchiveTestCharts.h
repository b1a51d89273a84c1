#pragma once
// Charts for the archive tests, made by the chart generator, and the
// comparison of a chart given back with the one recorded.

#include "ChartGenerator.h"
#include "TJednoMereni.h"

#include <gtest/gtest.h>

#include <string>

namespace lumidrax::test {

// A VKR104 chart (23 tokens) of the seed, with its description, date
// ("DD.MM.YYYY hh:mm:ss") and serial number, as the collection holds it.
TJednoMereni ArchiveChart(std::uint64_t seed, const std::string& description = "feeder",
                          const std::string& datumCas = "12.05.2009 10:22:31", int serial = 4711,
                          chartgen::HeaderForm form = chartgen::HeaderForm::Tokens23, int samples = 400);

// Samples, settings and the instrument's fields agree.
void ExpectSameChart(const TJednoMereni& back, const TJednoMereni& recorded);

} // namespace lumidrax::test
