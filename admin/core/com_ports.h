// The serial controls of COM1..COM8: one exclusively opened line per COM
// number, resolved through ports.conf of the config directory at each open.
//
// The owner of the lines also brings back a line whose adapter was pulled
// out: the exchange that finds the line gone marks it lost, and the next use
// of the port opens the device again, so a replugged adapter works without
// the user opening the port by hand.
#pragma once

#include <array>
#include <chrono>
#include <filesystem>
#include <optional>
#include <string>

#include "serial/serial_port.h"

namespace orvane::admin {

class LineWorker;

class ComPorts {
 public:
  // lineBaudCodes: the BaudCode each port's line is set to (-1 unknown).
  // reopenInterval: the least time between two tries to open a lost line
  // whose device is still missing.
  ComPorts(const std::filesystem::path& configDir, std::array<int, 8>& lineBaudCodes,
           const std::chrono::milliseconds& reopenInterval)
      : configDir_(configDir), lineBaudCodes_(lineBaudCodes), reopenInterval_(reopenInterval) {}

  // The worker that owns the lines: called from any other thread, open,
  // close, isOpen and port run as its jobs.
  void attach(LineWorker& worker) { worker_ = &worker; }

  // Opens COM n (1..8) if it is not open yet. Opening a tty sets nothing on
  // it: a replugged adapter or another program may have left it at another
  // speed or in cooked mode, so its BaudCode becomes unknown and the next
  // write configures the line. Throws serial::SerialError with the serial
  // layer's text (device in use, missing), or for a COM number outside 1..8.
  void open(int com);
  // Closes COM n; a lost line is no longer brought back.
  void close(int com);
  bool isOpen(int com) const;

  // The open line of COM n. A lost line is opened again first (and set up
  // by the next write like any newly opened one), but not sooner than the
  // reopen interval after a try that failed: while the device is missing,
  // throws serial::DeviceDisconnected with disconnectedText(n); a device
  // that is there but cannot be opened gives the serial layer's text.
  // Throws serial::SerialError when the port is not open and not lost.
  serial::SerialPort& port(int com);

  // The adapter of open COM n is gone: the line is closed, and the next
  // port(n) opens the device again at once.
  void lose(int com);

  // "COM1: /dev/ttyUSB0 is disconnected; plug the adapter back in or choose
  // another port (Network > COM Port...)", with the device the line had.
  std::string disconnectedText(int com) const;

 private:
  struct Loss {
    bool lost = false;
    std::optional<std::chrono::steady_clock::time_point> failedTry;
    std::string device;   // the device the line had, or the one last tried
    std::string failure;  // the text of the last try that failed
  };

  bool elsewhere() const;
  void openDevice(std::size_t index, const std::string& device);
  void reopen(int com);

  const std::filesystem::path& configDir_;
  std::array<int, 8>& lineBaudCodes_;
  const std::chrono::milliseconds& reopenInterval_;
  std::array<serial::SerialPort, 8> ports_;
  std::array<Loss, 8> losses_;
  LineWorker* worker_ = nullptr;
};

}  // namespace orvane::admin
