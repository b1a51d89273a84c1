#pragma once
// Where the values of a JSON text stand: the line of every member and array
// element, keyed by its JSON pointer ("/criteria/2/length"; the line of the
// key for a member). For messages that name the line of a value the
// structure is wrong in. No Qt.

#include <map>
#include <string>
#include <string_view>

namespace lumidrax {

// `text` is valid JSON (as a parser accepted it); for other text the map
// stops where the text stops making sense.
std::map<std::string, int> JsonValueLines(std::string_view text);

// The 1-based line of byte `offset` (0-based) of the text.
int LineOfOffset(std::string_view text, std::size_t offset);

} // namespace lumidrax
