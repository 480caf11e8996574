// The host side of a simulated line for the simulator's own tests: opens the
// slave like a product does and exchanges raw frames.
#pragma once

#include <chrono>
#include <optional>
#include <string>

#include "protocol/frame.h"
#include "serial/serial_port.h"

namespace orvane::sim::test {

class LineClient {
 public:
  explicit LineClient(const std::string& path, int baudRate = 9600,
                      serial::Parity parity = serial::Parity::None)
      : port_(serial::SerialPort::open(path)) {
    port_.configure(baudRate, parity);
  }

  void setLine(int baudRate, serial::Parity parity = serial::Parity::None) {
    port_.configure(baudRate, parity);
  }

  // Sends the command (with checksum and CR when asked) and returns the bytes
  // up to and including CR; nullopt when nothing arrived within the time-out.
  std::optional<std::string> exchange(
      const std::string& command, bool withChecksum = false,
      std::chrono::milliseconds timeout = std::chrono::milliseconds(150)) {
    sendRaw(protocol::completeCommand(command, withChecksum));
    return readReply(timeout);
  }

  void sendRaw(const std::string& bytes) {
    port_.purgeInput();
    port_.write(bytes, std::chrono::milliseconds(1000));
  }

  // Reads until CR; the time-out restarts with every character.
  std::optional<std::string> readReply(std::chrono::milliseconds timeout) {
    std::string reply;
    while (auto byte = port_.readByte(timeout)) {
      reply += static_cast<char>(*byte);
      if (*byte == '\r') return reply;
    }
    if (reply.empty()) return std::nullopt;
    return reply;
  }

  // What arrived before the line hung up; nullopt when it did not hang up
  // within the time-out (which restarts with every character).
  std::optional<std::string> readUntilHangUp(std::chrono::milliseconds timeout) {
    std::string received;
    try {
      while (auto byte = port_.readByte(timeout)) received += static_cast<char>(*byte);
    } catch (const serial::SerialError&) {
      return received;
    }
    return std::nullopt;
  }

  // The reply text without CR (and without its checksum when it has one that matches).
  std::optional<std::string> ask(
      const std::string& command, bool withChecksum = false,
      std::chrono::milliseconds timeout = std::chrono::milliseconds(150)) {
    auto reply = exchange(command, withChecksum, timeout);
    if (!reply || reply->empty() || reply->back() != '\r') return std::nullopt;
    reply->pop_back();
    return protocol::checkReply(*reply, withChecksum, protocol::DigitRule::UpperCaseOnly);
  }

 private:
  serial::SerialPort port_;
};

}  // namespace orvane::sim::test
