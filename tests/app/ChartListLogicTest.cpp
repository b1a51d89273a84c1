// The chart list's decisions without a window: command states, shortened
// names, the list modes. (The collection rules the list calls:
// tests/model/CollectionRulesTest.cpp.)

#include "ChartListLogic.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

namespace lumidrax {
namespace {

// Appends a chart as an add operation does: 101 samples, 0,2 m apart,
// level = sample number.
TJednoMereni& Add(TMereni& m, const std::string& file = "", bool isNew = true)
{
    TJednoMereni& r = m.AppendRecord(test::RampChart(file, isNew));
    if (r.Shown)
        m.SetReference(m.Count);
    return r;
}

// Fixed-pitch measure: 6 pixels per byte.
int Width(std::string_view s)
{
    return static_cast<int>(s.size()) * 6;
}

TEST(ChartListLogic, CommandStatesFollowChartsAndSelection)
{
    TMereni m;
    ChartCommandStates s = ComputeCommandStates(m, {}, 0);
    ChartCommandStates none;
    none.Open = true;
    EXPECT_EQ(s, none); // empty collection: only Open

    Add(m, "/a.ndt");
    Add(m, "/b.ndt");
    Add(m); // received, no file location yet
    m.RefIndex = 0;
    s = ComputeCommandStates(m, {}, 3);
    EXPECT_TRUE(s.Open);
    EXPECT_TRUE(s.CloseAll);
    EXPECT_TRUE(s.CloseMenu);
    EXPECT_FALSE(s.CloseSelected);
    EXPECT_FALSE(s.SaveSelected);
    EXPECT_FALSE(s.SaveAll); // chart 3 has neither file name
    EXPECT_FALSE(s.SaveMenu);
    EXPECT_TRUE(s.Print);
    EXPECT_TRUE(s.CopyToClipboard);
    EXPECT_TRUE(s.LineWidth);
    EXPECT_TRUE(s.SelectAll);
    EXPECT_FALSE(s.RefInfo);
    EXPECT_FALSE(s.RefFilter);
    EXPECT_FALSE(s.EditDescription);

    m.Rec(3).AutoFileName = "/data/26-12-08/120000.ndt";
    m.RefIndex = 2;
    s = ComputeCommandStates(m, {2}, 3);
    EXPECT_TRUE(s.SaveAll);
    EXPECT_TRUE(s.SaveAs);
    EXPECT_TRUE(s.SaveSelected);
    EXPECT_TRUE(s.CloseSelected);
    EXPECT_TRUE(s.HideSelected);
    EXPECT_FALSE(s.DisplaySelected);
    EXPECT_FALSE(s.Average);
    EXPECT_TRUE(s.DisplayHideToggle);
    EXPECT_TRUE(s.EditDescription);
    EXPECT_TRUE(s.RefInfo && s.RefColor && s.RefFilter);
    m.Rec(2).FilterPost = 5; // a filtered chart is not filtered again
    EXPECT_FALSE(ComputeCommandStates(m, {2}, 3).RefFilter);

    s = ComputeCommandStates(m, {1, 2, 3}, 3);
    EXPECT_FALSE(s.SaveAs);
    EXPECT_TRUE(s.Average);
    EXPECT_FALSE(s.SelectAll);

    // A list not yet refilled after charts were closed: numbers beyond Count
    // are ignored instead of read.
    s = ComputeCommandStates(m, {7}, 1);
    EXPECT_FALSE(s.HideSelected);
    EXPECT_FALSE(s.DisplaySelected);
}

TEST(ChartListLogic, EleventhChartIsListedWhiteAndOnlyDisplayableWhenASlotIsFree)
{
    TMereni m;
    for (int i = 1; i <= 11; ++i)
        Add(m, "/c" + std::to_string(i) + ".ndt");
    EXPECT_EQ(m.ShownCount, 10);
    EXPECT_FALSE(m.Rec(11).Shown);
    EXPECT_EQ(m.Rec(11).Color, kWhite);
    ChartCommandStates s = ComputeCommandStates(m, {11}, 11);
    EXPECT_FALSE(s.DisplaySelected);
    EXPECT_FALSE(s.HideSelected);
    m.ReleaseColourSlot(3);
    s = ComputeCommandStates(m, {11, 3}, 11);
    EXPECT_TRUE(s.DisplaySelected);
    EXPECT_FALSE(s.HideSelected);

    for (int i = 12; i <= kMaxCharts; ++i)
        Add(m);
    EXPECT_FALSE(ComputeCommandStates(m, {}, kMaxCharts).Open);
}

TEST(ChartListLogic, LongNamesKeepTheirEndAndLongDescriptionsTheirBeginning)
{
    // Fits: unchanged.
    EXPECT_EQ(ShortenFromLeft("/a/b.ndt", 48, Width), "/a/b.ndt");
    EXPECT_EQ(ShortenFromRight("short", 30, Width), "short");
    // 60 pixels = 10 characters: "..." and the last seven characters.
    EXPECT_EQ(ShortenFromLeft("/home/user/charts/cable-17.ndt", 60, Width), "...-17.ndt");
    // Description: two characters more per step from the end.
    EXPECT_EQ(ShortenFromRight("Cable 3, pair 2 after the repair", 60, Width), "Cable ...");
    EXPECT_EQ(ShortenFromRight("Cable 3, pair 2 after the repai", 60, Width), "Cable 3...");
    // No room at all: the shortening ends instead of looping.
    EXPECT_EQ(ShortenFromLeft("abcdef", 5, Width), "...");
    EXPECT_EQ(ShortenFromRight("abcdef", -100, Width), "...");
    // Characters, not bytes, are removed: no broken UTF-8.
    const std::string czech = "/data/\xc5\x99\xc5\xa1\xc4\x8d.ndt"; // ř š č
    const std::string cut = ShortenFromLeft(czech, 60, Width);
    EXPECT_EQ(cut, "...\xc4\x8d.ndt");
}

TEST(ChartListLogic, ModeItemsAndDescriptionEditorCaption)
{
    EXPECT_EQ(ChartListModeStates(kListModeAll),
              (ChartListModeItems{true, false, false, true, false, true, true}));
    EXPECT_EQ(ChartListModeStates(kListModeDisplayed),
              (ChartListModeItems{false, true, true, false, false, true, true}));
    // Hidden: the height commands are off.
    EXPECT_EQ(ChartListModeStates(kListModeHidden),
              (ChartListModeItems{false, true, false, true, true, false, false}));

    EXPECT_EQ(DescriptionEditorCaption(3), "Description of 3 selected curves");
}

TEST(ChartListLogic, NotDrawnReasonNamesChartsKeptHiddenByTheTenChartRule)
{
    TMereni m;
    for (int k = 0; k < 10; ++k)
        Add(m);
    m.ReleaseColourSlot(10); // hidden by the user: there is room for it
    EXPECT_EQ(NotDrawnReason(m, {10}), "");
    ASSERT_TRUE(m.TakeColourSlot(10));
    Add(m);
    Add(m);
    ASSERT_FALSE(m.Rec(11).Shown);
    EXPECT_EQ(NotDrawnReason(m, {11}), "Chart 11 is not drawn: at most 10 charts are drawn at a time. "
                                       "Hide a drawn chart (F8) to draw it.");
    EXPECT_EQ(NotDrawnReason(m, {3, 11, 12, 99}), "Charts 11, 12 are not drawn: at most 10 charts are drawn "
                                                  "at a time. Hide a drawn chart (F8) to draw them.");
    EXPECT_EQ(NotDrawnReason(m, {3}), "");
}

} // namespace
} // namespace lumidrax
