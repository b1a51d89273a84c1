#pragma once
// Fitting a file name or a description into its chart list column: a text
// wider than the column loses characters and gets "..." until it fits. The
// column shows at most a few hundred characters, so only that much of a
// text is ever measured, and the number of measurements grows with the
// logarithm of that, whatever the length of the text (a description may
// hold megabytes).
//
// The width function must not shrink when a character is added anywhere in
// a text (true of font metrics: every glyph advances the pen). The results
// are then the same as those of shortening one step at a time.

#include <functional>
#include <string>
#include <string_view>

namespace lumidrax {

// Width of a text in pixels, as drawn in the list's font.
using ListTextWidthFn = std::function<int(std::string_view)>;

// A file name that keeps its end visible: a name wider than maxWidth gets
// "..." in front and loses one more leading character per step until it
// fits (or nothing of the name is left). Works on characters, not bytes.
std::string ShortenFromLeft(const std::string& name, int maxWidth, const ListTextWidthFn& width);

// A description that keeps its beginning visible: wider than maxWidth, it
// gets "..." appended and loses two more trailing characters per step until
// it fits (or nothing of it is left).
std::string ShortenFromRight(const std::string& text, int maxWidth, const ListTextWidthFn& width);

} // namespace lumidrax
