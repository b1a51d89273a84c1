#pragma once
// Facts about the program itself: its version and build text, and where its
// help document lies. No Qt.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace lumidrax {

// The program's version in four parts, as compiled in (CMake project VERSION).
std::string ProgramVersion();

// "Build " and the four parts of a version "major.minor.release.build",
// each in decimal: BuildText("3.1.0.536") == "Build 3.1.0.536". Missing or
// unreadable parts count as 0.
std::string BuildText(std::string_view version);

inline constexpr const char* kHelpDocumentName = "Lumidrax3.1_Navod.htm";

// Where the help document may lie, most likely first: "Help/" beside the
// program (the build tree, a folder install), then the share folder of an
// installation prefix (<prefix>/bin/lumidrax finds
// <prefix>/share/lumidrax/help/).
std::vector<std::string> HelpDocumentCandidates(const std::string& programDir);

// The first candidate that exists, otherwise the first one (the help window
// then says that the document is missing).
std::string FindHelpDocument(const std::string& programDir,
                             const std::function<bool(const std::string&)>& exists);

} // namespace lumidrax
