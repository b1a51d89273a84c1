#pragma once
// The chart collection: charts numbered 1..Count, the drawn charts and their
// colour slots, the active and reference charts with their cursors, and the
// full extent and view window of the drawn charts.

#include "Limits.h"
#include "TJednoMereni.h"

#include <array>
#include <functional>
#include <string>
#include <vector>

namespace lumidrax {

class TMereni {
  public:
    TMereni();

    int Count = 0;
    int ShownCount = 0;
    int ActiveIndex = 0;
    int ActiveCursor = 0;
    int RefIndex = 0;
    int RefCursor = 0;
    long double ActiveCursorX = 0;
    long double ActiveCursorY = 0;
    long double RefCursorX = 0;
    long double RefCursorY = 0;
    int LineWidth = 1;
    // SlotFree[i] for slot i in 1..kMaxCharts (index 0 unused).
    std::array<bool, kMaxCharts + 1> SlotFree{};
    long double FullXMin = 1e11L;
    long double FullXMax = -1e11L;
    long double FullYMin = 1000;
    long double FullYMax = -1000;
    long double ViewXMin = 1e11L;
    long double ViewYMin = -1000;
    long double ViewXMax = -1e11L;
    long double ViewYMax = 1000;
    // Colour scheme whose slot colours new charts take.
    ColourScheme Scheme = ColourScheme::Light;

    // Chart number i in 1..Count.
    TJednoMereni& Rec(int i) { return Records[static_cast<std::size_t>(i - 1)]; }
    const TJednoMereni& Rec(int i) const { return Records[static_cast<std::size_t>(i - 1)]; }
    TJednoMereni& Last() { return Records.back(); }

    // Reads a chart file and appends it. Returns the new chart's number, or
    // -1 (missing), -2 (cannot be opened), -3 (already loaded). A file whose
    // content cannot be read as a chart throws ChartFileError and leaves the
    // collection as it was.
    int LoadChart(const std::string& path);

    // Appends a record as chart Count + 1: takes a colour slot and computes
    // its range. The caller checks Count < kMaxCharts first.
    TJednoMereni& AppendRecord(TJednoMereni record);

    void DeleteChart(int i);
    void ClearAll();
    void ComputeChartRange();
    void ComputeFullRange(bool resetView);
    // Subtracts the baseline from the raw samples of the last record when
    // Pozice0Y is -1. Throws ChartFileError when Pozice0X < 1.
    void ApplyBaseline();
    void SetReference(int i);
    int FirstFreeSlot() const;
    // Gives the last record a colour slot when fewer than ten are drawn.
    void TakeColourSlot();
    // Frees chart i's slot (if any) and marks it not drawn.
    void ReleaseColourSlot(int i);

    bool ViewIsFull() const
    {
        return ViewXMin == FullXMin && ViewXMax == FullXMax && ViewYMin == FullYMin && ViewYMax == FullYMax;
    }

  private:
    std::vector<TJednoMereni> Records;
};

} // namespace lumidrax
