#include "admin/config/n69_config_commands.h"

#include <cctype>

#include "admin/core/reply_fields.h"

namespace orvane::admin {

std::optional<int> portDirectionsFromReply(bool exchangeOK, const std::string& reply) {
  const auto hexAt = [&](std::size_t i) {
    return i < reply.size() && std::isxdigit(static_cast<unsigned char>(reply[i])) != 0;
  };
  if (!replyValid(exchangeOK, reply, '!') || !hexAt(1) || !hexAt(2)) return std::nullopt;
  return static_cast<int>(replyHex(reply, 1, 2) & 0x0F);
}

std::optional<int> portDirectionMask(const std::array<std::optional<bool>, 4>& inputRows) {
  int mask = 0;
  for (const auto& input : inputRows) {
    if (!input) return std::nullopt;
    mask = mask * 2 + (*input ? 1 : 0);
  }
  return mask;
}

}  // namespace orvane::admin
