// The chart list's decisions without a window: command states, shortened
// names, the rebuilt list and the selection's effect on the active and
// reference charts.

#include "ChartListLogic.h"

#include <gtest/gtest.h>

namespace lumidrax {
namespace {

// Appends a chart as an add operation does: 101 samples, 0,2 m apart,
// level = sample number.
TJednoMereni& Add(TMereni& m, const std::string& file = "", bool isNew = true)
{
    TJednoMereni c;
    c.Interval = 2000;
    c.Velocity = 0.66L;
    c.Pozice0X = 1;
    c.FilterPost = 1;
    c.FileName = file;
    c.DisplayName = file;
    c.Saved = !file.empty();
    c.IsNew = isNew;
    std::vector<long double> s;
    for (int k = 1; k <= 101; ++k)
        s.push_back(k);
    c.SetSamples(s);
    TJednoMereni& r = m.AppendRecord(std::move(c));
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

TEST(ChartListLogic, RefillSelectsNewChartsAndMovesTheReference)
{
    TMereni m;
    Add(m, "/a.ndt", false);
    Add(m, "/b.ndt", false);
    Add(m, "/c.ndt", true);
    m.Rec(2).IsNew = false;
    ChartListContent c = RefillChartItems(m, kListModeAll);
    EXPECT_EQ(c.Items, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(c.Selected, std::vector<int>{3});
    EXPECT_EQ(m.RefIndex, 3);
    EXPECT_FALSE(m.Rec(3).IsNew);

    // Nothing new: nothing selected, the reference stays.
    c = RefillChartItems(m, kListModeAll);
    EXPECT_TRUE(c.Selected.empty());
    EXPECT_EQ(m.RefIndex, 3);

    // Two new charts: both selected, no reference.
    Add(m, "/d.ndt");
    Add(m, "/e.ndt");
    c = RefillChartItems(m, kListModeAll);
    EXPECT_EQ(c.Selected, (std::vector<int>{4, 5}));
    EXPECT_EQ(m.RefIndex, 0);
    EXPECT_EQ(m.RefCursor, 0);

    // Mode 1 lists displayed charts only, and still clears every flag.
    for (int i = 6; i <= 11; ++i)
        Add(m, "/f" + std::to_string(i) + ".ndt");
    c = RefillChartItems(m, kListModeDisplayed);
    EXPECT_EQ(c.Items.size(), 10u);
    EXPECT_EQ(c.Items.back(), 10);
    EXPECT_EQ(c.Selected.size(), 5u);
    EXPECT_FALSE(m.Rec(11).IsNew);
}

TEST(ChartListLogic, ASingleNewHiddenChartNeverBecomesTheReference)
{
    TMereni m;
    for (int i = 1; i <= 10; ++i)
        Add(m, "/c" + std::to_string(i) + ".ndt", false);
    m.SetReference(4);
    Add(m, "/hidden.ndt", true);
    const ChartListContent c = RefillChartItems(m, kListModeAll);
    EXPECT_EQ(c.Selected, std::vector<int>{11});
    EXPECT_EQ(m.RefIndex, 0);
}

TEST(ChartListLogic, SyncFromListSetsActiveAndReferenceFromTheSelection)
{
    TMereni m;
    Add(m, "/a.ndt");
    Add(m, "/b.ndt");
    TJednoMereni& shortChart = Add(m, "/c.ndt");
    shortChart.SetSamples({1, 2, 3}); // only 0..0,4 m
    m.ComputeChartRange();

    // Current row chart 1, the active cursor at 10 m, chart 2 selected alone.
    m.ActiveCursorX = 10;
    SyncChartsFromList(m, 1, {2});
    EXPECT_EQ(m.ActiveIndex, 1);
    EXPECT_EQ(m.ActiveCursor, 51); // 10 m / 0,2 m + 1
    EXPECT_DOUBLE_EQ(static_cast<double>(m.ActiveCursorY), 51.0);
    EXPECT_EQ(m.RefIndex, 2);

    // The reference keeps its distance on the next chart.
    m.RefCursor = 21; // 4 m on chart 2
    SyncChartsFromList(m, 1, {1});
    EXPECT_EQ(m.RefIndex, 1);
    EXPECT_EQ(m.RefCursor, 21);

    // Two displayed charts selected: no reference.
    SyncChartsFromList(m, 1, {1, 2});
    EXPECT_EQ(m.RefIndex, 0);
    EXPECT_EQ(m.RefCursor, 0);

    // A short chart: both cursors stay on its samples.
    m.RefIndex = 1;
    m.RefCursor = 51;
    SyncChartsFromList(m, 3, {3});
    EXPECT_EQ(m.ActiveIndex, 3);
    EXPECT_EQ(m.ActiveCursor, 3);
    EXPECT_EQ(m.RefIndex, 3);
    EXPECT_EQ(m.RefCursor, 3);
    EXPECT_DOUBLE_EQ(static_cast<double>(m.RefCursorY), 3.0);
}

TEST(ChartListLogic, AfterAddingAndClosingTheActiveAndReferenceStayValid)
{
    TMereni m;
    Add(m, "/a.ndt");
    ReferenceLastAddedChart(m);
    ActiveFollowsReference(m);
    EXPECT_EQ(m.RefIndex, 1);
    EXPECT_EQ(m.ActiveIndex, 1);
    EXPECT_EQ(m.ActiveCursor, m.RefCursor);

    Add(m, "/b.ndt");
    ReferenceLastAddedChart(m);
    ActiveFollowsReference(m); // more than one chart and an active one: unchanged
    EXPECT_EQ(m.RefIndex, 2);
    EXPECT_EQ(m.ActiveIndex, 1);

    // Close chart 2, the reference: the reference goes, active stays.
    m.DeleteChart(2);
    EXPECT_FALSE(RefreshChartState(m));
    EXPECT_EQ(m.RefIndex, 0);
    EXPECT_EQ(m.ActiveIndex, 1);

    // Close the last one: nothing active, the view is the empty extent.
    m.ClearAll();
    EXPECT_TRUE(RefreshChartState(m));
    EXPECT_EQ(m.ActiveIndex, 0);
    EXPECT_EQ(m.ViewXMin, m.FullXMin);
    EXPECT_EQ(m.ViewYMax, m.FullYMax);
}

TEST(ChartListLogic, ModeItemsAndDescriptionsOfSeveralCharts)
{
    EXPECT_EQ(ChartListModeStates(kListModeAll),
              (ChartListModeItems{true, false, false, true, false, true, true}));
    EXPECT_EQ(ChartListModeStates(kListModeDisplayed),
              (ChartListModeItems{false, true, true, false, false, true, true}));
    // Hidden: the height commands are off.
    EXPECT_EQ(ChartListModeStates(kListModeHidden),
              (ChartListModeItems{false, true, false, true, true, false, false}));

    EXPECT_EQ(DescriptionEditorCaption(3), "Description of 3 selected curves");
    TMereni m;
    Add(m, "/a.ndt").Description = "pair 1";
    Add(m, "/b.ndt").Description = "pair 1";
    Add(m, "/c.ndt").Description = "pair 2";
    EXPECT_EQ(CommonDescription(m, {1, 2}), "pair 1");
    EXPECT_EQ(CommonDescription(m, {1, 2, 3}), "");
    SetDescriptions(m, {2, 3}, "spliced");
    EXPECT_EQ(m.Rec(1).Description, "pair 1");
    EXPECT_TRUE(m.Rec(1).Saved);
    EXPECT_EQ(m.Rec(2).Description, "spliced");
    EXPECT_FALSE(m.Rec(2).Saved);
    EXPECT_EQ(CommonDescription(m, {2, 3}), "spliced");
}

} // namespace
} // namespace lumidrax
