#include "TMereni.h"

#include "ChartFile.h"
#include "NumberText.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <limits>
#include <unistd.h>

namespace lumidrax {

int DistanceToSample(const TJednoMereni& chart, long double x)
{
    if (x < chart.XStart)
        return 0;
    const long double last = SampleDistance(chart, chart.SampleCount);
    if (!(x <= last))
        return chart.SampleCount;
    if (!(chart.Step > 0))
        return chart.SampleCount > 0 ? 1 : 0;
    const long double k = std::nearbyint((x - chart.XStart) / chart.Step) + 1;
    if (k > chart.SampleCount)
        return chart.SampleCount;
    return static_cast<int>(k);
}

TMereni::TMereni()
{
    SlotFree.fill(true);
}

int TMereni::FirstFreeSlot() const
{
    for (int i = 1; i <= kMaxCharts; ++i)
        if (SlotFree[static_cast<std::size_t>(i)])
            return i;
    return 0;
}

bool TMereni::TakeColourSlot(int i)
{
    if (ShownCount >= kMaxShown)
        return false;
    const int slot = FirstFreeSlot();
    if (slot < 1)
        return false;
    TJednoMereni& c = Rec(i);
    SlotFree[static_cast<std::size_t>(slot)] = false;
    c.ColorSlot = slot;
    c.Color = SlotColour(slot, Scheme);
    c.ColorChosen = false;
    c.Shown = true;
    ++ShownCount;
    return true;
}

void TMereni::ReleaseColourSlot(int i)
{
    TJednoMereni& c = Rec(i);
    if (!c.Shown)
        return;
    if (c.ColorSlot >= 1 && c.ColorSlot <= kMaxCharts)
        SlotFree[static_cast<std::size_t>(c.ColorSlot)] = true;
    --ShownCount;
    c.Shown = false;
    c.ColorSlot = 0;
    c.Color = kWhite;
    c.ColorChosen = false;
}

TJednoMereni& TMereni::AppendRecord(TJednoMereni record)
{
    // A new chart starts hidden and white (a copy may carry its source's
    // slot), then is drawn while a slot is free.
    record.Shown = false;
    record.ColorSlot = 0;
    record.Color = kWhite;
    record.ColorChosen = false;
    record.Id = ++lastId_;
    Records.push_back(std::move(record));
    ++Count;
    TakeColourSlot(Count);
    ComputeChartRange();
    return Last();
}

int TMereni::NumberOf(ChartId id) const
{
    // Ids grow with every chart added and charts keep their order, so the
    // ids rise with the numbers.
    const auto at = std::lower_bound(Records.begin(), Records.end(), id,
                                     [](const TJednoMereni& c, ChartId v) { return c.Id < v; });
    if (id == 0 || at == Records.end() || at->Id != id)
        return 0;
    return static_cast<int>(at - Records.begin()) + 1;
}

TJednoMereni* TMereni::Find(ChartId id)
{
    const int i = NumberOf(id);
    return i > 0 ? &Rec(i) : nullptr;
}

int TMereni::AddChart(TJednoMereni record, const AddChartOptions& options)
{
    AppendRecord(std::move(record));
    if (Last().Pozice0Y == -1 && options.Baseline != RawBaseline::AlreadyApplied) {
        try {
            ApplyRawBaseline(options.Baseline);
        } catch (...) {
            // The chart is refused: the collection is left as it was.
            ReleaseColourSlot(Count);
            Records.pop_back();
            --Count;
            throw;
        }
        ComputeChartRange();
    }
    if (options.FullRange)
        ComputeFullRange(true);
    if (Last().Shown)
        SetReference(Count);
    return Count;
}

int TMereni::LoadChart(const std::string& path)
{
    for (const TJednoMereni& c : Records)
        if (c.FileName == path)
            return -3;
    std::string bytes;
    if (const FileOutcome read = ReadFileBytes(path, kMaxChartFileBytes, bytes); !read.Ok())
        return ReadFailureCode(read.Status);

    TJednoMereni c;
    c.IsNew = true;
    c.FileName = c.AutoFileName = c.DisplayName = path;
    c.Saved = true;
    ReadChartText(c, bytes, path);
    try {
        return AddChart(std::move(c));
    } catch (const ChartFileError& e) {
        throw ChartFileError(path + ": " + e.what());
    }
}

void TMereni::ApplyRawBaseline(RawBaseline how)
{
    TJednoMereni& c = Last();
    if (how != RawBaseline::FirstSampleBelowStart || c.Pozice0X >= 1) {
        ApplyBaseline();
        return;
    }
    // The cable starts before the first sample: there is nothing below it to
    // average, so the first sample stands for the baseline.
    c.Pozice0Y = c.SampleCount > 0 ? static_cast<int>(std::nearbyint(c.Sample(1))) : 0;
    for (long double& s : c.Samples)
        s = s - c.Pozice0Y - 100;
}

void TMereni::ApplyBaseline()
{
    TJednoMereni& c = Last();
    if (c.Pozice0Y != -1)
        return;
    if (c.Pozice0X < 1)
        throw ChartFileError("the cable start sample " + std::to_string(c.Pozice0X) +
                             " is below 1, so the baseline cannot be computed");
    // Samples beyond the chart's own count are taken as 0, as in a fresh
    // record, and never read.
    long double sum = 0;
    int n = 0;
    for (int k = c.Pozice0X; k > 0 && n < 16; --k, ++n)
        if (k <= c.SampleCount)
            sum += c.Sample(k);
    const long double baseline = std::nearbyint(sum / n);
    if (!(baseline >= std::numeric_limits<int>::min() && baseline <= std::numeric_limits<int>::max()))
        throw ChartFileError("the baseline of the raw samples (" + FormatGeneral(baseline) +
                             ") is out of range");
    c.Pozice0Y = static_cast<int>(baseline);
    for (long double& s : c.Samples)
        s = s - c.Pozice0Y - 100;
}

void TMereni::ComputeChartRange()
{
    TJednoMereni& c = Last();
    c.Step = static_cast<long double>(c.Interval) * 0.299793L * c.Velocity / 2 / 1000;
    c.Step = std::nearbyint(c.Step * 20) / 20;
    c.XStart = -(static_cast<long double>(c.Pozice0X) - 1) * c.Step;
    c.XEnd = static_cast<long double>(c.SampleCount - 1) * c.Step + c.XStart;
    c.YMin = 1000;
    c.YMax = -1000;
    for (long double s : c.Samples) {
        if (s < c.YMin)
            c.YMin = s;
        if (s > c.YMax)
            c.YMax = s;
    }
}

void TMereni::ComputeFullRange(bool resetView)
{
    auto applyMargins = [this] {
        const long double d = (FullXMax - FullXMin) / 20;
        FullXMin -= d;
        FullXMax += d;
        const long double m = std::fmax(std::fabs(FullYMin), std::fabs(FullYMax));
        FullYMin = -m - m * 2 / 20;
        FullYMax = m + m * 2 / 20;
    };
    if (ShownCount != 1) {
        const bool unzoomed = ViewIsFull();
        FullXMin = 1e11L;
        FullXMax = -1e11L;
        FullYMin = 1000;
        FullYMax = -1000;
        for (const TJednoMereni& c : Records) {
            if (!c.Shown)
                continue;
            FullXMin = std::fmin(FullXMin, c.XStart);
            FullXMax = std::fmax(FullXMax, c.XEnd);
            FullYMin = std::fmin(FullYMin, c.YMin);
            FullYMax = std::fmax(FullYMax, c.YMax);
        }
        applyMargins();
        if (unzoomed)
            SetViewToFull();
        return;
    }
    for (const TJednoMereni& c : Records) {
        if (!c.Shown)
            continue;
        FullXMin = c.XStart;
        FullXMax = c.XEnd;
        FullYMin = c.YMin;
        FullYMax = c.YMax;
        break;
    }
    applyMargins();
    if (resetView)
        SetViewToFull();
}

void TMereni::SetViewToFull()
{
    ViewXMin = FullXMin;
    ViewXMax = FullXMax;
    ViewYMin = FullYMin;
    ViewYMax = FullYMax;
}

void TMereni::SetReference(int i)
{
    if (Count < 1) {
        RefIndex = RefCursor = 0;
        return;
    }
    if (i < 1 || i > Count)
        return;
    const TJednoMereni& target = Rec(i);
    if (RefIndex == 0 || RefIndex > Count) {
        RefIndex = i;
        const int start = Last().Pozice0X;
        RefCursor = start < std::numeric_limits<int>::max() ? start + 1 : start;
        if (RefCursor >= 1 && RefCursor <= target.SampleCount) {
            RefCursorX = SampleDistance(target, RefCursor);
            RefCursorY = target.Sample(RefCursor);
        }
        return;
    }
    const long double x = SampleDistance(Rec(RefIndex), RefCursor);
    const int k = ClampToSamples(target, DistanceToSample(target, x));
    RefIndex = i;
    RefCursor = k;
    RefCursorX = SampleDistance(target, k);
    RefCursorY = k >= 1 ? target.Sample(k) : 0;
}

void TMereni::DeleteChart(int i)
{
    if (i < 1 || i > Count)
        return;
    if (Count == 1) {
        ClearAll();
        return;
    }
    ReleaseColourSlot(i);
    Records.erase(Records.begin() + (i - 1));
    --Count;
    ComputeFullRange(false);
}

void TMereni::ClearAll()
{
    Records.clear();
    Count = ShownCount = 0;
    SetReference(0);
    ActiveIndex = 0;
    ComputeFullRange(true);
    SlotFree.fill(true);
}

} // namespace lumidrax
