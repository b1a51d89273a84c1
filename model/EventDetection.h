#pragma once
// The events of a chart: the launch pulse, every reflection that leaves the
// baseline, the cable end and its echoes, found from the samples alone.
//
// How (see also the manual, "Events"):
//   1. Baseline: the median of the samples. Noise: the spread of what is
//      left of the samples once a local trend is taken away, the trend being
//      the medians of blocks of twelve pulse widths joined by straight
//      lines; the spread is the root mean square of that residual, clipped
//      at five times itself until it settles (the pulses fall out), and at
//      least the spread of the first differences (which agrees on white
//      noise). Measured so, white noise, correlated noise, the ripple of a
//      smooth band-limited trace and the noise of a filtered chart all
//      count as what they are (the first difference alone, which a smooth
//      or filtered trace makes vanish, took a ripple for a hundred noise
//      deviations). The spread is measured on the raw samples (for the
//      signal-to-noise figures) and on the smoothed trace the threshold
//      applies to; at least kMinNoiseSd, a quantisation step.
//      The medians are taken over an even spread of at most 2048 values.
//      The samples up to the cable start of a VKR102 chart, 100 below the
//      cable, are lifted onto the baseline.
//   2. The trace less its baseline is smoothed over three samples; an
//      excursion starts where it passes the threshold (Threshold() noise
//      deviations of the smoothed trace) and ends where it falls below
//      Hysteresis times that, or changes sign. An excursion whose peak stays
//      within LevelFloor percent of the baseline is no event.
//   3. Each excursion's peak is its largest sample. Its leading edge, a
//      fraction of a sample: first the line fitted to the smoothed rising
//      flank (10..90 % of the peak) carried back to the baseline; then,
//      from 2 samples before that to 3 after, the edge of the pulse shape
//      (straight rise, straight fall as long, undershoot) that fits the raw
//      samples best by least squares, its width searched too. A flat-topped (clipped) pulse,
//      and an excursion longer than any pulse (a step), keep the line's edge.
//      The fit runs on the events step 4 keeps, which it judges by the
//      line's edges.
//   4. Ringing: an excursion that starts within the minimum spacing (the
//      pulse width, at least that of the launch) behind a larger event's end
//      and is less than half its size belongs to that event.
//   5. Kinds: the first event at the cable start is the launch; the largest
//      one after it is the end (end-open above the baseline, end-short
//      below) when it clears EndFloor() percent, otherwise the chart has no
//      end (a terminated line, or one longer than the range); an event
//      beyond the end at about twice the distance of an earlier, larger
//      event is its echo; the rest are open (above) or short (below).
//   Filtered charts: a chart made by the trailing moving average of W
//   samples (FilterPost W > 1) shows every pulse later by the filter's lag,
//   (W - 1) / 2 samples, and spread over W more samples. The noise blocks
//   grow by the window; the launch is looked for within the lag behind the
//   cable start; the pulse fit fits the pulse shape averaged over the same
//   window, searching the edge from the lag before the line's edge, so the
//   leading edges are those of the unfiltered chart; echoes are judged on
//   peaks less the lag. Peak sample and level stay the filtered chart's.
// Pure functions, no state, no Qt.

#include "TJednoMereni.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lumidrax {

enum class EventKind { Launch, Open, Short, EndOpen, EndShort, Echo };

// "launch", "open", "short", "end-open", "end-short", "echo".
std::string_view EventKindName(EventKind kind);

struct EventParams {
    // 0..9: the higher, the weaker the events found (and the more false
    // ones). The threshold is 10 - Sensitivity noise deviations.
    long double Sensitivity = 5;
    // An excursion ends below this fraction of the threshold.
    long double Hysteresis = 0.5;
    // Pulse width in samples when the chart shows no launch pulse.
    int DefaultPulseWidth = 8;
    // An echo lies within this fraction (plus one pulse width) of twice its
    // source's distance.
    long double EchoTolerance = 0.03;

    // Level floor in percent: a reflection whose peak lies closer to the
    // baseline is no event, however far above the noise it stands.
    long double LevelFloor = 1;
    // The end clears this many level floors: 2 % by default, which a
    // terminated line's residual reflection (a load within 4 % of the line's
    // impedance) stays below, and an open or shorted end within the range
    // passes.
    long double EndFloorRatio = 2;

    static constexpr long double kMinSensitivity = 0;
    static constexpr long double kMaxSensitivity = 9;
    static constexpr long double kMinLevelFloor = 0;
    static constexpr long double kMaxLevelFloor = 50;

    // Noise deviations of the smoothed trace an excursion must pass.
    long double Threshold() const;
    // The level floor held within its range, and the end's floor.
    long double Floor() const;
    long double EndFloor() const;
};

struct ChartEvent {
    EventKind Kind = EventKind::Open;
    // Leading edge: 1-based sample, fractional.
    long double Sample = 0;
    // Distance of the leading edge in metres on the chart's scale.
    long double Distance = 0;
    int PeakSample = 0;
    // The chart's level (percent) at the peak sample.
    long double PeakLevel = 0;
    // Peak height above the baseline over the noise's standard deviation.
    long double Snr = 0;
    // Last sample of the excursion (its width is LastSample - Sample).
    int LastSample = 0;
};

struct NoiseEstimate {
    long double Baseline = 0;
    long double Sd = 0;
};

// Baseline and noise standard deviation of a trace (see above); the noise is
// at least kMinNoiseSd, the quantisation step of two-decimal samples.
// `filterWindow` is the window of a trailing moving average the samples went
// through (1: none).
inline constexpr long double kMinNoiseSd = 0.01L;
NoiseEstimate EstimateNoise(const std::vector<long double>& samples, int filterWindow = 1);

// The trailing moving-average window a chart went through (FilterPost; 1
// when it was not filtered) and its lag in samples, (W - 1) / 2.
int FilterWindowOf(const TJednoMereni& chart);
long double FilterLag(const TJednoMereni& chart);

// The chart's events in sample order. Charts of fewer than three samples
// have none.
std::vector<ChartEvent> DetectEvents(const TJednoMereni& chart, const EventParams& params = {});

// Distance in metres of a fractional 1-based sample on the chart's scale.
long double EventDistance(const TJednoMereni& chart, long double sample);

// The sample nearest to a fractional one, within 1..SampleCount.
int NearestSample(const TJednoMereni& chart, long double sample);

// Velocity factors a cable can have.
inline constexpr long double kMinVelocityFactor = 0.1L;
inline constexpr long double kMaxVelocityFactor = 1;

// The velocity factor that puts an event at the fractional sample `sample`
// at `length` metres from the cable start: the chart's velocity scaled by
// length over the event's distance. Nothing when the event is not beyond the
// cable start, the length is not above 0, or the factor would lie outside
// kMinVelocityFactor..kMaxVelocityFactor (the event cannot be that length
// away).
std::optional<long double> VelocityForLength(const TJednoMereni& chart, long double sample,
                                             long double length);

// Index into `events` of the cable end, or -1 (no end found: the line is
// terminated, or longer than the range).
int EndEventIndex(const std::vector<ChartEvent>& events);

} // namespace lumidrax
