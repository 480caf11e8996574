// The serial line on POSIX: an exclusively claimed tty in raw 8-bit mode.
//
// Every wait is a poll() with a time-out, so a program waiting for a reply
// uses no CPU. Failures throw SerialError with a text that names the device
// and the cause.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace orvane::serial {

class SerialError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The adapter is gone (unplugged, or the device hung up): the line will not
// come back by itself; close it and open it again.
class DeviceDisconnected : public SerialError {
 public:
  using SerialError::SerialError;
};

enum class Parity { None = 0, Odd = 1, Even = 2 };

// Whether a baud rate is one the line can be set to (1200 to 115200 of the
// module rates, and the standard rates below them).
bool baudRateSupported(int baudRate);

class SerialPort {
 public:
  SerialPort() = default;
  ~SerialPort();
  SerialPort(SerialPort&& other) noexcept;
  SerialPort& operator=(SerialPort&& other) noexcept;
  SerialPort(const SerialPort&) = delete;
  SerialPort& operator=(const SerialPort&) = delete;

  // Opens the device for reading and writing and claims it exclusively (a
  // device held by another program is reported as busy). Nothing is changed
  // on the line until configure().
  static SerialPort open(const std::string& device);

  bool isOpen() const { return fd_ >= 0; }
  const std::string& device() const { return device_; }
  int fd() const { return fd_; }

  // Raw mode, the baud rate and parity, 8 data bits, 1 stop bit, no flow
  // control, receiver on, modem lines ignored.
  void configure(int baudRate, Parity parity = Parity::None);

  // Discards pending input and output.
  void purge();
  void purgeInput();

  // Writes all bytes; false when the line did not take them within the
  // time-out.
  bool write(std::string_view data, std::chrono::milliseconds timeout);

  // One byte, or nullopt when none arrived within the time-out. A line whose
  // adapter is gone throws ("device disconnected").
  std::optional<std::uint8_t> readByte(std::chrono::milliseconds timeout);

  // True when the line has hung up (the adapter is gone), found without
  // waiting and without sending: a handle left over from an adapter that
  // was pulled out while the line was idle.
  bool hungUp() const;

  // Bytes waiting in the input queue.
  std::size_t available() const;

  // Waits until input is waiting or the time-out passed; true when readable.
  bool waitReadable(std::chrono::milliseconds timeout);

  // Drops DTR; ignored on lines without modem control (a pseudo-terminal).
  void dropDtr();

  void close();

 private:
  SerialPort(int fd, std::string device) : fd_(fd), device_(std::move(device)) {}
  [[noreturn]] void fail(std::string_view what, int error) const;

  int fd_ = -1;
  std::string device_;
};

}  // namespace orvane::serial
