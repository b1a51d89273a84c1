#include "ViewTransform.h"
#include "TMereni.h"
#include "TruncQuotient.h"

#include "ViewAt.h"

#include <gtest/gtest.h>

namespace lumidrax {
namespace {

ViewTransform View(long double x0, long double x1, long double y0, long double y1, int w, int h)
{
    return test::ViewAt(x0, x1, y0, y1, w, h);
}

TEST(ViewTransform, ScalesAreZeroWithoutDisplayedChartOrWhenMinimised)
{
    ViewTransform v = View(0, 100, -50, 50, 200, 100);
    EXPECT_EQ(v.PixPerX, 2);
    EXPECT_EQ(v.XPerPix, 0.5);
    EXPECT_EQ(v.PixPerY, 1);
    EXPECT_EQ(v.YPerPix, 1);
    EXPECT_TRUE(v.HasScales());

    v.UpdateScales(0);
    EXPECT_EQ(v.PixPerX, 0);
    EXPECT_EQ(v.PixPerY, 0);
    EXPECT_EQ(v.XPerPix, 0);
    EXPECT_EQ(v.YPerPix, 0);
    EXPECT_FALSE(v.HasScales());

    v.UpdateScales(3, true);
    EXPECT_EQ(v.XPerPix, 0);
    // Conversions on zero scales stay defined instead of dividing by zero.
    EXPECT_EQ(v.ValueToPixel(Axis::X, 10), 0);
    EXPECT_EQ(v.ValueToPixel(Axis::Y, 10), 100);
}

TEST(ViewTransform, PixelsAreTruncatedTowardZero)
{
    // 0.4 m per pixel, 0.5 % per pixel.
    const ViewTransform v = View(10, 90, -25, 25, 200, 100);
    EXPECT_EQ(v.ValueToPixel(Axis::X, 10), 0);
    EXPECT_EQ(v.ValueToPixel(Axis::X, 10.79L), 1); // 1.975 -> 1
    EXPECT_EQ(v.ValueToPixel(Axis::X, 9.7L), 0);   // -0.75 -> 0, not -1
    EXPECT_EQ(v.ValueToPixel(Axis::X, 9.5L), -1);  // -1.25 -> -1
    EXPECT_EQ(v.ValueToPixel(Axis::X, 90), 200);
    EXPECT_EQ(v.ValueToPixel(Axis::Y, -25), 100); // bottom edge
    EXPECT_EQ(v.ValueToPixel(Axis::Y, 25), 0);
    EXPECT_EQ(v.ValueToPixel(Axis::Y, 0.3L), 50);    // 100 - trunc(50.6)
    EXPECT_EQ(v.ValueToPixel(Axis::Y, -25.3L), 100); // 100 - trunc(-0.6)
    EXPECT_EQ(v.ValueToPixel(Axis::Y, -26L), 102);

    EXPECT_EQ(v.PixelToValue(0, Axis::X), 10);
    EXPECT_NEAR(static_cast<double>(v.PixelToValue(25, Axis::X)), 20.0, 1e-12);
    EXPECT_EQ(v.PixelToValue(0, Axis::Y), 25);
    EXPECT_EQ(v.PixelToValue(100, Axis::Y), -25);
    EXPECT_EQ(v.PixelToValue(30, Axis::Y), 10);

    // Far-off values are held within the int range.
    EXPECT_GT(v.ValueToPixel(Axis::X, 1e30L), 1000000000);
    EXPECT_LT(v.ValueToPixel(Axis::Y, 1e30L), -1000000000);
}

TEST(ViewTransform, TakesTheCollectionsViewWindow)
{
    TMereni m;
    m.ViewXMin = -5;
    m.ViewXMax = 95;
    m.ViewYMin = -110;
    m.ViewYMax = 110;
    const ViewTransform v(m, 400, 220);
    EXPECT_EQ(v.ViewXMin, -5);
    EXPECT_EQ(v.ViewXMax, 95);
    EXPECT_EQ(v.ViewYMin, -110);
    EXPECT_EQ(v.ViewYMax, 110);
    EXPECT_EQ(v.PlotWidth, 400);
    EXPECT_EQ(v.PlotHeight, 220);
    EXPECT_EQ(v.XPerPix, 0); // not computed until UpdateScales
}

TEST(ViewTransform, DistanceToSampleClampsAndRoundsTiesToEven)
{
    TJednoMereni c;
    c.SetSamples(std::vector<long double>(10, 0));
    c.Step = 0.5L;
    c.XStart = -1;
    EXPECT_EQ(SampleDistance(c, 1), -1);
    EXPECT_EQ(SampleDistance(c, 10), 3.5L);
    EXPECT_EQ(DistanceToSample(c, -1.01L), 0);
    EXPECT_EQ(DistanceToSample(c, -1), 1);
    EXPECT_EQ(DistanceToSample(c, 3.6L), 10);
    EXPECT_EQ(DistanceToSample(c, 1000), 10);
    // Halfway: quotient 0.5 -> 0 (even), 1.5 -> 2, 2.5 -> 2.
    EXPECT_EQ(DistanceToSample(c, -0.75L), 1);
    EXPECT_EQ(DistanceToSample(c, -0.25L), 3);
    EXPECT_EQ(DistanceToSample(c, 0.25L), 3);
    EXPECT_EQ(DistanceToSample(c, 0.3L), 4);
}

TEST(ViewTransform, FastPixelQuotientMatchesTheExtendedDivision)
{
    // Divisors of real views (0.1 m per pixel is the classic trap: 0.3 / 0.1
    // lies just below 3 in extended precision) and values on and near every
    // pixel boundary.
    for (const long double d : {61.3L / 613, 0.1L, 0.2L, 120.0L / 240, 1.0L / 3, 329.78L / 1551, 7e-5L}) {
        const TruncQuotient fast(d);
        int mismatches = 0;
        for (int i = -3000; i <= 3000; ++i) {
            for (const long double a : {i * d, i * 0.1L, i * 0.05L, i * 0.2L + 0.1L, -i * d / 3}) {
                const long double q = a / d;
                if (fast(a) != static_cast<int>(q))
                    ++mismatches;
            }
        }
        EXPECT_EQ(mismatches, 0) << static_cast<double>(d);
    }
}

} // namespace
} // namespace lumidrax
