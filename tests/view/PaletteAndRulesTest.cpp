#include "Palette.h"
#include "PixelLines.h"
#include "PlotRules.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace lumidrax {
namespace {

TJednoMereni Chart(long double step, int samples = 10)
{
    TJednoMereni c;
    c.SetSamples(std::vector<long double>(static_cast<std::size_t>(samples), 0));
    c.Step = step;
    return c;
}

TEST(Palette, BothSchemesEntryByEntry)
{
    const Palette light(false);
    const Palette dark(true);
    const RgbColor lightTable[17] = {0xFFFFFF, 0xFFFFFF, 0x000000, 0x000000, 0xC0C0C0, 0xC0C0C0,
                                     0x000000, 0xFFFFFF, 0xFFFFFF, 0xC0C0C0, 0xC0C0C0, 0xFFFFFF,
                                     0xFFFFFF, 0x3296DC, 0x3296DC, 0x000000, 0xFFFFFF};
    const RgbColor darkTable[17] = {0x000000, 0x000000, 0xFFFFFF, 0xFFFFFF, 0xC0C0C0, 0xC0C0C0,
                                    0xFFFFFF, 0x000000, 0x000000, 0xC0C0C0, 0xC0C0C0, 0x000000,
                                    0x000000, 0x3296DC, 0x3296DC, 0xFFFFFF, 0xFFFFFF};
    for (int i = 0; i < 17; ++i) {
        EXPECT_EQ(light.Entry(i), lightTable[i]) << "entry " << i;
        EXPECT_EQ(dark.Entry(i), darkTable[i]) << "entry " << i;
    }
    EXPECT_EQ(light.Entry(17), 0xFF0000u); // curve colour 1: red
    EXPECT_EQ(light.Entry(18), 0x4040FFu); // curve colour 2: blue
    EXPECT_EQ(light.Entry(26), 0x000000u); // curve colour 10: black on white
    EXPECT_EQ(dark.Entry(26), 0xFFFFFFu);  // ... white on black
    EXPECT_EQ(dark.Entry(17), 0xFF0000u);
    EXPECT_EQ(light.SlotEntry(2), light.Entry(18));
}

TEST(Palette, ApplyingASchemeRecoloursSlotChartsOnly)
{
    TMereni m;
    for (int i = 0; i < 11; ++i)
        m.AppendRecord(Chart(1));
    ASSERT_EQ(m.Rec(10).ColorSlot, 10);
    ASSERT_EQ(m.Rec(11).ColorSlot, 0); // the 11th is not drawn
    m.Rec(3).Color = 0x123456;         // chosen by hand
    m.Rec(11).Color = 0x654321;

    Palette p;
    ApplyColorScheme(p, m, true);
    EXPECT_TRUE(p.Dark());
    EXPECT_EQ(m.Rec(3).Color, SlotColour(3)); // back to the colour of its slot
    EXPECT_EQ(m.Rec(10).Color, 0xFFFFFFu);    // colour 10 turns white
    EXPECT_EQ(m.Rec(11).Color, 0x654321u);    // no slot: keeps its colour
    EXPECT_EQ(m.Scheme, ColourScheme::Dark);

    // Charts drawn later take the dark scheme's slot colours.
    m.ReleaseColourSlot(10);
    m.AppendRecord(Chart(1));
    EXPECT_EQ(m.Rec(12).ColorSlot, 10);
    EXPECT_EQ(m.Rec(12).Color, 0xFFFFFFu);

    ApplyColorScheme(p, m, false);
    EXPECT_EQ(m.Rec(12).Color, 0x000000u);
    EXPECT_EQ(p.Entry(Palette::kPlotBackground), 0xFFFFFFu);
}

TEST(Palette, AColourChosenForTheReferenceSurvivesSchemeChanges)
{
    TMereni m;
    m.AppendRecord(Chart(1));
    m.AppendRecord(Chart(1));
    m.SetReference(2);
    ASSERT_TRUE(SetReferenceColor(m, 0x123456));
    Palette p;
    ApplyColorScheme(p, m, true);
    ApplyColorScheme(p, m, false);
    EXPECT_EQ(m.Rec(2).Color, 0x123456u);
    EXPECT_EQ(m.Rec(1).Color, SlotColour(1));
    // Hidden and shown again, the chart takes its slot's colour once more.
    m.ReleaseColourSlot(2);
    ASSERT_TRUE(m.TakeColourSlot(2));
    EXPECT_EQ(m.Rec(2).Color, SlotColour(2));
    ApplyColorScheme(p, m, true);
    EXPECT_EQ(m.Rec(2).Color, p.SlotEntry(2));
}

TEST(PlotRules, PenWidthGrowsWhenOneSampleSpansMoreThanTenPixels)
{
    TMereni m;
    m.AppendRecord(Chart(0));
    m.AppendRecord(Chart(0));
    m.Rec(1).Step = 0.5L;
    m.Rec(2).Step = 2;
    m.ReleaseColourSlot(2); // hidden charts count as well
    for (int w : {1, 3, 5}) {
        ASSERT_TRUE(SetLineWidth(m, w));
        EXPECT_EQ(CurvePenWidth(m, 5), w); // 2 m * 5 px = 10: not above 10
        EXPECT_EQ(CurvePenWidth(m, 5.01L), w + 4);
    }
    EXPECT_FALSE(SetLineWidth(m, 2));
    EXPECT_FALSE(SetLineWidth(m, 0));
    EXPECT_EQ(m.LineWidth, 5);

    EXPECT_EQ(DotHalf(1), 0);
    EXPECT_EQ(DotHalf(3), 1);
    EXPECT_EQ(DotHalf(5), 2);
    EXPECT_EQ(DotHalf(7), 3);
    EXPECT_EQ(DotHalf(9), 4);
}

TEST(PlotRules, FirstVisibleSampleRoundsTiesToEvenAndStartsAtOne)
{
    TJednoMereni c = Chart(0.5L, 100);
    c.XStart = -1;
    EXPECT_EQ(FirstVisibleSample(c, -50), 1);
    EXPECT_EQ(FirstVisibleSample(c, -1), 1);
    EXPECT_EQ(FirstVisibleSample(c, -0.75L), 1); // quotient 0.5 -> 0
    EXPECT_EQ(FirstVisibleSample(c, -0.25L), 3); // 1.5 -> 2
    EXPECT_EQ(FirstVisibleSample(c, 0.25L), 3);  // 2.5 -> 2
    EXPECT_EQ(FirstVisibleSample(c, 10), 23);
    EXPECT_EQ(FirstVisibleSample(c, 1000), 2003); // beyond the chart: nothing drawn
}

TEST(PlotRules, ReferenceColourAndStatusText)
{
    TMereni m;
    EXPECT_FALSE(SetReferenceColor(m, 0x00FF00));
    EXPECT_EQ(CursorStatusText(m), std::optional<std::string>("neni"));

    TJednoMereni c = Chart(1);
    c.Description = "Pair 3";
    m.AppendRecord(c);
    m.AppendRecord(Chart(1));
    m.SetReference(2);
    ASSERT_EQ(m.RefIndex, 2);
    EXPECT_TRUE(SetReferenceColor(m, 0x00FF00));
    EXPECT_EQ(m.Rec(2).Color, 0x00FF00u);
    EXPECT_EQ(m.Rec(2).ColorSlot, 2);
    EXPECT_EQ(m.Rec(1).Color, SlotColour(1));

    m.ActiveIndex = 1;
    EXPECT_EQ(CursorStatusText(m), std::optional<std::string>("Pair 3"));
    m.ReleaseColourSlot(1);
    EXPECT_FALSE(CursorStatusText(m).has_value());
}

TEST(PixelLines, EndPointExcludedAndPatternsFromTheStart)
{
    std::vector<Pixel> px;
    AppendLinePixels(px, 48, 7, 43, 7);
    EXPECT_EQ(px, (std::vector<Pixel>{{48, 7}, {47, 7}, {46, 7}, {45, 7}, {44, 7}}));
    px.clear();
    AppendLinePixels(px, 3, 3, 3, 3);
    EXPECT_TRUE(px.empty());
    px.clear();
    AppendLinePixels(px, 0, 0, 4, 7); // steep diagonal: one pixel per row
    ASSERT_EQ(px.size(), 7u);
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(px[static_cast<std::size_t>(i)].Y, i);
    EXPECT_EQ(px.front(), (Pixel{0, 0}));

    px.clear();
    AppendLinePixels(px, 0, 0, 0, 12, LineStyle::Dot);
    EXPECT_EQ(px, (std::vector<Pixel>{{0, 0}, {0, 1}, {0, 2}, {0, 6}, {0, 7}, {0, 8}}));
    px.clear();
    AppendLinePixels(px, 0, 0, 24, 0, LineStyle::DashDot);
    std::vector<int> xs;
    for (const Pixel& p : px)
        xs.push_back(p.X);
    EXPECT_EQ(xs, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 15, 16, 17}));
}

TEST(PixelLines, CursorShapesTouchEveryPixelOnce)
{
    std::vector<Pixel> ring;
    AppendCursorRing(ring, 10, 10);
    EXPECT_EQ(std::count(ring.begin(), ring.end(), Pixel{10, 10}), 0);
    EXPECT_EQ(std::count(ring.begin(), ring.end(), Pixel{13, 10}), 1);
    EXPECT_EQ(std::count(ring.begin(), ring.end(), Pixel{13, 13}), 0);
    std::vector<Pixel> square;
    AppendCursorSquare(square, 10, 10);
    EXPECT_EQ(square.size(), 81u - 9u);
    EXPECT_EQ(std::count(square.begin(), square.end(), Pixel{6, 14}), 1);
    EXPECT_EQ(std::count(square.begin(), square.end(), Pixel{11, 11}), 0);
}

} // namespace
} // namespace lumidrax
