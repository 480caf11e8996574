// One port's side of an exchange: send a frame, receive a line or a fixed
// number of characters, and the standard transaction every module operation
// is built on. Runs with the library mutex held. Each failing step leaves the
// port's failure text; when the send failed, its text stands, since the
// failed receive that follows is only its consequence.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "library.h"

namespace orvane::driver {

// The command buffer holds a command, its checksum, its carriage return and a
// terminating zero; the reply buffer keeps at most 31 received characters.
inline constexpr std::size_t kCommandBufferSize = 32;
inline constexpr std::size_t kReplyCapacity = 31;

class Session {
 public:
  Session(Library& library, std::size_t port)
      : library_(library), slot_(library.slots[port]), port_(port) {}

  std::size_t port() const { return port_; }
  bool checksumOn() const { return slot_.checksum; }
  Library& library() { return library_; }

  // Sends with the port's checksum flag and reads the reply; a "?" reply is
  // OV_REFUSED. A command that does not fit the command buffer is refused
  // before anything is sent.
  std::uint16_t transact(std::string_view command, std::string& reply);

  // Sends and reads with the given checksum mode; the reply is not tested for
  // "?".
  std::uint16_t exchange(std::string_view command, bool checksum, std::string& reply);

  std::uint16_t sendFrame(std::string_view command, bool checksum);
  std::uint16_t receiveLine(bool checksum, int delayMs, std::string& reply);
  std::uint16_t receiveCount(bool checksum, std::size_t length, std::string& reply);

  // OV_REFUSED for a command that does not fit the command buffer.
  std::uint16_t refuseTooLong(std::string_view command);
  // OV_REFUSED for a "?" reply to the last command sent.
  std::uint16_t refused(std::string_view reply);

 private:
  std::chrono::milliseconds timeout() const;
  bool takeExemption();
  std::uint16_t accept(std::string received, bool check, std::string& reply);

  // The text after the device's name.
  std::string onLine(std::string_view text) const;
  std::uint16_t sendFailed(std::string_view text);
  // The text of a failed receive is dropped when the send already failed.
  std::uint16_t receiveFailed(std::uint16_t status, std::string_view text);
  std::uint16_t timedOut(std::string_view received);

  Library& library_;
  PortSlot& slot_;
  std::size_t port_;
  std::string command_;  // the last command sent, for the failure texts
  bool sendFailed_ = false;
};

bool fitsCommandBuffer(std::string_view command, bool checksum);

// The serial layer's text, which names the device and the cause; a line that
// is gone will not come back by itself, and the library does not reopen it,
// so its text says what to do.
std::string serialText(const serial::SerialError& error, const serial::Line& line);

}  // namespace orvane::driver
