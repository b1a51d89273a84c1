#pragma once
// Number texts with the decimal comma, as every file, report and label of the
// program writes and reads them. Never depends on the C or system locale.

#include <optional>
#include <string>
#include <string_view>

namespace lumidrax {

// Fixed-point text with the given count of decimals and a decimal comma, no
// thousands separators: FormatFixed(-12.5, 2) == "-12,50". The value is first
// taken to 18 significant digits, then rounded half away from zero at the
// last decimal kept.
std::string FormatFixed(long double value, int decimals);

// General form with up to `precision` significant digits, trailing zeros
// dropped, decimal comma; scientific ("1,5E-7", "1E20") when the value is
// below 0.00001 or has more integer digits than the precision.
std::string FormatGeneral(long double value, int precision = 15);

// Parses a decimal number with a decimal comma: optional sign, digits, an
// optional comma with digits, an optional exponent (E or e, optional sign,
// digits). No blanks, no thousands separators, no point. Returns nothing when
// the text is not such a number.
std::optional<long double> ParseDecimal(std::string_view text);

// Parses a 32-bit signed decimal integer (optional sign, digits only).
std::optional<int> ParseInteger(std::string_view text);

// Removes blanks, tabs, CR and LF at both ends.
std::string_view TrimBlanks(std::string_view text);

} // namespace lumidrax
