#include "admin/diag/ctr_diag_decode.h"

#include "admin/core/reply_fields.h"
#include "protocol/numbers.h"

namespace orvane::admin {

namespace {

constexpr std::size_t kStatusLength = 6;
constexpr std::size_t kAcknowledgeLength = 3;

// The digit at the position when it lies in 0..highest; nothing otherwise.
std::optional<int> digitAt(const std::string& reply, std::size_t position, char highest) {
  const std::string c = replyText(reply, position, 1);
  if (c.empty() || c[0] < '0' || c[0] > highest) return std::nullopt;
  return c[0] - '0';
}

}  // namespace

std::optional<CtrStatus> ctrStatus(bool exchangeOK, const std::string& reply) {
  if (!replyValid(exchangeOK, reply, '!', kStatusLength)) return std::nullopt;
  const auto alarms = digitAt(reply, 3, '3');
  const auto tens = digitAt(reply, 4, '0');
  const auto outputs = digitAt(reply, 5, '3');
  if (!alarms || !tens || !outputs) return std::nullopt;
  return CtrStatus{*alarms, *outputs};
}

std::string ctrRunBody(int c, int run) { return "5" + std::to_string(c) + std::to_string(run); }

std::string ctrClearBody(int c) { return "6" + std::to_string(c); }

std::string ctrOutputBody(int outState) {
  return "DO" + protocol::hex2(static_cast<std::uint32_t>(outState));
}

int ctrToggled(int outState, int c) { return outState ^ (1 << c); }

bool ctrCommandTaken(bool exchangeOK, const std::string& reply) {
  return replyValid(exchangeOK, reply, '!', kAcknowledgeLength);
}

}  // namespace orvane::admin
