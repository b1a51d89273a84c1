// convert [--samples] IN.ndt OUT: loads the chart and writes it as OUT, whose
// extension chooses the format: .ndt as the viewer saves it, .csv as
// distance and level columns.

#include "ChartJson.h"
#include "Commands.h"
#include "CsvExport.h"

#include "ChartFile.h"
#include "FileIO.h"
#include "MessageCatalogue.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <filesystem>
#include <memory>

namespace lumidrax::tool {

namespace {

enum class OutFormat { Ndt, Csv };

struct ConvertOptions {
    bool samples = false;
    std::string in;
    std::string out;
};

bool FormatOf(const std::string& path, OutFormat& format)
{
    std::string ext = std::filesystem::path(path).extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char ch) { return std::tolower(ch); });
    if (ext == ".ndt")
        format = OutFormat::Ndt;
    else if (ext == ".csv")
        format = OutFormat::Csv;
    else
        return false;
    return true;
}

// Writes the CSV text with the chart file's folder rule: one missing folder
// level is created.
SaveOutcome WriteCsv(const TJednoMereni& chart, const std::string& path)
{
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path folder = fs::path(path).parent_path();
    if (!folder.empty() && !fs::is_directory(folder, ec) && !fs::create_directory(folder, ec))
        return {SaveStatus::FolderNotCreated, CatalogueMessage(kErrCreateDirectory, path), {}};
    return WriteFileAtomically(path, ChartCsvText(chart));
}

int RunConvert(const ConvertOptions& o, OutFormat format)
{
    TMereni collection;
    ToolOutput output;
    const int i = LoadInto(collection, o.in, output);
    if (i > 0) {
        const SaveOutcome saved =
            format == OutFormat::Ndt ? SaveChartAs(collection, i, o.out) : WriteCsv(collection.Rec(i), o.out);
        // A failed entry carries its error and no result code.
        Json entry = {{"command", "convert"}};
        if (saved.Done()) {
            entry["result"] = 0;
            entry["message"] = saved.Replaced.empty() ? Json(nullptr) : Json(ReplacedNote(saved));
        }
        AddCommandEntry(output, std::move(entry), o.out, SaveErrorText(saved), false);
    }
    return output.Print(collection, o.samples);
}

} // namespace

void AddConvertCommand(CLI::App& app, int& exitStatus)
{
    auto o = std::make_shared<ConvertOptions>();
    CLI::App* cmd = app.add_subcommand("convert", "Load a chart file and write it as .ndt or .csv");
    cmd->add_flag("--samples", o->samples, "add the chart's samples to the output");
    cmd->add_option("IN", o->in, "chart file to read")->required();
    cmd->add_option("OUT", o->out, "file to write; .ndt or .csv")->required();
    cmd->callback([o, &exitStatus] {
        OutFormat format;
        if (!FormatOf(o->out, format))
            throw CLI::ValidationError("OUT", "the output must end in .ndt or .csv: " + o->out);
        exitStatus = RunConvert(*o, format);
    });
}

} // namespace lumidrax::tool
