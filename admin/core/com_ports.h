// The serial controls of COM1..COM8: one line per COM number, resolved
// through ports.conf of the config directory at each open: an exclusively
// opened device, or a line on a device server named by a URL.
//
// The owner of the lines also brings back a line whose adapter was pulled
// out or whose connection dropped: the exchange that finds the line gone
// marks it lost, and the next use of the port opens the line again, so a
// replugged adapter or a device server that is back works without the user
// opening the port by hand.
#pragma once

#include <array>
#include <chrono>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "serial/line.h"

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

  // Opens COM n (1..8) if it is not open yet. Opening a line sets nothing on
  // it: a replugged adapter or another program may have left it at another
  // speed or in cooked mode, so its BaudCode becomes unknown and the next
  // write configures the line. Throws serial::SerialError with the serial
  // layer's text (device in use, missing, connection refused), or for a COM
  // number outside 1..8.
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
  serial::Line& port(int com);

  // The adapter of open COM n is gone: the line is closed, and the next
  // port(n) opens the device again at once.
  void lose(int com);

  // Whether the line of COM n, open or lost, runs at a fixed speed (a raw
  // TCP line on a device server): its baud rate cannot be changed.
  bool fixedSpeed(int com) const;
  // True the first time it is asked after COM n was opened, so that the
  // fixed speed of its line is told once, not at every exchange.
  bool firstFixedSpeedNotice(int com);

  // "COM1: /dev/ttyUSB0 is disconnected; plug the adapter back in or choose
  // another port (Network > COM Port...)", with the device the line had; a
  // line on a device server asks to check the server and the network.
  std::string disconnectedText(int com) const;

 private:
  struct Loss {
    bool lost = false;
    std::optional<std::chrono::steady_clock::time_point> failedTry;
    std::string device;   // the device the line had, or the one last tried
    std::string failure;  // the text of the last try that failed
  };
  struct Slot {
    std::unique_ptr<serial::Line> line;
    Loss loss;
    bool fixedSpeed = false;
    bool fixedSpeedTold = false;
  };

  bool elsewhere() const;
  bool lineOpen(std::size_t index) const;
  void openDevice(std::size_t index, const std::string& device);
  void reopen(int com);
  std::string disconnectedText(int com, const std::string& cause) const;

  const std::filesystem::path& configDir_;
  std::array<int, 8>& lineBaudCodes_;
  const std::chrono::milliseconds& reopenInterval_;
  std::array<Slot, 8> slots_;
  LineWorker* worker_ = nullptr;
};

}  // namespace orvane::admin
