#pragma once
// The sub-commands of lumidrax-tool. Each one lives in its own Cmd*.cpp and
// has one function here that adds it to the application: it creates the
// sub-command with its options and sets a callback that runs the command,
// prints its JSON (ToolOutput::Print) and stores the exit status (0 every
// entry succeeded, 1 any failed) in `exitStatus`. Usage errors are CLI11's:
// main() turns them into exit status 2.

namespace CLI {
class App;
}

namespace lumidrax::tool {

void AddInfoCommand(CLI::App& app, int& exitStatus);
void AddConvertCommand(CLI::App& app, int& exitStatus);
void AddFilterCommand(CLI::App& app, int& exitStatus);
void AddAverageCommand(CLI::App& app, int& exitStatus);
void AddEventsCommand(CLI::App& app, int& exitStatus);
// Only when the view layer is built (it needs Qt), in lumidrax-tool-render.
void AddRenderCommand(CLI::App& app, int& exitStatus);
// The test report (lumidrax_testreport), also in lumidrax-tool-render.
void AddReportCommand(CLI::App& app, int& exitStatus);
// Runs lumidrax-tool-render (render, report) from the tool's own folder
// with these arguments; returns only when it could not (exit status 2, message on
// standard error).
int RunRenderProgram(char** argv);

// The chart archive (Qt SQL), in lumidrax-tool-archive.
void AddArchiveCommand(CLI::App& app, int& exitStatus);
// Runs lumidrax-tool-archive from the tool's own folder, as
// RunRenderProgram does.
int RunArchiveProgram(char** argv);

// Decodes received transfers with the Qt-free decoders (lumidrax_decoders).
void AddDecodeCommand(CLI::App& app, int& exitStatus);

} // namespace lumidrax::tool
