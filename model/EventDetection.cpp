#include "EventDetection.h"

#include "ChartProcessing.h"
#include "NamedValue.h"

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
// The pulse fit searches the edge from this many samples before the line
// fit's to this many after it (a weak pulse's line tends to start early).
constexpr double kEdgeSearch = 2;
constexpr double kEdgeLater = 3;
// Half widths (rise times) the fit considers, in samples.
constexpr double kMinHalf = 1;
constexpr double kMaxHalf = 16;
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

// The pulse the edge fit assumes: a straight rise over `half` samples from
// the leading edge to the peak, a straight fall as long, then an undershoot
// of the opposite sign lasting the rise and fall again (a parabola arc, near
// enough to half a sine). Fitted by least squares to the samples of a window
// (the trace less its baseline, the baseline fixed): for an edge and half
// width the peak height and the undershoot depth follow in closed form (rise
// and fall do not overlap the undershoot), and with running sums over the
// window each try costs a few operations whatever the pulse's width.
class PulseFit {
  public:
    // The window y[a..b].
    PulseFit(const std::vector<double>& y, int a, int b) : a_(a), count_(b - a + 1)
    {
        for (auto& s : sums_)
            s.assign(static_cast<std::size_t>(count_) + 1, 0.0);
        for (int i = 0; i < count_; ++i) {
            const double k = i;
            const double v = y[static_cast<std::size_t>(a + i)];
            const double p[kSums] = {1, k, k * k, k * k * k, k * k * k * k, v, k * v, k * k * v};
            for (int s = 0; s < kSums; ++s)
                sums_[static_cast<std::size_t>(s)][static_cast<std::size_t>(i) + 1] =
                    sums_[static_cast<std::size_t>(s)][static_cast<std::size_t>(i)] + p[s];
        }
    }

    // The sum of squares the pulse with this edge (0-based, in chart
    // samples) and half width takes away; -1 when its peak has the other
    // sign than `sign`.
    double Explained(int sign, double edge, double half) const
    {
        const double t = edge - a_;
        // Rise (t, t + half], fall (t + half, t + 2 half], undershoot after.
        const int r0 = First(t), r1 = Last(t + half);
        const int f0 = r1 + 1, f1 = Last(t + 2 * half);
        const int u0 = f1 + 1, u1 = Last(t + 4 * half);
        const double h2 = half * half;
        // Rise: (k - t) / half; fall: (t + 2 half - k) / half.
        const double c = t + 2 * half;
        const double sym =
            (Sum(kKY, r0, r1) - t * Sum(kY, r0, r1) + c * Sum(kY, f0, f1) - Sum(kKY, f0, f1)) / half;
        const double smm = (Sum(kK2, r0, r1) - 2 * t * Sum(kK, r0, r1) + t * t * Sum(kOne, r0, r1) +
                            Sum(kK2, f0, f1) - 2 * c * Sum(kK, f0, f1) + c * c * Sum(kOne, f0, f1)) /
                           h2;
        if (smm <= 0 || sign * sym <= 0)
            return -1;
        double explained = sym * sym / smm;
        // Undershoot: (k^2 + beta k + gamma) / half^2, from c to c + 2 half.
        const double beta = -(2 * c + 2 * half);
        const double gamma = c * (c + 2 * half);
        const double syu = (Sum(kK2Y, u0, u1) + beta * Sum(kKY, u0, u1) + gamma * Sum(kY, u0, u1)) / h2;
        const double suu =
            (Sum(kK4, u0, u1) + 2 * beta * Sum(kK3, u0, u1) + (beta * beta + 2 * gamma) * Sum(kK2, u0, u1) +
             2 * beta * gamma * Sum(kK, u0, u1) + gamma * gamma * Sum(kOne, u0, u1)) /
            (h2 * h2);
        if (suu > 1e-12)
            explained += syu * syu / suu;
        return explained;
    }

  private:
    enum { kOne, kK, kK2, kK3, kK4, kY, kKY, kK2Y, kSums };
    // First window index above x, last at or below it, within the window.
    int First(double x) const { return std::max(0, static_cast<int>(std::floor(x)) + 1); }
    int Last(double x) const { return std::min(count_ - 1, static_cast<int>(std::floor(x))); }
    double Sum(int s, int from, int to) const
    {
        if (to < from)
            return 0;
        const auto& v = sums_[static_cast<std::size_t>(s)];
        return v[static_cast<std::size_t>(to) + 1] - v[static_cast<std::size_t>(from)];
    }

    int a_;
    int count_;
    std::vector<double> sums_[kSums];
};

// The same pulse after a trailing moving average of `window` samples (a
// filtered chart), fitted to the window y[a..b] of the filtered trace. The
// rise and fall and the undershoot overlap once averaged, so both heights
// come from a two-by-two least-squares system; each try evaluates the
// pulse over the window (and the filter's reach before it) and averages it
// with a running sum.
class FilteredPulseFit {
  public:
    FilteredPulseFit(const std::vector<double>& y, int a, int b, int window)
        : y_(y), a_(a), b_(b), window_(window)
    {
        const auto count = static_cast<std::size_t>(b - a + window);
        pulse_.resize(count);
        under_.resize(count);
    }

    double Explained(int sign, double edge, double half) const
    {
        const double c = edge + 2 * half;
        const int from = a_ - window_ + 1;
        for (int k = from; k <= b_; ++k) {
            const double t = k - edge;
            double p = 0, u = 0;
            if (t > 0 && t <= half)
                p = t / half;
            else if (t > half && t <= 2 * half)
                p = (c - k) / half;
            else if (t > 2 * half && t <= 4 * half)
                u = (k - c) * (k - c - 2 * half) / (half * half);
            pulse_[static_cast<std::size_t>(k - from)] = p;
            under_[static_cast<std::size_t>(k - from)] = u;
        }
        double sp = 0, su = 0;
        for (int i = 0; i < window_ - 1; ++i) {
            sp += pulse_[static_cast<std::size_t>(i)];
            su += under_[static_cast<std::size_t>(i)];
        }
        double pp = 0, uu = 0, pu = 0, yp = 0, yu = 0;
        for (int k = a_; k <= b_; ++k) {
            const auto i = static_cast<std::size_t>(k - from);
            sp += pulse_[i];
            su += under_[i];
            const double p = sp / window_, u = su / window_;
            const double v = y_[static_cast<std::size_t>(k)];
            pp += p * p;
            uu += u * u;
            pu += p * u;
            yp += v * p;
            yu += v * u;
            const auto out = static_cast<std::size_t>(k - from - window_ + 1);
            sp -= pulse_[out];
            su -= under_[out];
        }
        if (pp <= 0)
            return -1;
        const double det = pp * uu - pu * pu;
        if (uu <= 1e-12 || det <= 1e-12 * pp * uu) {
            if (sign * yp <= 0)
                return -1;
            return yp * yp / pp;
        }
        const double height = (yp * uu - yu * pu) / det;
        const double depth = (yu * pp - yp * pu) / det;
        // The undershoot has the other sign than the pulse (as the basis
        // has it: a positive depth under a positive pulse): an undershoot
        // of the pulse's own sign would lengthen the averaged pulse and let
        // an edge a window early fit as well. Without it, the pulse alone.
        if (sign * height <= 0 || sign * depth < 0) {
            if (sign * yp <= 0)
                return -1;
            return yp * yp / pp;
        }
        return height * yp + depth * yu;
    }

  private:
    const std::vector<double>& y_;
    int a_, b_, window_;
    mutable std::vector<double> pulse_, under_;
};

// The leading edge refined by the pulse fit (above): edge and half width
// tried on a grid near the line fit's answer (the peak sample of a weak
// pulse is a poor guide to its width, so every width is tried), then on a
// finer grid around the best pair. Uses every sample of the rise and the
// fall and the baseline before the edge, where the line fit uses part of
// the rise only. A pulse cut off at a level (a flat top) keeps the line
// fit's edge.
// A filtered chart (window above 1) fits the averaged pulse, the edge
// searched from the filter's lag before the line's edge (the line's edge of
// an averaged pulse lies between its true edge and that plus the lag) to the
// lag after it: the averaged noise before a weak pulse can hold the trace off
// its baseline for several samples, and the line fit then starts early.
template <class Fit>
double SearchEdge(const Fit& fit, const Excursion& e, double lineEdge, double lag, double span)
{
    const double lowest = lineEdge - lag - kEdgeSearch;
    double edge = lineEdge;
    double half = std::max(kMinHalf, std::min(kMaxHalf, e.peak - lineEdge));
    double best = fit.Explained(e.sign, edge, half);
    auto grid = [&](double edgeStep, int edges, double halfStep, int halves, double fromHalf) {
        const double edgeAt = edge;
        const double halfAt = fromHalf > 0 ? fromHalf : half;
        for (int i = -edges; i <= edges; ++i) {
            const double t = edgeAt + i * edgeStep;
            if (t < 0 || t < lowest || t > lineEdge + kEdgeLater + lag)
                continue;
            for (int j = fromHalf > 0 ? 0 : -halves; j <= halves; ++j) {
                const double h = halfAt + j * halfStep;
                if (h < kMinHalf || h > kMaxHalf)
                    continue;
                const double x = fit.Explained(e.sign, t, h);
                if (x > best) {
                    best = x;
                    edge = t;
                    half = h;
                }
            }
        }
    };
    // The excursion's span above the lower threshold bounds the width: a
    // pulse passes it on its rise and its fall, within the smoothing.
    const double lowHalf = std::max(kMinHalf, std::floor(span / 2) - 2);
    const double highHalf = std::min(kMaxHalf, span + 2);
    if (lowHalf > kMaxHalf) // longer than any pulse fitted: a step, say
        return lineEdge;
    grid(0.5, static_cast<int>(2 * (kEdgeLater + lag)), 1, static_cast<int>(highHalf - lowHalf), lowHalf);
    grid(0.25, 3, 0.25, 3, 0);
    grid(0.05, 4, 0.1, 2, 0);
    return edge;
}

double FittedEdge(const std::vector<double>& y, const Excursion& e, double lineEdge, int window)
{
    const int n = static_cast<int>(y.size());
    const double lag = (window - 1) / 2.0;
    const double top = y[static_cast<std::size_t>(e.peak)];
    // A filtered pulse has a flat top of its own: only an unfiltered one is
    // taken as clipped.
    if (window == 1 && ((e.peak > 0 && y[static_cast<std::size_t>(e.peak - 1)] == top) ||
                        (e.peak + 1 < n && y[static_cast<std::size_t>(e.peak + 1)] == top)))
        return lineEdge;
    const int a = std::max(0, static_cast<int>(std::floor(lineEdge - lag - kEdgeSearch)) - 1);
    const int b =
        std::min(n - 1, static_cast<int>(std::ceil(lineEdge + kEdgeLater + 4 * kMaxHalf)) + window - 1);
    if (b - a < 4)
        return lineEdge;
    // The averaging spreads the excursion over window - 1 samples more.
    const double span = e.last - e.first + 1 - (window - 1);
    if (window == 1)
        return SearchEdge(PulseFit(y, a, b), e, lineEdge, 0, span);
    return SearchEdge(FilteredPulseFit(y, a, b, window), e, lineEdge, lag, std::max(1.0, span));
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
        e.edge = FittedEdge(y, e, e.edge, window);

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
