#include "JsonLines.h"

#include <algorithm>

namespace lumidrax {

namespace {

class Scanner {
  public:
    explicit Scanner(std::string_view text) : text_(text) {}

    std::map<std::string, int> Run()
    {
        Value("");
        return std::move(lines_);
    }

  private:
    bool AtEnd() const { return pos_ >= text_.size(); }
    char Peek() const { return AtEnd() ? '\0' : text_[pos_]; }
    void Advance()
    {
        if (!AtEnd() && text_[pos_++] == '\n')
            ++line_;
    }
    void SkipBlanks()
    {
        while (!AtEnd() && (Peek() == ' ' || Peek() == '\t' || Peek() == '\r' || Peek() == '\n'))
            Advance();
    }
    // A string at the position, its escapes kept as they are (keys with
    // escapes are not what templates hold).
    std::string String()
    {
        std::string s;
        Advance(); // "
        while (!AtEnd() && Peek() != '"') {
            if (Peek() == '\\') {
                s += Peek();
                Advance();
            }
            s += Peek();
            Advance();
        }
        Advance(); // "
        return s;
    }
    static std::string Escaped(const std::string& key)
    {
        std::string out;
        for (char c : key) {
            if (c == '~')
                out += "~0";
            else if (c == '/')
                out += "~1";
            else
                out += c;
        }
        return out;
    }
    void Value(const std::string& path, bool record = true)
    {
        SkipBlanks();
        if (record)
            lines_.emplace(path, line_);
        switch (Peek()) {
        case '{':
            Object(path);
            break;
        case '[':
            Array(path);
            break;
        case '"':
            String();
            break;
        default:
            while (!AtEnd() && Peek() != ',' && Peek() != '}' && Peek() != ']' && Peek() != ' ' &&
                   Peek() != '\n' && Peek() != '\r' && Peek() != '\t')
                Advance();
        }
    }
    void Object(const std::string& path)
    {
        Advance(); // {
        for (;;) {
            SkipBlanks();
            if (AtEnd() || Peek() == '}')
                break;
            if (Peek() != '"')
                return;
            const int keyLine = line_;
            const std::string member = path + "/" + Escaped(String());
            lines_.emplace(member, keyLine);
            SkipBlanks();
            if (Peek() != ':')
                return;
            Advance();
            Value(member, false);
            SkipBlanks();
            if (Peek() != ',')
                break;
            Advance();
        }
        Advance(); // }
    }
    void Array(const std::string& path)
    {
        Advance(); // [
        for (int i = 0;; ++i) {
            SkipBlanks();
            if (AtEnd() || Peek() == ']')
                break;
            Value(path + "/" + std::to_string(i));
            SkipBlanks();
            if (Peek() != ',')
                break;
            Advance();
        }
        Advance(); // ]
    }

    std::string_view text_;
    std::size_t pos_ = 0;
    int line_ = 1;
    std::map<std::string, int> lines_;
};

} // namespace

std::map<std::string, int> JsonValueLines(std::string_view text)
{
    return Scanner(text).Run();
}

int LineOfOffset(std::string_view text, std::size_t offset)
{
    offset = std::min(offset, text.size());
    return 1 + static_cast<int>(
                   std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(offset), '\n'));
}

} // namespace lumidrax
