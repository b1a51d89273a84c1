// average [-o OUT.ndt] [--samples] FILE...: loads the charts, selects them
// all (the first is the template) and runs the average command with its
// batch-mode check; -o also saves the new chart.

#include "ChartJson.h"
#include "Commands.h"

#include "ChartProcessing.h"

#include <CLI/CLI.hpp>

#include <memory>

namespace lumidrax::tool {

namespace {

struct AverageOptions {
    bool samples = false;
    std::string out;
    std::vector<std::string> files;
};

int RunAverage(const AverageOptions& o)
{
    TMereni collection;
    ToolOutput output;
    std::vector<int> selected;
    for (const std::string& file : o.files)
        if (const int i = LoadInto(collection, file, output); i > 0)
            selected.push_back(i);
    const CommandOutcome outcome = RunAverageCommand(collection, selected);
    return FinishProcessingCommand(output, collection, "average", outcome, o.out, o.samples);
}

} // namespace

void AddAverageCommand(CLI::App& app, int& exitStatus)
{
    auto o = std::make_shared<AverageOptions>();
    CLI::App* cmd = app.add_subcommand("average", "Average charts of one measurement series");
    cmd->add_option("-o,--output", o->out, "save the averaged chart as this .ndt file");
    cmd->add_flag("--samples", o->samples, "add each chart's samples");
    cmd->add_option("FILE", o->files, "chart files; the first is the template")->required();
    cmd->callback([o, &exitStatus] { exitStatus = RunAverage(*o); });
}

} // namespace lumidrax::tool
