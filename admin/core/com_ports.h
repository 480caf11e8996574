// The serial controls of COM1..COM8: one exclusively opened line per COM
// number, resolved through ports.conf of the config directory at each open.
#pragma once

#include <array>
#include <filesystem>

#include "serial/serial_port.h"

namespace orvane::admin {

class ComPorts {
 public:
  // lineBaudCodes: the BaudCode each port's line is set to (-1 unknown).
  ComPorts(const std::filesystem::path& configDir, std::array<int, 8>& lineBaudCodes)
      : configDir_(configDir), lineBaudCodes_(lineBaudCodes) {}

  // Opens COM n (1..8) if it is not open yet. Opening a tty sets nothing on
  // it: a replugged adapter or another program may have left it at another
  // speed or in cooked mode, so its BaudCode becomes unknown and the next
  // write configures the line. Throws serial::SerialError with the serial
  // layer's text (device in use, missing), or for a COM number outside 1..8.
  void open(int com);
  void close(int com);
  bool isOpen(int com) const;
  // The open line of COM n; throws serial::SerialError when it is not open.
  serial::SerialPort& port(int com);

 private:
  const std::filesystem::path& configDir_;
  std::array<int, 8>& lineBaudCodes_;
  std::array<serial::SerialPort, 8> ports_;
};

}  // namespace orvane::admin
