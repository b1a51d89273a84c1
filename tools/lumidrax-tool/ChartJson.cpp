#include "ChartJson.h"

#include "ChartFile.h"
#include "Limits.h"
#include "MessageCatalogue.h"

#include <cstdio>
#include <exception>
#include <iostream>

namespace lumidrax::tool {

namespace {

std::string ColourText(RgbColor c)
{
    char buf[8];
    std::snprintf(buf, sizeof buf, "#%06X", static_cast<unsigned>(c & 0xFFFFFF));
    return buf;
}

} // namespace

Json ChartToJson(const TJednoMereni& c, bool withSamples)
{
    Json j = Json::object();
    j["AutoFileName"] = c.AutoFileName;
    j["FileName"] = c.FileName;
    j["DisplayName"] = c.DisplayName;
    j["Saved"] = c.Saved;
    j["Description"] = c.Description;
    j["Color"] = ColourText(c.Color);
    j["ColorSlot"] = c.ColorSlot;
    j["SampleCount"] = c.SampleCount;
    j["Interval"] = c.Interval;
    j["Velocity"] = D(c.Velocity);
    j["Impedance"] = c.Impedance;
    j["Noise"] = c.Noise;
    j["DC"] = c.DC;
    j["Filter"] = c.Filter;
    j["Pozice0X"] = c.Pozice0X;
    j["FilterPost"] = c.FilterPost;
    j["Pozice0Y"] = c.Pozice0Y;
    j["NegEdge"] = c.NegEdge;
    j["StatusIDX"] = c.StatusIDX;
    j["DCResistance"] = c.DCResistance;
    j["DCVoltage"] = c.DCVoltage;
    j["DCVoltageStr"] = c.DCVoltageStr;
    j["DCResistStr"] = c.DCResistStr;
    j["XStart"] = D(c.XStart);
    j["XEnd"] = D(c.XEnd);
    j["YMin"] = D(c.YMin);
    j["YMax"] = D(c.YMax);
    j["Step"] = D(c.Step);
    j["Shown"] = c.Shown;
    j["DatumCas"] = c.DatumCas;
    j["SeriePrvni"] = c.SeriePrvni;
    j["SeriePosledni"] = c.SeriePosledni;
    j["SerialNumber"] = c.SerialNumber;
    j["DCResistanceSingle"] = static_cast<double>(c.DCResistanceSingle);
    j["DCVoltageSingle"] = static_cast<double>(c.DCVoltageSingle);
    j["Pozice0YSingle"] = static_cast<double>(c.Pozice0YSingle);
    j["VerzeVKR"] = c.VerzeVKR;
    j["IsNew"] = c.IsNew;
    j["Index"] = c.Index;
    if (withSamples) {
        Json samples = Json::array();
        for (long double s : c.Samples)
            samples.push_back(D(s));
        j["Samples"] = std::move(samples);
    }
    return j;
}

Json CollectionToJson(const TMereni& m)
{
    Json j = Json::object();
    j["Count"] = m.Count;
    j["ShownCount"] = m.ShownCount;
    j["ActiveIndex"] = m.ActiveIndex;
    j["ActiveCursor"] = m.ActiveCursor;
    j["RefIndex"] = m.RefIndex;
    j["RefCursor"] = m.RefCursor;
    j["RefCursorX"] = D(m.RefCursorX);
    j["RefCursorY"] = D(m.RefCursorY);
    j["LineWidth"] = m.LineWidth;
    j["FullXMin"] = D(m.FullXMin);
    j["FullXMax"] = D(m.FullXMax);
    j["FullYMin"] = D(m.FullYMin);
    j["FullYMax"] = D(m.FullYMax);
    j["ViewXMin"] = D(m.ViewXMin);
    j["ViewXMax"] = D(m.ViewXMax);
    j["ViewYMin"] = D(m.ViewYMin);
    j["ViewYMax"] = D(m.ViewYMax);
    return j;
}

void ToolOutput::AddResult(const std::string& file, int code)
{
    Json entry = {{"file", file}, {"result", code}, {"message", nullptr}};
    if (code < 0) {
        entry["message"] = ErrorText(code, file);
        failed_ = true;
    }
    results_.push_back(std::move(entry));
}

void ToolOutput::AddError(const std::string& file, const std::string& what)
{
    results_.push_back({{"file", file}, {"error", "Error: " + what + "."}});
    failed_ = true;
}

void ToolOutput::AddEntry(Json entry, bool failed)
{
    results_.push_back(std::move(entry));
    if (failed)
        failed_ = true;
}

void ToolOutput::AddReport(Json report)
{
    reports_.push_back(std::move(report));
}

void ToolOutput::AddChartFields(int number, Json fields)
{
    for (auto& [key, value] : fields.items())
        chartFields_[number][key] = std::move(value);
}

int ToolOutput::Print(const TMereni& collection, bool withSamples) const
{
    Json charts = Json::array();
    for (int i = 1; i <= collection.Count; ++i) {
        Json chart = ChartToJson(collection.Rec(i), withSamples);
        if (auto extra = chartFields_.find(i); extra != chartFields_.end())
            for (const auto& [key, value] : extra->second.items())
                chart[key] = value;
        charts.push_back(std::move(chart));
    }
    Json out = {
        {"results", results_},
        {"collection", CollectionToJson(collection)},
        {"charts", std::move(charts)},
        {"reports", reports_},
    };
    for (const auto& [key, value] : topLevel_.items())
        out[key] = value;
    // Texts that are not valid UTF-8 are printed with replacement characters
    // rather than failing the whole output.
    std::cout << out.dump(1, ' ', false, Json::error_handler_t::replace) << '\n';
    std::cout.flush();
    return failed_ || !std::cout ? 1 : 0;
}

int LoadInto(TMereni& collection, const std::string& file, ToolOutput& output)
{
    if (collection.Count >= kMaxCharts) {
        output.AddResult(file, kErrTooManyCharts);
        return 0;
    }
    try {
        const int code = collection.LoadChart(file);
        output.AddResult(file, code);
        return code > 0 ? code : 0;
    } catch (const std::exception& e) {
        output.AddError(file, e.what());
        return 0;
    }
}

SaveOutcome SaveChartAs(TMereni& collection, int i, const std::string& path)
{
    TJednoMereni& c = collection.Rec(i);
    const std::string oldName = c.FileName;
    c.FileName = path;
    const SaveOutcome saved = SaveChartFile(collection, i, false);
    if (!saved.Done()) {
        c.FileName = oldName;
        return saved;
    }
    c.Saved = true;
    c.AutoFileName.clear();
    c.DisplayName = c.FileName;
    return saved;
}

std::string SaveErrorText(const SaveOutcome& saved)
{
    return saved.Done() ? std::string() : "Error: " + saved.Message + ".";
}

std::string ReplacedNote(const SaveOutcome& saved)
{
    if (saved.Replaced.empty())
        return {};
    return "The characters " + saved.Replaced +
           " cannot be stored in a chart file (Windows-1250) and were written as ?.";
}

int FinishProcessingCommand(ToolOutput& output, TMereni& collection, const char* command,
                            const CommandOutcome& outcome, const std::string& out, bool samples)
{
    SaveOutcome saved;
    if (!out.empty() && outcome.result > 0)
        saved = SaveChartAs(collection, outcome.result, out);
    const std::string error = SaveErrorText(saved);
    Json entry = {{"command", command}, {"result", outcome.result}, {"message", nullptr}};
    if (!outcome.message.empty())
        entry["message"] = outcome.message;
    else if (!saved.Replaced.empty())
        entry["message"] = ReplacedNote(saved);
    AddCommandEntry(output, std::move(entry), out, error, outcome.result < 0 || !outcome.message.empty());
    return output.Print(collection, samples);
}

void AddCommandEntry(ToolOutput& output, Json entry, const std::string& out, const std::string& error,
                     bool failed)
{
    if (!out.empty())
        entry["output"] = out;
    if (!error.empty())
        entry["error"] = error;
    output.AddEntry(std::move(entry), failed || !error.empty());
}

} // namespace lumidrax::tool
