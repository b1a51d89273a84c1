#include "EdgeChart.h"

#include "ChartGenerator.h"
#include "NumberText.h"
#include "SplitMix.h"
#include "TMereni.h"

#include <algorithm>
#include <cmath>

namespace lumidrax::chartgen {

namespace {

constexpr long double kPi = 3.141592653589793238L;
constexpr long double kLaunchLevel = 80;
// Place attempts for the faults before the layout gives up on one.
constexpr int kPlaceAttempts = 200;

// Uniform in (0, 1) from the seed, a stream and an index.
long double Uniform(std::uint64_t seed, std::uint64_t stream, std::uint64_t index)
{
    const std::uint64_t v = MixedBits(seed, stream, index);
    return (static_cast<long double>(v) + 0.5L) / static_cast<long double>(1ULL << 53);
}

long double Between(long double lo, long double hi, long double u)
{
    return lo + (hi - lo) * u;
}

// Standard normal value (Box-Muller) for sample k.
long double Normal(std::uint64_t seed, std::uint64_t k)
{
    const long double u1 = Uniform(seed, 11, k);
    const long double u2 = Uniform(seed, 12, k);
    return std::sqrt(-2 * std::log(u1)) * std::cos(2 * kPi * u2);
}

// Sample span a pulse and its undershoot take, plus a gap for the detector's
// ringing window.
long double Footprint(const EdgePulse& p)
{
    return 3 * p.width + 2;
}

// The echo of the line end: the end's pulse again, twice as far from the
// cable start and at 30 % of its amplitude.
EdgePulse EchoOf(const EdgePulse& end, int pozice0X)
{
    EdgePulse echo = end;
    echo.kind = EventKind::Echo;
    echo.start = 2 * (end.start - pozice0X) + pozice0X;
    echo.amplitude = 0.3L * end.amplitude;
    return echo;
}

std::vector<EdgePulse> RandomLayout(const EdgeChartOptions& o, long double sd)
{
    std::vector<EdgePulse> pulses;
    const std::uint64_t seed = o.seed;
    auto width = [&](std::uint64_t stream, std::uint64_t i) {
        return std::round(Between(o.minWidth, o.maxWidth, Uniform(seed, stream, i)));
    };
    EdgePulse launch;
    launch.kind = EventKind::Launch;
    launch.start = o.pozice0X;
    launch.width = width(1, 0);
    launch.amplitude = kLaunchLevel;
    launch.undershoot = 0.1L;
    pulses.push_back(launch);

    const long double span = static_cast<long double>(o.sampleCount - o.pozice0X);
    EdgePulse end;
    const bool open = Uniform(seed, 2, 0) < 0.5L;
    end.kind = open ? EventKind::EndOpen : EventKind::EndShort;
    end.width = width(3, 0);
    // With an echo the end lies within the first half, so that the echo at
    // twice its distance fits.
    const long double reach = o.echo ? 0.45L : 0.9L;
    end.start = std::round(o.pozice0X + span * Between(0.25L, reach, Uniform(seed, 4, 0))) +
                std::round(Uniform(seed, 5, 0) * 100) / 100;
    end.amplitude = (open ? 1 : -1) * std::min(o.maxSnr * sd * Between(1.2L, 2, Uniform(seed, 6, 0)), 95.0L);
    end.undershoot = Between(0.05L, 0.3L, Uniform(seed, 7, 0));

    const long double from = launch.start + Footprint(launch);
    std::vector<EdgePulse> faults;
    for (int f = 0; f < o.reflectionCount; ++f) {
        EdgePulse p;
        const auto i = static_cast<std::uint64_t>(f);
        p.width = width(8, i);
        const bool up = Uniform(seed, 9, i) < 0.5L;
        p.kind = up ? EventKind::Open : EventKind::Short;
        p.amplitude = (up ? 1 : -1) * Between(o.minSnr, o.maxSnr, Uniform(seed, 10, i)) * sd;
        p.undershoot = Between(0.05L, 0.3L, Uniform(seed, 13, i));
        for (int attempt = 0; attempt < kPlaceAttempts; ++attempt) {
            const auto a = static_cast<std::uint64_t>(attempt);
            p.start =
                std::round(Between(from, end.start - Footprint(p), Uniform(seed, 14 + i, a)) * 100) / 100;
            const bool clear = std::all_of(faults.begin(), faults.end(), [&](const EdgePulse& q) {
                return p.start >= q.start + Footprint(q) || q.start >= p.start + Footprint(p);
            });
            if (clear && p.start >= from) {
                faults.push_back(p);
                break;
            }
        }
    }
    std::sort(faults.begin(), faults.end(),
              [](const EdgePulse& a, const EdgePulse& b) { return a.start < b.start; });
    pulses.insert(pulses.end(), faults.begin(), faults.end());
    pulses.push_back(end);
    if (o.echo) {
        const EdgePulse echo = EchoOf(end, o.pozice0X);
        if (echo.start + echo.width < o.sampleCount)
            pulses.push_back(echo);
    }
    return pulses;
}

// Fault and end levels of a clean trace, in percent.
constexpr long double kCleanFaultMin = 2;
constexpr long double kCleanFaultMax = 25;
// A matched line's faults stay below the end's floor (2 %) as they stay
// above the level floor (1 %): reflections of the line's joints.
constexpr long double kMatchedFaultMin = 1.25L;
constexpr long double kMatchedFaultMax = 1.75L;
constexpr long double kCleanEndMin = 30;
constexpr long double kCleanEndMax = 70;
constexpr long double kMinRinging = 0.02L;
constexpr long double kMaxRinging = 0.06L;

// Places `p` (its start) between from and to, clear of every pulse of
// `taken`; false when no place was found.
bool Place(EdgePulse& p, long double from, long double to, const std::vector<EdgePulse>& taken,
           std::uint64_t seed, std::uint64_t stream)
{
    for (int attempt = 0; attempt < kPlaceAttempts; ++attempt) {
        p.start =
            std::round(Between(from, to, Uniform(seed, stream, static_cast<std::uint64_t>(attempt))) * 100) /
            100;
        const bool clear = std::all_of(taken.begin(), taken.end(), [&](const EdgePulse& q) {
            return p.start >= q.start + Footprint(q) || q.start >= p.start + Footprint(p);
        });
        if (clear && p.start >= from && p.start <= to)
            return true;
    }
    return false;
}

// A clean trace's layout: launch, faults, end (unless matched) and its echo,
// all band-limited; the ripple goes to `ripples`.
std::vector<EdgePulse> CleanLayout(const EdgeChartOptions& o, std::vector<EdgePulse>& ripples)
{
    const std::uint64_t seed = o.seed;
    auto width = [&](std::uint64_t stream, std::uint64_t i) {
        return std::round(Between(o.minWidth, o.maxWidth, Uniform(seed, stream, i)));
    };
    auto banded = [&](EdgePulse p, std::uint64_t i) {
        p.shape = PulseShape::BandLimited;
        p.undershoot = 0;
        p.ringing = Between(kMinRinging, kMaxRinging, Uniform(seed, 31, i));
        return p;
    };
    std::vector<EdgePulse> pulses;
    EdgePulse launch;
    launch.kind = EventKind::Launch;
    launch.start = o.pozice0X;
    launch.width = width(32, 0);
    launch.amplitude = kLaunchLevel;
    pulses.push_back(banded(launch, 0));

    LineEnd kind = o.end;
    if (kind == LineEnd::Random) {
        const long double u = Uniform(seed, 33, 0);
        kind = u < 1.0L / 3 ? LineEnd::Open : u < 2.0L / 3 ? LineEnd::Short : LineEnd::Matched;
    }
    const long double span = static_cast<long double>(o.sampleCount - o.pozice0X);
    EdgePulse end;
    end.kind = kind == LineEnd::Short ? EventKind::EndShort : EventKind::EndOpen;
    end.width = width(34, 0);
    const long double reach = o.echo ? 0.45L : 0.9L;
    end.start = std::round(o.pozice0X + span * Between(0.25L, reach, Uniform(seed, 35, 0))) +
                std::round(Uniform(seed, 36, 0) * 100) / 100;
    end.amplitude =
        (kind == LineEnd::Short ? -1 : 1) * Between(kCleanEndMin, kCleanEndMax, Uniform(seed, 37, 0));
    end = banded(end, 1);
    // A matched line goes on to the end of the range.
    const long double lineEnd = kind == LineEnd::Matched ? o.sampleCount - 1 : end.start;

    const long double from = launch.start + Footprint(launch);
    std::vector<EdgePulse> taken = pulses;
    if (kind != LineEnd::Matched)
        taken.push_back(end);
    // `count` reflections of random sign, width and size in lo..hi, each
    // placed where it overlaps nothing placed so far; the streams keep the
    // draws of faults and ripples apart.
    auto scatter = [&](int count, std::uint64_t stream, long double lo, long double hi, std::uint64_t bandAt,
                       std::uint64_t placeAt) {
        std::vector<EdgePulse> placed;
        for (int n = 0; n < count; ++n) {
            const auto i = static_cast<std::uint64_t>(n);
            EdgePulse p;
            p.width = width(stream, i);
            const bool up = Uniform(seed, stream + 1, i) < 0.5L;
            p.kind = up ? EventKind::Open : EventKind::Short;
            p.amplitude = (up ? 1 : -1) * Between(lo, hi, Uniform(seed, stream + 2, i));
            p = banded(p, bandAt + i);
            if (Place(p, from, lineEnd - Footprint(p), taken, seed, placeAt + i)) {
                placed.push_back(p);
                taken.push_back(p);
            }
        }
        std::sort(placed.begin(), placed.end(),
                  [](const EdgePulse& a, const EdgePulse& b) { return a.start < b.start; });
        return placed;
    };
    const bool matched = kind == LineEnd::Matched;
    const std::vector<EdgePulse> faults =
        scatter(o.reflectionCount, 38, matched ? kMatchedFaultMin : kCleanFaultMin,
                matched ? kMatchedFaultMax : kCleanFaultMax, 2, 100);
    pulses.insert(pulses.end(), faults.begin(), faults.end());
    if (kind != LineEnd::Matched) {
        pulses.push_back(end);
        if (o.echo) {
            const EdgePulse echo = EchoOf(end, o.pozice0X);
            if (echo.start + Footprint(echo) < o.sampleCount) {
                pulses.push_back(echo);
                taken.push_back(echo);
            }
        }
    }
    ripples = scatter(o.rippleCount, 41, o.minRipple, o.maxRipple, 200, 300);
    return pulses;
}

} // namespace

long double PulseLevel(const EdgePulse& p, long double k)
{
    const long double t = k - p.start;
    const long double half = p.width / 2;
    if (p.shape == PulseShape::BandLimited) {
        if (t <= 0 || t >= 3 * p.width)
            return 0;
        if (t <= p.width)
            return p.amplitude * (1 - std::cos(2 * kPi * t / p.width)) / 2;
        // Ringing at half the width's period, decaying by e every half period.
        const long double u = t - p.width;
        return p.ringing * p.amplitude * std::sin(4 * kPi * u / p.width) * std::exp(-4 * u / p.width);
    }
    if (t <= 0 || t >= 2 * p.width)
        return 0;
    if (t <= half)
        return p.amplitude * t / half;
    if (t <= p.width)
        return p.amplitude * (p.width - t) / half;
    return -p.undershoot * p.amplitude * std::sin(kPi * (t - p.width) / p.width);
}

EdgeChart GenerateEdgeChart(const EdgeChartOptions& o)
{
    EdgeChart out;
    ChartOptions base;
    base.seed = o.seed;
    base.sampleCount = std::clamp(o.sampleCount, 0, 10000);
    base.interval = o.interval;
    base.velocityPerMille = o.velocityPerMille;
    base.pozice0X = o.pozice0X;
    base.noiseLevel = 0;
    base.faults = {{1, 0}};
    out.chart = GenerateChart(base);

    const long double sd = o.clean          ? 0
                           : o.noiseSd >= 0 ? o.noiseSd
                                            : Between(0.2L, 1, Uniform(o.seed, 20, 0));
    out.truth.noiseSd = sd;
    if (!o.pureNoise) {
        if (!o.pulses.empty())
            out.truth.events = o.pulses;
        else if (o.clean)
            out.truth.events = CleanLayout(o, out.truth.ripples);
        else
            out.truth.events = RandomLayout(o, sd);
    }

    std::vector<long double> samples(static_cast<std::size_t>(base.sampleCount));
    for (int k = 1; k <= base.sampleCount; ++k) {
        long double level = sd > 0 ? sd * Normal(o.seed, static_cast<std::uint64_t>(k)) : 0;
        for (const EdgePulse& p : out.truth.events)
            level += PulseLevel(p, k);
        for (const EdgePulse& p : out.truth.ripples)
            level += PulseLevel(p, k);
        level = std::clamp(level, -o.clip, o.clip);
        samples[static_cast<std::size_t>(k - 1)] = std::nearbyint(level * 100) / 100;
    }
    out.chart.SetSamples(std::move(samples));
    TMereni scratch;
    const TJednoMereni& ranged = scratch.AppendRecord(out.chart);
    out.chart.YMin = ranged.YMin;
    out.chart.YMax = ranged.YMax;
    return out;
}

std::string TruthText(const ChartTruth& truth)
{
    std::string text = "NoiseSd=" + FormatGeneral(truth.noiseSd, 6) + "\n";
    for (const EdgePulse& p : truth.events)
        text += std::string(EventKindName(p.kind)) + " " + FormatGeneral(p.start, 8) + " " +
                FormatFixed(p.amplitude, 3) + " " + FormatGeneral(p.width, 6) + "\n";
    for (const EdgePulse& p : truth.ripples)
        text += "ripple " + FormatGeneral(p.start, 8) + " " + FormatFixed(p.amplitude, 3) + " " +
                FormatGeneral(p.width, 6) + "\n";
    return text;
}

} // namespace lumidrax::chartgen
