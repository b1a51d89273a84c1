// The list height steps, the in-place field's row, the "Values" rows and
// every row of the command enabling table, without a window. (Showing and
// hiding charts: tests/model/CollectionRulesTest.cpp.)

#include "ChartListLogic.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <functional>

namespace lumidrax {
namespace {

// A chart of 101 samples 0,2 m apart, level = sample number; `shown` as
// loading leaves it (the first ten loaded are drawn).
TJednoMereni& Add(TMereni& m, const std::string& file = "")
{
    TJednoMereni c = test::RampChart(file, false);
    c.DisplayName.clear();
    return m.AppendRecord(std::move(c));
}

TMereni WithCharts(int n)
{
    TMereni m;
    for (int i = 1; i <= n; ++i)
        Add(m, "/c" + std::to_string(i) + ".ndt");
    return m;
}

TEST(ChartListHeight, StepsByOneItemWithinThePlotAndListLimits)
{
    EXPECT_EQ(IncreaseListHeight(101, 80).Height, 96);
    EXPECT_TRUE(IncreaseListHeight(101, 80).Changed);
    EXPECT_FALSE(IncreaseListHeight(100, 80).Changed);
    EXPECT_EQ(IncreaseListHeight(100, 80).Height, 80);
    EXPECT_EQ(DecreaseListHeight(41).Height, 25);
    EXPECT_TRUE(DecreaseListHeight(41).Changed);
    EXPECT_FALSE(DecreaseListHeight(40).Changed);
    // Never below what the splitter accepts.
    EXPECT_GE(DecreaseListHeight(41).Height, kMinListHeight);
}

TEST(ChartListHeight, InPlaceFieldRowScrollsARowOutOfSightToTheTop)
{
    // Rows 5..9 visible.
    EXPECT_EQ(PlaceInPlaceEditor(7, 5, 5).TopRow, 5);
    EXPECT_EQ(PlaceInPlaceEditor(7, 5, 5).Y, 32);
    EXPECT_EQ(PlaceInPlaceEditor(9, 5, 5).TopRow, 5);
    EXPECT_EQ(PlaceInPlaceEditor(10, 5, 5).TopRow, 10);
    EXPECT_EQ(PlaceInPlaceEditor(10, 5, 5).Y, 0);
    EXPECT_EQ(PlaceInPlaceEditor(2, 5, 5).TopRow, 2);
    // A list too low for one full row still shows the edited row on top.
    EXPECT_EQ(PlaceInPlaceEditor(3, 0, 0).TopRow, 3);
}

TEST(ValuesWindowRows, ListEveryFieldWithStatusBits)
{
    EXPECT_EQ(StatusBitsText(5), "00000101 (5)");
    EXPECT_EQ(StatusBitsText(0), "00000000 (0)");
    EXPECT_EQ(StatusBitsText(255), "11111111 (255)");
    EXPECT_EQ(StatusBitsText(130), "10000010 (130)");
    // Beyond one byte the remainder keeps the rest of the value.
    EXPECT_EQ(StatusBitsText(300), "111111146 (300)");

    TJednoMereni c;
    c.Interval = 2000;
    c.Velocity = 0.66L;
    c.StatusIDX = 5;
    c.DatumCas = "08.12.2026 12:00:00";
    c.DCVoltageSingle = 1.5f;
    c.VerzeVKR = "VKR103";
    c.Index = 4;
    c.DCResistStr = "R > 20 MOhm";
    const std::vector<ValueRow> rows = ChartValueRows(c);
    ASSERT_EQ(rows.size(), 24u);
    const char* labels[24] = {
        "Interval",      "Velocity",     "Impedance",          "Noise",           "DC",
        "Filter",        "Pozice0X",     "FilterPost",         "Pozice0Y",        "NegEdge",
        "StatusIDX",     "DCResistance", "DCVoltage",          "DatumCas",        "SeriePrvni",
        "SeriePosledni", "SerialNumber", "DCResistanceSingle", "DCVoltageSingle", "Pozice0YSingle",
        "VerzeVKR",      "Index",        "DCVoltageStr",       "DCResistStr"};
    for (int r = 0; r < 24; ++r)
        EXPECT_EQ(rows[static_cast<std::size_t>(r)].Label, labels[r]) << r;
    EXPECT_EQ(rows[0].Value, "2000");
    EXPECT_EQ(rows[1].Value, "0,66");
    EXPECT_EQ(rows[10].Value, "00000101 (5)");
    EXPECT_EQ(rows[13].Value, "08.12.2026 12:00:00");
    EXPECT_EQ(rows[18].Value, "1,5");
    EXPECT_EQ(rows[20].Value, "VKR103");
    EXPECT_EQ(rows[21].Value, "4");
    EXPECT_EQ(rows[23].Value, "R > 20 MOhm");
}

// One row of the enabling table: a situation in which the command is
// enabled and one, as close as possible, in which it is not.
struct Situation {
    TMereni Charts;
    std::vector<int> Selected;
    int Items = 0;
};
struct TableRow {
    const char* Command;
    bool ChartCommandStates::*State;
    std::function<void(Situation&)> Enabled;
    std::function<void(Situation&)> Disabled;
};

void Loaded(Situation& s, int n)
{
    s.Charts = WithCharts(n);
    s.Items = n;
}

TEST(ChartCommandTable, EveryCommandFollowsItsRow)
{
    using S = ChartCommandStates;
    const std::vector<TableRow> table = {
        {"Open", &S::Open, [](Situation& s) { Loaded(s, 998); }, [](Situation& s) { Loaded(s, 999); }},
        {"close selected", &S::CloseSelected, [](Situation& s) { Loaded(s, 2), s.Selected = {2}; },
         [](Situation& s) { Loaded(s, 2); }},
        {"close all", &S::CloseAll, [](Situation& s) { Loaded(s, 1); }, [](Situation& s) { Loaded(s, 0); }},
        {"save selected", &S::SaveSelected, [](Situation& s) { Loaded(s, 2), s.Selected = {1}; },
         [](Situation& s) { Loaded(s, 2); }},
        {"save all", &S::SaveAll,
         [](Situation& s) {
             Loaded(s, 2);
             s.Charts.Rec(2).FileName.clear();
             s.Charts.Rec(2).AutoFileName = "/data/auto.ndt";
         },
         [](Situation& s) {
             Loaded(s, 2);
             s.Charts.Rec(2).FileName.clear();
         }},
        {"save all (nothing loaded)", &S::SaveAll, [](Situation& s) { Loaded(s, 1); },
         [](Situation& s) { Loaded(s, 0); }},
        {"save as", &S::SaveAs, [](Situation& s) { Loaded(s, 2), s.Selected = {2}; },
         [](Situation& s) {
             Loaded(s, 2), s.Selected = {1, 2};
         }},
        {"print", &S::Print, [](Situation& s) { Loaded(s, 1); },
         [](Situation& s) { Loaded(s, 1), HideSelectedCharts(s.Charts, {1}); }},
        {"copy", &S::CopyToClipboard, [](Situation& s) { Loaded(s, 1); },
         [](Situation& s) { Loaded(s, 1), HideSelectedCharts(s.Charts, {1}); }},
        {"display selected", &S::DisplaySelected,
         [](Situation& s) {
             Loaded(s, 10), HideSelectedCharts(s.Charts, {4}), s.Selected = {3, 4};
         },
         [](Situation& s) {
             Loaded(s, 11), s.Selected = {3, 11};
         }}, // ten drawn
        {"display selected (none hidden)", &S::DisplaySelected,
         [](Situation& s) { Loaded(s, 2), HideSelectedCharts(s.Charts, {2}), s.Selected = {2}; },
         [](Situation& s) { Loaded(s, 2), s.Selected = {2}; }},
        {"hide selected", &S::HideSelected,
         [](Situation& s) {
             Loaded(s, 11), s.Selected = {11, 1};
         },
         [](Situation& s) { Loaded(s, 11), s.Selected = {11}; }},
        {"ref info", &S::RefInfo, [](Situation& s) { Loaded(s, 1), s.Charts.SetReference(1); },
         [](Situation& s) { Loaded(s, 1), s.Charts.RefIndex = 0; }},
        {"ref filter", &S::RefFilter, [](Situation& s) { Loaded(s, 1), s.Charts.SetReference(1); },
         [](Situation& s) { Loaded(s, 1), s.Charts.SetReference(1), s.Charts.Rec(1).FilterPost = 2; }},
        {"ref filter (no reference)", &S::RefFilter,
         [](Situation& s) { Loaded(s, 1), s.Charts.SetReference(1); },
         [](Situation& s) { Loaded(s, 1), s.Charts.RefIndex = 0; }},
        {"ref colour", &S::RefColor, [](Situation& s) { Loaded(s, 1), s.Charts.SetReference(1); },
         [](Situation& s) { Loaded(s, 1), s.Charts.RefIndex = 0; }},
        {"line width", &S::LineWidth, [](Situation& s) { Loaded(s, 1); },
         [](Situation& s) { Loaded(s, 1), HideSelectedCharts(s.Charts, {1}); }},
        {"select all", &S::SelectAll,
         [](Situation& s) {
             Loaded(s, 3), s.Selected = {1, 2};
         },
         [](Situation& s) {
             Loaded(s, 3), s.Selected = {1, 2, 3};
         }},
        {"average", &S::Average,
         [](Situation& s) {
             Loaded(s, 3), s.Selected = {1, 3};
         },
         [](Situation& s) { Loaded(s, 3), s.Selected = {3}; }},
        {"toggle", &S::DisplayHideToggle, [](Situation& s) { Loaded(s, 2), s.Selected = {2}; },
         [](Situation& s) { Loaded(s, 2); }},
        {"edit description", &S::EditDescription, [](Situation& s) { Loaded(s, 2), s.Selected = {2}; },
         [](Situation& s) { Loaded(s, 2); }},
        {"File > Close", &S::CloseMenu, [](Situation& s) { Loaded(s, 1); },
         [](Situation& s) { Loaded(s, 0); }},
        {"File > Save (selected)", &S::SaveMenu,
         [](Situation& s) { Loaded(s, 1), s.Charts.Rec(1).FileName.clear(), s.Selected = {1}; },
         [](Situation& s) { Loaded(s, 1), s.Charts.Rec(1).FileName.clear(); }},
        {"File > Save (all)", &S::SaveMenu, [](Situation& s) { Loaded(s, 1); },
         [](Situation& s) { Loaded(s, 0); }},
    };
    for (const TableRow& row : table) {
        Situation on;
        row.Enabled(on);
        Situation off;
        row.Disabled(off);
        EXPECT_TRUE(ComputeCommandStates(on.Charts, on.Selected, on.Items).*row.State) << row.Command;
        EXPECT_FALSE(ComputeCommandStates(off.Charts, off.Selected, off.Items).*row.State) << row.Command;
    }
}

} // namespace
} // namespace lumidrax
