#pragma once
// Deterministic synthetic reflectograms for examples, tests, benchmarks and
// the instrument simulator. No Qt, no global state: the same options always
// give the same chart, sample for sample, on every machine.
//
// A generated trace holds, in percent of the transmitted pulse:
//   - the launch pulse at the cable start (sample Pozice0X),
//   - a reflection at each fault (negative level = short or low impedance,
//     positive = break or high impedance), broadened and weakened with
//     distance,
//   - the reflection of the cable end (open end: positive; shorted end:
//     negative),
//   - a little deterministic noise from the seed.
// Levels stay within -100..100 and every sample is rounded to two decimals,
// as the instruments deliver them.
//
// Typical use:
//   lumidrax::chartgen::ChartOptions o;
//   o.form = lumidrax::chartgen::HeaderForm::Tokens23;
//   o.seed = 7;
//   o.description = "Feeder 3, pair 2";
//   lumidrax::TJednoMereni chart = lumidrax::chartgen::GenerateChart(o);
//   std::string file = lumidrax::chartgen::ChartText(chart, o.form);

#include "TJednoMereni.h"

#include <cstdint>
#include <string>
#include <vector>

namespace lumidrax::chartgen {

// The header forms of the chart file (number of tokens in line 2) and the
// instrument model each one stands for.
enum class HeaderForm {
    Tokens7,  // oldest VKR102 files: raw samples, tokens 0..6
    Tokens8,  // VKR102: raw samples, tokens 0..7
    Tokens13, // VKR103 / VKR103RAM
    Tokens22, // VKR104, earlier files (no Index)
    Tokens23, // VKR104
};

// Token count of a form (7, 8, 13, 22, 23) and the reverse; FormFromTokens
// returns false for any other count.
int TokenCount(HeaderForm form);
bool FormFromTokens(int tokens, HeaderForm& form);

// A fault along the cable.
struct Fault {
    long double distance = 0; // metres from the cable start
    long double level = 0;    // reflected level in percent near the start
};

struct ChartOptions {
    HeaderForm form = HeaderForm::Tokens13;
    std::uint64_t seed = 1;
    std::string description;

    // Instrument settings (header tokens 0..7).
    int sampleCount = 1000;     // 0..10000
    int interval = 2000;        // picoseconds between samples
    int velocityPerMille = 660; // velocity factor in thousandths, as in the file
    int impedance = 100;
    int noise = 5;
    int dc = 0;
    int filter = 1;
    int pozice0X = 11; // sample of the cable start, 1 or more
    int negEdge = 0;

    // The cable. cableLength 0 lets the seed choose it within the visible
    // range; faults empty lets the seed place faultCount faults along it.
    long double cableLength = 0;
    bool shortedEnd = false;
    std::vector<Fault> faults;
    int faultCount = 1;
    long double noiseLevel = 0.3; // peak noise in percent

    // Raw samples of the VKR102 forms (before the baseline correction of the
    // reader): the cable lies around this value, the samples up to the cable
    // start 100 lower, so that the corrected chart has the cable at level 0.
    long double rawBaseline = 128;

    // DC measurement. VKR103 (13 tokens): coded values with their status.
    // VKR104 (22, 23 tokens): status byte and floats. statusIDX -1 = none.
    int statusIDX = -1;
    int dcResistance = 0;
    int dcVoltage = 0;
    float dcResistanceSingle = 0;
    float dcVoltageSingle = 0;

    // VKR104 only.
    std::string datumCas = "12.05.2009 10:22:31";
    int seriePrvni = 0;
    int seriePosledni = 0;
    int serialNumber = 0;
    int index = 0;
};

// The options of chart `i` (1, 2, ...) of a mixed collection, as the
// benchmarks load it: the five header forms in turn (23, 22, 8, 7 and 13
// tokens for charts 1 to 5), seed i, `sampleCount` samples, one to three
// faults.
ChartOptions MixedCollectionOptions(int i, int sampleCount);

// Metres per sample as the reader computes them (rounded to 0.05 m).
long double StepOf(int interval, int velocityPerMille);

// The level in percent of sample k (1-based) of the cable the options
// describe, before rounding and without the raw baseline.
long double LevelAt(const ChartOptions& options, int k);

// A filled chart record: settings, samples, DC texts, model text, date and
// series fields, and the distance scale and level range (Step, XStart, XEnd,
// YMin, YMax). Colour, names and bookkeeping flags are left at their
// defaults. For the VKR102 forms the samples are raw values around
// rawBaseline and Pozice0Y is -1, as such files hold them.
TJednoMereni GenerateChart(const ChartOptions& options);

// The chart file text (Windows-1250, CR LF) of a chart in the given header
// form. 13 and 23 tokens are what the program itself writes; 7, 8 and 22
// tokens reproduce the files of older instruments and firmware.
std::string ChartText(const TJednoMereni& chart, HeaderForm form);

} // namespace lumidrax::chartgen
