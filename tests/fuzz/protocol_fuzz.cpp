// The reply check and the protocol's number texts. The first bytes choose a
// TypeCode, a data format and a digit pattern; all of the input is the text.
#include <cmath>
#include <string>

#include "fuzz_check.h"
#include "protocol/catalogue.h"
#include "protocol/frame.h"
#include "protocol/numbers.h"

namespace {

using namespace orvane::protocol;
using orvane::fuzz::require;

bool isHexDigit(char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

void checkReplies(std::string_view text) {
  const std::string digits = checksumDigits(text);
  require(digits.size() == 2 && hexValue(digits) == checksum(text) &&
              digits.find_first_not_of("0123456789ABCDEF") == std::string::npos,
          "the checksum is two upper-case hexadecimal digits of its value");
  require(completeCommand(text, true) == std::string(text) + digits + '\r',
          "a command goes out with its checksum and CR");
  const std::string withSum = std::string(text) + digits;
  std::string lowerCase = digits;
  for (char& c : lowerCase)
    if (c >= 'A' && c <= 'F') c = static_cast<char>(c - 'A' + 'a');
  const std::string withLowerSum = std::string(text) + lowerCase;
  require(checkReply(withLowerSum, true, DigitRule::AnyCase) == std::string(text),
          "the utility reads lower-case checksum digits");
  require(
      checkReply(withLowerSum, true, DigitRule::UpperCaseOnly).has_value() == (lowerCase == digits),
      "the library reads a lower-case digit as 0");
  for (auto rule : {DigitRule::UpperCaseOnly, DigitRule::AnyCase}) {
    require(checkReply(text, false, rule) == std::string(text), "no checksum: the text as it is");
    require(checkReply(withSum, true, rule) == std::string(text), "a right checksum is accepted");
    const auto checked = checkReply(text, true, rule);
    if (text.size() < 2)
      require(!checked, "a reply shorter than its checksum fails");
    else if (checked)
      require(*checked == text.substr(0, text.size() - 2), "an accepted reply loses its digits");
  }
}

void checkHex(std::string_view text) {
  const std::uint32_t value = hexValue(text);
  require(hexValue(hex2(value, 8)) == value, "hex2 and hexValue agree");
  std::string onlyDigits;
  for (char c : text)
    if (isHexDigit(c)) onlyDigits += c;
  require(parseHexSkipping(text) == hexValue(onlyDigits), "parseHexSkipping skips non-digits");
}

void checkDecimal(std::string_view text) {
  const double value = decimalValue(text);
  if (isDecimalNumber(text)) require(!std::isnan(value), "a decimal number is a number");
  const long long integer = integerValue(text);
  require(integerValue(std::to_string(integer)) == integer, "integers read back");
  if (!std::isfinite(value)) return;
  const std::string plain = plainDecimal(value);
  require(isDecimalNumber(plain), "plainDecimal writes a decimal number");
  const double back = decimalValue(plain);
  require(std::fabs(back - value) <= 1e-14 * std::fabs(value), "plainDecimal reads back");
}

std::string patternOf(unsigned char shape, unsigned char decimals) {
  std::string pattern(shape & 7, '#');
  pattern += std::string((shape >> 3) & 7, '0');
  if (decimals % 16) pattern += "." + std::string(decimals % 16, '0');
  return pattern;
}

void checkPattern(double value, const std::string& pattern) {
  const std::string text = formatPattern(value, pattern);
  if (!std::isfinite(value)) return;
  const auto point = pattern.find('.');
  const std::size_t decimals = point == std::string::npos ? 0 : pattern.size() - point - 1;
  const auto written = text.find('.');
  require(decimals ? written != std::string::npos && text.size() - written - 1 == decimals
                   : written == std::string::npos,
          "formatPattern writes the pattern's decimals");
  const double tolerance =
      0.5 * std::pow(10.0, -static_cast<double>(decimals)) * 1.000001 + 1e-12 * std::fabs(value);
  require(std::fabs(decimalValue(text) - value) <= tolerance, "formatPattern rounds the value");
}

void checkEngineering(std::string_view text, int typeCode, int format) {
  const double value = decimalValue(text);
  const std::string limit = engineeringText(value, typeCode);
  require(!limit.empty() && (limit[0] == '+' || limit[0] == '-'), "a limit starts with its sign");
  if (std::isfinite(value)) require(limit.size() <= 8, "a limit keeps its digit pattern");
  engineeringText(text, typeCode);

  const std::string reading = readingToEngineering(text, typeCode, format);
  if (format > 3) require(reading.empty(), "an unknown data format gives no text");
  if (format == 2) {
    const double bound = std::fabs(fullScale(typeCode)) * 32768.0 / 32767.0 + 0.0001;
    require(std::fabs(decimalValue(reading)) <= bound, "two's complement stays in full scale");
  }
  typeCodeName(typeCode);
  unitOf(typeCode, format);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text = orvane::fuzz::textOf(data, size);
  checkReplies(text);
  checkHex(text);
  checkDecimal(text);
  if (size < 4) return 0;
  const int typeCode = data[0];
  const int format = data[1] % 8;
  checkEngineering(text.substr(4), typeCode, format);
  checkPattern(decimalValue(text.substr(4)), patternOf(data[2], data[3]));
  return 0;
}
