// Numbers as orvctl reads them from its arguments and from module replies and
// writes them for programs: never through the locale, except where people
// type or read them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orvctl {

// The shortest text without exponent that reads back as the same number,
// with "." (15.32, -3.5, 0.0001, 0).
std::string plainNumber(double value);

// The value with three decimals and a sign, at least two integer digits, as
// the analog outputs take it (+05.500, -10.000).
std::string outputValueText(double value);

// "." replaced by the locale's decimal point, for text that people read.
std::string localized(std::string text);

// A whole text that is a decimal number with "." (blanks at both ends, a
// sign, digits, a fraction): how modules write readings.
std::optional<double> decimalNumber(std::string_view text);

// A number as a user types it: "." or the locale's decimal point.
std::optional<double> typedNumber(std::string_view text);

// A whole decimal number ("37") or hexadecimal one ("0x25") within the bounds.
std::optional<long> integerIn(std::string_view text, long min, long max);

// Hexadecimal digits, with or without "0x", up to the bound.
std::optional<unsigned long> hexNumber(std::string_view text, unsigned long max);

// The baud-rate code of the library (OV_BAUD_*) for a rate; nullopt for a
// rate the modules do not run at.
std::optional<std::uint16_t> baudCodeOf(long rate);
// The rate of a baud-rate code; 0 for a code outside 3..10.
int baudRateOf(unsigned code);

// "1200, 2400, ..., 115200": the rates a user may give.
const char* baudRateList();

}  // namespace orvctl
