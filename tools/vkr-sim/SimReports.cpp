#include "SimReports.h"

#include <algorithm>
#include <cmath>

namespace lumidrax::vkrsim {

namespace {

std::uint8_t B(int v)
{
    return static_cast<std::uint8_t>(v & 0xFF);
}

int LevelByte(long double level)
{
    return std::clamp(static_cast<int>(std::nearbyint(level)) + 128, 0, 255);
}

} // namespace

ByteVec ReportTransfer(Model model, const std::vector<ReportRecord>& records)
{
    const bool vkr103 = model != Model::VKR102;
    const std::uint8_t type = model == Model::VKR102 ? 4 : (model == Model::VKR103 ? 6 : 8);
    ByteVec v = {type, 0, 0};
    for (const ReportRecord& r : records) {
        const int n = std::min<int>(static_cast<int>(r.points.size()), 31);
        const int vel = std::clamp(r.velocity, 500, 1011) - 500;
        v.push_back(B(n | ((r.sensitivityCode & 3) << 5) | (vkr103 && r.negativePolarity ? 128 : 0)));
        v.push_back(r.skipped ? 255 : B((r.recordNumber & 127) | ((vel >> 8) << 7)));
        v.push_back(B(vel));
        v.push_back(B(vkr103 && r.impedance >= 256 ? r.impedance - 256 : r.impedance));
        v.push_back(B(r.minLevel));
        v.push_back(B(r.maxLevel));
        v.push_back(B(((r.filter & 15) << 4) | ((r.minPosition >> 8) & 15)));
        v.push_back(B(r.minPosition));
        v.push_back(B(((r.attenuationCode & 3) << 6) | (vkr103 && r.dcPresent ? 32 : 0) |
                      ((r.maxPosition >> 8) & 31)));
        v.push_back(B(r.maxPosition));
        v.push_back(B(r.noise));
        for (int i = 0; i < n; ++i) {
            const ReportPoint& p = r.points[static_cast<std::size_t>(i)];
            const int range = vkr103 && i == 0 ? (p.rangeCode & 7) << 4 : 0;
            v.push_back(B(p.a));
            v.push_back(B(p.b));
            v.push_back(B((p.marked ? 128 : 0) | range | ((p.distance >> 8) & 15)));
            v.push_back(B(p.distance));
        }
        if (vkr103 && r.dcPresent) {
            v.push_back(B(r.dcStatus));
            v.push_back(B(r.dcVoltage));
            v.push_back(B(r.dcResistance));
        }
    }
    v.push_back(255);
    const std::size_t count = v.size() - 1;
    v[1] = B(static_cast<int>(count));
    v[2] = B(static_cast<int>(count >> 8));
    unsigned sum = 0;
    for (std::uint8_t byte : v)
        sum += byte;
    v.push_back(B(static_cast<int>(sum)));
    v.push_back(B(static_cast<int>(sum >> 8)));
    return v;
}

ReportRecord ReportFromChart(const TJednoMereni& c, int recordNumber, Model model)
{
    const bool vkr103 = model != Model::VKR102;
    ReportRecord r;
    r.recordNumber = recordNumber & 127;
    r.velocity = static_cast<int>(std::nearbyint(c.Velocity * 1000));
    r.impedance = c.Impedance;
    r.noise = std::clamp(c.Noise, 0, 255);
    r.filter = std::clamp(c.Filter, 0, 15);
    r.negativePolarity = c.NegEdge == 1;
    r.sensitivityCode = 1;
    r.attenuationCode = 0;
    // Distances in metres; the VKR103 counts them in tenths (range code 0)
    // when they fit 12 bits, else in whole metres (code 3).
    const long double step = c.Step > 0 ? c.Step : 0.2L;
    long double longest = 0;
    if (c.SampleCount > 0)
        longest = (c.SampleCount - c.Pozice0X) * step;
    const int rangeCode = vkr103 && longest * 10 < 4096 ? 0 : 3;
    const long double unit = rangeCode == 0 ? 0.1L : 1;
    auto position = [&](int k, int bits) {
        const long double metres = std::max<long double>(0, (k - c.Pozice0X) * step);
        const int limit = (1 << bits) - 1;
        return std::clamp(static_cast<int>(std::nearbyint(metres / (vkr103 ? unit : 1))), 0, limit);
    };
    if (c.SampleCount == 0)
        return r;

    int kMin = 1, kMax = 1;
    for (int k = 1; k <= c.SampleCount; ++k) {
        if (c.Sample(k) < c.Sample(kMin))
            kMin = k;
        if (c.Sample(k) > c.Sample(kMax))
            kMax = k;
    }
    const int start = std::clamp(c.Pozice0X, 1, c.SampleCount);
    const int base = LevelByte(c.Sample(start));
    r.minLevel = LevelByte(c.Sample(kMin));
    r.maxLevel = LevelByte(c.Sample(kMax));
    r.minPosition = position(kMin, 12);
    r.maxPosition = position(kMax, 13);

    // Strongest local extremes beyond the launch pulse (a few samples past
    // the cable start), at most four, in order of distance.
    std::vector<std::pair<long double, int>> peaks;
    for (int k = start + 20; k < c.SampleCount; ++k) {
        const long double s = c.Sample(k);
        if ((s > c.Sample(k - 1) && s >= c.Sample(k + 1)) || (s < c.Sample(k - 1) && s <= c.Sample(k + 1)))
            peaks.emplace_back(std::fabs(s), k);
    }
    std::sort(peaks.begin(), peaks.end(), [](auto& x, auto& y) { return x.first > y.first; });
    peaks.resize(std::min<std::size_t>(peaks.size(), 4));
    std::sort(peaks.begin(), peaks.end(), [](auto& x, auto& y) { return x.second < y.second; });

    ReportPoint first;
    first.a = base;
    first.b = base;
    first.distance = 0;
    first.rangeCode = rangeCode;
    r.points.push_back(first);
    for (const auto& [size, k] : peaks) {
        ReportPoint p;
        p.a = base;
        p.b = LevelByte(c.Sample(k));
        p.distance = position(k, 12);
        p.marked = size > 30;
        r.points.push_back(p);
    }
    if (vkr103 && c.StatusIDX >= 0 && c.StatusIDX <= 15) {
        r.dcPresent = true;
        r.dcStatus = c.StatusIDX;
        r.dcVoltage = c.DCVoltage & 0xFF;
        r.dcResistance = std::clamp(c.DCResistance, 0, 255);
    }
    return r;
}

} // namespace lumidrax::vkrsim
