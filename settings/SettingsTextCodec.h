#pragma once
// The bytes of the settings file as text and back. Files come from several
// systems and editors: UTF-8 with or without a byte order mark, Windows-1250
// (also behind a UTF-8 mark some editors put in front of any file), and
// UTF-16 in either byte order, with its mark or (starting with an ASCII
// character) without. A file is written back in the encoding it was read
// in, so other programs that share it keep reading it. No Qt.

#include <string>
#include <string_view>

namespace lumidrax {

enum class SettingsTextCode { Utf8, Cp1250, Utf16LE, Utf16BE };

struct SettingsFileEncoding {
    SettingsTextCode Code = SettingsTextCode::Utf8;
    bool ByteOrderMark = false; // the file starts with the mark of its code
    bool operator==(const SettingsFileEncoding&) const = default;
};

struct DecodedSettingsText {
    std::string Text; // UTF-8, without the byte order mark
    SettingsFileEncoding Encoding;
    // Why the bytes are not text this program reads (UTF-32, broken UTF-16,
    // zero bytes in a single-byte file); then Text is empty.
    std::string Problem;
};

// The text of the file's bytes and the encoding they were found in. Without
// a mark: plain ASCII and valid UTF-8 are UTF-8, anything else Windows-1250.
DecodedSettingsText DecodeSettingsText(std::string_view bytes);

// UTF-8 text as the bytes of a file in the encoding. Text that Windows-1250
// cannot hold (every character not in the code page) is written as UTF-8
// instead (behind the UTF-8 mark when the file had one), so that nothing the
// user set is lost; it reads back the same. Windows-1250 bytes that would
// pass for UTF-8 get a comment line in front whose letters do not, and
// UTF-16LE text that starts with a zero character a second mark, so that
// DecodeSettingsText reads every file written here as it was written.
std::string EncodeSettingsText(std::string_view text, const SettingsFileEncoding& encoding);

} // namespace lumidrax
