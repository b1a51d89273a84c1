#include "SettingsTextCodec.h"

#include "Cp1250.h"

namespace lumidrax {

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr char32_t kReplacement = 0xFFFD;
constexpr char32_t kMarkUnit = 0xFEFF;
// A comment put in front of Windows-1250 text whose bytes would otherwise be
// valid UTF-8: its accented letters are not, so the reader keeps taking the
// file as Windows-1250 (INI readers skip comment lines).
constexpr std::string_view kCp1250Comment = "; Windows-1250 (k\xC3\xB3"
                                            "dov\xC3\xA1n\xC3\xAD)";

bool StartsWith(std::string_view s, std::string_view prefix)
{
    return s.substr(0, prefix.size()) == prefix;
}

unsigned Byte(std::string_view s, std::size_t i)
{
    return static_cast<unsigned char>(s[i]);
}

void AppendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// The next code point of UTF-8 text at i (advanced past it); a malformed
// sequence gives U+FFFD for its first byte.
char32_t NextCodePoint(std::string_view s, std::size_t& i)
{
    const unsigned lead = Byte(s, i++);
    if (lead < 0x80)
        return lead;
    int more = 0;
    char32_t c = 0;
    char32_t least = 0;
    if ((lead & 0xE0) == 0xC0) {
        more = 1, c = lead & 0x1F, least = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        more = 2, c = lead & 0x0F, least = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        more = 3, c = lead & 0x07, least = 0x10000;
    } else {
        return kReplacement;
    }
    std::size_t j = i;
    for (int k = 0; k < more; ++k, ++j) {
        if (j >= s.size() || (Byte(s, j) & 0xC0) != 0x80)
            return kReplacement;
        c = (c << 6) | (Byte(s, j) & 0x3F);
    }
    if (c < least || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        return kReplacement;
    i = j;
    return c;
}

// UTF-16 units to UTF-8; false for an odd byte count or a lone surrogate.
bool Utf16ToUtf8(std::string_view bytes, bool littleEndian, std::string& out)
{
    if (bytes.size() % 2 != 0)
        return false;
    const auto unit = [&](std::size_t i) -> char32_t {
        return littleEndian ? Byte(bytes, i) | (Byte(bytes, i + 1) << 8)
                            : (Byte(bytes, i) << 8) | Byte(bytes, i + 1);
    };
    out.clear();
    out.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size(); i += 2) {
        char32_t c = unit(i);
        if (c >= 0xDC00 && c <= 0xDFFF)
            return false;
        if (c >= 0xD800 && c <= 0xDBFF) {
            if (i + 2 >= bytes.size())
                return false;
            const char32_t low = unit(i + 2);
            if (low < 0xDC00 || low > 0xDFFF)
                return false;
            c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
            i += 2;
        }
        AppendUtf8(out, c);
    }
    return true;
}

void AppendUtf16(std::string& out, char32_t unit, bool littleEndian)
{
    const char high = static_cast<char>(unit >> 8);
    const char low = static_cast<char>(unit & 0xFF);
    out += littleEndian ? low : high;
    out += littleEndian ? high : low;
}

std::string Utf8ToUtf16(std::string_view text, bool littleEndian, bool mark)
{
    std::string out;
    out.reserve(text.size() * 2 + 4);
    if (mark) {
        AppendUtf16(out, kMarkUnit, littleEndian);
        // FF FE 00 00 is the mark of UTF-32: text that starts with a zero
        // character keeps a second mark in between, as the file it came
        // from had (the INI reader drops the marks in front).
        if (littleEndian && !text.empty() && text.front() == '\0')
            AppendUtf16(out, kMarkUnit, littleEndian);
    }
    for (std::size_t i = 0; i < text.size();) {
        const char32_t c = NextCodePoint(text, i);
        if (c >= 0x10000) {
            AppendUtf16(out, 0xD800 + ((c - 0x10000) >> 10), littleEndian);
            AppendUtf16(out, 0xDC00 + ((c - 0x10000) & 0x3FF), littleEndian);
        } else {
            AppendUtf16(out, c, littleEndian);
        }
    }
    return out;
}

bool IsPlainAscii(std::string_view bytes)
{
    for (const char c : bytes)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

// The line end of INI text: that of its first line, CR LF without one.
std::string_view LineEndOf(std::string_view text)
{
    const std::size_t lf = text.find('\n');
    if (lf != std::string_view::npos && (lf == 0 || text[lf - 1] != '\r'))
        return "\n";
    return "\r\n";
}

DecodedSettingsText FromUtf16(std::string_view bytes, SettingsFileEncoding encoding)
{
    DecodedSettingsText out;
    if (!Utf16ToUtf8(bytes, encoding.Code == SettingsTextCode::Utf16LE, out.Text))
        return {{}, {}, "broken UTF-16 text"};
    out.Encoding = encoding;
    return out;
}

} // namespace

DecodedSettingsText DecodeSettingsText(std::string_view bytes)
{
    using enum SettingsTextCode;
    if (StartsWith(bytes, std::string_view("\xFF\xFE\0\0", 4)) ||
        StartsWith(bytes, std::string_view("\0\0\xFE\xFF", 4)))
        return {{}, {}, "UTF-32 text, which is not read"};
    if (StartsWith(bytes, "\xFF\xFE"))
        return FromUtf16(bytes.substr(2), {Utf16LE, true});
    if (StartsWith(bytes, "\xFE\xFF"))
        return FromUtf16(bytes.substr(2), {Utf16BE, true});

    DecodedSettingsText out;
    // Some editors put a mark in front of a file that has one already.
    while (StartsWith(bytes, kUtf8Mark)) {
        bytes.remove_prefix(kUtf8Mark.size());
        out.Encoding.ByteOrderMark = true;
    }
    if (bytes.find('\0') != std::string_view::npos) {
        // UTF-16 without its mark: an INI file starts with an ASCII
        // character ('[', ';', a blank or a line end).
        if (!out.Encoding.ByteOrderMark && bytes.size() >= 2 && (bytes[0] == '\0') != (bytes[1] == '\0'))
            return FromUtf16(bytes, {bytes[1] == '\0' ? Utf16LE : Utf16BE, false});
        return {{}, {}, "zero bytes in the text: not a settings file"};
    }
    if (IsValidUtf8(bytes)) {
        out.Text = std::string(bytes);
    } else {
        out.Encoding.Code = Cp1250;
        out.Text = Cp1250ToUtf8(bytes);
    }
    return out;
}

std::string EncodeSettingsText(std::string_view text, const SettingsFileEncoding& encoding)
{
    using enum SettingsTextCode;
    const std::string_view mark = encoding.ByteOrderMark ? kUtf8Mark : std::string_view();
    switch (encoding.Code) {
    case Utf16LE:
    case Utf16BE:
        return Utf8ToUtf16(text, encoding.Code == Utf16LE, encoding.ByteOrderMark);
    case Cp1250: {
        std::string bytes = Utf8ToCp1250(text);
        if (Cp1250ToUtf8(bytes) != text)
            break;
        // Letters of the code page that happen to form valid UTF-8 (the
        // bytes that were not may have been in a value the program
        // rewrote) would be read as UTF-8 next time, as other letters.
        if (!IsPlainAscii(bytes) && IsValidUtf8(bytes))
            bytes = Utf8ToCp1250(kCp1250Comment) + std::string(LineEndOf(text)) + bytes;
        return std::string(mark) + bytes;
    }
    case Utf8:
        break;
    }
    return std::string(mark) + std::string(text);
}

} // namespace lumidrax
