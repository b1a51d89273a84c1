// The rules of the chart collection without a window: the rebuilt list and
// the selection's effect on the active and reference charts, the state after
// charts were closed, showing and hiding charts with their colour slots, and
// the descriptions of several charts.

#include "CollectionRules.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

namespace lumidrax {
namespace {

TJednoMereni Record(const std::string& file, bool isNew)
{
    return test::RampChart(file, isNew);
}

// Appends a chart as an add operation does: a drawn chart becomes the
// reference.
TJednoMereni& Add(TMereni& m, const std::string& file = "", bool isNew = true)
{
    TJednoMereni& r = m.AppendRecord(Record(file, isNew));
    if (r.Shown)
        m.SetReference(m.Count);
    return r;
}

// n charts as loading leaves them: the first ten drawn, no reference.
TMereni WithCharts(int n)
{
    TMereni m;
    for (int i = 1; i <= n; ++i)
        m.AppendRecord(Record("/c" + std::to_string(i) + ".ndt", false));
    return m;
}

std::vector<int> Slots(const TMereni& m)
{
    std::vector<int> out;
    for (int i = 1; i <= m.Count; ++i)
        out.push_back(m.Rec(i).ColorSlot);
    return out;
}

TEST(CollectionRules, RefillSelectsNewChartsAndMovesTheReference)
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

TEST(CollectionRules, ASingleNewHiddenChartNeverBecomesTheReference)
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

TEST(CollectionRules, SyncFromListSetsActiveAndReferenceFromTheSelection)
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

TEST(CollectionRules, AfterAddingAndClosingTheActiveAndReferenceStayValid)
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

TEST(ChartVisibility, HidingFreesTheSlotAndShowingTakesTheLowestFreeOne)
{
    TMereni m = WithCharts(12);
    ASSERT_EQ(Slots(m), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 0, 0}));

    EXPECT_EQ(HideSelectedCharts(m, {3, 7, 11}), 2); // 11 was hidden already
    EXPECT_EQ(m.ShownCount, 8);
    EXPECT_EQ(m.Rec(3).Color, kWhite);
    EXPECT_FALSE(m.Rec(7).Shown);
    EXPECT_TRUE(m.SlotFree[3] && m.SlotFree[7]);

    // Chart 12 takes slot 3 (the lowest free), chart 11 slot 7.
    EXPECT_EQ(ShowSelectedCharts(m, {12, 11}), 2);
    EXPECT_EQ(Slots(m), (std::vector<int>{1, 2, 0, 4, 5, 6, 0, 8, 9, 10, 7, 3}));
    EXPECT_EQ(m.Rec(12).Color, SlotColour(3, m.Scheme));
    EXPECT_EQ(m.Rec(11).Color, SlotColour(7, m.Scheme));
    EXPECT_EQ(m.ShownCount, 10);

    // An eleventh chart is not shown; nothing else changes.
    EXPECT_EQ(ShowSelectedCharts(m, {3, 7}), 0);
    EXPECT_FALSE(m.Rec(3).Shown);
    EXPECT_EQ(m.ShownCount, 10);

    // The dark scheme gives a newly shown chart that scheme's slot colour.
    HideSelectedCharts(m, {1});
    m.Scheme = ColourScheme::Dark;
    ShowSelectedCharts(m, {3});
    EXPECT_EQ(m.Rec(3).ColorSlot, 1);
    EXPECT_EQ(m.Rec(3).Color, SlotColour(1, ColourScheme::Dark));
}

TEST(ChartVisibility, TheOnlyShownChartBecomesReferenceAndActiveAndHidingClearsThem)
{
    TMereni m = WithCharts(3);
    HideSelectedCharts(m, {1, 2, 3});
    EXPECT_EQ(m.ShownCount, 0);
    EXPECT_EQ(m.RefIndex, 0);
    EXPECT_EQ(m.ActiveIndex, 0);

    ShowSelectedCharts(m, {2});
    EXPECT_EQ(m.RefIndex, 2);
    EXPECT_EQ(m.ActiveIndex, 2);
    EXPECT_EQ(m.ActiveCursor, m.RefCursor);
    EXPECT_GE(m.RefCursor, 1);
    // With one chart drawn the view is its range (with the margins).
    EXPECT_TRUE(m.ViewIsFull());
    EXPECT_LT(m.ViewXMin, m.Rec(2).XStart);
    EXPECT_GT(m.ViewXMax, m.Rec(2).XEnd);

    // A second chart shown leaves the reference where it was.
    ShowSelectedCharts(m, {3});
    EXPECT_EQ(m.RefIndex, 2);

    // Hiding the reference clears it; the active chart 2 goes with it.
    HideSelectedCharts(m, {2});
    EXPECT_EQ(m.RefIndex, 0);
    EXPECT_EQ(m.RefCursor, 0);
    EXPECT_EQ(m.ActiveIndex, 0);
    // Hiding a chart that is neither keeps both.
    ShowSelectedCharts(m, {1});
    m.SetReference(3);
    m.ActiveIndex = 3;
    HideSelectedCharts(m, {1});
    EXPECT_EQ(m.RefIndex, 3);
    EXPECT_EQ(m.ActiveIndex, 3);
}

TEST(ChartVisibility, ToggleHidesShowsAndDecidesAMixedSelectionByTheCount)
{
    TMereni m = WithCharts(12); // 1..10 drawn, 11 and 12 hidden
    EXPECT_FALSE(ToggleShows(m, {}));
    EXPECT_FALSE(ToggleShows(m, {1, 2}));
    EXPECT_TRUE(ToggleShows(m, {11, 12}));
    // Mixed with ten drawn: hide.
    EXPECT_FALSE(ToggleSelectedCharts(m, {1, 11}));
    EXPECT_FALSE(m.Rec(1).Shown);
    EXPECT_FALSE(m.Rec(11).Shown);
    EXPECT_EQ(m.ShownCount, 9);
    // Mixed with nine drawn: show; chart 1 takes the freed slot 1, chart 2
    // stays drawn.
    EXPECT_TRUE(ToggleSelectedCharts(m, {1, 2}));
    EXPECT_TRUE(m.Rec(1).Shown);
    EXPECT_EQ(m.Rec(1).ColorSlot, 1);
    EXPECT_TRUE(m.Rec(2).Shown);
    // A hidden selection is shown, here with ten drawn: nothing changes.
    EXPECT_TRUE(ToggleSelectedCharts(m, {11, 12}));
    EXPECT_EQ(m.ShownCount, 10);
    EXPECT_FALSE(m.Rec(11).Shown);
}

TEST(CollectionRules, DescriptionsOfSeveralCharts)
{
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
