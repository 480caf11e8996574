#include "admin/diag/n47_diag_commands.h"

#include <algorithm>
#include <cmath>

#include "admin/core/reply_fields.h"
#include "protocol/numbers.h"

namespace orvane::admin {

namespace {

bool isHexDigit(char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

}  // namespace

float n47OutputValue(int position) {
  return static_cast<float>(position) * 20.0F / (2.0F * kN47ScrollMax);
}

std::string n47ShownValue(int position, char decimalSeparator) {
  std::string text = protocol::formatPattern(n47OutputValue(position), "##0.000");
  std::replace(text.begin(), text.end(), '.', decimalSeparator);
  return text;
}

std::string n47OutputBody(int output, int position) {
  const float v = n47OutputValue(position);
  return std::string(1, static_cast<char>('A' + output)) + (v >= 0 ? "+" : "-") +
         protocol::formatPattern(std::fabs(v), "00.000");
}

std::optional<unsigned> n47Inputs(bool exchangeOK, const std::string& reply) {
  // Checked digits too: a line without checksum can garble them.
  if (!replyValid(exchangeOK, reply, '!', 7)) return std::nullopt;
  const std::string digits = replyText(reply, 1, 2);
  if (!std::all_of(digits.begin(), digits.end(), isHexDigit)) return std::nullopt;
  return replyHex(reply, 1, 2);
}

}  // namespace orvane::admin
