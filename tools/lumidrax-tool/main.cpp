// lumidrax-tool: the chart engine without a window. Every sub-command prints
// one JSON object on standard output; the exit status is 0 when every input
// succeeded, 1 when any failed, 2 on a usage error (message on standard
// error).

#include "CommandLine.h"
#include "Commands.h"

#include <CLI/CLI.hpp>

#ifdef LUMIDRAX_TOOL_ARCHIVE
#include <QCoreApplication>
#endif

#include <iostream>
#include <optional>
#include <string_view>

int main(int argc, char** argv)
{
#if !defined(LUMIDRAX_TOOL_RENDER) && !defined(LUMIDRAX_TOOL_ARCHIVE)
    // render and report paint with Qt and archive keeps charts with Qt SQL,
    // which the other commands do without: they run as lumidrax-tool-render
    // and lumidrax-tool-archive, so that the others start in a few
    // milliseconds.
    if (argc >= 2 && (std::string_view(argv[1]) == "render" || std::string_view(argv[1]) == "report"))
        return lumidrax::tool::RunRenderProgram(argv);
    if (argc >= 2 && std::string_view(argv[1]) == "archive")
        return lumidrax::tool::RunArchiveProgram(argv);
#endif
#ifdef LUMIDRAX_TOOL_ARCHIVE
    // The SQL drivers are Qt plugins.
    QCoreApplication qt(argc, argv);
#endif
    CLI::App app{"Lumidrax chart engine: reads, converts, filters and averages chart files (.ndt) and "
                 "prints the result as JSON."};
    app.set_version_flag("--version", LUMIDRAX_VERSION);
    app.require_subcommand(1);

    int exitStatus = 0;
    // Registration point of the sub-commands. To add one: write CmdNAME.cpp
    // with `void AddNAMECommand(CLI::App& app, int& exitStatus)` (see
    // CmdInfo.cpp for the pattern), declare it in Commands.h, call it below
    // and list the file in this folder's CMakeLists.txt (with the library it
    // needs, e.g. lumidrax_decoders for decode, lumidrax_view for render).
    lumidrax::tool::AddInfoCommand(app, exitStatus);
    lumidrax::tool::AddConvertCommand(app, exitStatus);
    lumidrax::tool::AddFilterCommand(app, exitStatus);
    lumidrax::tool::AddAverageCommand(app, exitStatus);
    lumidrax::tool::AddEventsCommand(app, exitStatus);
#ifdef LUMIDRAX_TOOL_RENDER
    lumidrax::tool::AddRenderCommand(app, exitStatus);
    lumidrax::tool::AddReportCommand(app, exitStatus);
#elif defined(LUMIDRAX_TOOL_HAS_RENDER)
    // Listed in the help; run by lumidrax-tool-render.
    app.add_subcommand("render", "Paint charts as the viewer shows and prints them, to PNG or PDF "
                                 "(lumidrax-tool render --help)");
    app.add_subcommand("report", "Judge charts against a limit template and write the test report (PDF); "
                                 "exit 0 for PASS (lumidrax-tool report --help)");
#endif
    lumidrax::tool::AddDecodeCommand(app, exitStatus);
#ifdef LUMIDRAX_TOOL_ARCHIVE
    lumidrax::tool::AddArchiveCommand(app, exitStatus);
#else
    // Listed in the help; run by lumidrax-tool-archive.
    app.add_subcommand("archive", "The chart archive: import chart files, search it, export charts, check it "
                                  "(lumidrax-tool archive --help)");
#endif

    try {
        if (const std::optional<int> end = lumidrax::tool::ParseCommandLine(app, argc, argv))
            return *end;
    } catch (const std::exception& e) {
        // A fault the commands did not turn into an entry.
        std::cerr << "lumidrax-tool: " << e.what() << '\n';
        return 1;
    }
    return exitStatus;
}
