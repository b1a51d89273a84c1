// Fuzz target of the chart file reader: any bytes either read as a chart or
// fail with ChartFileError; a chart that was read goes through the
// collection's load steps, and what the writer makes of it reads back to the
// same file text.

#include "ChartFile.h"
#include "Cp1250.h"
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

    // Written, read back and written again: the same text. The one known
    // exception is the description: a Windows-1250 line whose bytes happen
    // to form valid non-ASCII UTF-8 is taken as UTF-8 when read back.
    const std::string text = ChartFileText(collection.Rec(1));
    TJednoMereni back;
    ReadChartText(back, text, "written.ndt"); // throws (and so fails) if unreadable
    Check(back.SampleCount == chart.SampleCount);
    const std::string again = ChartFileText(back);
    const std::size_t line2 = text.find("\r\n") + 2;
    const std::string_view description = std::string_view(text).substr(0, line2 - 2);
    const bool ambiguous =
        IsValidUtf8(description) && FileTextToUtf8(description) != Cp1250ToUtf8(description);
    if (ambiguous)
        Check(again.compare(again.find("\r\n") + 2, std::string::npos, text, line2) == 0);
    else
        Check(again == text);
    return 0;
}
