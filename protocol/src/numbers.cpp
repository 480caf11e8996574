#include "protocol/numbers.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

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

double decimalValue(std::string_view text) {
  std::size_t start = skipBlanks(text);
  std::size_t length = numberLength(text, start, true);
  if (length == 0) return 0.0;
  std::string number(text.substr(start, length));
  return std::strtod(number.c_str(), nullptr);
}

long long integerValue(std::string_view text) {
  std::size_t start = skipBlanks(text);
  std::size_t length = numberLength(text, start, false);
  if (length == 0) return 0;
  std::string number(text.substr(start, length));
  return std::strtoll(number.c_str(), nullptr, 10);
}

bool isDecimalNumber(std::string_view text) {
  text = trimmed(text);
  return !text.empty() && numberLength(text, 0, true) == text.size();
}

std::string plainDecimal(double value) {
  if (value == 0.0) return "0";
  char buffer[64];
  // Single-precision readings are shown with the digits they carry.
  std::snprintf(buffer, sizeof buffer, "%.15g", value);
  return buffer;
}

std::string formatPattern(double value, std::string_view pattern) {
  std::size_t point = pattern.find('.');
  int decimals = point == std::string_view::npos ? 0 : static_cast<int>(pattern.size() - point - 1);
  std::string_view integerPart = pattern.substr(0, point);
  int minDigits = 0;
  for (char c : integerPart)
    if (c == '0') ++minDigits;
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.*f", decimals, std::fabs(value));
  std::string digits = buffer;
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
