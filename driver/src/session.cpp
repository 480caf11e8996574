#include "session.h"

#include <thread>
#include <utility>

#include "failure_text.h"
#include "orvio.h"
#include "protocol/frame.h"
#include "reply_fields.h"
#include "serial/line_name.h"

namespace orvane::driver {

namespace {

constexpr const char* kNotOpen = "the port is not open";

void pause(int delayMs) {
  if (delayMs > 0) std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
}

}  // namespace

std::string serialText(const serial::SerialError& error, const serial::Line& line) {
  std::string text = error.what();
  if (dynamic_cast<const serial::DeviceDisconnected*>(&error))
    text += serial::isUrl(line.device())
                ? " (release the port and open it again once the device server answers)"
                : " (release the port and open it again once the adapter is back)";
  return text;
}

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

std::string Session::onLine(std::string_view text) const {
  std::string device = slot_.line ? slot_.line->device() + ": " : std::string();
  return device.append(text);
}

std::uint16_t Session::sendFailed(std::string_view text) {
  noteFailure(slot_, port_, text);
  sendFailed_ = true;
  return OV_IO_ERROR;
}

std::uint16_t Session::receiveFailed(std::uint16_t status, std::string_view text) {
  if (!sendFailed_) noteFailure(slot_, port_, text);
  return status;
}

std::uint16_t Session::timedOut(std::string_view received) {
  const std::string wait = format(" within %lld ms", static_cast<long long>(timeout().count()));
  if (received.empty())
    return receiveFailed(OV_TIMEOUT, onLine("no reply to " + quoted(command_) + wait));
  return receiveFailed(OV_TIMEOUT, onLine("the reply to " + quoted(command_) + " broke off after " +
                                          quoted(received) + ": no further character" + wait));
}

std::uint16_t Session::refuseTooLong(std::string_view command) {
  noteFailure(slot_, port_,
              "the command " + quoted(command) +
                  " is too long for the command buffer (31 characters with its checksum and "
                  "carriage return); nothing was sent");
  return OV_REFUSED;
}

std::uint16_t Session::refused(std::string_view reply) {
  noteFailure(slot_, port_,
              onLine("the module refused " + quoted(command_) + ": " + quoted(reply)));
  return OV_REFUSED;
}

std::uint16_t Session::transact(std::string_view command, std::string& reply) {
  std::uint16_t status = exchange(command, slot_.checksum, reply);
  if (status != OV_SUCCESS) return status;
  return protocol::isRefusal(reply) ? refused(reply) : OV_SUCCESS;
}

std::uint16_t Session::exchange(std::string_view command, bool checksum, std::string& reply) {
  if (!fitsCommandBuffer(command, checksum)) return refuseTooLong(command);
  // A failed write shows up as a time-out or read failure of the receive.
  sendFrame(command, checksum);
  return receiveLine(checksum, 0, reply);
}

std::uint16_t Session::sendFrame(std::string_view command, bool checksum) {
  command_ = command;
  sendFailed_ = false;
  bool addressZero = protocol::isAddressZero(command);
  if (addressZero) library_.addressZeroExemption = true;
  if (!slot_.line) return sendFailed(kNotOpen);
  try {
    slot_.line->purge();
    std::string frame = protocol::completeCommand(command, checksum && !addressZero);
    if (slot_.line->write(frame, timeout())) return OV_SUCCESS;
  } catch (const serial::SerialError& error) {
    return sendFailed(serialText(error, *slot_.line));
  }
  return sendFailed(
      onLine(format("the command %s could not be written within %lld ms", quoted(command).c_str(),
                    static_cast<long long>(timeout().count()))));
}

// Checks and strips the checksum digits when they are checked; a reply
// shorter than the two digits fails the check.
std::uint16_t Session::accept(std::string received, bool check, std::string& reply) {
  if (!check) {
    reply = std::move(received);
    return OV_SUCCESS;
  }
  auto checked = protocol::checkReply(received, true, protocol::DigitRule::UpperCaseOnly);
  if (!checked) {
    slot_.line->traceChecksumFailure(received);
    return receiveFailed(OV_CHECKSUM_ERROR,
                         onLine("the checksum of the reply to " + quoted(command_) +
                                " does not match: " + quoted(received)));
  }
  reply = std::move(*checked);
  return OV_SUCCESS;
}

std::uint16_t Session::receiveLine(bool checksum, int delayMs, std::string& reply) {
  bool exempt = takeExemption();
  if (!slot_.line) return receiveFailed(OV_IO_ERROR, kNotOpen);
  pause(delayMs);
  std::string received;
  try {
    for (std::size_t count = 0;; ++count) {
      auto byte = slot_.line->readByte(timeout());
      if (!byte) return timedOut(received);
      if (*byte == protocol::kCarriageReturn) break;
      // A line that streams or trickles without end is no module answering,
      // however slowly the characters come.
      if (count == protocol::kReplyLengthCap)
        return receiveFailed(
            OV_IO_ERROR,
            onLine(format("the reply to %s grew past %zu characters without its carriage return "
                          "(a garbled or streaming line)",
                          quoted(command_).c_str(), protocol::kReplyLengthCap)));
      if (*byte == 0) continue;
      // Past the buffer's end the characters are read but not kept.
      if (received.size() < kReplyCapacity) received.push_back(static_cast<char>(*byte));
    }
  } catch (const serial::SerialError& error) {
    return receiveFailed(OV_IO_ERROR, serialText(error, *slot_.line));
  }
  return accept(std::move(received), checksum && !exempt, reply);
}

std::uint16_t Session::receiveCount(bool checksum, std::size_t length, std::string& reply) {
  bool exempt = takeExemption();
  if (!slot_.line) return receiveFailed(OV_IO_ERROR, kNotOpen);
  std::string received;
  try {
    while (received.size() < length) {
      auto byte = slot_.line->readByte(timeout());
      if (!byte) return timedOut(received);
      received.push_back(static_cast<char>(*byte));
    }
  } catch (const serial::SerialError& error) {
    return receiveFailed(OV_IO_ERROR, serialText(error, *slot_.line));
  }
  return accept(std::move(received), checksum && !exempt, reply);
}

}  // namespace orvane::driver
