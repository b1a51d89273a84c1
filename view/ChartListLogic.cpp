#include "ChartListLogic.h"

#include "NumberText.h"
#include "Utf8Text.h"

#include <algorithm>

namespace lumidrax {

namespace {

bool IsChart(const TMereni& charts, int i)
{
    return i >= 1 && i <= charts.Count;
}

// Keeps a cursor on a sample of chart i (1..SampleCount, 0 for an empty
// chart) and renews its distance and level.
void PlaceCursor(const TMereni& charts, int i, int& cursor, long double& x, long double& y)
{
    const TJednoMereni& c = charts.Rec(i);
    cursor = std::clamp(cursor, std::min(1, c.SampleCount), c.SampleCount);
    x = cursor >= 1 ? SampleDistance(c, cursor) : c.XStart;
    y = cursor >= 1 ? c.Sample(cursor) : 0;
}

} // namespace

ChartCommandStates ComputeCommandStates(const TMereni& charts, const std::vector<int>& selectedCharts,
                                        int listItemCount)
{
    ChartCommandStates s;
    const int selected = static_cast<int>(selectedCharts.size());
    const bool loaded = charts.Count > 0;
    const bool displayed = charts.ShownCount > 0;
    const bool reference = IsChart(charts, charts.RefIndex);

    bool selectedHidden = false;
    bool selectedShown = false;
    for (int i : selectedCharts) {
        if (!IsChart(charts, i))
            continue;
        (charts.Rec(i).Shown ? selectedShown : selectedHidden) = true;
    }
    bool everyHasLocation = loaded;
    for (int i = 1; i <= charts.Count && everyHasLocation; ++i)
        everyHasLocation = !charts.Rec(i).FileName.empty() || !charts.Rec(i).AutoFileName.empty();

    s.Open = charts.Count < kMaxCharts;
    s.CloseSelected = selected >= 1;
    s.CloseAll = loaded;
    s.SaveSelected = selected >= 1;
    s.SaveAll = everyHasLocation;
    s.SaveAs = selected == 1;
    s.Print = displayed;
    s.CopyToClipboard = displayed;
    s.DisplaySelected = selectedHidden && charts.ShownCount < kMaxShown;
    s.HideSelected = selectedShown;
    s.RefInfo = reference;
    s.RefFilter = reference && charts.Rec(charts.RefIndex).FilterPost <= 1;
    s.RefColor = reference;
    s.LineWidth = displayed;
    s.SelectAll = selected < listItemCount;
    s.Average = selected >= 2;
    s.DisplayHideToggle = selected >= 1;
    s.EditDescription = selected >= 1;
    s.CloseMenu = s.CloseSelected || s.CloseAll;
    s.SaveMenu = s.SaveSelected || s.SaveAll || s.SaveAs;
    return s;
}

ChartListModeItems ChartListModeStates(int mode)
{
    ChartListModeItems m;
    m.ShowAllChecked = mode == kListModeAll;
    m.ShowAllEnabled = !m.ShowAllChecked;
    m.ShowDisplayedChecked = mode == kListModeDisplayed;
    m.ShowDisplayedEnabled = !m.ShowDisplayedChecked;
    m.HideChecked = mode == kListModeHidden;
    m.HideEnabled = !m.HideChecked;
    m.HeightEnabled = mode != kListModeHidden;
    return m;
}

std::string DescriptionEditorCaption(int selectedCount)
{
    return "Description of " + std::to_string(selectedCount) + " selected curves";
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
    charts.ActiveIndex = IsChart(charts, charts.RefIndex) ? charts.RefIndex : 0;
    charts.ActiveCursor = charts.ActiveIndex ? charts.RefCursor : 0;
    charts.ActiveCursorX = charts.RefCursorX;
    charts.ActiveCursorY = charts.RefCursorY;
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
    charts.ViewXMin = charts.FullXMin;
    charts.ViewXMax = charts.FullXMax;
    charts.ViewYMin = charts.FullYMin;
    charts.ViewYMax = charts.FullYMax;
    return true;
}

int ShowSelectedCharts(TMereni& charts, const std::vector<int>& selectedCharts)
{
    int shown = 0;
    int last = 0;
    for (int i : selectedCharts) {
        if (charts.ShownCount >= kMaxShown)
            break;
        if (!IsChart(charts, i) || charts.Rec(i).Shown)
            continue;
        TJednoMereni& c = charts.Rec(i);
        const int slot = charts.FirstFreeSlot();
        if (slot < 1)
            break;
        charts.SlotFree[static_cast<std::size_t>(slot)] = false;
        c.ColorSlot = slot;
        c.Color = SlotColour(slot, charts.Scheme);
        c.Shown = true;
        ++charts.ShownCount;
        ++shown;
        last = i;
    }
    if (shown > 0 && charts.ShownCount == 1) {
        SetReferenceChart(charts, last);
        charts.ActiveIndex = charts.RefIndex;
        charts.ActiveCursor = charts.RefCursor;
        charts.ActiveCursorX = charts.RefCursorX;
        charts.ActiveCursorY = charts.RefCursorY;
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

ListHeightStep IncreaseListHeight(int plotHeight, int listHeight)
{
    if (plotHeight >= 101)
        return {listHeight + kListItemHeight, true};
    return {listHeight, false};
}

ListHeightStep DecreaseListHeight(int listHeight)
{
    if (listHeight >= 41)
        return {listHeight - kListItemHeight, true};
    return {listHeight, false};
}

InPlaceEditRow PlaceInPlaceEditor(int row, int topRow, int visibleRows)
{
    InPlaceEditRow out;
    out.TopRow = topRow;
    if (row < topRow || row > topRow + std::max(visibleRows, 1) - 1)
        out.TopRow = row;
    out.Y = (row - out.TopRow) * kListItemHeight;
    return out;
}

std::string StatusBitsText(int value)
{
    std::string out;
    long long rest = value;
    for (int bit = 128; bit >= 2; bit /= 2) {
        if (rest >= bit) {
            out += '1';
            rest -= bit;
        } else {
            out += '0';
        }
    }
    return out + std::to_string(rest) + " (" + std::to_string(value) + ")";
}

std::vector<ValueRow> ChartValueRows(const TJednoMereni& c)
{
    auto i = [](long long v) { return std::to_string(v); };
    auto g = [](long double v) { return FormatGeneral(v); };
    return {
        {"Interval", i(c.Interval)},
        {"Velocity", g(c.Velocity)},
        {"Impedance", i(c.Impedance)},
        {"Noise", i(c.Noise)},
        {"DC", i(c.DC)},
        {"Filter", i(c.Filter)},
        {"Pozice0X", i(c.Pozice0X)},
        {"FilterPost", i(c.FilterPost)},
        {"Pozice0Y", i(c.Pozice0Y)},
        {"NegEdge", i(c.NegEdge)},
        {"StatusIDX", StatusBitsText(c.StatusIDX)},
        {"DCResistance", i(c.DCResistance)},
        {"DCVoltage", i(c.DCVoltage)},
        {"DatumCas", c.DatumCas},
        {"SeriePrvni", i(c.SeriePrvni)},
        {"SeriePosledni", i(c.SeriePosledni)},
        {"SerialNumber", i(c.SerialNumber)},
        {"DCResistanceSingle", g(c.DCResistanceSingle)},
        {"DCVoltageSingle", g(c.DCVoltageSingle)},
        {"Pozice0YSingle", g(c.Pozice0YSingle)},
        {"VerzeVKR", c.VerzeVKR},
        {"Index", i(c.Index)},
        {"DCVoltageStr", c.DCVoltageStr},
        {"DCResistStr", c.DCResistStr},
    };
}

} // namespace lumidrax
