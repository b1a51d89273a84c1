#pragma once
// The text of an INI file: section header lines ("[NAME]"), key lines
// ("KEY=value") and any other lines (comments, blanks, junk), kept in their
// order so that a file rewritten with a few changed keys keeps everything
// else as it was. No Qt: the settings reader is unit-tested and fuzzed alone.
//
// Reading follows the usual INI conventions of the platform the settings
// files come from: section names and keys compare without regard to ASCII
// case; blanks around keys and values are ignored; a value enclosed in one
// pair of double or single quotes loses them; the first of several equal
// sections or keys wins. Values are otherwise taken as they are (no escapes).

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lumidrax {

class IniFile {
  public:
    IniFile() = default;

    // Reads INI text (UTF-8; leading byte order marks are skipped; lines end
    // at CR LF, LF or a lone CR). Never
    // fails: lines that are neither headers nor key lines are kept as they
    // are and otherwise ignored; key lines before the first header belong to
    // no section and cannot be read.
    static IniFile Parse(std::string_view text);

    // The whole text, every line ended by the line end the parsed text used
    // (CR LF for a new file or one without line ends).
    std::string ToText() const;

    // The value of a key, or nothing when the section or the key is missing.
    std::optional<std::string> Get(std::string_view section, std::string_view key) const;

    // Sets a key: replaces the value of its existing line, or adds the line
    // after the last key of the section, or adds the section at the end.
    // Line breaks in the key or value become blanks, so one key stays one
    // line; a value with blanks at its ends or enclosed in quotes is written
    // in double quotes, so that it reads back as it was set.
    void Set(std::string_view section, std::string_view key, std::string_view value);

    bool HasSection(std::string_view section) const;
    // Keys of a section in file order (first spelling of each).
    std::vector<std::string> Keys(std::string_view section) const;

    const std::string& LineEnd() const { return lineEnd_; }

  private:
    struct Line {
        std::string text; // the line as read or written, without its line end
        bool isKey = false;
        std::string key;   // trimmed key (isKey only)
        std::string value; // trimmed, unquoted value (isKey only)
    };
    struct Section {
        std::string name;   // as written between the brackets, trimmed
        std::string header; // the header line as read
        std::vector<Line> lines;
    };

    Section* FindSection(std::string_view name);
    const Section* FindSection(std::string_view name) const;

    std::vector<Line> preamble_; // lines before the first header
    std::vector<Section> sections_;
    std::string lineEnd_ = "\r\n";
};

} // namespace lumidrax
