#include "Cp1250.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <vector>

namespace lumidrax {

namespace {

// Code points of the bytes 0x80..0xFF. The five bytes the code page leaves
// undefined (0x81, 0x83, 0x88, 0x90, 0x98) stand for the C1 control of the
// same number, so that they come back unchanged when written.
constexpr std::array<char32_t, 128> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0083, 0x201E, 0x2026, 0x2020, 0x2021, 0x0088, 0x2030, 0x0160, 0x2039, 0x015A,
    0x0164, 0x017D, 0x0179, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x0098, 0x2122,
    0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A, 0x00A0, 0x02C7, 0x02D8, 0x0141, 0x00A4, 0x0104, 0x00A6,
    0x00A7, 0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B, 0x00B0, 0x00B1, 0x02DB, 0x0142,
    0x00B4, 0x00B5, 0x00B6, 0x00B7, 0x00B8, 0x0105, 0x015F, 0x00BB, 0x013D, 0x02DD, 0x013E, 0x017C, 0x0154,
    0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7, 0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD,
    0x00CE, 0x010E, 0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7, 0x0158, 0x016E, 0x00DA,
    0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF, 0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7,
    0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F, 0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4,
    0x0151, 0x00F6, 0x00F7, 0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9,
};

void AppendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (c >> 18)));
        out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

// Decodes one UTF-8 sequence at bytes[i]; returns the code point and moves i,
// or returns -1 (and moves i by one) on a malformed sequence.
long NextCodePoint(std::string_view bytes, std::size_t& i)
{
    const auto b0 = static_cast<unsigned char>(bytes[i]);
    int len = 0;
    char32_t c = 0;
    if (b0 < 0x80) {
        ++i;
        return b0;
    } else if ((b0 & 0xE0) == 0xC0 && b0 >= 0xC2) {
        len = 2;
        c = b0 & 0x1F;
    } else if ((b0 & 0xF0) == 0xE0) {
        len = 3;
        c = b0 & 0x0F;
    } else if ((b0 & 0xF8) == 0xF0 && b0 <= 0xF4) {
        len = 4;
        c = b0 & 0x07;
    } else {
        ++i;
        return -1;
    }
    if (i + static_cast<std::size_t>(len) > bytes.size()) {
        ++i;
        return -1;
    }
    for (int k = 1; k < len; ++k) {
        const auto b = static_cast<unsigned char>(bytes[i + static_cast<std::size_t>(k)]);
        if ((b & 0xC0) != 0x80) {
            ++i;
            return -1;
        }
        c = (c << 6) | (b & 0x3F);
    }
    const bool overlong = (len == 3 && c < 0x800) || (len == 4 && c < 0x10000);
    if (overlong || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
        ++i;
        return -1;
    }
    i += static_cast<std::size_t>(len);
    return static_cast<long>(c);
}

} // namespace

std::string Cp1250ToUtf8(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size());
    for (char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        if (b < 0x80)
            out.push_back(ch);
        else
            AppendUtf8(out, kHigh[b - 0x80]);
    }
    return out;
}

namespace {

// The byte of a code point, or nothing when the code page cannot hold it
// (malformed UTF-8 is given as -1).
std::optional<char> ByteOf(long c)
{
    if (c >= 0 && c < 0x80)
        return static_cast<char>(c);
    for (std::size_t k = 0; k < kHigh.size() && c > 0; ++k)
        if (kHigh[k] == static_cast<char32_t>(c))
            return static_cast<char>(0x80 + k);
    return std::nullopt;
}

} // namespace

std::string Utf8ToCp1250(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size())
        out.push_back(ByteOf(NextCodePoint(utf8, i)).value_or('?'));
    return out;
}

std::string Cp1250Unrepresentable(std::string_view utf8)
{
    std::string out;
    std::vector<long> seen;
    std::size_t i = 0;
    while (i < utf8.size()) {
        const std::size_t at = i;
        const long c = NextCodePoint(utf8, i);
        if (ByteOf(c) || std::find(seen.begin(), seen.end(), c) != seen.end())
            continue;
        seen.push_back(c);
        if (!out.empty())
            out += ' ';
        if (c < 0) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X",
                          static_cast<unsigned>(static_cast<unsigned char>(utf8[at])));
            out += hex;
        } else {
            out += utf8.substr(at, i - at);
        }
    }
    return out;
}

bool IsValidUtf8(std::string_view bytes)
{
    std::size_t i = 0;
    while (i < bytes.size())
        if (NextCodePoint(bytes, i) < 0)
            return false;
    return true;
}

std::string FileTextToUtf8(std::string_view bytes)
{
    bool ascii = true;
    for (char ch : bytes)
        if (static_cast<unsigned char>(ch) >= 0x80) {
            ascii = false;
            break;
        }
    if (ascii || IsValidUtf8(bytes))
        return std::string(bytes);
    return Cp1250ToUtf8(bytes);
}

} // namespace lumidrax
