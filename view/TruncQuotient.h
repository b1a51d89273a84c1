#pragma once
// trunc(a / divisor) in extended precision, as ValueToPixel computes it,
// without an extended division for most values: a double product with the
// reciprocal is within a few 1e-16 (relative) of the exact quotient, so its
// truncation is the same unless it lies within 1e-6 of a whole number; only
// then (and for huge quotients) the exact division runs. The renderer uses
// it for the sample dots, which must land on ValueToPixel's pixels.

#include <cmath>

namespace lumidrax {

class TruncQuotient {
  public:
    explicit TruncQuotient(long double divisor)
        : divisor_(divisor), inverse_(1.0 / static_cast<double>(divisor))
    {
    }

    int operator()(long double a) const
    {
        const double t = static_cast<double>(a) * inverse_;
        if (std::fabs(t) < 1e8) {
            const double whole = std::trunc(t);
            const double frac = std::fabs(t - whole);
            if (frac > 1e-6 && frac < 1 - 1e-6)
                return static_cast<int>(whole);
        }
        const long double q = a / divisor_;
        if (!(std::fabs(q) < 1e9L))
            return q > 0 ? 1000000000 : -1000000000;
        return static_cast<int>(q);
    }

  private:
    long double divisor_;
    double inverse_;
};

} // namespace lumidrax
