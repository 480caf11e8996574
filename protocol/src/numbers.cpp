#include "protocol/numbers.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <system_error>

namespace orvane::protocol {

std::string hex2(std::uint32_t value, int width) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%0*X", width < 1 ? 1 : width, static_cast<unsigned>(value));
  return buffer;
}

int hexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return 0;
}

std::uint32_t parseHexSkipping(std::string_view text) {
  std::uint32_t value = 0;
  for (char c : text) {
    bool digit = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
    if (digit) value = value * 16 + static_cast<std::uint32_t>(hexDigitValue(c));
  }
  return value;
}

std::uint32_t hexValue(std::string_view text) {
  std::uint32_t value = 0;
  for (char c : text) value = value * 16 + static_cast<std::uint32_t>(hexDigitValue(c));
  return value;
}

namespace {

// Length of the number at the start of text (after the blanks at `start`).
std::size_t numberLength(std::string_view text, std::size_t start, bool allowFraction) {
  std::size_t i = start;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  std::size_t digits = 0;
  while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i, ++digits;
  if (allowFraction && i < text.size() && text[i] == '.') {
    ++i;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i, ++digits;
  }
  if (digits == 0) return 0;
  if (allowFraction && i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    std::size_t j = i + 1;
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
    std::size_t expDigits = 0;
    while (j < text.size() && text[j] >= '0' && text[j] <= '9') ++j, ++expDigits;
    if (expDigits > 0) i = j;
  }
  return i - start;
}

std::size_t skipBlanks(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  return i;
}

}  // namespace

// The protocol's texts always use "." whatever the locale a program set, so
// numbers are read and written with from_chars/to_chars, never through the C
// locale (strtod, printf).

namespace {

// Where from_chars found the value out of range: a huge magnitude becomes an
// infinity, a tiny one zero, as strtod would give them.
double outOfRange(std::string_view number, bool negative) {
  long long magnitude = 0;  // decimal exponent of the first significant digit, roughly
  std::size_t i = 0;
  while (i < number.size() && number[i] == '0') ++i;
  std::size_t integerDigits = 0;
  while (i < number.size() && number[i] >= '0' && number[i] <= '9') ++i, ++integerDigits;
  magnitude = static_cast<long long>(integerDigits);
  if (integerDigits == 0 && i < number.size() && number[i] == '.') {
    ++i;
    while (i < number.size() && number[i] == '0') ++i, --magnitude;
  }
  std::size_t e = number.find_first_of("eE");
  if (e != std::string_view::npos) {
    long long exponent = 0;
    std::string_view digits = number.substr(e + 1);
    const bool negativeExponent = !digits.empty() && digits.front() == '-';
    if (!digits.empty() && (digits.front() == '-' || digits.front() == '+'))
      digits.remove_prefix(1);
    for (char c : digits) exponent = std::min<long long>(exponent * 10 + (c - '0'), 1'000'000'000);
    magnitude += negativeExponent ? -exponent : exponent;
  }
  const double value = magnitude > 0 ? std::numeric_limits<double>::infinity() : 0.0;
  return negative ? -value : value;
}

}  // namespace

double decimalValue(std::string_view text) {
  std::size_t start = skipBlanks(text);
  std::size_t length = numberLength(text, start, true);
  if (length == 0) return 0.0;
  std::string_view number = text.substr(start, length);
  const bool negative = number.front() == '-';
  if (number.front() == '+' || number.front() == '-') number.remove_prefix(1);
  double value = 0.0;
  const auto result = std::from_chars(number.data(), number.data() + number.size(), value);
  if (result.ec == std::errc::result_out_of_range) return outOfRange(number, negative);
  return negative ? -value : value;
}

long long integerValue(std::string_view text) {
  std::size_t start = skipBlanks(text);
  std::size_t length = numberLength(text, start, false);
  if (length == 0) return 0;
  std::string_view number = text.substr(start, length);
  const bool negative = number.front() == '-';
  if (number.front() == '+' || number.front() == '-') number.remove_prefix(1);
  unsigned long long magnitude = 0;
  const auto result = std::from_chars(number.data(), number.data() + number.size(), magnitude);
  constexpr auto kLargest = static_cast<unsigned long long>(std::numeric_limits<long long>::max());
  if (result.ec == std::errc::result_out_of_range || magnitude > kLargest + (negative ? 1 : 0))
    return negative ? std::numeric_limits<long long>::min() : std::numeric_limits<long long>::max();
  if (negative)
    return magnitude == kLargest + 1 ? std::numeric_limits<long long>::min()
                                     : -static_cast<long long>(magnitude);
  return static_cast<long long>(magnitude);
}

bool isDecimalNumber(std::string_view text) {
  text = trimmed(text);
  return !text.empty() && numberLength(text, 0, true) == text.size();
}

std::string plainDecimal(double value) {
  if (value == 0.0) return "0";
  char buffer[64];
  // Single-precision readings are shown with the digits they carry.
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
  return std::string(buffer, result.ptr);
}

std::string formatPattern(double value, std::string_view pattern) {
  std::size_t point = pattern.find('.');
  int decimals = point == std::string_view::npos ? 0 : static_cast<int>(pattern.size() - point - 1);
  std::string_view integerPart = pattern.substr(0, point);
  int minDigits = 0;
  for (char c : integerPart)
    if (c == '0') ++minDigits;
  // A fixed-point text of a double can be 309 digits before the point.
  char buffer[400 + 64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                                    std::chars_format::fixed, std::min(decimals, 60));
  std::string digits(buffer, result.ec == std::errc{} ? result.ptr : buffer);
  bool negative = std::signbit(value) && digits.find_first_not_of("0.") != std::string::npos;
  std::size_t intLength = digits.find('.');
  if (intLength == std::string::npos) intLength = digits.size();
  // Strip the integer zeros that the pattern does not ask for, pad to what it does.
  std::string integer = digits.substr(0, intLength);
  std::string rest = digits.substr(intLength);
  while (integer.size() > 1 && integer.front() == '0') integer.erase(0, 1);
  if (integer == "0" && minDigits == 0) integer.clear();
  std::string zeros(integer.size() < static_cast<std::size_t>(minDigits)
                        ? static_cast<std::size_t>(minDigits) - integer.size()
                        : 0,
                    '0');
  return (negative ? "-" : "") + zeros + integer + rest;
}

std::string_view trimmed(std::string_view text) {
  std::size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  std::size_t last = text.find_last_not_of(' ');
  return text.substr(first, last - first + 1);
}

}  // namespace orvane::protocol
