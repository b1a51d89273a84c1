#include "ChartFile.h"

#include "Cp1250.h"
#include "DCTexts.h"
#include "Limits.h"
#include "MessageCatalogue.h"
#include "NumberText.h"
#include "TMereni.h"
#include "Utf8Text.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <sys/mman.h>
#include <unistd.h>

namespace lumidrax {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kTokenGap = "     ";
constexpr std::string_view kLineEnd = "\r\n";
constexpr const char* kNoDate = "---";

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

// A text from the file as quoted in a message, control characters escaped.
std::string Quoted(std::string_view text)
{
    return "'" + EscapeControls(text) + "'";
}

// UTF-16 text, with or without its byte order mark: ASCII characters in it
// leave every other byte zero.
bool LooksLikeUtf16(std::string_view bytes)
{
    if (bytes.size() >= 2 &&
        ((bytes[0] == '\xFF' && bytes[1] == '\xFE') || (bytes[0] == '\xFE' && bytes[1] == '\xFF')))
        return true;
    const std::size_t n = std::min<std::size_t>(bytes.size(), 64) & ~std::size_t{1};
    if (n < 4)
        return false;
    std::size_t zeros[2] = {0, 0};
    for (std::size_t k = 0; k < n; ++k)
        zeros[k % 2] += bytes[k] == '\0' ? 1 : 0;
    const std::size_t half = n / 2;
    return (zeros[0] == 0 && zeros[1] * 4 >= half * 3) || (zeros[1] == 0 && zeros[0] * 4 >= half * 3);
}

int IntToken(const std::vector<std::string>& tokens, std::size_t k, const std::string& where)
{
    if (auto v = ParseInteger(tokens[k]))
        return *v;
    throw ChartFileError(where + ", line 2: " + Quoted(tokens[k]) + " is not a valid integer");
}

float FloatToken(const std::vector<std::string>& tokens, std::size_t k, const std::string& where)
{
    // A value beyond the single-precision range would be stored as infinity
    // and written as a token no reader accepts.
    if (auto v = ParseDecimal(tokens[k]); v && std::fabs(*v) <= std::numeric_limits<float>::max())
        return static_cast<float>(*v);
    throw ChartFileError(where + ", line 2: " + Quoted(tokens[k]) + " is not a valid floating point value");
}

// What only a VKR104 header carries: the date, the series, the serial
// number, the single-precision values and the index.
void ClearVKR104Fields(TJednoMereni& c)
{
    c.DatumCas = kNoDate;
    c.SeriePrvni = c.SeriePosledni = c.SerialNumber = 0;
    c.DCResistanceSingle = c.DCVoltageSingle = c.Pozice0YSingle = 0;
    c.Index = 0;
}

// A header of the oldest forms (7 or 8 values): tokens 8 and on are missing.
void SetVKR102Defaults(TJednoMereni& c)
{
    c.Pozice0Y = c.NegEdge = c.StatusIDX = -1;
    c.DCResistance = c.DCVoltage = 0;
    c.DCVoltageStr = kNoDCValue;
    c.DCResistStr = kNoDCValue;
    c.VerzeVKR = "VKR102";
    ClearVKR104Fields(c);
}

// Where the settings line holds each whole-number setting (0-based token).
// The reader and the writer both walk these, so the layout is known once.
struct IntAt {
    int TJednoMereni::*Field;
    std::size_t Token;
};
// Tokens 2..6 of every header (0 is the interval, 1 the velocity).
constexpr IntAt kSettingInts[] = {{&TJednoMereni::Impedance, 2},
                                  {&TJednoMereni::Noise, 3},
                                  {&TJednoMereni::DC, 4},
                                  {&TJednoMereni::Filter, 5},
                                  {&TJednoMereni::Pozice0X, 6}};
// Tokens 7..12: the filter after, the zero level, the edge and the DC
// measurement (headers of 13 tokens and more).
constexpr IntAt kDCInts[] = {{&TJednoMereni::FilterPost, 7},    {&TJednoMereni::Pozice0Y, 8},
                             {&TJednoMereni::NegEdge, 9},       {&TJednoMereni::StatusIDX, 10},
                             {&TJednoMereni::DCResistance, 11}, {&TJednoMereni::DCVoltage, 12}};
// A VKR104's date and time of day, then its series and serial number.
constexpr std::size_t kDateToken = 13;
constexpr std::size_t kTimeToken = 14;
constexpr IntAt kSeriesInts[] = {
    {&TJednoMereni::SeriePrvni, 15}, {&TJednoMereni::SeriePosledni, 16}, {&TJednoMereni::SerialNumber, 17}};
// A VKR104's single-precision values.
struct FloatAt {
    float TJednoMereni::*Field;
    std::size_t Token;
};
constexpr FloatAt kSingles[] = {{&TJednoMereni::DCResistanceSingle, 18},
                                {&TJednoMereni::DCVoltageSingle, 19},
                                {&TJednoMereni::Pozice0YSingle, 20}};
constexpr std::size_t kVersionToken = 21;
constexpr std::size_t kIndexToken = 22;
constexpr std::size_t kDCHeaderTokens = 13;
constexpr std::size_t kVKR104HeaderTokens = 23;

template <std::size_t N>
void ReadInts(TJednoMereni& c, const std::vector<std::string>& t, const IntAt (&at)[N],
              const std::string& where)
{
    for (const IntAt& a : at)
        c.*(a.Field) = IntToken(t, a.Token, where);
}

template <std::size_t N>
void WriteInts(const TJednoMereni& c, const IntAt (&at)[N], std::vector<std::string>& t)
{
    for (const IntAt& a : at)
        t[a.Token] = std::to_string(c.*(a.Field));
}

// The two date-time tokens of a VKR104 header. The stored text normally
// holds exactly one blank; any other form is folded into two tokens that
// read back to the same text ("---" stands for a missing part).
std::array<std::string, 2> DateTokens(const std::string& datumCas)
{
    std::vector<std::string> parts;
    SplitTokens(datumCas, parts);
    if (parts.empty())
        return {kNoDate, kNoDate};
    if (parts.size() == 1)
        return {parts[0], kNoDate};
    std::string rest = parts[1];
    for (std::size_t k = 2; k < parts.size(); ++k)
        rest += "_" + parts[k];
    return {parts[0], rest};
}

std::string DateFromTokens(const std::string& date, const std::string& time)
{
    if (time == kNoDate)
        return date;
    return date + " " + time;
}

// Splits the buffer into lines ended by CR LF, LF or a lone CR.
class LineReader {
  public:
    explicit LineReader(std::string_view text) : text_(text) {}
    bool Next(std::string_view& line)
    {
        if (pos_ >= text_.size())
            return false;
        // Sample lines are a few bytes long: a plain scan beats library
        // searches here.
        const char* begin = text_.data() + pos_;
        const char* end = text_.data() + text_.size();
        const char* p = begin;
        while (p != end && *p != '\n' && *p != '\r')
            ++p;
        line = std::string_view(begin, static_cast<std::size_t>(p - begin));
        if (p != end) {
            if (*p == '\r' && p + 1 != end && p[1] == '\n')
                ++p;
            ++p;
        }
        pos_ = static_cast<std::size_t>(p - text_.data());
        ++number_;
        return true;
    }
    int Number() const { return number_; }

  private:
    std::string_view text_;
    std::size_t pos_ = 0;
    int number_ = 0;
};

// Asks the kernel to map the whole pages of a fresh block at once instead of
// one fault per page as the samples are stored: loading a full collection
// touches some 160 MB of new memory, and single page faults are costly on
// virtual machines. Only a hint; the content is not changed.
void PrefaultForWriting(void* data, std::size_t bytes)
{
#ifdef MADV_POPULATE_WRITE
    static const std::uintptr_t page = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
    const std::uintptr_t begin = (reinterpret_cast<std::uintptr_t>(data) + page - 1) & ~(page - 1);
    const std::uintptr_t end = (reinterpret_cast<std::uintptr_t>(data) + bytes) & ~(page - 1);
    if (end > begin + page)
        ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_POPULATE_WRITE);
#else
    (void)data;
    (void)bytes;
#endif
}

} // namespace

void SplitTokens(std::string_view line, std::vector<std::string>& tokens)
{
    tokens.clear();
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && IsBlank(line[i]))
            ++i;
        std::size_t start = i;
        while (i < line.size() && !IsBlank(line[i]))
            ++i;
        if (i > start)
            tokens.emplace_back(line.substr(start, i - start));
    }
}

void ParseHeader(TJednoMereni& c, std::string_view line, const std::string& where)
{
    std::vector<std::string> t;
    SplitTokens(line, t);
    const std::size_t n = t.size();
    if (n < 7)
        throw ChartFileError(where + ", line 2: the settings line holds " + std::to_string(n) +
                             " values where at least 7 are needed");
    c.Interval = IntToken(t, 0, where);
    c.Velocity = static_cast<long double>(IntToken(t, 1, where)) / 1000;
    ReadInts(c, t, kSettingInts, where);

    if (n == 8) {
        c.FilterPost = IntToken(t, 7, where);
        SetVKR102Defaults(c);
    } else if (n == kDCHeaderTokens) {
        ReadInts(c, t, kDCInts, where);
        c.DCVoltageStr = FormatDCVoltage(c.StatusIDX, c.DCVoltage);
        c.DCResistStr = FormatDCResistance(c.StatusIDX, c.DCResistance);
        ClearVKR104Fields(c);
        c.VerzeVKR = "VKR103/VKR103RAM";
    } else if (n == kVKR104HeaderTokens - 1 || n == kVKR104HeaderTokens) {
        ReadInts(c, t, kDCInts, where);
        c.DatumCas = DateFromTokens(t[kDateToken], t[kTimeToken]);
        ReadInts(c, t, kSeriesInts, where);
        for (const FloatAt& a : kSingles)
            c.*(a.Field) = FloatToken(t, a.Token, where);
        c.VerzeVKR = "VKR104";
        c.Index = n == kVKR104HeaderTokens ? IntToken(t, kIndexToken, where) : 0;
        std::tie(c.DCVoltageStr, c.DCResistStr) =
            FormatVKR104DCTexts(c.StatusIDX, c.DCVoltageSingle, c.DCResistanceSingle);
    } else {
        // 7 tokens (the oldest files), or a count no writer produces: only
        // tokens 0..6 are taken, the rest as for the oldest files.
        c.FilterPost = 1;
        SetVKR102Defaults(c);
    }
}

void ReadChartText(TJednoMereni& c, std::string_view bytes, const std::string& where)
{
    const std::string_view file = bytes;
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF")
        bytes.remove_prefix(3); // the UTF-8 byte order mark
    LineReader lines(bytes);
    std::string_view line;
    c.Description = lines.Next(line) ? FileTextToUtf8(line) : std::string();
    if (!lines.Next(line))
        line = {};
    try {
        ParseHeader(c, FileTextToUtf8(line), where);
    } catch (const ChartFileError&) {
        // Said plainly instead of the token that does not fit.
        if (LooksLikeUtf16(file))
            throw ChartFileError(where +
                                 " holds UTF-16 text, not a chart file (chart files are Windows-1250 text)");
        throw;
    }

    // Every remaining line holds one sample; reserve for them all so that the
    // vector is allocated once and holds no spare room.
    const std::size_t maxLines = static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\n')) + 1;
    std::vector<long double> samples;
    samples.reserve(std::min<std::size_t>(maxLines, kMaxSamples));
    PrefaultForWriting(samples.data(), samples.capacity() * sizeof(long double));
    while (lines.Next(line)) {
        const std::string_view text = TrimBlanks(line);
        if (text.empty())
            continue;
        // The plot, the axis labels and lumidrax-tool's JSON take levels as
        // doubles: a number beyond that range is no level.
        const auto value = ParseDecimal(text);
        if (!value || std::fabs(*value) > std::numeric_limits<double>::max()) {
            std::string shown(text.substr(0, 40));
            throw ChartFileError(where + ", line " + std::to_string(lines.Number()) + ": " +
                                 Quoted(FileTextToUtf8(shown)) + " is not a valid floating point value");
        }
        if (samples.size() == static_cast<std::size_t>(kMaxSamples))
            throw ChartFileError(where + " holds more than " + std::to_string(kMaxSamples) + " samples");
        samples.push_back(*value);
    }
    if (samples.capacity() > samples.size() + samples.size() / 8)
        samples.shrink_to_fit();
    c.SetSamples(std::move(samples));
    if (c.Pozice0Y == -1 && c.Pozice0X < 1)
        throw ChartFileError(where + ", line 2: the cable start sample " + std::to_string(c.Pozice0X) +
                             " is below 1, so the baseline cannot be computed");
}

std::string HeaderLine(const TJednoMereni& c)
{
    std::vector<std::string> t(kDCHeaderTokens);
    t[0] = std::to_string(c.Interval);
    t[1] = std::to_string(static_cast<long long>(std::nearbyint(c.Velocity * 1000)));
    WriteInts(c, kSettingInts, t);
    WriteInts(c, kDCInts, t);
    if (c.VerzeVKR == "VKR104") {
        t.resize(kVKR104HeaderTokens);
        const auto date = DateTokens(c.DatumCas);
        t[kDateToken] = date[0];
        t[kTimeToken] = date[1];
        WriteInts(c, kSeriesInts, t);
        for (const FloatAt& a : kSingles)
            t[a.Token] = FormatGeneral(static_cast<long double>(c.*(a.Field)));
        t[kVersionToken] = c.VerzeVKR;
        t[kIndexToken] = std::to_string(c.Index);
    }
    std::string line;
    for (std::size_t k = 0; k < t.size(); ++k) {
        if (k > 0)
            line += kTokenGap;
        line += t[k];
    }
    return line;
}

std::string ChartFileText(const TJednoMereni& c)
{
    // A line break inside the description would shift every later line.
    std::string description = c.Description;
    std::replace_if(
        description.begin(), description.end(), [](char ch) { return ch == '\r' || ch == '\n'; }, ' ');
    std::string out = Utf8ToCp1250(description);
    out += kLineEnd;
    out += Utf8ToCp1250(HeaderLine(c));
    out += kLineEnd;
    out.reserve(out.size() + c.Samples.size() * 9);
    for (int k = 1; k <= c.SampleCount; ++k) {
        out += FormatFixed(c.Sample(k), 2);
        out += kLineEnd;
    }
    return out;
}

SaveOutcome SaveChartFile(TMereni& collection, int i, bool ask, const AskOverwriteFn& askFn)
{
    // A question runs the event loop, during which charts arrive and may be
    // closed: the chart is named by its id and looked up after each one.
    const ChartId id = collection.Rec(i).Id;
    {
        TJednoMereni& c = collection.Rec(i);
        if (c.FileName.empty())
            c.FileName = c.AutoFileName;
    }
    const std::string path = collection.Rec(i).FileName;
    const SaveOutcome vanished{
        SaveStatus::Vanished, "chart " + path + " was closed while the question was open", {}};
    std::error_code ec;
    if (ask && fs::exists(path, ec)) {
        const bool yes = askFn && askFn("Save", "File " + path + " already exists. Overwrite ?");
        if (!yes)
            return {SaveStatus::Declined, {}, {}};
    }
    const TJednoMereni* c = collection.Find(id);
    if (!c)
        return vanished;
    const std::string replaced = Cp1250Unrepresentable(c->Description + HeaderLine(*c));
    if (!replaced.empty() && askFn &&
        !askFn("Save", "The characters " + replaced + " of chart " + path +
                           " cannot be stored in a chart file (Windows-1250) and will be written as ?. "
                           "Save anyway ?"))
        return {SaveStatus::Declined, {}, {}};
    if (!(c = collection.Find(id)))
        return vanished;
    const fs::path folder = fs::path(path).parent_path();
    if (!folder.empty() && !fs::is_directory(folder, ec)) {
        if (!fs::create_directory(folder, ec) || ec)
            return {SaveStatus::FolderNotCreated, CatalogueMessage(kErrCreateDirectory, path), {}};
    }
    SaveOutcome outcome = WriteFileAtomically(path, ChartFileText(*c));
    if (outcome.Done())
        outcome.Replaced = replaced;
    return outcome;
}

int SaveChart(TMereni& collection, int i, bool ask, const AskOverwriteFn& askFn)
{
    const SaveOutcome outcome = SaveChartFile(collection, i, ask, askFn);
    switch (outcome.Status) {
    case SaveStatus::Done:
        return kSaveDone;
    case SaveStatus::Declined:
        return kSaveDeclined;
    case SaveStatus::FolderNotCreated:
        return kErrCreateDirectory;
    case SaveStatus::WriteFailed:
    case SaveStatus::Vanished:
        break;
    }
    throw ChartFileError(outcome.Message);
}

} // namespace lumidrax
