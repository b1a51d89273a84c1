#pragma once
// The chart collection: charts numbered 1..Count, the drawn charts and their
// colour slots, the active and reference charts with their cursors, and the
// full extent and view window of the drawn charts.

#include "Limits.h"
#include "TJednoMereni.h"

#include <array>
#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace lumidrax {

// How a chart being added gets its raw samples (Pozice0Y -1) on their
// baseline, the mean of the samples from the cable start (Pozice0X) back.
enum class RawBaseline {
    // Chart files: a cable start below sample 1 refuses the chart.
    Required,
    // Received VKR102 charts: a cable start below sample 1 takes the first
    // sample (0 for an empty chart) as the baseline.
    FirstSampleBelowStart,
    // Filtered and averaged charts copy samples already on their baseline.
    AlreadyApplied,
};

struct AddChartOptions {
    RawBaseline Baseline = RawBaseline::Required;
    // Recompute the full extent; filtered and averaged charts leave it.
    bool FullRange = true;
};

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

    // The number (1..Count) of the chart with this id, 0 when it is no
    // longer open. A command that asks the user something looks its charts
    // up again afterwards: while a question is open, charts keep arriving.
    int NumberOf(ChartId id) const;
    // The chart with this id, or nullptr.
    TJednoMereni* Find(ChartId id);
    // The id the last chart added got (0 before the first): charts with a
    // greater id arrived after it was read.
    ChartId LastId() const { return lastId_; }

    // Reads a chart file and appends it. Returns the new chart's number, or
    // -1 (missing), -2 (cannot be opened), -3 (already loaded). A file whose
    // content cannot be read as a chart throws ChartFileError and leaves the
    // collection as it was.
    int LoadChart(const std::string& path);

    // Adds a chart: the record becomes chart Count + 1, drawn in the lowest
    // free colour slot while fewer than ten are drawn (hidden and white
    // otherwise), its raw samples (Pozice0Y -1) set on their baseline as
    // options.Baseline says, its range computed; then the full extent is
    // recomputed (options.FullRange; the view follows it unless zoomed, and
    // always with one chart drawn) and a drawn chart becomes the reference.
    // Returns the new chart's number. A refused raw chart throws
    // ChartFileError and leaves the collection as it was. The caller checks
    // Count < kMaxCharts first.
    int AddChart(TJednoMereni record, const AddChartOptions& options = {});

    // The first step of AddChart alone (slot and range, nothing else), for
    // scratch collections and tests.
    TJednoMereni& AppendRecord(TJednoMereni record);

    void DeleteChart(int i);
    void ClearAll();
    void ComputeChartRange();
    void ComputeFullRange(bool resetView);
    // The view window becomes the full extent.
    void SetViewToFull();
    // Subtracts the baseline from the raw samples of the last record when
    // Pozice0Y is -1. Throws ChartFileError when Pozice0X < 1.
    void ApplyBaseline();
    // Places the reference on chart i: a first reference sits just after the
    // cable start, a moved one keeps its distance on a sample of chart i.
    void SetReference(int i);
    int FirstFreeSlot() const;
    // Chart i, not drawn, takes the lowest free colour slot and is drawn.
    // Returns false (chart i unchanged) when ten are drawn already or no
    // slot is free.
    bool TakeColourSlot(int i);
    // Frees chart i's slot (if any) and marks it not drawn.
    void ReleaseColourSlot(int i);

    bool ViewIsFull() const
    {
        return ViewXMin == FullXMin && ViewXMax == FullXMax && ViewYMin == FullYMin && ViewYMax == FullYMax;
    }

  private:
    // Sets the last record's raw samples on their baseline (see RawBaseline).
    void ApplyRawBaseline(RawBaseline how);

    // A deque: a chart appended while a question is open moves no other
    // chart in memory.
    std::deque<TJednoMereni> Records;
    ChartId lastId_ = 0;
};

} // namespace lumidrax
