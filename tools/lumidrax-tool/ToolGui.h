#pragma once
// The Qt side of lumidrax-tool-render (render, report): one QGuiApplication
// for fonts and painting, on the offscreen platform unless QT_QPA_PLATFORM
// names another, with Qt's own warnings kept off the tool's output.

namespace lumidrax::tool {

void EnsureGuiApplication();

// Flushes the output and ends the process with `status` without tearing Qt
// down (its fonts, plugins and libraries), which would take longer than the
// rest of the exit.
[[noreturn]] void ExitNow(int status);

} // namespace lumidrax::tool
