#include "IniFile.h"

#include <algorithm>

namespace lumidrax {

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

std::string_view Trim(std::string_view s)
{
    while (!s.empty() && IsBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

char AsciiUpper(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool SameName(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) { return AsciiUpper(x) == AsciiUpper(y); });
}

std::string Unquote(std::string_view value)
{
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        return std::string(value.substr(1, value.size() - 2));
    return std::string(value);
}

std::string OneLine(std::string_view s)
{
    std::string out(s);
    std::replace(out.begin(), out.end(), '\r', ' ');
    std::replace(out.begin(), out.end(), '\n', ' ');
    return out;
}

} // namespace

IniFile IniFile::Parse(std::string_view text)
{
    IniFile ini;
    // Byte order marks in front (some editors add one to a file that has
    // one already) are not part of the first line.
    while (text.substr(0, 3) == "\xEF\xBB\xBF")
        text.remove_prefix(3);
    const std::size_t firstBreak = text.find('\n');
    if (firstBreak != std::string_view::npos)
        ini.lineEnd_ = (firstBreak > 0 && text[firstBreak - 1] == '\r') ? "\r\n" : "\n";

    std::vector<Line>* target = &ini.preamble_;
    std::size_t pos = 0;
    while (pos < text.size()) {
        // A line ends at CR LF, LF or a lone CR.
        const std::size_t end = text.find_first_of("\r\n", pos);
        const std::string_view raw =
            text.substr(pos, end == std::string_view::npos ? std::string_view::npos : end - pos);
        pos = (end == std::string_view::npos) ? text.size() : end + 1;
        if (end != std::string_view::npos && text[end] == '\r' && pos < text.size() && text[pos] == '\n')
            ++pos;

        const std::string_view t = Trim(raw);
        if (!t.empty() && t.front() == '[') {
            std::string_view name = t.substr(1);
            const std::size_t close = name.find(']');
            if (close != std::string_view::npos)
                name = name.substr(0, close);
            ini.sections_.push_back(Section{std::string(Trim(name)), std::string(raw), {}});
            target = &ini.sections_.back().lines;
            continue;
        }
        Line line;
        line.text = std::string(raw);
        const std::size_t eq = t.find('=');
        if (!t.empty() && t.front() != ';' && t.front() != '#' && eq != std::string_view::npos && eq > 0) {
            line.isKey = true;
            line.key = std::string(Trim(t.substr(0, eq)));
            line.value = Unquote(Trim(t.substr(eq + 1)));
        }
        target->push_back(std::move(line));
    }
    return ini;
}

std::string IniFile::ToText() const
{
    std::string out;
    for (const Line& l : preamble_)
        out += l.text + lineEnd_;
    for (const Section& s : sections_) {
        out += s.header + lineEnd_;
        for (const Line& l : s.lines)
            out += l.text + lineEnd_;
    }
    return out;
}

IniFile::Section* IniFile::FindSection(std::string_view name)
{
    for (Section& s : sections_)
        if (SameName(s.name, name))
            return &s;
    return nullptr;
}

const IniFile::Section* IniFile::FindSection(std::string_view name) const
{
    for (const Section& s : sections_)
        if (SameName(s.name, name))
            return &s;
    return nullptr;
}

std::optional<std::string> IniFile::Get(std::string_view section, std::string_view key) const
{
    const Section* s = FindSection(section);
    if (!s)
        return std::nullopt;
    for (const Line& l : s->lines)
        if (l.isKey && SameName(l.key, key))
            return l.value;
    return std::nullopt;
}

void IniFile::Set(std::string_view section, std::string_view key, std::string_view value)
{
    const std::string k = std::string(Trim(OneLine(key)));
    std::string v = OneLine(value);
    // A value the reader would change (blanks at its ends, enclosing quotes)
    // is written in double quotes, which the reader removes again.
    if (Trim(v) != v || Unquote(v) != v)
        v = "\"" + v + "\"";
    Line line{k + "=" + v, true, k, Unquote(Trim(v))};

    Section* s = FindSection(section);
    if (!s) {
        const std::string name = OneLine(section);
        sections_.push_back(Section{std::string(Trim(name)), "[" + name + "]", {}});
        sections_.back().lines.push_back(std::move(line));
        return;
    }
    for (Line& l : s->lines)
        if (l.isKey && SameName(l.key, k)) {
            l = std::move(line);
            return;
        }
    // After the last key line, so that blank lines and comments closing the
    // section stay between it and the next header.
    auto it = std::find_if(s->lines.rbegin(), s->lines.rend(), [](const Line& l) { return l.isKey; });
    s->lines.insert(it.base(), std::move(line));
}

bool IniFile::HasSection(std::string_view section) const
{
    return FindSection(section) != nullptr;
}

std::vector<std::string> IniFile::Keys(std::string_view section) const
{
    std::vector<std::string> keys;
    const Section* s = FindSection(section);
    if (!s)
        return keys;
    for (const Line& l : s->lines) {
        if (!l.isKey)
            continue;
        if (std::none_of(keys.begin(), keys.end(), [&](const std::string& k) { return SameName(k, l.key); }))
            keys.push_back(l.key);
    }
    return keys;
}

} // namespace lumidrax
