#include "CollectionRules.h"

#include <algorithm>

namespace lumidrax {

namespace {

// The active chart and cursor become those of the reference (none without
// a reference).
void ActiveTakesReference(TMereni& charts)
{
    charts.ActiveIndex = IsChart(charts, charts.RefIndex) ? charts.RefIndex : 0;
    charts.ActiveCursor = charts.ActiveIndex ? charts.RefCursor : 0;
    charts.ActiveCursorX = charts.RefCursorX;
    charts.ActiveCursorY = charts.RefCursorY;
}

} // namespace

void PlaceCursor(const TMereni& charts, int i, int& cursor, long double& x, long double& y)
{
    const TJednoMereni& c = charts.Rec(i);
    cursor = ClampToSamples(c, cursor);
    x = cursor >= 1 ? SampleDistance(c, cursor) : c.XStart;
    y = cursor >= 1 ? c.Sample(cursor) : 0;
}

void SetReferenceChart(TMereni& charts, int i)
{
    if (!IsChart(charts, i)) {
        charts.RefIndex = 0;
        charts.RefCursor = 0;
        return;
    }
    if (charts.RefIndex == i)
        return;
    charts.SetReference(i);
    PlaceCursor(charts, i, charts.RefCursor, charts.RefCursorX, charts.RefCursorY);
}

ChartListContent RefillChartItems(TMereni& charts, int mode)
{
    ChartListContent out;
    for (int i = 1; i <= charts.Count; ++i) {
        TJednoMereni& c = charts.Rec(i);
        if (mode != kListModeDisplayed || c.Shown) {
            out.Items.push_back(i);
            if (c.IsNew)
                out.Selected.push_back(i);
        }
        c.IsNew = false;
    }
    if (out.Selected.size() == 1) {
        const int i = out.Selected.front();
        // Only a displayed chart can carry the reference cursor.
        SetReferenceChart(charts, charts.Rec(i).Shown ? i : 0);
    } else if (out.Selected.size() > 1) {
        SetReferenceChart(charts, 0);
    }
    return out;
}

void SyncChartsFromList(TMereni& charts, int currentChart, const std::vector<int>& selectedCharts)
{
    if (IsChart(charts, currentChart)) {
        const TJednoMereni& c = charts.Rec(currentChart);
        charts.ActiveIndex = currentChart;
        charts.ActiveCursor = DistanceToSample(c, charts.ActiveCursorX);
        PlaceCursor(charts, currentChart, charts.ActiveCursor, charts.ActiveCursorX, charts.ActiveCursorY);
    } else {
        charts.ActiveIndex = 0;
        charts.ActiveCursor = 0;
    }

    int shownSelected = 0;
    int first = 0;
    for (int i : selectedCharts) {
        if (IsChart(charts, i) && charts.Rec(i).Shown) {
            if (shownSelected++ == 0)
                first = i;
        }
    }
    SetReferenceChart(charts, shownSelected == 1 ? first : 0);
}

void ReferenceLastAddedChart(TMereni& charts)
{
    if (charts.Count >= 1 && charts.Rec(charts.Count).Shown)
        SetReferenceChart(charts, charts.Count);
}

void ActiveFollowsReference(TMereni& charts)
{
    if (charts.Count > 1 && IsChart(charts, charts.ActiveIndex))
        return;
    ActiveTakesReference(charts);
}

bool RefreshChartState(TMereni& charts)
{
    charts.ActiveIndex = std::min(charts.ActiveIndex, charts.Count);
    if (IsChart(charts, charts.ActiveIndex))
        PlaceCursor(charts, charts.ActiveIndex, charts.ActiveCursor, charts.ActiveCursorX,
                    charts.ActiveCursorY);
    else
        charts.ActiveCursor = 0;
    if (IsChart(charts, charts.RefIndex) && charts.Rec(charts.RefIndex).Shown)
        PlaceCursor(charts, charts.RefIndex, charts.RefCursor, charts.RefCursorX, charts.RefCursorY);
    else
        SetReferenceChart(charts, 0);
    if (charts.Count > 0)
        return false;
    charts.SetViewToFull();
    return true;
}

int ShowSelectedCharts(TMereni& charts, const std::vector<int>& selectedCharts)
{
    int shown = 0;
    int last = 0;
    for (int i : selectedCharts) {
        if (!IsChart(charts, i) || charts.Rec(i).Shown)
            continue;
        // Ten charts drawn (or no slot free): nothing more is shown.
        if (!charts.TakeColourSlot(i))
            break;
        ++shown;
        last = i;
    }
    if (shown > 0 && charts.ShownCount == 1) {
        SetReferenceChart(charts, last);
        ActiveTakesReference(charts);
    }
    charts.ComputeFullRange(true);
    return shown;
}

int HideSelectedCharts(TMereni& charts, const std::vector<int>& selectedCharts)
{
    int hidden = 0;
    for (int i : selectedCharts) {
        if (!IsChart(charts, i) || !charts.Rec(i).Shown)
            continue;
        charts.ReleaseColourSlot(i);
        ++hidden;
    }
    if (IsChart(charts, charts.RefIndex) && !charts.Rec(charts.RefIndex).Shown)
        SetReferenceChart(charts, 0);
    if (IsChart(charts, charts.ActiveIndex) && !charts.Rec(charts.ActiveIndex).Shown) {
        charts.ActiveIndex = 0;
        charts.ActiveCursor = 0;
    }
    charts.ComputeFullRange(false);
    return hidden;
}

bool ToggleShows(const TMereni& charts, const std::vector<int>& selectedCharts)
{
    bool anyShown = false;
    bool anyHidden = false;
    for (int i : selectedCharts) {
        if (IsChart(charts, i))
            (charts.Rec(i).Shown ? anyShown : anyHidden) = true;
    }
    if (!anyHidden)
        return false;
    if (!anyShown)
        return true;
    return charts.ShownCount < kMaxShown;
}

bool ToggleSelectedCharts(TMereni& charts, const std::vector<int>& selectedCharts)
{
    const bool show = ToggleShows(charts, selectedCharts);
    if (show)
        ShowSelectedCharts(charts, selectedCharts);
    else
        HideSelectedCharts(charts, selectedCharts);
    return show;
}

std::string CommonDescription(const TMereni& charts, const std::vector<int>& selectedCharts)
{
    std::string common;
    bool first = true;
    for (int i : selectedCharts) {
        if (!IsChart(charts, i))
            continue;
        if (first) {
            common = charts.Rec(i).Description;
            first = false;
        } else if (charts.Rec(i).Description != common) {
            return {};
        }
    }
    return common;
}

void SetDescriptions(TMereni& charts, const std::vector<int>& selectedCharts, const std::string& text)
{
    for (int i : selectedCharts) {
        if (!IsChart(charts, i))
            continue;
        charts.Rec(i).Description = text;
        charts.Rec(i).Saved = false;
    }
}

} // namespace lumidrax
