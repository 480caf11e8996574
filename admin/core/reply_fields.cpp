#include "admin/core/reply_fields.h"

#include "protocol/numbers.h"

namespace orvane::admin {

std::string replyText(const std::string& reply, std::size_t position, std::size_t length) {
  return position < reply.size() ? reply.substr(position, length) : std::string();
}

int replyDigit(const std::string& reply, std::size_t position) {
  return position < reply.size() ? protocol::hexDigitValue(reply[position]) : 0;
}

unsigned replyHex(const std::string& reply, std::size_t position, std::size_t length) {
  return protocol::hexValue(replyText(reply, position, length));
}

double replyDecimal(const std::string& reply, std::size_t position, std::size_t length) {
  return protocol::decimalValue(replyText(reply, position, length));
}

bool replyValid(bool exchangeOK, const std::string& reply, char lead, std::size_t length) {
  return exchangeOK && !reply.empty() && reply.front() == lead &&
         (length == std::string::npos || reply.size() == length);
}

}  // namespace orvane::admin
