#include "ChartGenerator.h"

#include "ChartFile.h"
#include "DCTexts.h"
#include "Limits.h"
#include "SplitMix.h"
#include "TMereni.h"

#include <algorithm>
#include <cmath>

namespace lumidrax::chartgen {

namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kTokenGap = "     ";

// Uniform value in [0, 1) drawn from the seed, a stream and an index, so that
// every sample's noise is independent of the order of computation.
long double Uniform(std::uint64_t seed, std::uint64_t stream, std::uint64_t index)
{
    const std::uint64_t v = MixedBits(seed, stream, index);
    return static_cast<long double>(v) / static_cast<long double>(1ULL << 53);
}

long double Gauss(long double x, long double sigma)
{
    // Beyond ten widths the value (below 1e-21) cannot show in a two-decimal
    // sample; skipping it keeps the generator fast.
    if (std::fabs(x) > 10 * sigma)
        return 0;
    return std::exp(-(x * x) / (2 * sigma * sigma));
}

// Reflection of a pulse at sample offset `at` (from the cable start): a main
// lobe with a small opposite tail, broadened and weakened with distance.
long double Reflection(long double j, long double at, long double amplitude, long double metres)
{
    const long double sigma = 1.5L + at * 0.003L;
    const long double weakened = amplitude * std::exp(-metres / 900.0L) * std::sqrt(1.5L / sigma);
    return weakened * (Gauss(j - at, sigma) - 0.18L * Gauss(j - at - 2.5L * sigma, 1.8L * sigma));
}

struct Cable {
    long double length = 0;
    std::vector<Fault> faults;
};

Cable CableOf(const ChartOptions& o)
{
    Cable cable;
    const long double step = StepOf(o.interval, o.velocityPerMille);
    const long double span = std::max(0, o.sampleCount - o.pozice0X) * step;
    cable.length =
        o.cableLength > 0 ? o.cableLength : std::round(span * (0.55L + 0.30L * Uniform(o.seed, 1, 0)));
    cable.faults = o.faults;
    if (cable.faults.empty()) {
        for (int f = 0; f < o.faultCount; ++f) {
            Fault fault;
            fault.distance = std::round(cable.length * (0.15L + 0.65L * Uniform(o.seed, 2, f)));
            const long double size = 8 + 27 * Uniform(o.seed, 3, f);
            fault.level = Uniform(o.seed, 4, f) < 0.6L ? -size : size;
            cable.faults.push_back(fault);
        }
        std::sort(cable.faults.begin(), cable.faults.end(),
                  [](const Fault& a, const Fault& b) { return a.distance < b.distance; });
    }
    return cable;
}

long double LevelOnCable(const ChartOptions& o, const Cable& cable, long double step, int k)
{
    const long double j = static_cast<long double>(k - o.pozice0X);
    // Launch pulse: its rising edge starts at the cable start.
    long double level = 88 * Gauss(j - 3, 1.5L) - 9 * Gauss(j - 8, 3);
    if (step > 0) {
        for (const Fault& f : cable.faults)
            if (f.distance > 0 && f.distance < cable.length)
                level += Reflection(j, f.distance / step, f.level, f.distance);
        const long double end = o.shortedEnd ? -62 : 62;
        level += Reflection(j, cable.length / step, end, cable.length);
        // The end's echo travels the cable twice.
        level += Reflection(j, 2 * cable.length / step, 0.2L * end, 2 * cable.length);
    }
    level += o.noiseLevel * (2 * Uniform(o.seed, 5, static_cast<std::uint64_t>(k)) - 1);
    return std::clamp(level, -100.0L, 100.0L);
}

long double RoundTwoDecimals(long double v)
{
    return std::nearbyint(v * 100) / 100;
}

bool IsRawForm(HeaderForm form)
{
    return form == HeaderForm::Tokens7 || form == HeaderForm::Tokens8;
}

bool IsVKR104Form(HeaderForm form)
{
    return form == HeaderForm::Tokens22 || form == HeaderForm::Tokens23;
}

} // namespace

int TokenCount(HeaderForm form)
{
    switch (form) {
    case HeaderForm::Tokens7:
        return 7;
    case HeaderForm::Tokens8:
        return 8;
    case HeaderForm::Tokens13:
        return 13;
    case HeaderForm::Tokens22:
        return 22;
    case HeaderForm::Tokens23:
        return 23;
    }
    return 13;
}

bool FormFromTokens(int tokens, HeaderForm& form)
{
    for (HeaderForm f : {HeaderForm::Tokens7, HeaderForm::Tokens8, HeaderForm::Tokens13, HeaderForm::Tokens22,
                         HeaderForm::Tokens23})
        if (TokenCount(f) == tokens) {
            form = f;
            return true;
        }
    return false;
}

ChartOptions MixedCollectionOptions(int i, int sampleCount)
{
    constexpr HeaderForm kForms[] = {HeaderForm::Tokens13, HeaderForm::Tokens23, HeaderForm::Tokens22,
                                     HeaderForm::Tokens8, HeaderForm::Tokens7};
    ChartOptions o;
    o.form = kForms[i % 5];
    o.seed = static_cast<std::uint64_t>(i);
    o.sampleCount = sampleCount;
    o.faultCount = 1 + i % 3;
    return o;
}

long double StepOf(int interval, int velocityPerMille)
{
    const long double velocity = static_cast<long double>(velocityPerMille) / 1000;
    const long double step = static_cast<long double>(interval) * 0.299793L * velocity / 2 / 1000;
    return std::nearbyint(step * 20) / 20;
}

long double LevelAt(const ChartOptions& options, int k)
{
    return LevelOnCable(options, CableOf(options), StepOf(options.interval, options.velocityPerMille), k);
}

TJednoMereni GenerateChart(const ChartOptions& o)
{
    TJednoMereni c;
    c.Description = o.description;
    c.Interval = o.interval;
    c.Velocity = static_cast<long double>(o.velocityPerMille) / 1000;
    c.Impedance = o.impedance;
    c.Noise = o.noise;
    c.DC = o.dc;
    c.Filter = o.filter;
    c.Pozice0X = o.pozice0X;
    c.FilterPost = 1;
    c.DatumCas = "---";
    c.Index = 0;

    const bool raw = IsRawForm(o.form);
    if (raw) {
        // What the reader sets for the VKR102 files.
        c.Pozice0Y = c.NegEdge = c.StatusIDX = -1;
        c.DCResistance = c.DCVoltage = 0;
        c.DCVoltageStr = c.DCResistStr = kNoDCValue;
        c.VerzeVKR = "VKR102";
    } else {
        c.Pozice0Y = static_cast<int>(std::nearbyint(o.rawBaseline));
        c.NegEdge = o.negEdge;
        c.StatusIDX = o.statusIDX;
        c.DCResistance = o.dcResistance;
        c.DCVoltage = o.dcVoltage;
        if (IsVKR104Form(o.form)) {
            c.VerzeVKR = "VKR104";
            c.DatumCas = o.datumCas;
            c.SeriePrvni = o.seriePrvni;
            c.SeriePosledni = o.seriePosledni;
            c.SerialNumber = o.serialNumber;
            c.DCResistanceSingle = o.dcResistanceSingle;
            c.DCVoltageSingle = o.dcVoltageSingle;
            c.Pozice0YSingle = static_cast<float>(o.rawBaseline);
            c.Index = o.form == HeaderForm::Tokens23 ? o.index : 0;
            std::tie(c.DCVoltageStr, c.DCResistStr) =
                FormatVKR104DCTexts(c.StatusIDX, c.DCVoltageSingle, c.DCResistanceSingle);
        } else {
            c.VerzeVKR = "VKR103/VKR103RAM";
            c.DCVoltageStr = FormatDCVoltage(c.StatusIDX, c.DCVoltage);
            c.DCResistStr = FormatDCResistance(c.StatusIDX, c.DCResistance);
        }
    }

    const int count = std::clamp(o.sampleCount, 0, kMaxSamples);
    const Cable cable = CableOf(o);
    const long double step = StepOf(o.interval, o.velocityPerMille);
    std::vector<long double> samples(static_cast<std::size_t>(count));
    for (int k = 1; k <= count; ++k) {
        const long double level = LevelOnCable(o, cable, step, k);
        // Raw samples: the cable lies around rawBaseline; the samples up to
        // the cable start lie 100 lower, so that the reader's correction
        // (sample - their mean - 100) puts the cable at level 0.
        const long double value = raw ? o.rawBaseline + level - (k <= o.pozice0X ? 100 : 0) : level;
        samples[static_cast<std::size_t>(k - 1)] = RoundTwoDecimals(value);
    }
    c.SetSamples(std::move(samples));

    // The distance scale and level range exactly as the collection computes
    // them.
    TMereni scratch;
    const TJednoMereni& ranged = scratch.AppendRecord(c);
    c.Step = ranged.Step;
    c.XStart = ranged.XStart;
    c.XEnd = ranged.XEnd;
    c.YMin = ranged.YMin;
    c.YMax = ranged.YMax;
    return c;
}

std::string ChartText(const TJednoMereni& chart, HeaderForm form)
{
    // The program's own writer gives 13 tokens, or 23 for a VKR104 chart; the
    // shorter forms are its first tokens.
    TJednoMereni copy = chart;
    copy.VerzeVKR = IsVKR104Form(form) ? "VKR104" : (chart.VerzeVKR == "VKR104" ? "" : chart.VerzeVKR);
    std::string text = ChartFileText(copy);
    const std::size_t headerStart = text.find(kLineEnd) + kLineEnd.size();
    const std::size_t headerEnd = text.find(kLineEnd, headerStart);
    std::vector<std::string> tokens;
    SplitTokens(std::string_view(text).substr(headerStart, headerEnd - headerStart), tokens);
    tokens.resize(std::min(tokens.size(), static_cast<std::size_t>(TokenCount(form))));
    std::string header;
    for (std::size_t k = 0; k < tokens.size(); ++k) {
        if (k > 0)
            header += kTokenGap;
        header += tokens[k];
    }
    text.replace(headerStart, headerEnd - headerStart, header);
    return text;
}

} // namespace lumidrax::chartgen
