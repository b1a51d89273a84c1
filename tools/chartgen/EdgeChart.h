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

#include "EventDetection.h"
#include "TJednoMereni.h"

#include <cstdint>
#include <string>
#include <vector>

namespace lumidrax::chartgen {

struct EdgePulse {
    EventKind kind = EventKind::Open;
    long double start = 1;        // leading edge, 1-based fractional sample
    long double width = 8;        // samples from the leading edge back to the baseline
    long double amplitude = 10;   // signed peak level in percent
    long double undershoot = 0.2; // undershoot depth as a fraction of the amplitude
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
};

struct ChartTruth {
    long double noiseSd = 0;
    std::vector<EdgePulse> events;
};

struct EdgeChart {
    TJednoMereni chart; // as GenerateChart fills it, 13-token form
    ChartTruth truth;
};

EdgeChart GenerateEdgeChart(const EdgeChartOptions& options);

// Level of one pulse at 1-based sample k.
long double PulseLevel(const EdgePulse& pulse, long double k);

// The truth file: "NoiseSd=<sd>" then one line per event
// "<kind> <leading edge> <amplitude> <width>", decimal commas.
std::string TruthText(const ChartTruth& truth);

} // namespace lumidrax::chartgen
