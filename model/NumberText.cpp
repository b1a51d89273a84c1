#include "NumberText.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace lumidrax {

namespace {

// Decimal digits of a value: the digit string (no leading zeros unless the
// value is zero) and the position of the decimal point relative to its
// start (value = 0.d1d2d3... * 10^pointPos).
struct DecimalDigits {
    bool negative = false;
    std::string digits;
    int pointPos = 0;
};

DecimalDigits ToDigits(long double value, int significant)
{
    DecimalDigits d;
    if (value == 0) {
        d.negative = std::signbit(value);
        d.digits = "0";
        d.pointPos = 1;
        return d;
    }
    std::array<char, 64> buf{};
    std::snprintf(buf.data(), buf.size(), "%.*Le", significant - 1, value);
    std::string_view s(buf.data());
    std::size_t pos = 0;
    if (s[pos] == '-') {
        d.negative = true;
        ++pos;
    }
    for (; pos < s.size() && s[pos] != 'e'; ++pos)
        if (s[pos] >= '0' && s[pos] <= '9')
            d.digits.push_back(s[pos]);
    int exponent = std::atoi(s.data() + pos + 1);
    d.pointPos = exponent + 1;
    return d;
}

// Rounds the digit string half away from zero so that `keep` digits remain
// (keep may be zero or negative: the value then rounds to 0 or to one unit).
void RoundDigits(DecimalDigits& d, int keep)
{
    if (keep >= static_cast<int>(d.digits.size()))
        return;
    if (keep < 0) {
        d.digits = "0";
        d.pointPos = 1;
        return;
    }
    bool up = d.digits[static_cast<std::size_t>(keep)] >= '5';
    d.digits.resize(static_cast<std::size_t>(keep));
    if (up) {
        int i = keep - 1;
        while (i >= 0 && d.digits[static_cast<std::size_t>(i)] == '9') {
            d.digits[static_cast<std::size_t>(i)] = '0';
            --i;
        }
        if (i < 0) {
            d.digits.insert(d.digits.begin(), '1');
            ++d.pointPos;
        } else {
            ++d.digits[static_cast<std::size_t>(i)];
        }
    }
    if (d.digits.empty()) {
        d.digits = "0";
        d.pointPos = 1;
    }
}

// Powers of ten that a long double holds exactly (5^27 < 2^64).
constexpr std::array<long double, 28> kExactPowers = {
    1e0L,  1e1L,  1e2L,  1e3L,  1e4L,  1e5L,  1e6L,  1e7L,  1e8L,  1e9L,  1e10L, 1e11L, 1e12L, 1e13L,
    1e14L, 1e15L, 1e16L, 1e17L, 1e18L, 1e19L, 1e20L, 1e21L, 1e22L, 1e23L, 1e24L, 1e25L, 1e26L, 1e27L,
};

bool AllZero(const std::string& digits)
{
    return digits.find_first_not_of('0') == std::string::npos;
}

// A value that lies on the grid of its decimals (a sample as the
// instruments deliver it, 12,34), or within a ten-thousandth of a unit of
// it, is written from its integer count of units: the rounding of the
// 18-digit text below gives the same digits, at a small part of the cost
// (a chart file writes 10000 such values).
bool FormatOnGrid(long double value, int decimals, std::string& out)
{
    constexpr int kMaxGridDecimals = 4;
    constexpr long double kMaxGridValue = 1e6L;
    constexpr long double kGridTolerance = 1e-4L;
    if (decimals < 0 || decimals > kMaxGridDecimals || !(std::fabs(value) < kMaxGridValue))
        return false;
    const long double scaled = value * kExactPowers[static_cast<std::size_t>(decimals)];
    // Nearest integer (a tie is off the grid anyway).
    long long n = static_cast<long long>(scaled + (scaled < 0 ? -0.5L : 0.5L));
    if (std::fabs(scaled - static_cast<long double>(n)) > kGridTolerance)
        return false;
    const bool negative = n < 0;
    if (negative)
        n = -n;
    // Written from the last digit back: units, at least one integer digit,
    // the comma, the sign.
    std::array<char, 32> text{};
    std::size_t at = text.size();
    int written = 0;
    do {
        if (written == decimals && decimals > 0)
            text[--at] = ',';
        text[--at] = static_cast<char>('0' + n % 10);
        n /= 10;
        ++written;
    } while (n > 0 || written <= decimals);
    if (negative)
        text[--at] = '-';
    out.assign(text.data() + at, text.size() - at);
    return true;
}

} // namespace

std::string FormatFixed(long double value, int decimals)
{
    if (std::isnan(value))
        return "NAN";
    if (std::isinf(value))
        return value < 0 ? "-INF" : "INF";
    if (std::string out; FormatOnGrid(value, decimals, out))
        return out;
    DecimalDigits d = ToDigits(value, 18);
    RoundDigits(d, d.pointPos + decimals);
    std::string out;
    if (d.negative && !AllZero(d.digits))
        out.push_back('-');
    // Integer part.
    if (d.pointPos <= 0) {
        out.push_back('0');
    } else {
        for (int i = 0; i < d.pointPos; ++i)
            out.push_back(i < static_cast<int>(d.digits.size()) ? d.digits[static_cast<std::size_t>(i)]
                                                                : '0');
    }
    if (decimals > 0) {
        out.push_back(',');
        for (int k = 0; k < decimals; ++k) {
            int i = d.pointPos + k;
            out.push_back(i >= 0 && i < static_cast<int>(d.digits.size())
                              ? d.digits[static_cast<std::size_t>(i)]
                              : '0');
        }
    }
    return out;
}

std::string FormatGeneral(long double value, int precision)
{
    if (std::isnan(value))
        return "NAN";
    if (std::isinf(value))
        return value < 0 ? "-INF" : "INF";
    if (value == 0)
        return "0";
    DecimalDigits d = ToDigits(value, precision);
    while (d.digits.size() > 1 && d.digits.back() == '0')
        d.digits.pop_back();
    std::string out = d.negative ? "-" : "";
    const int n = static_cast<int>(d.digits.size());
    if (d.pointPos > precision || std::fabs(value) < 0.00001L) {
        out.push_back(d.digits[0]);
        if (n > 1) {
            out.push_back(',');
            out.append(d.digits, 1);
        }
        out.push_back('E');
        out.append(std::to_string(d.pointPos - 1));
        return out;
    }
    if (d.pointPos <= 0) {
        out.append("0,");
        out.append(static_cast<std::size_t>(-d.pointPos), '0');
        out.append(d.digits);
        return out;
    }
    for (int i = 0; i < d.pointPos; ++i)
        out.push_back(i < n ? d.digits[static_cast<std::size_t>(i)] : '0');
    if (n > d.pointPos) {
        out.push_back(',');
        out.append(d.digits, static_cast<std::size_t>(d.pointPos));
    }
    return out;
}

std::optional<long double> ParseDecimal(std::string_view text)
{
    std::size_t i = 0;
    const std::size_t n = text.size();
    bool negative = false;
    if (i < n && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    std::uint64_t mantissa = 0;
    int digitsInMantissa = 0;
    int dropped = 0;  // integer digits not held in the mantissa
    int fraction = 0; // fraction digits held in the mantissa
    bool anyDigit = false;
    // Takes the digit at i into the mantissa while it holds fewer than 19
    // significant digits; says whether it did.
    auto takeDigit = [&] {
        anyDigit = true;
        if (digitsInMantissa >= 19)
            return false;
        mantissa = mantissa * 10 + static_cast<std::uint64_t>(text[i] - '0');
        if (mantissa != 0)
            ++digitsInMantissa;
        return true;
    };
    auto atDigit = [&] { return i < n && text[i] >= '0' && text[i] <= '9'; };
    for (; atDigit(); ++i)
        if (!takeDigit())
            ++dropped;
    if (i < n && text[i] == ',') {
        for (++i; atDigit(); ++i)
            if (takeDigit())
                ++fraction;
    }
    if (!anyDigit)
        return std::nullopt;
    long exponent = 0;
    if (i < n && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        bool expNegative = false;
        if (i < n && (text[i] == '+' || text[i] == '-')) {
            expNegative = text[i] == '-';
            ++i;
        }
        if (i >= n || text[i] < '0' || text[i] > '9')
            return std::nullopt;
        for (; i < n && text[i] >= '0' && text[i] <= '9'; ++i)
            if (exponent < 100000)
                exponent = exponent * 10 + (text[i] - '0');
        if (expNegative)
            exponent = -exponent;
    }
    if (i != n)
        return std::nullopt;
    const long scale = exponent + dropped - fraction;
    long double value;
    if (scale == 0) {
        value = static_cast<long double>(mantissa);
    } else if (scale < 0 && scale >= -27) {
        // Both operands are exact, so one division rounds correctly.
        value = static_cast<long double>(mantissa) / kExactPowers[static_cast<std::size_t>(-scale)];
    } else if (scale > 0 && scale <= 27) {
        value = static_cast<long double>(mantissa) * kExactPowers[static_cast<std::size_t>(scale)];
    } else {
        // Rare: let the C library do the exact conversion on a point form.
        std::string plain(text);
        for (char& c : plain)
            if (c == ',')
                c = '.';
        value = std::fabs(std::strtold(plain.c_str(), nullptr));
    }
    if (!std::isfinite(value))
        return std::nullopt;
    return negative ? -value : value;
}

std::optional<int> ParseInteger(std::string_view text)
{
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    int value = 0;
    auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || ptr != text.data() + text.size() || text.empty())
        return std::nullopt;
    return value;
}

std::string_view TrimBlanks(std::string_view text)
{
    auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && blank(text[first]))
        ++first;
    while (last > first && blank(text[last - 1]))
        --last;
    return text.substr(first, last - first);
}

} // namespace lumidrax
