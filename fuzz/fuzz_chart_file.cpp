// Fuzz target of the chart file reader: any bytes either read as a chart or
// fail with ChartFileError; a chart that was read goes through the
// collection's load steps, and what the writer makes of it reads back to the
// same file text.

#include "ChartFile.h"
#include "Cp1250.h"
#include "FuzzCheck.h"
#include "TMereni.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

using namespace lumidrax;
using lumidrax::fuzz::Check;

namespace {

std::vector<std::string_view> Lines(std::string_view text)
{
    std::vector<std::string_view> lines;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = text.find("\r\n", at);
        lines.push_back(text.substr(at, end - at));
        at = end == std::string_view::npos ? text.size() : end + 2;
    }
    return lines;
}

// Windows-1250 bytes that the reader would take as UTF-8.
bool Ambiguous(std::string_view line)
{
    return IsValidUtf8(line) && FileTextToUtf8(line) != Cp1250ToUtf8(line);
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

    // Added as LoadChart adds it after reading.
    TMereni collection;
    try {
        collection.AddChart(chart);
    } catch (const ChartFileError&) {
        return 0; // refused: raw samples whose baseline is out of range
    }
    Check(collection.Count == 1 && collection.ShownCount == 1);

    // Written, read back and written again: the same text. The one known
    // exception: a Windows-1250 description or header line (its date text)
    // whose bytes happen to form valid non-ASCII UTF-8 is taken as UTF-8 when
    // read back; the samples must still read back exactly.
    const std::string text = ChartFileText(collection.Rec(1));
    TJednoMereni back;
    ReadChartText(back, text, "written.ndt"); // throws (and so fails) if unreadable
    Check(back.SampleCount == chart.SampleCount);
    const std::string again = ChartFileText(back);
    const std::vector<std::string_view> before = Lines(text);
    const std::vector<std::string_view> after = Lines(again);
    Check(before.size() == after.size());
    for (std::size_t k = 0; k < before.size(); ++k)
        Check(before[k] == after[k] || (k < 2 && Ambiguous(before[k])));
    return 0;
}
