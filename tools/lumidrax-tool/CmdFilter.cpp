// filter --window W [-o OUT.ndt] [--samples] FILE: loads the chart, makes it
// the reference chart and runs the filter command with window W (1 or less
// makes nothing, above 100 is cut to 100); -o also saves the new chart.

#include "ChartJson.h"
#include "Commands.h"

#include "ChartProcessing.h"

#include <CLI/CLI.hpp>

#include <memory>

namespace lumidrax::tool {

namespace {

struct FilterOptions {
    int window = 1;
    bool samples = false;
    std::string out;
    std::string file;
};

int RunFilter(const FilterOptions& o)
{
    TMereni collection;
    ToolOutput output;
    if (LoadInto(collection, o.file, output) > 0)
        collection.SetReference(1);
    const CommandOutcome outcome = RunFilterCommand(collection, o.window);
    return FinishProcessingCommand(output, collection, "filter", outcome, o.out, o.samples);
}

} // namespace

void AddFilterCommand(CLI::App& app, int& exitStatus)
{
    auto o = std::make_shared<FilterOptions>();
    CLI::App* cmd = app.add_subcommand("filter", "Smooth a chart with the local filter");
    cmd->add_option("--window", o->window, "filter window in samples (2..100; 1 or less makes nothing)")
        ->required();
    cmd->add_option("-o,--output", o->out, "save the filtered chart as this .ndt file");
    cmd->add_flag("--samples", o->samples, "add each chart's samples");
    cmd->add_option("FILE", o->file, "chart file")->required();
    cmd->callback([o, &exitStatus] { exitStatus = RunFilter(*o); });
}

} // namespace lumidrax::tool
