// One port's side of an exchange: send a frame, receive a line or a fixed
// number of characters, and the standard transaction every module operation
// is built on. Runs with the library mutex held.
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

 private:
  std::chrono::milliseconds timeout() const;
  bool takeExemption();

  Library& library_;
  PortSlot& slot_;
  std::size_t port_;
};

bool fitsCommandBuffer(std::string_view command, bool checksum);

}  // namespace orvane::driver
