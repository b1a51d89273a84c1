#pragma once
// Charts with a known answer, for measuring the event detection: pulses with
// a defined leading edge (a linear rise from a given, fractional sample to
// the peak at half the width, a linear fall, then an undershoot of the
// opposite sign lasting one more width), Gaussian noise of a known standard
// deviation, and the truth beside them: each pulse's leading edge, kind,
// amplitude and width.
//
// A random layout (from the seed): the launch pulse at the cable start,
// reflectionCount faults of random sign, size (minSnr..maxSnr noise
// deviations) and width (minWidth..maxWidth samples) at random places along
// the cable, spaced so that no pulse's undershoot runs into the next, the
// cable end larger than every fault, and the end's echo at twice its
// distance, smaller. Deterministic: the same options give the same chart on
// every machine.
//
// A clean trace (`clean`): what a pulse reflectometer trace computed from a
// network analyser's measurement looks like. No sampling noise (only the
// two-decimal quantisation); band-limited pulses (a raised-cosine lobe with a
// little damped ringing behind it); faults of 2..25 % (on a matched line
// 1.25..1.75 %, joints that reflect less than any end); ripple of the line's
// small irregularities, 0.04..0.7 %, below any sensible level floor; and an
// open, shorted or matched (terminated: no end reflection, no echo) end.

#include "EventDetection.h"
#include "TJednoMereni.h"

#include <cstdint>
#include <string>
#include <vector>

namespace lumidrax::chartgen {

enum class PulseShape {
    // Linear rise and fall, then the undershoot.
    Triangle,
    // A raised-cosine lobe over the width, then ringing of `ringing` times
    // the amplitude at half the width's period, dying away within two widths.
    BandLimited,
};

// The end of the line a random layout gives.
enum class LineEnd { Random, Open, Short, Matched };

struct EdgePulse {
    EventKind kind = EventKind::Open;
    long double start = 1;        // leading edge, 1-based fractional sample
    long double width = 8;        // samples from the leading edge back to the baseline
    long double amplitude = 10;   // signed peak level in percent
    long double undershoot = 0.2; // undershoot depth as a fraction of the amplitude
    PulseShape shape = PulseShape::Triangle;
    long double ringing = 0; // BandLimited: first ringing lobe over the amplitude
};

struct EdgeChartOptions {
    std::uint64_t seed = 1;
    int sampleCount = 10000;
    int interval = 2000;
    int velocityPerMille = 660;
    int pozice0X = 11;
    // Noise standard deviation in percent; negative lets the seed choose it
    // in 0.2..1.
    long double noiseSd = -1;
    // Only noise: no launch, no faults, no end.
    bool pureNoise = false;
    int reflectionCount = 3;
    bool echo = true;
    long double minWidth = 6;
    long double maxWidth = 24;
    long double minSnr = 5;
    long double maxSnr = 60;
    // Levels are held within +-clip (the instrument saturates).
    long double clip = 100;
    // When not empty: exactly these pulses (no random layout).
    std::vector<EdgePulse> pulses;
    // A clean trace (see above): noiseSd, minSnr and maxSnr do not apply.
    bool clean = false;
    LineEnd end = LineEnd::Random;
    int rippleCount = 12;
    long double minRipple = 0.04L;
    long double maxRipple = 0.7L;
};

struct ChartTruth {
    long double noiseSd = 0;
    std::vector<EdgePulse> events;
    // Reflections below any level floor (a clean trace's ripple): never
    // events.
    std::vector<EdgePulse> ripples;
};

struct EdgeChart {
    TJednoMereni chart; // as GenerateChart fills it, 13-token form
    ChartTruth truth;
};

EdgeChart GenerateEdgeChart(const EdgeChartOptions& options);

// Level of one pulse at 1-based sample k.
long double PulseLevel(const EdgePulse& pulse, long double k);

// The truth file: "NoiseSd=<sd>" then one line per event
// "<kind> <leading edge> <amplitude> <width>", then one per ripple
// "ripple <leading edge> <amplitude> <width>", decimal commas.
std::string TruthText(const ChartTruth& truth);

} // namespace lumidrax::chartgen
