// A local serial line on POSIX: an exclusively claimed tty in raw 8-bit mode.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "serial/line.h"

namespace orvane::serial {

class SerialPort : public Line {
 public:
  SerialPort() = default;
  ~SerialPort() override;
  SerialPort(SerialPort&& other) noexcept;
  SerialPort& operator=(SerialPort&& other) noexcept;

  // Opens the device for reading and writing and claims it exclusively (a
  // device held by another program is reported as busy). Nothing is changed
  // on the line until configure().
  static SerialPort open(const std::string& device);

  bool isOpen() const override { return fd_ >= 0; }
  const std::string& device() const override { return device_; }
  int fd() const { return fd_; }

  // The tty's input queue.
  std::size_t available() override;
  bool hungUp() const override;
  bool waitReadable(std::chrono::milliseconds timeout) override;
  // Ignored on lines without modem control (a pseudo-terminal).
  void dropDtr() override;
  void close() override;

 protected:
  // Raw mode, receiver on, modem lines ignored, besides what Line promises.
  void doConfigure(int baudRate, Parity parity) override;
  void doPurge() override;
  void doPurgeInput() override;
  bool doWrite(std::string_view data, std::chrono::milliseconds timeout) override;
  // A read that poll() reports readable but that returns nothing means the
  // adapter is gone.
  std::optional<std::uint8_t> doReadByte(std::chrono::milliseconds timeout) override;

 private:
  SerialPort(int fd, std::string device) : fd_(fd), device_(std::move(device)) {}
  [[noreturn]] void fail(std::string_view what, int error) const;

  int fd_ = -1;
  std::string device_;
};

}  // namespace orvane::serial
