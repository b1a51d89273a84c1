#include "Utf8Text.h"

#include <cstdio>
#include <vector>

namespace lumidrax {

namespace {

bool IsContinuation(char c)
{
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// Byte offsets at which each character starts.
std::vector<std::size_t> CharStarts(std::string_view s)
{
    std::vector<std::size_t> starts;
    for (std::size_t i = 0; i < s.size(); ++i)
        if (!IsContinuation(s[i]) || i == 0)
            starts.push_back(i);
    return starts;
}

} // namespace

std::size_t Utf8Length(std::string_view s)
{
    return CharStarts(s).size();
}

std::string Utf8Prefix(std::string_view s, std::size_t n)
{
    const auto starts = CharStarts(s);
    if (n >= starts.size())
        return std::string(s);
    return std::string(s.substr(0, starts[n]));
}

std::string Utf8DropLast(std::string_view s, std::size_t n)
{
    const auto starts = CharStarts(s);
    if (n >= starts.size())
        return {};
    return std::string(s.substr(0, starts[starts.size() - n]));
}

std::string Utf8CharFromEnd(std::string_view s, std::size_t n)
{
    const auto starts = CharStarts(s);
    if (n == 0 || n > starts.size())
        return {};
    const std::size_t k = starts.size() - n;
    const std::size_t end = k + 1 < starts.size() ? starts[k + 1] : s.size();
    return std::string(s.substr(starts[k], end - starts[k]));
}

std::string EscapeControls(std::string_view s)
{
    std::string out;
    out.reserve(s.size());
    for (char ch : s) {
        const auto b = static_cast<unsigned char>(ch);
        if (b < 0x20 || b == 0x7F) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", static_cast<unsigned>(b));
            out += hex;
        } else {
            out += ch;
        }
    }
    return out;
}

} // namespace lumidrax
