#include "EventDetection.h"

#include "ChartProcessing.h"
#include "NamedValue.h"
#include "PulseFit.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace lumidrax {

namespace {

// Samples over which the trace is smoothed before the threshold: a running
// mean, centred.
constexpr int kSmoothing = 3;
// Rising flank used for the leading edge, in fractions of the peak.
constexpr double kFlankLow = 0.1;
constexpr double kFlankHigh = 0.9;
// Ringing is smaller than this fraction of the event it follows.
constexpr double kRingingRatio = 0.5;
// Samples before the cable start this far below the baseline (percent, and
// noise deviations) are a raw chart's lower part, not a pulse.
constexpr double kApartLevel = 50;
constexpr double kApartNoise = 20;
// Levels are held within +-this for the detection.
constexpr long double kLevelBound = 1e12L;
// MAD of a normal distribution over its standard deviation.
constexpr double kMadToSd = 1.4826;

double Median(std::vector<double>& values)
{
    const std::size_t mid = values.size() / 2;
    std::nth_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(mid), values.end());
    double m = values[mid];
    if (values.size() % 2 == 0) {
        const double below =
            *std::max_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(mid));
        m = (m + below) / 2;
    }
    return m;
}

// At most this many values go into each median: an even spread of the
// samples (and of their residuals) estimates it well enough and keeps a
// long chart fast.
constexpr std::size_t kMedianValues = 2048;
// The trend's blocks: this many default pulse widths, and as many filter
// windows again as the pulse widths' worth of samples per window (a filtered
// chart's noise is correlated over its window: longer blocks keep the trend
// from following it).
constexpr int kTrendPulseWidths = 12;
constexpr int kTrendWindows = 4;

int TrendBlock(int pulseWidth, int filterWindow)
{
    return kTrendPulseWidths * pulseWidth + kTrendWindows * (filterWindow - 1);
}

// The median of a few values (an even count: the upper middle one), by
// counting each value's rank: a few hundred comparisons without branches,
// where a selection's partitioning mispredicts on about every other one.
double SmallMedian(const std::vector<double>& v)
{
    const std::size_t k = v.size() / 2;
    for (double x : v) {
        std::size_t less = 0, notMore = 0;
        for (double y : v) {
            less += y < x;
            notMore += y <= x;
        }
        if (less <= k && k < notMore)
            return x;
    }
    return v.empty() ? 0 : v[k];
}

// A trace's local trend: the medians of consecutive blocks of `block`
// samples (each of at most kBlockValues of them, evenly spread), joined by
// straight lines between the blocks' centres (flat before the first and
// after the last). A pulse narrower than half a block leaves its block's
// median alone.
class Trend {
  public:
    static constexpr int kBlockValues = 15;

    Trend(const std::vector<double>& x, int block)
    {
        const int n = static_cast<int>(x.size());
        block_ = std::clamp(block, 1, std::max(1, n));
        const int blocks = (n + block_ - 1) / block_;
        medians_.resize(static_cast<std::size_t>(blocks));
        centres_.resize(static_cast<std::size_t>(blocks));
        std::vector<double> scratch;
        scratch.reserve(kBlockValues);
        for (int b = 0; b < blocks; ++b) {
            const int from = b * block_;
            const int to = std::min(n, from + block_);
            const int step = std::max(1, (to - from + kBlockValues - 1) / kBlockValues);
            scratch.clear();
            for (int k = from + (to - from - 1) % step / 2; k < to; k += step)
                scratch.push_back(x[static_cast<std::size_t>(k)]);
            medians_[static_cast<std::size_t>(b)] = SmallMedian(scratch);
            centres_[static_cast<std::size_t>(b)] = (from + to - 1) / 2.0;
        }
    }

    // The trend at samples 0, stride, 2 stride, ... below n, in one sweep
    // along the blocks.
    template <class Visit> void Sweep(std::size_t n, std::size_t stride, Visit visit) const
    {
        const std::size_t blocks = medians_.size();
        std::size_t b = 0;
        for (std::size_t k = 0; k < n; k += stride) {
            const auto at = static_cast<double>(k);
            double t = 0;
            if (blocks == 0) {
            } else if (blocks == 1 || at <= centres_.front()) {
                t = medians_.front();
            } else if (at >= centres_.back()) {
                t = medians_.back();
            } else {
                while (b + 2 < blocks && at >= centres_[b + 1])
                    ++b;
                const double f = (at - centres_[b]) / (centres_[b + 1] - centres_[b]);
                t = medians_[b] + f * (medians_[b + 1] - medians_[b]);
            }
            visit(k, t);
        }
    }

  private:
    int block_ = 1;
    std::vector<double> medians_;
    std::vector<double> centres_;
};

// Residuals beyond this many deviations are pulses, not noise.
constexpr double kClipDeviations = 5;
// Rounds of clipping at most.
constexpr int kClipRounds = 12;
// The residual's spread is taken from at most this many samples, evenly
// spread (an odd count: its median is one selection); the root mean square
// of a thousand values is within about 2 % of the deviation.
constexpr std::size_t kResidualValues = 1023;

// The standard deviation of x less its local trend: only a pulse's own
// samples stand out of the residual. The root mean square of the residuals,
// taken again over those within kClipDeviations of the last answer until
// it settles (sigma clipping), passes over the pulses and, unlike a median,
// is true for noise of any shape (uniform rounding noise has a median
// deviation a quarter above the normal distribution's). White noise,
// correlated noise and smooth ripple alike show in the residual as large
// as they are.
// A deviation the residual's is not far above: the differences' spread,
// times four, and more on a filtered chart (whose differences shrink by the
// window's square root).
double Hint(double differences, int window)
{
    return differences * std::sqrt(16.0 + window);
}

// `hint`: a deviation the answer is not far above (the differences'
// spread times the filter's window at most); the first round clips at
// kClipDeviations of it.
double ResidualSd(const std::vector<double>& x, const Trend& trend, double hint)
{
    if (x.size() < 2)
        return 0;
    const std::size_t stride = (x.size() + kResidualValues - 1) / kResidualValues;
    const std::size_t count = (x.size() + stride - 1) / stride;
    std::vector<double> size(count);
    trend.Sweep(x.size(), stride, [&](std::size_t k, double t) { size[k / stride] = std::fabs(x[k] - t); });
    // Clipped again at kClipDeviations of each answer until it keeps the
    // same values: the pulses fall out within a few rounds, and no round
    // branches on the values.
    double clip = hint > 0 ? kClipDeviations * hint : std::numeric_limits<double>::infinity();
    double sum = 0;
    std::size_t within = 0;
    std::size_t kept = count + 1;
    for (int round = 0; round < kClipRounds && within != kept; ++round) {
        kept = within;
        sum = 0;
        within = 0;
        for (double r : size) {
            const bool in = r <= clip;
            sum += in ? r * r : 0;
            within += in;
        }
        clip = kClipDeviations * std::sqrt(sum / static_cast<double>(std::max<std::size_t>(1, within)));
    }
    return within > 0 ? std::sqrt(sum / static_cast<double>(within)) : 0;
}

// The first differences of white noise centre on 0; their median absolute
// value, as a standard deviation, over sqrt(2) (a difference of two samples
// has sqrt(2) times their deviation). Robust against pulses, but blind to
// noise that is correlated from sample to sample.
double DifferenceSd(const std::vector<double>& x)
{
    const std::size_t stride = (x.size() + kMedianValues - 1) / kMedianValues;
    std::vector<double> scratch;
    scratch.reserve(kMedianValues);
    for (std::size_t k = 0; k + 1 < x.size(); k += stride)
        scratch.push_back(std::fabs(x[k + 1] - x[k]));
    return scratch.empty() ? 0 : kMadToSd * Median(scratch) / std::sqrt(2.0);
}

// The baseline (the samples' median) and the spread of their first
// differences.
NoiseEstimate BaselineAndDifferences(const std::vector<double>& x)
{
    NoiseEstimate n;
    if (x.empty())
        return n;
    const std::size_t stride = (x.size() + kMedianValues - 1) / kMedianValues;
    std::vector<double> scratch;
    scratch.reserve(kMedianValues);
    for (std::size_t k = 0; k < x.size(); k += stride)
        scratch.push_back(x[k]);
    n.Baseline = Median(scratch);
    n.Sd = std::max(static_cast<long double>(DifferenceSd(x)), kMinNoiseSd);
    return n;
}

// The noise: the larger of the residual's spread and the differences'. On
// white noise the two agree; on a smooth, correlated or filtered trace the
// differences fall far short and the residual holds.
long double NoiseSd(long double differences, const std::vector<double>& x, const Trend& trend, int window)
{
    return std::max(differences, static_cast<long double>(
                                     ResidualSd(x, trend, Hint(static_cast<double>(differences), window))));
}

// One excursion of the smoothed trace: first and last sample (0-based),
// sign, peak sample and its height (signed, above the baseline).
struct Excursion {
    int first = 0;
    int last = 0;
    int sign = 1;
    int peak = 0;
    double height = 0;
    double edge = 0; // leading edge, 0-based fractional sample
};

// Leading edge of an excursion: the rising flank's fitted line carried back
// to the baseline. `y` is the smoothed trace less its baseline (a straight
// flank stays straight under the centred mean, with a third of the noise's
// variance); the flank's fractions are of the raw peak.
double LeadingEdge(const std::vector<double>& y, const Excursion& e)
{
    const double p = std::fabs(e.height);
    auto level = [&](int k) { return e.sign * y[static_cast<std::size_t>(k)]; };
    // Walk back from the peak over the top of the flank, then over its body.
    int hi = e.peak;
    while (hi > 0 && level(hi - 1) > kFlankHigh * p)
        --hi;
    --hi; // the first sample at or below the top fraction
    int lo = hi;
    while (lo > 0 && level(lo - 1) > kFlankLow * p)
        --lo;
    if (hi < 0) // the flank starts before the first sample
        return 0;
    // At least two points: widen towards the peak, then towards the start.
    if (hi - lo < 1) {
        if (hi + 1 <= e.peak)
            ++hi;
        else if (lo > 0)
            --lo;
    }
    if (hi - lo < 1)
        return static_cast<double>(lo);
    double sk = 0, sy = 0, skk = 0, sky = 0;
    const int n = hi - lo + 1;
    for (int k = lo; k <= hi; ++k) {
        const double v = level(k);
        sk += k;
        sy += v;
        skk += static_cast<double>(k) * k;
        sky += k * v;
    }
    const double mk = sk / n;
    const double my = sy / n;
    const double slope = (sky - n * mk * my) / (skk - n * mk * mk);
    double edge = slope > 0 ? mk - my / slope : static_cast<double>(lo);
    // Never beyond the flank's first point nor before the sample the trace
    // left the baseline from (a last sample at or below it).
    int start = lo;
    while (start > 0 && level(start - 1) > 0)
        --start;
    edge = std::clamp(edge, static_cast<double>(std::max(0, start - 1)), static_cast<double>(lo));
    return edge;
}

// The samples up to the cable start of a VKR102 chart lie 100 below the
// cable; lifted onto the baseline they leave the launch pulse as it is.
// Samples up to the start that lie within the noise, or above it, stay. On
// a filtered chart the step spread over the window behind the start is
// lifted as the trailing average spread it (the first samples averaged
// over as many as there were).
void LiftSamplesBeforeStart(std::vector<double>& y, int start, double sd, int window)
{
    const int n = static_cast<int>(y.size());
    const int count = std::min(start, n);
    if (count < 1)
        return;
    std::vector<double> before(y.begin(), y.begin() + count);
    const double offset = Median(before);
    if (!(offset < -kApartLevel && -offset > kApartNoise * sd))
        return;
    for (int k = 0; k < std::min(n, count + window - 1); ++k) {
        const int from = std::max(0, k - window + 1);
        const int below = std::min(k, count - 1) - from + 1;
        y[static_cast<std::size_t>(k)] -= offset * below / (k - from + 1);
    }
}

// The excursions of y (the trace less its baseline) whose peaks clear the
// level floor. The threshold is in noise deviations of the smoothed trace,
// measured on it (`block`: the trend's block length), so that noise that is
// correlated from sample to sample (a filtered chart) is not taken for white
// noise three samples' smoothing would reduce by the square root of three.
std::vector<Excursion> FindExcursions(const std::vector<double>& y, double sd, const Trend& trend, int window,
                                      const EventParams& params)
{
    const int n = static_cast<int>(y.size());
    // Centred running mean; at the ends over the samples there are.
    std::vector<double> s(y.size());
    const int half = kSmoothing / 2;
    for (int k = 0; k < n; ++k) {
        const int a = std::max(0, k - half);
        const int b = std::min(n - 1, k + half);
        if (b - a + 1 == kSmoothing) {
            s[static_cast<std::size_t>(k)] =
                (y[static_cast<std::size_t>(a)] + y[static_cast<std::size_t>(a + 1)] +
                 y[static_cast<std::size_t>(b)]) /
                kSmoothing;
            continue;
        }
        double sum = 0;
        for (int j = a; j <= b; ++j)
            sum += y[static_cast<std::size_t>(j)];
        s[static_cast<std::size_t>(k)] = sum / (b - a + 1);
    }
    // At least what smoothing white noise of the raw trace's deviation
    // would leave.
    const double smoothedSd =
        std::max(ResidualSd(s, trend, Hint(sd, window)), sd / std::sqrt(static_cast<double>(kSmoothing)));
    const double high = static_cast<double>(params.Threshold()) * smoothedSd;
    const double floor = static_cast<double>(params.Floor());
    const double low = static_cast<double>(params.Hysteresis) * high;

    std::vector<Excursion> found;
    int k = 0;
    while (k < n) {
        const double v = s[static_cast<std::size_t>(k)];
        if (std::fabs(v) < high) {
            ++k;
            continue;
        }
        Excursion e;
        e.sign = v > 0 ? 1 : -1;
        // Back to where the smoothed trace rose above the lower threshold.
        int first = k;
        while (first > 0 && e.sign * s[static_cast<std::size_t>(first - 1)] >= low)
            --first;
        if (!found.empty())
            first = std::max(first, found.back().last + 1);
        int last = k;
        while (last + 1 < n && e.sign * s[static_cast<std::size_t>(last + 1)] >= low)
            ++last;
        e.first = first;
        e.last = last;
        // Peak over the raw samples of the excursion (the smoothing may
        // reach one sample beyond it).
        e.peak = first;
        for (int j = std::max(0, first - half); j <= std::min(n - 1, last + half); ++j)
            if (e.sign * y[static_cast<std::size_t>(j)] > e.sign * y[static_cast<std::size_t>(e.peak)])
                e.peak = j;
        e.height = y[static_cast<std::size_t>(e.peak)];
        if (e.sign * e.height > 0 && std::fabs(e.height) >= floor) {
            e.edge = LeadingEdge(s, e);
            found.push_back(e);
        }
        k = last + 1;
    }
    return found;
}

} // namespace

std::string_view EventKindName(EventKind kind)
{
    static constexpr NamedValue<EventKind> kNames[] = {
        {EventKind::Launch, "launch"},    {EventKind::Open, "open"},          {EventKind::Short, "short"},
        {EventKind::EndOpen, "end-open"}, {EventKind::EndShort, "end-short"}, {EventKind::Echo, "echo"},
    };
    return NameOf(kNames, kind, "open");
}

long double EventParams::Threshold() const
{
    return 10 - std::clamp(Sensitivity, kMinSensitivity, kMaxSensitivity);
}

long double EventParams::Floor() const
{
    return std::isnan(LevelFloor) ? 0 : std::clamp(LevelFloor, kMinLevelFloor, kMaxLevelFloor);
}

long double EventParams::EndFloor() const
{
    return Floor() * std::max(1.0L, EndFloorRatio);
}

NoiseEstimate EstimateNoise(const std::vector<long double>& samples, int filterWindow)
{
    const std::vector<double> x(samples.begin(), samples.end());
    NoiseEstimate n = BaselineAndDifferences(x);
    const Trend trend(
        x, TrendBlock(EventParams{}.DefaultPulseWidth, std::clamp(filterWindow, 1, kMaxFilterWindow)));
    n.Sd = NoiseSd(n.Sd, x, trend, std::clamp(filterWindow, 1, kMaxFilterWindow));
    return n;
}

int FilterWindowOf(const TJednoMereni& chart)
{
    return std::clamp(chart.FilterPost, 1, kMaxFilterWindow);
}

long double FilterLag(const TJednoMereni& chart)
{
    return (FilterWindowOf(chart) - 1) / 2.0L;
}

long double EventDistance(const TJednoMereni& chart, long double sample)
{
    const long double whole = std::floor(sample);
    return SampleDistance(chart, static_cast<int>(whole)) + (sample - whole) * chart.Step;
}

int NearestSample(const TJednoMereni& chart, long double sample)
{
    return ClampToSamples(chart, static_cast<int>(std::lround(sample)));
}

std::optional<long double> VelocityForLength(const TJednoMereni& chart, long double sample,
                                             long double length)
{
    const long double distance = EventDistance(chart, sample);
    if (!(distance > 0) || !(length > 0) || !(chart.Velocity > 0))
        return std::nullopt;
    const long double velocity = chart.Velocity * length / distance;
    if (!(velocity >= kMinVelocityFactor && velocity <= kMaxVelocityFactor))
        return std::nullopt;
    return velocity;
}

int EndEventIndex(const std::vector<ChartEvent>& events)
{
    for (std::size_t i = 0; i < events.size(); ++i)
        if (events[i].Kind == EventKind::EndOpen || events[i].Kind == EventKind::EndShort)
            return static_cast<int>(i);
    return -1;
}

std::vector<ChartEvent> DetectEvents(const TJednoMereni& chart, const EventParams& params)
{
    std::vector<ChartEvent> events;
    if (chart.SampleCount < 3 || static_cast<int>(chart.Samples.size()) != chart.SampleCount)
        return events;
    // Levels beyond any instrument's (a file may hold 1E4000 or worse) are
    // held at a bound the sums below cannot overflow with.
    std::vector<double> y(chart.Samples.size());
    for (std::size_t k = 0; k < y.size(); ++k) {
        // Converted first (beyond the double range: infinite), then held,
        // which compares doubles instead of long doubles.
        const auto v = static_cast<double>(chart.Samples[k]);
        y[k] = std::isnan(v)
                   ? 0.0
                   : std::clamp(v, -static_cast<double>(kLevelBound), static_cast<double>(kLevelBound));
    }
    const int window = FilterWindowOf(chart);
    const double lag = static_cast<double>(FilterLag(chart));
    // The lower part of a VKR102 chart is told from the noise by the
    // differences' spread; the trend and the residual's spread are those
    // of the trace it leaves.
    NoiseEstimate noise = BaselineAndDifferences(y);
    for (double& v : y)
        v -= static_cast<double>(noise.Baseline);
    LiftSamplesBeforeStart(y, chart.Pozice0X, static_cast<double>(noise.Sd), window);
    const Trend trend(y, TrendBlock(params.DefaultPulseWidth, window));
    noise.Sd = NoiseSd(noise.Sd, y, trend, window);
    const std::vector<Excursion> found =
        FindExcursions(y, static_cast<double>(noise.Sd), trend, window, params);

    // Ringing: smaller excursions starting within the spacing behind the
    // end of a kept one. The spacing is at least the launch pulse's width.
    // On a filtered chart the line's edge of the launch lies up to the lag
    // behind the cable start.
    const double start = static_cast<double>(chart.Pozice0X) - 1;
    auto isLaunch = [&](std::size_t i, const Excursion& e) {
        return i == 0 && e.edge <= start + params.DefaultPulseWidth + lag;
    };
    std::vector<Excursion> kept;
    int pulseWidth = params.DefaultPulseWidth;
    for (const Excursion& e : found) {
        if (!kept.empty()) {
            const Excursion& prev = kept.back();
            const int spacing =
                std::max(pulseWidth, static_cast<int>(std::ceil(static_cast<double>(prev.last) - prev.edge)));
            if (e.first <= prev.last + spacing &&
                std::fabs(e.height) < kRingingRatio * std::fabs(prev.height))
                continue;
        }
        if (isLaunch(kept.size(), e))
            pulseWidth = std::max(pulseWidth, e.last - static_cast<int>(e.edge));
        kept.push_back(e);
    }
    const bool launch = !kept.empty() && isLaunch(0, kept[0]);
    // The pulse fit only for the events kept (ringing and undershoots
    // judged by the line's edges).
    for (Excursion& e : kept)
        e.edge = FittedEdge(y, e.peak, e.sign, e.last - e.first + 1, e.edge, window);

    for (std::size_t i = 0; i < kept.size(); ++i) {
        const Excursion& e = kept[i];
        ChartEvent ev;
        ev.Sample = static_cast<long double>(e.edge) + 1;
        ev.Distance = EventDistance(chart, ev.Sample);
        ev.PeakSample = e.peak + 1;
        ev.PeakLevel = chart.Samples[static_cast<std::size_t>(e.peak)];
        ev.Snr = std::fabs(static_cast<long double>(e.height)) / noise.Sd;
        ev.LastSample = e.last + 1;
        ev.Kind = e.height > 0 ? EventKind::Open : EventKind::Short;
        if (i == 0 && launch)
            ev.Kind = EventKind::Launch;
        events.push_back(ev);
    }

    // The end: the largest event after the launch, when it clears the end's
    // floor; otherwise the line has no end in the range.
    int end = -1;
    for (std::size_t i = 0; i < events.size(); ++i)
        if (events[i].Kind != EventKind::Launch &&
            (end < 0 || std::fabs(kept[i].height) > std::fabs(kept[static_cast<std::size_t>(end)].height)))
            end = static_cast<int>(i);
    if (end < 0 ||
        std::fabs(kept[static_cast<std::size_t>(end)].height) < static_cast<double>(params.EndFloor()))
        return events;
    ChartEvent& endEvent = events[static_cast<std::size_t>(end)];
    endEvent.Kind = endEvent.Kind == EventKind::Open ? EventKind::EndOpen : EventKind::EndShort;

    // Echoes beyond the end: at about twice the peak distance of an earlier,
    // larger event (distances counted from the cable start, the peaks of a
    // filtered chart less the lag).
    auto offset = [&](std::size_t i) { return static_cast<double>(kept[i].peak) - lag - start; };
    for (std::size_t i = static_cast<std::size_t>(end) + 1; i < events.size(); ++i) {
        for (std::size_t j = 0; j < i; ++j) {
            if (events[j].Kind == EventKind::Launch || events[j].Kind == EventKind::Echo || offset(j) <= 0 ||
                std::fabs(kept[j].height) <= std::fabs(kept[i].height))
                continue;
            const double twice = 2 * offset(j);
            const double tolerance = static_cast<double>(params.EchoTolerance) * twice + pulseWidth;
            if (std::fabs(offset(i) - twice) <= tolerance) {
                events[i].Kind = EventKind::Echo;
                break;
            }
        }
    }
    return events;
}

} // namespace lumidrax
