#include "ViewerCommandLine.h"

namespace lumidrax {

std::optional<std::string> ViewerInformation(const std::vector<std::string>& args)
{
    if (args.size() != 1)
        return std::nullopt;
    if (args[0] == "--version")
        return std::string("Lumidrax ") + LUMIDRAX_VERSION + "\n";
    if (args[0] == "--help")
        return std::string("Usage: lumidrax [FILE...]\n"
                           "Receives, shows, compares and saves the charts of VKR cable testers.\n"
                           "\n"
                           "  FILE       a chart file to open (any extension); several open as one batch\n"
                           "  --help     print this text and end\n"
                           "  --version  print the version and end\n"
                           "\n"
                           "A viewer already running for this user is handed the files and shows them.\n"
                           "Settings: lumidrax.INI beside the program when its folder is writable and\n"
                           "not an installed one, otherwise $XDG_CONFIG_HOME/lumidrax/lumidrax.INI;\n"
                           "charts are saved below DATA/ beside it or $XDG_DATA_HOME/lumidrax/DATA/.\n"
                           "The manual: F1 in the window, or man lumidrax.\n");
    return std::nullopt;
}

} // namespace lumidrax
