#include "SimBlocks.h"

#include "NamedValue.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstring>
#include <limits>

namespace lumidrax::vkrsim {

namespace {

constexpr std::uint8_t kFrameType = 0x43;

void Put8(ByteVec& v, long long value)
{
    v.push_back(static_cast<std::uint8_t>(value & 0xFF));
}

void Put16(ByteVec& v, long long value)
{
    const long long clamped = std::clamp<long long>(value, 0, 65535);
    v.push_back(static_cast<std::uint8_t>(clamped & 0xFF));
    v.push_back(static_cast<std::uint8_t>((clamped >> 8) & 0xFF));
}

void Set16(ByteVec& v, std::size_t offset, long long value)
{
    v[offset] = static_cast<std::uint8_t>(value & 0xFF);
    v[offset + 1] = static_cast<std::uint8_t>((value >> 8) & 0xFF);
}

// Signed pair (v, s): s = 255 for negative values (down to -256).
void PutSignedPair(ByteVec& v, int value)
{
    value = std::clamp(value, -256, 255);
    Put8(v, value < 0 ? value + 256 : value);
    Put8(v, value < 0 ? 255 : 0);
}

void PutSingle(ByteVec& v, float f)
{
    std::uint32_t bits;
    std::memcpy(&bits, &f, sizeof bits);
    for (int k = 0; k < 4; ++k)
        v.push_back(static_cast<std::uint8_t>((bits >> (8 * k)) & 0xFF));
}

void AppendChecksum(ByteVec& v, std::size_t from)
{
    unsigned sum = 0;
    for (std::size_t k = from; k < v.size(); ++k)
        sum += v[k];
    Put16(v, sum & 0xFFFF);
}

int Velocity1000(const TJednoMereni& c)
{
    return static_cast<int>(std::nearbyint(c.Velocity * 1000));
}

// Impedance byte of the VKR103: 256..305 ohms go as value - 256 (below 50).
int ImpedanceByteVKR103(int ohms)
{
    return ohms >= 256 ? ohms - 256 : ohms;
}

// Baseline `units` (raw units added to (level + 100) x scale) nearest to
// `preferred` within [0, top] such that every sample's raw value
// round((s + 100) x scale + units) lies within [0, rawTop].
long long FitBaseline(const TJednoMereni& c, long long preferred, long double scale, long long top,
                      long long rawTop)
{
    if (c.Samples.empty())
        return std::clamp(preferred, 0LL, top);
    const auto [lo, hi] = std::minmax_element(c.Samples.begin(), c.Samples.end());
    const long double low = std::ceil(-(*lo + 100) * scale - 0.5L);
    const long double high = std::floor(static_cast<long double>(rawTop) + 0.5L - (*hi + 100) * scale);
    long long from = static_cast<long long>(std::max<long double>(low, 0));
    long long to = static_cast<long long>(std::min<long double>(high, static_cast<long double>(top)));
    if (from > to) // no baseline fits every sample: keep the low ones
        return std::clamp(from, 0LL, top);
    return std::clamp(preferred, from, to);
}

std::uint8_t RawByte(long double level, int baseline)
{
    const long double raw = std::nearbyint(level + baseline + 100);
    return static_cast<std::uint8_t>(std::clamp<long double>(raw, 0, 255));
}

// Fields from Interval to the baseline/edge/status part shared by the
// VKR103 single and memory blocks (offsets 3..22 of the single block).
// The settings every model sends in the same order: interval, velocity,
// impedance (in the model's own byte), noise, DC, filter and cable start.
void PutSettingsFields(ByteVec& v, const TJednoMereni& c, int impedanceByte)
{
    Put16(v, c.Interval);
    Put16(v, Velocity1000(c));
    Put8(v, 0);
    Put8(v, impedanceByte);
    Put8(v, c.Noise);
    PutSignedPair(v, c.DC);
    Put8(v, 0);
    Put8(v, 0);
    Put8(v, c.Filter);
    Put8(v, c.Pozice0X);
}

void PutSamples(ByteVec& v, const TJednoMereni& c, int baseline)
{
    for (long double s : c.Samples)
        v.push_back(RawByte(s, baseline));
}

// A VKR102/VKR103 block: its length after the type byte, then the checksum.
void CloseChartBlock(ByteVec& v)
{
    Set16(v, 1, static_cast<long long>(v.size() + 2 - 5));
    AppendChecksum(v, 0);
}

void PutVKR103Fields(ByteVec& v, const TJednoMereni& c, int baseline)
{
    PutSettingsFields(v, c, ImpedanceByteVKR103(c.Impedance));
    Put8(v, baseline);
    Put8(v, c.NegEdge == 1 ? 0 : 1);
    Put8(v, c.StatusIDX >= 0 ? (c.StatusIDX & 0x0F) : 0);
    Put16(v, c.DCResistance);
    PutSignedPair(v, c.DCVoltage);
}

bool ParseDate(const std::string& text, int out[6])
{
    // "DD.MM.YYYY hh:mm:ss"
    int day, month, year, hour, minute, second;
    char tail;
    if (std::sscanf(text.c_str(), "%d.%d.%d %d:%d:%d%c", &day, &month, &year, &hour, &minute, &second,
                    &tail) != 6)
        return false;
    if (year < 2000 || year > 2255 || day < 0 || day > 255 || month < 0 || month > 255 || hour < 0 ||
        hour > 255 || minute < 0 || minute > 255 || second < 0 || second > 255)
        return false;
    out[0] = second;
    out[1] = minute;
    out[2] = hour;
    out[3] = day;
    out[4] = month;
    out[5] = year - 2000;
    return true;
}

constexpr NamedValue<Model> kModelNames[] = {
    {Model::VKR102, "VKR102"},
    {Model::VKR103, "VKR103"},
    {Model::VKR103RAM, "VKR103RAM"},
    {Model::VKR104, "VKR104"},
};

} // namespace

const char* ModelName(Model model)
{
    return NameOf(kModelNames, model, "");
}

bool ParseModel(const std::string& text, Model& model)
{
    std::string upper = text;
    for (char& ch : upper)
        ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
    return ValueNamed(kModelNames, upper, model);
}

int EncodingBaseline(const TJednoMereni& c, Model model)
{
    if (model == Model::VKR104)
        return static_cast<int>(FitBaseline(c, c.Pozice0Y, 256, 65535, 65535));
    // A chart of the oldest model that still holds raw samples (Pozice0Y
    // -1) is sent as it is.
    if (c.Pozice0Y < 0 && model == Model::VKR102)
        return -100;
    return static_cast<int>(FitBaseline(c, std::max(c.Pozice0Y, 0), 1, 255, 255));
}

ByteVec VKR102ChartBlock(const TJednoMereni& c)
{
    const int baseline = EncodingBaseline(c, Model::VKR102);
    ByteVec v = {3, 0, 0};
    PutSettingsFields(v, c, c.Impedance);
    PutSamples(v, c, baseline);
    CloseChartBlock(v);
    return v;
}

ByteVec VKR103ChartBlock(const TJednoMereni& c)
{
    const int baseline = EncodingBaseline(c, Model::VKR103);
    ByteVec v = {5, 0, 0};
    PutVKR103Fields(v, c, baseline);
    PutSamples(v, c, baseline);
    CloseChartBlock(v);
    return v;
}

void AppendVKR103RAMBlock(ByteVec& transfer, const TJednoMereni& c, int memoryNumber)
{
    const int baseline = EncodingBaseline(c, Model::VKR103RAM);
    const std::size_t p = transfer.size();
    transfer.push_back(7);
    Put16(transfer, static_cast<long long>(c.Samples.size()) + 23);
    Put8(transfer, memoryNumber);
    PutVKR103Fields(transfer, c, baseline);
    PutSamples(transfer, c, baseline);
    // Five bytes close the block: a checksum of the block and three zeros.
    unsigned sum = 0;
    for (std::size_t k = p; k < transfer.size(); ++k)
        sum += transfer[k];
    Put16(transfer, sum & 0xFFFF);
    transfer.insert(transfer.end(), {0, 0, 0});
}

ByteVec VKR104Frame(const TJednoMereni& c, const std::string& fallbackDate)
{
    const int baseline = EncodingBaseline(c, Model::VKR104);
    int date[6] = {0, 0, 0, 1, 1, 0};
    if (!ParseDate(c.DatumCas, date))
        ParseDate(fallbackDate, date);
    ByteVec v = {kFrameType, 0, 0};
    Put16(v, c.Index);
    Put16(v, c.SeriePrvni);
    Put16(v, c.SeriePosledni);
    PutSettingsFields(v, c, c.Impedance);
    Put16(v, baseline);
    Put8(v, c.NegEdge == 1 ? 0 : 1);
    // A chart without DC measurement goes with both "not measured" bits.
    Put8(v, c.StatusIDX >= 0 ? c.StatusIDX : 192);
    PutSingle(v, c.DCResistanceSingle);
    PutSingle(v, c.DCVoltageSingle);
    for (int b : date)
        Put8(v, b);
    Put16(v, c.SerialNumber);
    Put16(v, static_cast<long long>(c.Samples.size()));
    for (long double s : c.Samples)
        Put16(v, static_cast<long long>(std::nearbyint((s + 100) * 256 + baseline)));
    const std::size_t f = v.size() - kFrameHeaderSize;
    Set16(v, 1, static_cast<long long>(f));
    // Two closing bytes: a sum of the frame's bytes (not checked by the
    // receiver).
    AppendChecksum(v, kFrameHeaderSize);
    return v;
}

ByteVec VKR104EndFrame()
{
    return {kFrameType, 0, 0, 0, 0};
}

} // namespace lumidrax::vkrsim
