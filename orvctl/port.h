// The one port orvctl works on: a library slot opened for the command and
// released when it ends, and the failures of its calls as exit statuses with
// the library's own text.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

#include "options.h"

namespace orvctl {

inline constexpr int kExitOk = 0;
inline constexpr int kExitModule = 1;  // the module did not answer or refused
inline constexpr int kExitUsage = 2;
inline constexpr int kExitPort = 3;  // the port cannot be opened, or the line failed

// A failure to report in one line on stderr, and the exit status it gives.
class Failure : public std::runtime_error {
 public:
  Failure(int exitStatus, const std::string& text)
      : std::runtime_error(text), exitStatus_(exitStatus) {}
  int exitStatus() const { return exitStatus_; }
  // The line itself failed (the adapter was pulled), not one module.
  bool lineFailed() const { return exitStatus_ == kExitPort; }

 private:
  int exitStatus_;
};

// The library slot of a port name: COM0..COM23 their own slot; a device path
// or a network line URL slot 0, which has no COM port of its own and is
// named with OV_SetPortName. A UsageError for COM24 and above.
std::uint16_t slotOf(const std::string& portName);

class Port {
 public:
  // Opens the port at the options' rate, with their time-out and checksum
  // flag; a Failure with exit status 3 when it cannot be opened.
  explicit Port(const GlobalOptions& options);
  ~Port();
  Port(const Port&) = delete;
  Port& operator=(const Port&) = delete;

  std::uint16_t slot() const { return slot_; }
  long baudRate() const { return baudRate_; }
  int timeoutMs() const { return timeoutMs_; }

  // The library's text of the port's last failure.
  std::string errorText() const;
  // Nothing for a success; otherwise a Failure with the library's text and
  // what to do: exit status 3 when the line failed, 1 for the module.
  void check(std::uint16_t status) const;

  void setChecksum(bool on);
  void setTimeout(int milliseconds);
  // The line's rate, the port kept open; a Failure when it cannot be set.
  // What the library noted when it took the rate as it was (a network line
  // at a fixed speed), else empty.
  std::string setBaudRate(long rate);
  // Releases the port and opens it again, as after a pulled adapter; true
  // when it is open.
  bool reopen();

 private:
  std::uint16_t open();

  std::uint16_t slot_;
  bool named_;  // a device path or URL in slot 0, not a COM number
  long baudRate_;
  int timeoutMs_;
};

}  // namespace orvctl
