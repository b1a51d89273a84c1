#pragma once
// One chart (reflectogram): the instrument settings it was measured with,
// its samples in percent, its derived distance scale and its bookkeeping.

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace lumidrax {

// Names one chart for as long as the program runs, whatever its number
// becomes when charts before it close; 0 names no chart.
using ChartId = std::uint64_t;

// 24-bit RGB colour, stored as 0xRRGGBB.
using RgbColor = std::uint32_t;
inline constexpr RgbColor kWhite = 0xFFFFFF;

struct TJednoMereni {
    std::string AutoFileName;
    std::string FileName;
    std::string DisplayName;
    bool Saved = false;
    std::string Description;
    RgbColor Color = kWhite;
    int ColorSlot = 0;
    // Color was chosen by the user ("Ref. Chart Color..."): a change of the
    // colour scheme keeps it. Cleared whenever the chart takes or gives back
    // a colour slot.
    bool ColorChosen = false;
    int SampleCount = 0;
    int Interval = 0;
    long double Velocity = 0;
    int Impedance = 0;
    int Noise = 0;
    int DC = 0;
    int Filter = 0;
    int Pozice0X = 0;
    int FilterPost = 0;
    int Pozice0Y = 0;
    int NegEdge = 0;
    int StatusIDX = 0;
    int DCResistance = 0;
    int DCVoltage = 0;
    std::string DCVoltageStr;
    std::string DCResistStr;
    // Samples[0] is sample number 1. The vector always holds exactly
    // SampleCount values; use Sample(k) for the 1-based view.
    std::vector<long double> Samples;
    long double XStart = 0;
    long double XEnd = 0;
    long double YMin = 0;
    long double YMax = 0;
    long double Step = 0;
    bool Shown = false;
    std::string DatumCas;
    int SeriePrvni = 0;
    int SeriePosledni = 0;
    int SerialNumber = 0;
    float DCResistanceSingle = 0;
    float DCVoltageSingle = 0;
    float Pozice0YSingle = 0;
    std::string VerzeVKR;
    bool IsNew = false;
    int Index = 0;
    // Given by the collection when the chart joins it.
    ChartId Id = 0;

    // 1-based sample access, k in 1..SampleCount.
    long double Sample(int k) const { return Samples[static_cast<std::size_t>(k - 1)]; }
    long double& Sample(int k) { return Samples[static_cast<std::size_t>(k - 1)]; }

    // Replaces the samples and keeps SampleCount in step.
    void SetSamples(std::vector<long double> values)
    {
        Samples = std::move(values);
        SampleCount = static_cast<int>(Samples.size());
    }
};

// Distance in metres of sample k (numbered from 1).
inline long double SampleDistance(const TJednoMereni& chart, int k)
{
    return static_cast<long double>(k - 1) * chart.Step + chart.XStart;
}

// Sample index nearest to distance x: 0 below the first sample, the sample
// count beyond the last one, ties rounded to the even quotient.
int DistanceToSample(const TJednoMereni& chart, long double x);

// Sample number k limited to the chart's samples: 1..SampleCount, 0 for an
// empty chart. A cursor always sits on such a sample.
inline int ClampToSamples(const TJednoMereni& chart, int k)
{
    return std::clamp(k, std::min(1, chart.SampleCount), chart.SampleCount);
}

} // namespace lumidrax
