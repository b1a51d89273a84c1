#pragma once
// The single-byte code page of chart and report files (Windows-1250, Central
// European). Inside the program every text is UTF-8.

#include <string>
#include <string_view>

namespace lumidrax {

// Single-byte text to UTF-8. The bytes that Windows-1250 leaves undefined
// become the C1 controls of the same number (U+0081 ...), as the platform's
// converter does, so that Utf8ToCp1250 gives every byte back.
std::string Cp1250ToUtf8(std::string_view bytes);

// UTF-8 to single bytes; characters outside the code page (and malformed
// UTF-8) become '?'.
std::string Utf8ToCp1250(std::string_view utf8);

// The characters of a UTF-8 text that Utf8ToCp1250 writes as '?', each once,
// blank-separated (a malformed byte as \xNN); empty when every one fits.
std::string Cp1250Unrepresentable(std::string_view utf8);

// True when the bytes are well-formed UTF-8.
bool IsValidUtf8(std::string_view bytes);

// Text read from a file: kept as it is when it is plain ASCII or valid UTF-8
// that is not plain ASCII, otherwise taken as Windows-1250.
std::string FileTextToUtf8(std::string_view bytes);

} // namespace lumidrax
