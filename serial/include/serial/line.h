// A serial line as both products use it, whatever carries it: a local tty
// (SerialPort), a device server speaking Telnet with the COM port option
// ("rfc2217://HOST:PORT"), or a raw TCP connection to a device server fixed
// at one speed ("socket://HOST:PORT").
//
// Every wait is a poll() with a time-out, so a program waiting for a reply
// uses no CPU. Failures throw SerialError with a text that names the line and
// the cause; a line that is gone throws DeviceDisconnected.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace orvane::serial {

class SerialError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The adapter is gone (unplugged, the device hung up, the device server
// closed the connection): the line will not come back by itself; close it
// and open it again.
class DeviceDisconnected : public SerialError {
 public:
  using SerialError::SerialError;
};

enum class Parity { None = 0, Odd = 1, Even = 2 };

// Whether a baud rate is one the line can be set to (1200 to 115200 of the
// module rates, and the standard rates below them).
bool baudRateSupported(int baudRate);

class Line {
 public:
  virtual ~Line() = default;
  Line(const Line&) = delete;
  Line& operator=(const Line&) = delete;

  virtual bool isOpen() const = 0;
  // The name the line was opened by: a device path or a URL.
  virtual const std::string& device() const = 0;

  // The baud rate and parity, 8 data bits, 1 stop bit, no flow control. On a
  // line with a fixed speed the call checks the rate and leaves the line as
  // it is (see fixedSpeed()).
  virtual void configure(int baudRate, Parity parity = Parity::None) = 0;
  // Whether configure() cannot change the speed: the far end runs at the
  // speed it was set to, whatever the program asks for.
  virtual bool fixedSpeed() const { return false; }

  // Discards pending input and output, or pending input only.
  virtual void purge() = 0;
  virtual void purgeInput() = 0;

  // Writes all bytes; false when the line did not take them within the
  // time-out.
  virtual bool write(std::string_view data, std::chrono::milliseconds timeout) = 0;

  // One byte, or nullopt when none arrived within the time-out. A line that
  // is gone throws DeviceDisconnected ("device disconnected").
  virtual std::optional<std::uint8_t> readByte(std::chrono::milliseconds timeout) = 0;

  // Bytes received and not yet taken.
  virtual std::size_t available() = 0;

  // True when the line has hung up (the adapter is gone, the connection
  // closed), found without waiting and without sending: a handle left over
  // from an adapter that was pulled out while the line was idle.
  virtual bool hungUp() const { return false; }

  // Waits until input is waiting or the time-out passed; true when readable.
  virtual bool waitReadable(std::chrono::milliseconds timeout) = 0;

  // Drops DTR where the line has modem control; otherwise nothing happens.
  virtual void dropDtr() = 0;

  virtual void close() = 0;

 protected:
  Line() = default;
  Line(Line&&) = default;
  Line& operator=(Line&&) = default;
};

// Opens a line by its name: "rfc2217://HOST:PORT" and "socket://HOST:PORT"
// connect to a device server (see line_name.h), any other name is a device
// path. Nothing is changed on the line until configure(). Throws SerialError
// for a name that cannot be opened, naming it and the cause.
std::unique_ptr<Line> openLine(const std::string& name);

}  // namespace orvane::serial
