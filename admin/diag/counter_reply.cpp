#include "admin/diag/counter_reply.h"

#include <algorithm>
#include <cctype>

#include "admin/core/reply_fields.h"

namespace orvane::admin {

namespace {

constexpr std::size_t kMostDigits = 10;

}  // namespace

std::string counterReadBody(int channel) { return std::to_string(channel) + "D"; }

std::optional<std::uint64_t> counterValue(bool exchangeOK, const std::string& reply) {
  if (!replyValid(exchangeOK, reply, '>')) return std::nullopt;
  const std::string digits = replyText(reply, 1);
  const bool allDigits = std::all_of(digits.begin(), digits.end(), [](char c) {
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
  });
  if (digits.empty() || digits.size() > kMostDigits || !allDigits) return std::nullopt;
  return std::stoull(digits);
}

}  // namespace orvane::admin
