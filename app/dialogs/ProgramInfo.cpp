#include "ProgramInfo.h"

#include "NumberText.h"

#ifndef LUMIDRAX_VERSION
#define LUMIDRAX_VERSION "0.0.0.0"
#endif

namespace lumidrax {

std::string ProgramVersion()
{
    return LUMIDRAX_VERSION;
}

std::string BuildText(std::string_view version)
{
    std::string out = "Build ";
    for (int part = 0; part < 4; ++part) {
        const std::size_t dot = version.find('.');
        const std::string_view field = version.substr(0, dot);
        version = dot == std::string_view::npos ? std::string_view() : version.substr(dot + 1);
        const std::optional<int> n = ParseInteger(field);
        if (part > 0)
            out += '.';
        out += std::to_string(n && *n >= 0 ? *n : 0);
    }
    return out;
}

std::vector<std::string> HelpDocumentCandidates(const std::string& programDir)
{
    std::string dir = programDir;
    if (dir.empty() || dir.back() != '/')
        dir += '/';
    return {dir + "Help/" + kHelpDocumentName, dir + "../share/lumidrax/help/" + kHelpDocumentName};
}

std::string FindHelpDocument(const std::string& programDir,
                             const std::function<bool(const std::string&)>& exists)
{
    const std::vector<std::string> candidates = HelpDocumentCandidates(programDir);
    for (const std::string& c : candidates)
        if (exists(c))
            return c;
    return candidates.front();
}

} // namespace lumidrax
