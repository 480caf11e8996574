#include "numbers.h"

#include <charconv>
#include <clocale>
#include <cmath>
#include <system_error>

#include "orvio.h"

namespace orvctl {

namespace {

struct BaudCode {
  long rate;
  std::uint16_t code;
};

constexpr BaudCode kBaudCodes[] = {
    {1200, OV_BAUD_1200},   {2400, OV_BAUD_2400},     {4800, OV_BAUD_4800},
    {9600, OV_BAUD_9600},   {19200, OV_BAUD_19200},   {38400, OV_BAUD_38400},
    {57600, OV_BAUD_57600}, {115200, OV_BAUD_115200},
};

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

char localeDecimalPoint() {
  const char* point = std::localeconv()->decimal_point;
  return point && point[0] && !point[1] ? point[0] : '.';
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::string plainNumber(double value) {
  if (value == 0) return "0";  // also for -0
  // Fixed notation: a reading of 0.0001 is no 1e-04 to a spreadsheet.
  char text[400];
  auto [end, error] = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed);
  return error == std::errc() ? std::string(text, end) : std::string("0");
}

std::string outputValueText(double value) {
  char digits[32];
  auto [end, error] =
      std::to_chars(digits, digits + sizeof digits, std::fabs(value), std::chars_format::fixed, 3);
  std::string text = error == std::errc() ? std::string(digits, end) : std::string("0.000");
  if (text.find('.') < 2) text.insert(0, 2 - text.find('.'), '0');
  return (value < 0 ? "-" : "+") + text;
}

std::string localized(std::string text) {
  const char point = localeDecimalPoint();
  for (char& c : text)
    if (c == '.') c = point;
  return text;
}

std::optional<double> decimalNumber(std::string_view text) {
  text = trimmed(text);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  // A sign, digits and a point only: no exponent, no "inf", no hexadecimal.
  bool digits = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (isDigit(c))
      digits = true;
    else if (c != '.' && !(c == '-' && i == 0))
      return std::nullopt;
  }
  if (!digits) return std::nullopt;
  double value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::optional<double> typedNumber(std::string_view text) {
  std::string normal(text);
  const char point = localeDecimalPoint();
  for (char& c : normal)
    if (c == point) c = '.';
  return decimalNumber(normal);
}

std::optional<long> integerIn(std::string_view text, long min, long max) {
  int base = 10;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    text.remove_prefix(2);
    base = 16;
  }
  long value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  if (value < min || value > max) return std::nullopt;
  return value;
}

std::optional<unsigned long> hexNumber(std::string_view text, unsigned long max) {
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
    text.remove_prefix(2);
  unsigned long value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
  if (text.empty() || error != std::errc() || end != text.data() + text.size() || value > max)
    return std::nullopt;
  return value;
}

std::optional<std::uint16_t> baudCodeOf(long rate) {
  for (const auto& b : kBaudCodes)
    if (b.rate == rate) return b.code;
  return std::nullopt;
}

int baudRateOf(unsigned code) {
  for (const auto& b : kBaudCodes)
    if (b.code == code) return static_cast<int>(b.rate);
  return 0;
}

const char* baudRateList() { return "1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200"; }

}  // namespace orvctl
