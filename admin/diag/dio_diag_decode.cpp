#include "admin/diag/dio_diag_decode.h"

#include "admin/core/reply_fields.h"
#include "admin/diag/digital_reply.h"
#include "protocol/numbers.h"

namespace orvane::admin {

namespace {

constexpr std::size_t kDataReplyLength = 7;

bool isOneOf(const std::string& key, std::initializer_list<const char*> keys) {
  for (const char* k : keys)
    if (key == k) return true;
  return false;
}

}  // namespace

DioBits dioBitsShown(const std::string& key) {
  if (key == "451") return {7, 8};
  if (key == "453") return {8, 0};
  if (key == "455") return {16, 0};
  if (key == "456") return {15, 0};
  if (key == "458") return {0, 15};
  if (key == "472") return {4, 4};
  if (isOneOf(key, {"474", "476"})) return {0, 8};
  return {};
}

std::optional<unsigned> dioInputValue(const std::string& key, bool exchangeOK,
                                      const std::string& reply) {
  if (!replyValid(exchangeOK, reply, '!', kDataReplyLength)) return std::nullopt;
  if (isOneOf(key, {"451", "472"})) return hexField(reply, 3, 2);
  if (key == "453") return hexField(reply, 1, 2);
  if (isOneOf(key, {"455", "456"})) return hexField(reply, 1, 4);
  return 0u;
}

std::string dioOutputsOffBody(const std::string& key) {
  if (isOneOf(key, {"451", "472", "474", "476"})) return "0000";
  if (key == "458") return "T0000";
  return {};
}

std::string dioOutputBody(const std::string& key, int n, int level) {
  if (isOneOf(key, {"451", "472", "474", "476"}))
    return "1" + std::to_string(n) + protocol::hex2(static_cast<unsigned>(level));
  if (key == "458") {
    const char half = n < 8 ? 'L' : 'H';
    return half + protocol::hex2(static_cast<unsigned>(n % 8), 1) + std::to_string(level);
  }
  return {};
}

}  // namespace orvane::admin
