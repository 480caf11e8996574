#include "admin/diag/n69_diag_decode.h"

#include "admin/core/reply_fields.h"
#include "admin/diag/digital_reply.h"
#include "protocol/numbers.h"

namespace orvane::admin {

namespace {

constexpr std::size_t kDataReplyLength = 11;

// The reply's ten digits after the lead, when it counts at all.
std::optional<std::string> replyDigits(bool exchangeOK, const std::string& reply) {
  if (!replyValid(exchangeOK, reply, '!', kDataReplyLength)) return std::nullopt;
  if (!hexField(reply, 1, kDataReplyLength - 1)) return std::nullopt;
  return replyText(reply, 1);
}

}  // namespace

std::optional<int> n69Directions(bool exchangeOK, const std::string& reply) {
  const auto digits = replyDigits(exchangeOK, reply);
  if (!digits) return std::nullopt;
  return static_cast<int>(protocol::hexValue(digits->substr(0, 2)) & 0x0F);
}

bool n69IsInput(int directions, int group) { return (directions >> (3 - group) & 1) != 0; }

std::optional<N69Inputs> n69Inputs(bool exchangeOK, const std::string& reply) {
  const auto digits = replyDigits(exchangeOK, reply);
  if (!digits) return std::nullopt;
  N69Inputs inputs;
  inputs.isolated = protocol::hexValue(digits->substr(2, 2));
  for (std::size_t port = 0; port < 3; ++port)
    inputs.ports[port] = protocol::hexValue(digits->substr(4 + 2 * port, 2));
  return inputs;
}

int n69LampCount(int group) { return group < 2 ? 8 : 4; }

N69PortBit n69PortBit(int group, int n) {
  if (group < 2) return {group, n};
  return {2, group == 2 ? n + 4 : n};
}

unsigned n69GroupBits(const N69Inputs& inputs, int group) {
  const unsigned port = inputs.ports[static_cast<std::size_t>(n69PortBit(group, 0).port)];
  if (group == 2) return port >> 4 & 0x0F;
  if (group == 3) return port & 0x0F;
  return port;
}

std::string n69PortBody(int port, unsigned value) {
  return std::string("0") + static_cast<char>('A' + port) + protocol::hex2(value & 0xFF);
}

}  // namespace orvane::admin
