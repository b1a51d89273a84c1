// Fuzz target of the Windows-1250 codec: any bytes taken to the program's
// text and back are the same bytes, that text is valid UTF-8 the code page
// holds whole, and any UTF-8 text written as single bytes has one byte per
// character, '?' exactly where a character is named as not held.

#include "Cp1250.h"
#include "FuzzCheck.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

using namespace lumidrax;
using lumidrax::fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::string text = Cp1250ToUtf8(bytes);
    Check(IsValidUtf8(text));
    Check(Utf8ToCp1250(text) == bytes);
    Check(Cp1250Unrepresentable(text).empty());

    if (IsValidUtf8(bytes)) {
        const std::string written = Utf8ToCp1250(bytes);
        const bool lossless = Cp1250Unrepresentable(bytes).empty();
        Check(lossless == (Cp1250ToUtf8(written) == bytes));
    }
    return 0;
}
