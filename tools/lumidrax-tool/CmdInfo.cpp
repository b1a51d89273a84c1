// info [--samples] FILE...: loads each file, in the given order, into one
// collection and prints it.

#include "ChartJson.h"
#include "Commands.h"

#include <CLI/CLI.hpp>

#include <memory>

namespace lumidrax::tool {

namespace {

struct InfoOptions {
    bool samples = false;
    std::vector<std::string> files;
};

int RunInfo(const InfoOptions& o)
{
    TMereni collection;
    ToolOutput output;
    for (const std::string& file : o.files)
        LoadInto(collection, file, output);
    return output.Print(collection, o.samples);
}

} // namespace

void AddInfoCommand(CLI::App& app, int& exitStatus)
{
    auto o = std::make_shared<InfoOptions>();
    CLI::App* cmd = app.add_subcommand("info", "Load chart files into one collection and print it");
    cmd->add_flag("--samples", o->samples, "add each chart's samples");
    cmd->add_option("FILE", o->files, "chart files, loaded in this order")->required();
    cmd->callback([o, &exitStatus] { exitStatus = RunInfo(*o); });
}

} // namespace lumidrax::tool
