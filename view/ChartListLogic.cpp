#include "ChartListLogic.h"

#include "NumberText.h"
#include "Utf8Text.h"

#include <algorithm>

namespace lumidrax {

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

std::string NotDrawnReason(const TMereni& charts, const std::vector<int>& which)
{
    if (charts.ShownCount < kMaxShown)
        return {};
    std::vector<int> hidden;
    for (int i : which)
        if (IsChart(charts, i) && !charts.Rec(i).Shown)
            hidden.push_back(i);
    if (hidden.empty())
        return {};
    std::string names;
    for (std::size_t k = 0; k < hidden.size(); ++k)
        names += (k == 0 ? "" : ", ") + std::to_string(hidden[k]);
    const bool one = hidden.size() == 1;
    return std::string(one ? "Chart " : "Charts ") + names + (one ? " is" : " are") + " not drawn: at most " +
           std::to_string(kMaxShown) + " charts are drawn at a time. Hide a drawn chart (F8) to draw " +
           (one ? "it." : "them.");
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
