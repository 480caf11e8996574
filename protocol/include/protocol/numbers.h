// Number texts as the modules and both products write and read them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace orvane::protocol {

// The value in upper-case hexadecimal, padded with "0" on the left to the
// width (a longer result is not cut): hex2(5, 2) is "05", hex2(255, 2) "FF".
std::string hex2(std::uint32_t value, int width = 2);

// "0"-"9" give 0-9, "a"/"A" to "f"/"F" give 10-15, anything else 0.
int hexDigitValue(char c);

// Hex digits (either case) accumulated, every other character skipped.
std::uint32_t parseHexSkipping(std::string_view text);

// Hex value of the text, each character through hexDigitValue.
std::uint32_t hexValue(std::string_view text);

// The decimal value of a text: leading blanks skipped, an optional sign,
// digits, an optional fraction and exponent; stops at the first other
// character; no number gives 0. Always "." as the decimal point.
double decimalValue(std::string_view text);

// The integer value of a text: leading blanks, optional sign, digits; stops at
// the first other character.
long long integerValue(std::string_view text);

// True when the whole text, blanks at both ends aside, is a decimal number.
bool isDecimalNumber(std::string_view text);

// A value in plain decimal form, as few digits as it needs (15.32, -12.5, 0).
std::string plainDecimal(double value);

// A value written with a pattern of "0" (digit always written), "#" (digit
// written only when significant) and one "."; the last digit is rounded.
// "###0.0000" gives 12.5000 for 12.5; "00.000" gives 04.000 for 4.
std::string formatPattern(double value, std::string_view pattern);

// Blanks removed at both ends.
std::string_view trimmed(std::string_view text);

}  // namespace orvane::protocol
