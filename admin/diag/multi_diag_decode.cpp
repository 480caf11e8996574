#include "admin/diag/multi_diag_decode.h"

#include <algorithm>
#include <cctype>

#include "admin/core/reply_fields.h"
#include "admin/diag/digital_reply.h"
#include "protocol/numbers.h"

namespace orvane::admin {

namespace {

constexpr std::size_t kReplyLength = 8;

bool decimalDigits(const std::string& text) {
  return std::all_of(text.begin(), text.end(),
                     [](char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; });
}

}  // namespace

std::optional<MultiStatus> multiStatus(bool exchangeOK, const std::string& reply) {
  if (!replyValid(exchangeOK, reply, '!', kReplyLength)) return std::nullopt;
  const std::string mode = replyText(reply, 3, 1);
  const std::string input = replyText(reply, 6, 1);
  const auto outState = hexField(reply, 4, 2);
  if (!outState || !decimalDigits(mode) || !decimalDigits(input)) return std::nullopt;
  return MultiStatus{mode.front() - '0', *outState, input.front()};
}

std::optional<unsigned> multiEventCount(bool exchangeOK, const std::string& reply) {
  if (!replyValid(exchangeOK, reply, '!', kReplyLength)) return std::nullopt;
  const std::string count = replyText(reply, 3, 5);
  if (!decimalDigits(count)) return std::nullopt;
  return static_cast<unsigned>(protocol::integerValue(count));
}

bool multiOutputLit(unsigned outState, int output) {
  return output == 0 ? (outState & 1u) != 0 : outState >= 2;
}

unsigned multiToggled(unsigned outState, int output) {
  if (output == 0) return (outState & 1u) != 0 ? outState - 1 : outState + 1;
  return outState >= 2 ? outState - 2 : outState + 2;
}

std::string multiOutputBody(unsigned outState) { return "DO" + protocol::hex2(outState, 2); }

std::string alarmLimitText(double value, char decimalSeparator) {
  std::string text = protocol::formatPattern(value, "###0.0000");
  std::replace(text.begin(), text.end(), '.', decimalSeparator);
  return text;
}

}  // namespace orvane::admin
