#include "PulseFit.h"

#include <algorithm>
#include <cmath>

namespace lumidrax {

namespace {

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

// The pulse fit searches the edge from this many samples before the line
// fit's to this many after it (a weak pulse's line tends to start early).
constexpr double kEdgeSearch = 2;
constexpr double kEdgeLater = 3;
// Half widths (rise times) the fit considers, in samples.
constexpr double kMinHalf = 1;
constexpr double kMaxHalf = 16;

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
double SearchEdge(const Fit& fit, int peak, int sign, double lineEdge, double lag, double span)
{
    const double lowest = lineEdge - lag - kEdgeSearch;
    double edge = lineEdge;
    double half = std::max(kMinHalf, std::min(kMaxHalf, peak - lineEdge));
    double best = fit.Explained(sign, edge, half);
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
                const double x = fit.Explained(sign, t, h);
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

} // namespace

double FittedEdge(const std::vector<double>& y, int peak, int sign, int length, double lineEdge, int window)
{
    const int n = static_cast<int>(y.size());
    const double lag = (window - 1) / 2.0;
    const double top = y[static_cast<std::size_t>(peak)];
    // A filtered pulse has a flat top of its own: only an unfiltered one is
    // taken as clipped.
    if (window == 1 && ((peak > 0 && y[static_cast<std::size_t>(peak - 1)] == top) ||
                        (peak + 1 < n && y[static_cast<std::size_t>(peak + 1)] == top)))
        return lineEdge;
    const int a = std::max(0, static_cast<int>(std::floor(lineEdge - lag - kEdgeSearch)) - 1);
    const int b =
        std::min(n - 1, static_cast<int>(std::ceil(lineEdge + kEdgeLater + 4 * kMaxHalf)) + window - 1);
    if (b - a < 4)
        return lineEdge;
    // The averaging spreads the excursion over window - 1 samples more.
    const double span = length - (window - 1);
    if (window == 1)
        return SearchEdge(PulseFit(y, a, b), peak, sign, lineEdge, 0, span);
    return SearchEdge(FilteredPulseFit(y, a, b, window), peak, sign, lineEdge, lag, std::max(1.0, span));
}

} // namespace lumidrax
