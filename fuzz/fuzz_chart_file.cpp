// Fuzz target of the chart file reader: any bytes either read as a chart or
// fail with ChartFileError; a chart that was read goes through the
// collection's load steps, and what the writer makes of it reads back to the
// same file text.

#include "ChartFile.h"
#include "TMereni.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

using namespace lumidrax;

namespace {

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    TJednoMereni chart;
    try {
        ReadChartText(chart, bytes, "fuzz.ndt");
    } catch (const ChartFileError&) {
        return 0;
    }
    Check(chart.SampleCount == static_cast<int>(chart.Samples.size()));

    // The steps LoadChart runs after reading.
    TMereni collection;
    collection.AppendRecord(chart);
    try {
        collection.ApplyBaseline();
    } catch (const ChartFileError&) {
        return 0; // refused: raw samples whose baseline is out of range
    }
    collection.ComputeChartRange();
    collection.ComputeFullRange(true);
    collection.SetReference(1);
    Check(collection.Count == 1 && collection.ShownCount == 1);

    // Written, read back and written again: the same text.
    const std::string text = ChartFileText(collection.Rec(1));
    TJednoMereni back;
    ReadChartText(back, text, "written.ndt"); // throws (and so fails) if unreadable
    Check(back.SampleCount == chart.SampleCount);
    Check(ChartFileText(back) == text);
    return 0;
}
