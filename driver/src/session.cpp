#include "session.h"

#include <thread>
#include <utility>

#include "orvio.h"
#include "protocol/frame.h"

namespace orvane::driver {

namespace {

// A line that streams this much without a carriage return is not a module
// answering; give up instead of reading forever.
constexpr std::size_t kRunawayReply = 4096;

void pause(int delayMs) {
  if (delayMs > 0) std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
}

// Hands the received text on, without its checksum digits when they are
// checked; a reply shorter than the two digits fails the check.
std::uint16_t acceptReply(std::string received, bool check, std::string& reply) {
  if (!check) {
    reply = std::move(received);
    return OV_SUCCESS;
  }
  auto checked = protocol::checkReply(received, true, protocol::DigitRule::UpperCaseOnly);
  if (!checked) return OV_CHECKSUM_ERROR;
  reply = std::move(*checked);
  return OV_SUCCESS;
}

}  // namespace

bool fitsCommandBuffer(std::string_view command, bool checksum) {
  bool withDigits = checksum && !protocol::isAddressZero(command);
  return command.size() + (withDigits ? 2 : 0) + 1 < kCommandBufferSize;
}

std::chrono::milliseconds Session::timeout() const {
  return std::chrono::milliseconds(slot_.timeoutMs > 0 ? slot_.timeoutMs : 0);
}

// The exemption set by a send to address 00 covers the very next receive on
// any port, and only that one, whether it succeeds or not.
bool Session::takeExemption() { return std::exchange(library_.addressZeroExemption, false); }

std::uint16_t Session::transact(std::string_view command, std::string& reply) {
  std::uint16_t status = exchange(command, slot_.checksum, reply);
  if (status != OV_SUCCESS) return status;
  return protocol::isRefusal(reply) ? OV_REFUSED : OV_SUCCESS;
}

std::uint16_t Session::exchange(std::string_view command, bool checksum, std::string& reply) {
  if (!fitsCommandBuffer(command, checksum)) return OV_REFUSED;
  // A failed write shows up as a time-out or read failure of the receive.
  sendFrame(command, checksum);
  return receiveLine(checksum, 0, reply);
}

std::uint16_t Session::sendFrame(std::string_view command, bool checksum) {
  bool addressZero = protocol::isAddressZero(command);
  if (addressZero) library_.addressZeroExemption = true;
  if (!slot_.line) return OV_IO_ERROR;
  try {
    slot_.line->purge();
    std::string frame = protocol::completeCommand(command, checksum && !addressZero);
    return slot_.line->write(frame, timeout()) ? OV_SUCCESS : OV_IO_ERROR;
  } catch (const serial::SerialError&) {
    return OV_IO_ERROR;
  }
}

std::uint16_t Session::receiveLine(bool checksum, int delayMs, std::string& reply) {
  bool exempt = takeExemption();
  if (!slot_.line) return OV_IO_ERROR;
  pause(delayMs);
  std::string received;
  try {
    for (std::size_t count = 0;; ++count) {
      if (count == kRunawayReply) return OV_IO_ERROR;
      auto byte = slot_.line->readByte(timeout());
      if (!byte) return OV_TIMEOUT;
      if (*byte == protocol::kCarriageReturn) break;
      if (*byte == 0) continue;
      // Past the buffer's end the characters are read but not kept.
      if (received.size() < kReplyCapacity) received.push_back(static_cast<char>(*byte));
    }
  } catch (const serial::SerialError&) {
    return OV_IO_ERROR;
  }
  return acceptReply(std::move(received), checksum && !exempt, reply);
}

std::uint16_t Session::receiveCount(bool checksum, std::size_t length, std::string& reply) {
  bool exempt = takeExemption();
  if (!slot_.line) return OV_IO_ERROR;
  std::string received;
  try {
    while (received.size() < length) {
      auto byte = slot_.line->readByte(timeout());
      if (!byte) return OV_TIMEOUT;
      received.push_back(static_cast<char>(*byte));
    }
  } catch (const serial::SerialError&) {
    return OV_IO_ERROR;
  }
  return acceptReply(std::move(received), checksum && !exempt, reply);
}

}  // namespace orvane::driver
