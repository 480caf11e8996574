#include "admin/diag/digital_reply.h"

#include <algorithm>
#include <cctype>

#include "admin/core/reply_fields.h"

namespace orvane::admin {

std::optional<unsigned> hexField(const std::string& reply, std::size_t position,
                                 std::size_t length) {
  const std::string digits = replyText(reply, position, length);
  const bool allDigits = std::all_of(digits.begin(), digits.end(), [](char c) {
    return std::isxdigit(static_cast<unsigned char>(c)) != 0;
  });
  if (digits.size() != length || !allDigits) return std::nullopt;
  return replyHex(reply, position, length);
}

bool outputWriteTaken(bool exchangeOK, const std::string& reply) {
  return exchangeOK && !reply.empty() && reply.front() != '?';
}

}  // namespace orvane::admin
