#include "protocol/frame.h"

#include "protocol/numbers.h"

namespace orvane::protocol {

std::uint8_t checksum(std::string_view text) {
  unsigned sum = 0;
  for (unsigned char c : text) sum += c;
  return static_cast<std::uint8_t>(sum & 0xFF);
}

std::string checksumDigits(std::string_view text) { return hex2(checksum(text), 2); }

std::string completeCommand(std::string_view command, bool withChecksum) {
  std::string frame(command);
  if (withChecksum) frame += checksumDigits(command);
  frame += kCarriageReturn;
  return frame;
}

namespace {

int checksumDigit(char c, DigitRule rule) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (rule == DigitRule::AnyCase && c >= 'a' && c <= 'f') return c - 'a' + 10;
  return 0;
}

}  // namespace

std::optional<std::string> checkReply(std::string_view received, bool withChecksum,
                                      DigitRule rule) {
  if (!withChecksum) return std::string(received);
  if (received.size() < 2) return std::nullopt;
  std::string_view text = received.substr(0, received.size() - 2);
  int sent = checksumDigit(received[received.size() - 2], rule) * 16 +
             checksumDigit(received[received.size() - 1], rule);
  if (sent != checksum(text)) return std::nullopt;
  return std::string(text);
}

bool isRefusal(std::string_view reply) { return !reply.empty() && reply.front() == '?'; }

bool isAddressZero(std::string_view command) {
  return command.size() >= 3 && command[1] == '0' && command[2] == '0';
}

bool isBroadcast(std::string_view command) { return command == "#**" || command == "~**"; }

}  // namespace orvane::protocol
