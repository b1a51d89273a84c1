#include "ChartProcessing.h"

#include "Limits.h"
#include "MessageCatalogue.h"
#include "NumberText.h"
#include "TMereni.h"
#include "Utf8Text.h"

#include <algorithm>

namespace lumidrax {

namespace {

// Adds a filtered or averaged chart: its samples are already on their
// baseline, and the full extent is left as it is.
int AddProcessed(TMereni& collection, TJednoMereni chart)
{
    return collection.AddChart(std::move(chart),
                               {.Baseline = RawBaseline::AlreadyApplied, .FullRange = false});
}

// After a command added its chart: the full extent takes in the new chart
// when it is drawn (an average of hidden charts can lie outside the extent
// of the drawn ones, and when it is the only chart drawn the extent would
// otherwise stay empty). The view follows as after loading: always with one
// chart drawn, otherwise only when it was not zoomed.
void FollowNewChart(TMereni& collection)
{
    if (collection.Last().Shown)
        collection.ComputeFullRange(true);
}

} // namespace

int FilterChart(TMereni& collection, int w)
{
    const TJednoMereni& source = collection.Rec(collection.RefIndex);
    TJednoMereni copy = source;
    const std::vector<long double>& s = source.Samples;

    // The derived name sits beside the source's file. A source never saved
    // to a chosen place falls back to its automatic or shown name; without
    // any folder the chart keeps no file name, so saving asks where.
    std::string base = source.FileName;
    if (base.empty())
        base = source.AutoFileName;
    if (base.empty())
        base = source.DisplayName;
    const std::string suffix = "_F" + std::to_string(w) + ".ndt";
    std::string name = Utf8DropLast(base, 4) + suffix;
    if (base.empty())
        name = "Chart" + std::to_string(collection.RefIndex) + suffix;
    copy.AutoFileName.clear();
    copy.DisplayName = name;
    copy.FileName = IsAbsolutePath(name) ? name : std::string();
    copy.Saved = false;
    copy.IsNew = true;
    copy.FilterPost = w;

    std::vector<long double> d(s.size());
    const std::size_t n = s.size();
    const std::size_t ww = static_cast<std::size_t>(w);
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t first = i + 1 >= ww ? i + 1 - ww : 0;
        long double sum = 0;
        for (std::size_t k = first; k <= i; ++k)
            sum += s[k];
        d[i] = sum / static_cast<long double>(i - first + 1);
    }
    copy.SetSamples(std::move(d));
    return AddProcessed(collection, std::move(copy));
}

int AverageCharts(TMereni& collection, const std::vector<int>& selected)
{
    const TJednoMereni& templ = collection.Rec(selected.front());
    const int length = templ.SampleCount;
    std::string suffix;
    std::vector<long double> sum(static_cast<std::size_t>(length), 0.0L);
    std::vector<int> have(static_cast<std::size_t>(length), 0);
    for (int k : selected) {
        const TJednoMereni& c = collection.Rec(k);
        suffix += Utf8CharFromEnd(c.DisplayName, 5);
        const int upto = std::min(length, c.SampleCount);
        for (int i = 0; i < upto; ++i) {
            sum[static_cast<std::size_t>(i)] += c.Samples[static_cast<std::size_t>(i)];
            ++have[static_cast<std::size_t>(i)];
        }
    }
    TJednoMereni copy = templ;
    copy.AutoFileName = Utf8DropLast(templ.DisplayName, 5) + "_av.ndt";
    copy.FileName = copy.DisplayName = copy.AutoFileName;
    copy.Saved = false;
    copy.IsNew = true;
    copy.Description = "Average of charts " + suffix;
    std::vector<long double> avg(static_cast<std::size_t>(length));
    for (std::size_t i = 0; i < avg.size(); ++i)
        avg[i] = sum[i] / static_cast<long double>(have[i]);
    copy.SetSamples(std::move(avg));
    return AddProcessed(collection, std::move(copy));
}

FilterWindow ParseFilterWindow(const std::string& text)
{
    FilterWindow fw;
    const auto v = ParseInteger(TrimBlanks(text));
    if (!v)
        return fw;
    fw.valid = true;
    fw.window = std::min(*v, kMaxFilterWindow);
    return fw;
}

CommandOutcome RunFilterCommand(TMereni& collection, int window)
{
    window = std::min(window, kMaxFilterWindow);
    if (window <= 1 || collection.RefIndex < 1 || collection.RefIndex > collection.Count)
        return {};
    if (collection.Count >= kMaxCharts)
        return {0, kMaxChartsText};
    const int made = FilterChart(collection, window);
    FollowNewChart(collection);
    return {made, {}};
}

CommandOutcome RunAverageCommand(TMereni& collection, const std::vector<int>& selected)
{
    if (selected.size() < 2)
        return {};
    const std::string& pattern = collection.Rec(selected.front()).DatumCas;
    for (int k : selected)
        if (collection.Rec(k).DatumCas != pattern)
            return {kErrNotBatch, ErrorText(kErrNotBatch, {})};
    if (collection.Count >= kMaxCharts)
        return {0, kMaxChartsText};
    const int made = AverageCharts(collection, selected);
    FollowNewChart(collection);
    return {made, {}};
}

std::string ShortChartName(const std::string& path)
{
    const auto last = path.rfind('/');
    if (last != std::string::npos && last > 0) {
        const auto before = path.rfind('/', last - 1);
        if (before != std::string::npos)
            return Utf8Prefix(path.substr(before + 1), 100);
    }
    return Utf8Prefix(path, 100);
}

} // namespace lumidrax
