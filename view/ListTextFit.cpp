#include "ListTextFit.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <vector>

namespace lumidrax {

namespace {

// Characters measured first; the probe doubles while the text it covers
// still fits the column.
constexpr std::size_t kFirstProbe = 128;

constexpr std::string_view kEllipsis = "...";

// A character starts at every byte that is not a UTF-8 continuation byte,
// and at the first byte of the text whatever it is.
bool IsContinuation(char c)
{
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

bool StartsChar(std::string_view s, std::size_t i)
{
    return i == 0 || !IsContinuation(s[i]);
}

std::size_t CountChars(std::string_view s)
{
    // Eight bytes at a time: a continuation byte has its top bit set and the
    // next one clear. Each byte lane counts up to 255 words, then the lanes
    // are added up.
    constexpr std::uint64_t kTopBits = 0x8080808080808080u;
    std::size_t continuation = 0;
    std::size_t i = 0;
    while (i + 8 <= s.size()) {
        std::uint64_t lanes = 0;
        for (int n = 0; n < 255 && i + 8 <= s.size(); ++n, i += 8) {
            std::uint64_t w;
            std::memcpy(&w, s.data() + i, 8);
            lanes += (w & ~(w << 1) & kTopBits) >> 7;
        }
        // Pairs of byte lanes into 16-bit lanes, then their sum.
        lanes = (lanes & 0x00FF00FF00FF00FFu) + ((lanes >> 8) & 0x00FF00FF00FF00FFu);
        continuation += static_cast<std::size_t>((lanes * 0x0001000100010001u) >> 48);
    }
    for (; i < s.size(); ++i)
        continuation += IsContinuation(s[i]);
    return s.size() - continuation + (!s.empty() && IsContinuation(s[0]) ? 1 : 0);
}

// Byte offsets of the first n + 1 character starts (fewer in a shorter
// text; the end of the text is not one of them).
std::vector<std::size_t> HeadStarts(std::string_view s, std::size_t n)
{
    std::vector<std::size_t> starts;
    for (std::size_t i = 0; i < s.size() && starts.size() <= n; ++i)
        if (StartsChar(s, i))
            starts.push_back(i);
    return starts;
}

// tails[t - 1] is the byte offset of the last t characters, for
// t = 1 .. n + 1 (fewer in a shorter text).
std::vector<std::size_t> TailStarts(std::string_view s, std::size_t n)
{
    std::vector<std::size_t> tails;
    for (std::size_t i = s.size(); i-- > 0 && tails.size() <= n;)
        if (StartsChar(s, i))
            tails.push_back(i);
    return tails;
}

// The largest count c = first + step * j (j >= 0) below `below` for which
// fits(c) holds, given that fits holds up to some count and not beyond;
// nothing found gives `none`.
template <typename Fits>
std::size_t LargestFitting(std::size_t first, std::size_t step, std::size_t below, std::size_t none,
                           const Fits& fits)
{
    if (first >= below)
        return none;
    // Invariant: index lo fits (lo = -1 stands for "none"), index hi does not.
    long long lo = -1;
    long long hi = static_cast<long long>((below - 1 - first) / step) + 1;
    while (hi - lo > 1) {
        const long long mid = lo + (hi - lo) / 2;
        if (fits(first + step * static_cast<std::size_t>(mid)))
            lo = mid;
        else
            hi = mid;
    }
    return lo < 0 ? none : first + step * static_cast<std::size_t>(lo);
}

// Bounds the characters a shortened text keeps from `s`: probing parts of
// kFirstProbe, twice as many, ... characters (their starts from
// `findStarts`, the part itself from `part`), the first part too wide on its
// own is one no shown text may hold; failing that, the whole text is
// measured. Nothing when the whole text fits, else the bound (shown parts
// have fewer characters). `starts` keeps the last probe's starts.
template <typename FindStarts, typename Part>
std::optional<std::size_t> ShownPartBound(std::string_view s, int maxWidth, const ListTextWidthFn& width,
                                          std::vector<std::size_t>& starts, const FindStarts& findStarts,
                                          const Part& part)
{
    for (std::size_t probe = kFirstProbe;; probe *= 2) {
        starts = findStarts(s, probe);
        if (starts.size() <= probe) {
            if (width(s) <= maxWidth)
                return std::nullopt;
            return starts.size();
        }
        if (width(part(starts, probe)) > maxWidth)
            return probe;
    }
}

} // namespace

std::string ShortenFromLeft(const std::string& name, int maxWidth, const ListTextWidthFn& width)
{
    const std::string_view s = name;
    // A tail of the name too wide on its own: every shown text that holds it
    // is too wide as well.
    std::vector<std::size_t> tails;
    const std::optional<std::size_t> below = ShownPartBound(
        s, maxWidth, width, tails, TailStarts,
        [s](const std::vector<std::size_t>& t, std::size_t probe) { return s.substr(t[probe - 1]); });
    if (!below)
        return name;
    std::string shown;
    const auto show = [&](std::size_t t) {
        shown.assign(kEllipsis);
        if (t > 0)
            shown.append(s.substr(tails[t - 1]));
    };
    // The step-by-step rule drops one leading character at a time and stops
    // at the first fit: the longest tail that fits, or none at all.
    const std::size_t t =
        LargestFitting(1, 1, *below, 0, [&](std::size_t n) { return show(n), width(shown) <= maxWidth; });
    show(t);
    return shown;
}

std::string ShortenFromRight(const std::string& text, int maxWidth, const ListTextWidthFn& width)
{
    const std::string_view s = text;
    std::vector<std::size_t> starts;
    const std::optional<std::size_t> below = ShownPartBound(
        s, maxWidth, width, starts, HeadStarts,
        [s](const std::vector<std::size_t>& h, std::size_t probe) { return s.substr(0, h[probe]); });
    if (!below)
        return text;
    std::string shown;
    const auto show = [&](std::size_t n) {
        shown.assign(s.substr(0, n < starts.size() ? starts[n] : s.size()));
        shown.append(kEllipsis);
    };
    // The step-by-step rule drops two trailing characters at a time, so the
    // heads it tries have the parity of the whole text's character count,
    // down to one or two characters, and then none.
    const std::size_t parity = CountChars(s) % 2;
    const std::size_t n = LargestFitting(parity == 1 ? 1 : 2, 2, *below, 0,
                                         [&](std::size_t m) { return show(m), width(shown) <= maxWidth; });
    show(n);
    return shown;
}

} // namespace lumidrax
