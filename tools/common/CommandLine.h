#pragma once
// The command line of every tool, read the one way: --help and --version
// print and end with 0; a usage error is printed by CLI11 and ends with the
// tool's usage status.

#include <CLI/CLI.hpp>

#include <optional>

namespace lumidrax::tool {

// Parses argv into `app` (running the callbacks of the sub-commands given).
// The status to end with at once, or nothing to go on.
inline std::optional<int> ParseCommandLine(CLI::App& app, int argc, char** argv, int usageStatus = 2)
{
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        return app.exit(e) == 0 ? 0 : usageStatus;
    }
    return std::nullopt;
}

} // namespace lumidrax::tool
