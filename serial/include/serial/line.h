// A serial line as both products use it, whatever carries it: a local tty
// (SerialPort), a device server speaking Telnet with the COM port option
// ("rfc2217://HOST:PORT"), or a raw TCP connection to a device server fixed
// at one speed ("socket://HOST:PORT").
//
// Every wait is a poll() with a time-out, so a program waiting for a reply
// uses no CPU. Failures throw SerialError with a text that names the line and
// the cause; a line that is gone throws DeviceDisconnected.
#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>

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

struct TraceEvent;

namespace detail {
// Whether the line trace is on (line_trace.h): the one test the calls of a
// line make while it is off.
inline constinit std::atomic<bool> traceOn{false};
inline bool tracing() { return traceOn.load(std::memory_order_relaxed); }
}  // namespace detail

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
  void configure(int baudRate, Parity parity = Parity::None) {
    if (!detail::tracing()) return doConfigure(baudRate, parity);
    tracedConfigure(baudRate, parity);
  }
  // Whether configure() cannot change the speed: the far end runs at the
  // speed it was set to, whatever the program asks for.
  virtual bool fixedSpeed() const { return false; }

  // Discards pending input and output, or pending input only.
  void purge() {
    if (!detail::tracing()) return doPurge();
    tracedPurge(false);
  }
  void purgeInput() {
    if (!detail::tracing()) return doPurgeInput();
    tracedPurge(true);
  }

  // Writes all bytes; false when the line did not take them within the
  // time-out.
  bool write(std::string_view data, std::chrono::milliseconds timeout) {
    if (!detail::tracing()) return doWrite(data, timeout);
    return tracedWrite(data, timeout);
  }

  // One byte, or nullopt when none arrived within the time-out. A line that
  // is gone throws DeviceDisconnected ("device disconnected").
  std::optional<std::uint8_t> readByte(std::chrono::milliseconds timeout) {
    if (!detail::tracing()) return doReadByte(timeout);
    return tracedReadByte(timeout);
  }

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

  // The line trace (line_trace.h) follows every write, read, purge and
  // configure(). The name it gives the line, such as "COM1 /dev/ttyUSB0";
  // the device name until one is set.
  void setTraceName(std::string name) { traceName_ = std::move(name); }
  // The product found the checksum of the reply wrong: a line of the trace.
  void traceChecksumFailure(std::string_view reply);

 protected:
  Line();
  Line(Line&&) noexcept = default;
  Line& operator=(Line&&) noexcept = default;

  // What each kind of line does for the calls above.
  virtual void doConfigure(int baudRate, Parity parity) = 0;
  virtual void doPurge() = 0;
  virtual void doPurgeInput() = 0;
  virtual bool doWrite(std::string_view data, std::chrono::milliseconds timeout) = 0;
  virtual std::optional<std::uint8_t> doReadByte(std::chrono::milliseconds timeout) = 0;

 private:
  // The trace's side of the calls, taken only while the trace is on.
  void tracedConfigure(int baudRate, Parity parity);
  void tracedPurge(bool inputOnly);
  bool tracedWrite(std::string_view data, std::chrono::milliseconds timeout);
  std::optional<std::uint8_t> tracedReadByte(std::chrono::milliseconds timeout);
  // Forgets a send and a reply begun before the trace was last switched on.
  void catchUpWithTrace();
  // The reply gathered so far, as a line of its own.
  void flushReceived();
  void trace(TraceEvent event) const;

  std::string traceName_;
  std::string received_;  // the reply read so far, up to its CR
  std::optional<std::chrono::steady_clock::time_point> lastSend_;
  unsigned traceEpoch_ = 0;
};

// Opens a line by its name: "rfc2217://HOST:PORT" and "socket://HOST:PORT"
// connect to a device server (see line_name.h), any other name is a device
// path. Nothing is changed on the line until configure(). The trace names the
// line by the port ("COM3") and the name. Throws SerialError for a name that
// cannot be opened, naming it and the cause.
std::unique_ptr<Line> openLine(const std::string& name, std::string_view port = {});

}  // namespace orvane::serial
