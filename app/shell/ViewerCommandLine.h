#pragma once
// The viewer's own options. Every argument names a chart file, except a lone
// --help or --version, which print their text and end the program before
// any window or display is needed. A file of such a name opens as ./--help.

#include <optional>
#include <string>
#include <vector>

namespace lumidrax {

// The text to print for the arguments (those after the program's name), or
// nothing when the arguments name files to open.
std::optional<std::string> ViewerInformation(const std::vector<std::string>& args);

} // namespace lumidrax
