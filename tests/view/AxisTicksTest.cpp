#include "AxisTicks.h"

#include "ViewAt.h"

#include <gtest/gtest.h>

namespace lumidrax {
namespace {

ViewTransform View(long double x0, long double x1, long double y0, long double y1, int w, int h)
{
    return test::ViewAt(x0, x1, y0, y1, w, h);
}

// Every character 7 pixels wide.
int Width7(const std::string& s)
{
    return 7 * static_cast<int>(s.size());
}

std::vector<std::string> Texts(const StripLayout& layout)
{
    std::vector<std::string> out;
    for (const StripLabel& l : layout.Labels)
        out.push_back(l.Text);
    return out;
}

TEST(AxisTicks, WorkedExampleMinusTenToHundredTen)
{
    TAxisTicks t;
    ComputeAxisTicks(7, 13, 240, t, Axis::Y, 110, -10);
    EXPECT_EQ(t.Decimals, 0);
    EXPECT_EQ(t.MajorStep, 50);
    EXPECT_EQ(t.MinorStep, 10);
    EXPECT_EQ(t.FirstMajor, 0);
    EXPECT_EQ(t.FirstMinor, -10);

    const ViewTransform v = View(0, 100, -10, 110, 300, 240);
    const StripLayout y = LayoutAxisY(v, t, 49, 13, Width7);
    EXPECT_EQ(Texts(y), (std::vector<std::string>{"0", "50", "100"}));
    // 13 minor ticks (-10..110) and 3 major ones; minor ticks 5 pixels, major
    // ones 8 (end point excluded), all from the strip's right edge.
    ASSERT_EQ(y.Ticks.size(), 16u);
    EXPECT_EQ(y.Ticks[0].X1, 48);
    EXPECT_EQ(y.Ticks[0].X2, 43);
    EXPECT_EQ(y.Ticks[0].Y1, 240);
    EXPECT_EQ(y.Ticks[13].X2, 40);
    EXPECT_EQ(y.Ticks[13].Y1, 220);
    // Labels right-aligned 10 pixels from the right edge, centred on the tick.
    EXPECT_EQ(y.Labels[0].X, 49 - 10 - 7);
    EXPECT_EQ(y.Labels[0].Y, 220 - 6);
    EXPECT_EQ(y.Labels[2].X, 49 - 10 - 21);
    EXPECT_EQ(y.Labels[2].Y, 20 - 6);
}

TEST(AxisTicks, StepTableRows)
{
    struct Row {
        int pixels;
        long double min, max;
        long double major, minor;
    };
    // Y axis with a 13-pixel "0": a label takes 15 pixels.
    const Row rows[] = {
        {60, 0, 30, 10, 5},     // n = 4, m = 3
        {60, 0, 600, 200, 100}, // n = 4, m = 6
        {60, 0, 80, 50, 10},    // n = 4, m = 8
        {200, 0, 20, 5, 1},     // n = 13, m = 2
        {200, 0, 40, 10, 5},    // n = 13, m = 4
        {200, 0, 70, 20, 10},   // n = 13, m = 7
        {400, 0, 20, 1, 0.5L},  // n = 26, m = 2
        {400, 0, 40, 5, 1},     // n = 26, m = 4
        {400, 0, 700, 100, 50}, // n = 26, m = 7
        {10, 0, 40, 10, 5},     // n = 0 goes on like n < 5
        {20, 0, 40, 10, 5},     // n = 1 as well
    };
    for (const Row& r : rows) {
        TAxisTicks t;
        ComputeAxisTicks(7, 13, r.pixels, t, Axis::Y, r.max, r.min);
        EXPECT_DOUBLE_EQ(static_cast<double>(t.MajorStep), static_cast<double>(r.major))
            << r.pixels << " px, range " << static_cast<double>(r.max - r.min);
        EXPECT_DOUBLE_EQ(static_cast<double>(t.MinorStep), static_cast<double>(r.minor))
            << r.pixels << " px, range " << static_cast<double>(r.max - r.min);
    }
}

TEST(AxisTicks, ExactlyTwoLabelsGiveMinAndMax)
{
    TAxisTicks t;
    ComputeAxisTicks(7, 13, 30, t, Axis::Y, 8.2L, 3.7L); // 30 / 15 = 2
    EXPECT_EQ(t.FirstMajor, 3.7L);
    EXPECT_EQ(t.FirstMinor, 3.7L);
    EXPECT_EQ(t.MajorStep, 8.2L - 3.7L);
    EXPECT_EQ(t.MinorStep, 8.2L - 3.7L);
    EXPECT_EQ(t.Decimals, 2);
}

TEST(AxisTicks, RangeBelowOneAndFirstTicks)
{
    TAxisTicks t;
    ComputeAxisTicks(7, 13, 200, t, Axis::Y, 0.5L, 0);
    EXPECT_EQ(t.Decimals, 2); // e = trunc(log10 0.5) = 0
    EXPECT_DOUBLE_EQ(static_cast<double>(t.MajorStep), 0.5);
    EXPECT_DOUBLE_EQ(static_cast<double>(t.MinorStep), 0.1);
    EXPECT_EQ(t.FirstMajor, 0);

    // Negative min: the first tick lies above min (truncation toward zero).
    ComputeAxisTicks(7, 13, 200, t, Axis::Y, 3, -37); // range 40: 10 / 5
    EXPECT_EQ(t.FirstMajor, -30);
    EXPECT_EQ(t.FirstMinor, -35);
    // A whole multiple is its own first tick.
    ComputeAxisTicks(7, 13, 200, t, Axis::Y, 60, 20);
    EXPECT_EQ(t.FirstMajor, 20);
    // Positive min: the first tick lies below min.
    ComputeAxisTicks(7, 13, 200, t, Axis::Y, 63, 23);
    EXPECT_EQ(t.FirstMajor, 20);
    EXPECT_EQ(t.FirstMinor, 20);
}

TEST(AxisTicks, XLabelWidthCountsIntegerDigitsAndDecimals)
{
    // Range 20 (e = 1, one decimal); |max| 32.3 has 2 integer digits: a label
    // takes (1 + 1 + 1) * 7 = 21 pixels, so 300 pixels fit 14 labels.
    TAxisTicks t;
    ComputeAxisTicks(7, 13, 300, t, Axis::X, 32.3L, 12.3L);
    EXPECT_EQ(t.Decimals, 1);
    EXPECT_EQ(t.MajorStep, 5);
    EXPECT_EQ(t.MinorStep, 1);
    EXPECT_EQ(t.FirstMajor, 10);
    EXPECT_EQ(t.FirstMinor, 12);
    // Only 42 pixels: n = 2, one step over the whole range.
    ComputeAxisTicks(7, 13, 42, t, Axis::X, 32.3L, 12.3L);
    EXPECT_EQ(t.FirstMajor, 12.3L);
    EXPECT_EQ(t.MajorStep, 32.3L - 12.3L);
}

TEST(AxisTicks, XTicksLeftOfThePlotAreSkippedWithTheirLabels)
{
    const ViewTransform v = View(12.3L, 32.3L, -10, 10, 300, 100);
    TAxisTicks t;
    ComputeAxisTicks(7, 13, 300, t, Axis::X, v.ViewXMax, v.ViewXMin);
    const StripLayout x = LayoutAxisX(v, t, 49, 349, Width7);
    // The major tick at 10 m and the minor one at 12 m lie left of the plot.
    EXPECT_EQ(Texts(x), (std::vector<std::string>{"15,0", "20,0", "25,0", "30,0"}));
    for (const StripLine& l : x.Ticks)
        EXPECT_GE(l.X1, 49);
    EXPECT_EQ(x.Ticks.size(), 20u + 4u); // minor 13..32, major 15..30
    // Label centred under its tick at y = 10: 15 m is 2.7 m = 40.5 px in.
    EXPECT_EQ(x.Labels[0].X, 49 + 40 - 14);
    EXPECT_EQ(x.Labels[0].Y, 10);
    // A label that would reach the strip's right edge is left out.
    const StripLayout narrow = LayoutAxisX(v, t, 49, 49 + 265 + 14, Width7);
    EXPECT_EQ(Texts(narrow).back(), "25,0");
}

TEST(AxisTicks, YLabelsTouchingTopOrBelowBottomAreNotDrawnButTicksAre)
{
    const ViewTransform v = View(0, 10, 0, 100, 300, 100);
    TAxisTicks t;
    ComputeAxisTicks(7, 13, 100, t, Axis::Y, 100, 0); // n = 6: 50 / 10
    ASSERT_EQ(t.MajorStep, 50);
    const StripLayout y = LayoutAxisY(v, t, 49, 13, Width7);
    EXPECT_EQ(Texts(y), (std::vector<std::string>{"50"}));
    int majors = 0;
    for (const StripLine& l : y.Ticks)
        majors += l.X2 == 40;
    EXPECT_EQ(majors, 3); // 0 at the bottom, 50, 100 at the top
}

TEST(AxisTicks, DegenerateRangesDrawNothingAndNeverLoop)
{
    TAxisTicks t;
    ComputeAxisTicks(7, 13, 200, t, Axis::X, 5, 5);
    EXPECT_EQ(t.MajorStep, 0);
    EXPECT_TRUE(TickValues(t.FirstMajor, t.MajorStep, 5).empty());
    ComputeAxisTicks(7, 13, 200, t, Axis::Y, -1e11L, 1e11L); // the empty initial window
    EXPECT_EQ(t.MinorStep, 0);
    // A step too small to move the value ends the walk.
    EXPECT_EQ(TickValues(1e20L, 1, 1e20L + 100000).size(), 1u);
    EXPECT_EQ(TickValues(0, 0.25L, 1).size(), 5u);
}

TEST(AxisTicks, LabelTexts)
{
    EXPECT_EQ(FormatAxisLabel(50, 0), "50");
    EXPECT_EQ(FormatAxisLabel(-0.0L, 0), "0");
    EXPECT_EQ(FormatAxisLabel(2.5L, 2), "2,50");
    EXPECT_EQ(FormatAxisLabel(-12.25L, 1), "-12,3");
    EXPECT_EQ(FormatAxisLabel(1234567.5L, 1), "1234567,5");
    // Sums of steps that come out a hair off zero still read as zero.
    EXPECT_EQ(FormatAxisLabel(-0.3L + 0.1L + 0.1L + 0.1L, 2), "0,00");
    const std::string big = FormatAxisLabel(123456789012.0L, 0);
    EXPECT_NE(big.find('E'), std::string::npos) << big;
}

} // namespace
} // namespace lumidrax
