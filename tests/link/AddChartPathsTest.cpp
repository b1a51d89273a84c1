// A received chart and a chart file of the same content join the collection
// alike: same baseline, range, colour slot, full extent, view and reference,
// whatever the collection held before.

#include "ChartFile.h"
#include "DecodeTransfer.h"
#include "LinkTestBytes.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <tuple>

namespace lumidrax {
namespace {

using test::ByteVec;

// Raw samples of a VKR102 chart whose cable starts at sample 4.
const ByteVec kRaw = {118, 121, 120, 119, 160, 140, 131, 125, 122, 150, 128, 121};

ByteVec VKR102Block()
{
    ByteVec v = {3};
    test::Put16(v, static_cast<int>(kRaw.size()) + 13);
    test::Put16(v, 2000);                       // Interval
    test::Put16(v, 660);                        // velocity x 1000
    for (int b : {0, 75, 4, 10, 0, 0, 0, 1, 4}) // -, Impedance, Noise, DC, -, -, Filter, Pozice0X
        v.push_back(static_cast<std::uint8_t>(b));
    v.insert(v.end(), kRaw.begin(), kRaw.end());
    test::AppendChecksum(v);
    return v;
}

// The same chart as the oldest chart files hold it (7 settings).
std::string RawChartFile()
{
    std::string text = "\r\n2000 660 75 4 10 1 4\r\n";
    for (int s : kRaw)
        text += std::to_string(s) + "\r\n";
    return text;
}

auto Added(const TMereni& m)
{
    const TJednoMereni& c = m.Rec(m.Count);
    return std::tuple(c.Pozice0Y, c.Samples, c.Step, c.XStart, c.XEnd, c.YMin, c.YMax, c.Shown, c.ColorSlot,
                      c.Color, m.ShownCount, m.RefIndex, m.RefCursor, m.RefCursorX, m.FullXMin, m.FullXMax,
                      m.FullYMin, m.FullYMax, m.ViewXMin, m.ViewXMax, m.ViewYMin, m.ViewYMax);
}

TEST(AddChartPaths, AReceivedChartAndAChartFileOfTheSameContentAreAddedAlike)
{
    test::TempDir dir;
    const std::string file = dir.Write("raw.ndt", RawChartFile());
    const std::string example = test::SourcePath("examples/series1.ndt");
    const std::pair<const char*, std::function<void(TMereni&)>> before[] = {
        {"empty", [](TMereni&) {}},
        {"one chart", [&](TMereni& m) { m.LoadChart(example); }},
        {"one chart zoomed", [&](TMereni& m) { m.LoadChart(example), m.ViewXMax /= 2; }},
        {"ten charts",
         [&](TMereni& m) {
             for (int i = 0; i < 10; ++i)
                 m.LoadChart(dir.Write("c" + std::to_string(i) + ".ndt", test::ReadFile(example)));
         }},
    };
    for (const auto& [name, prepare] : before) {
        SCOPED_TRACE(name);
        TMereni received;
        TMereni loaded;
        prepare(received);
        prepare(loaded);
        DecoderContext ctx;
        ASSERT_EQ(DecodeTransfer(received, ctx, test::Span(VKR102Block())), kVKR102ChartAdded);
        ASSERT_GE(loaded.LoadChart(file), 1);
        EXPECT_EQ(Added(received), Added(loaded));
    }
}

} // namespace
} // namespace lumidrax
