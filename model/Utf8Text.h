#pragma once
// Character-wise (not byte-wise) cuts of UTF-8 texts, for names that count
// characters from either end.

#include <string>
#include <string_view>

namespace lumidrax {

// Number of characters (code points) of a UTF-8 text.
std::size_t Utf8Length(std::string_view s);
// The first n characters.
std::string Utf8Prefix(std::string_view s, std::size_t n);
// The text without its last n characters (empty when it is shorter).
std::string Utf8DropLast(std::string_view s, std::size_t n);
// The single character standing n characters from the end (n = 1 is the
// last one); empty when the text is shorter.
std::string Utf8CharFromEnd(std::string_view s, std::size_t n);

// Text from a file as shown in a message: control characters (a NUL byte
// would end the text on the screen) become \xNN.
std::string EscapeControls(std::string_view s);

inline bool IsAbsolutePath(std::string_view path)
{
    return !path.empty() && path.front() == '/';
}

} // namespace lumidrax
