#include "admin/core/com_ports.h"

#include <string>

#include "serial/port_names.h"

namespace orvane::admin {

namespace {

std::size_t slot(int com) {
  if (com < 1 || com > 8)
    throw serial::SerialError("COM" + std::to_string(com) + ": no such port (COM1 to COM8)");
  return static_cast<std::size_t>(com - 1);
}

}  // namespace

void ComPorts::open(int com) {
  const std::size_t index = slot(com);
  auto& line = ports_[index];
  if (line.isOpen()) return;
  line = serial::SerialPort::open(serial::devicePathForCom(com, configDir_));
  lineBaudCodes_[index] = -1;
}

void ComPorts::close(int com) {
  if (com >= 1 && com <= 8) ports_[slot(com)].close();
}

bool ComPorts::isOpen(int com) const {
  return com >= 1 && com <= 8 && ports_[static_cast<std::size_t>(com - 1)].isOpen();
}

serial::SerialPort& ComPorts::port(int com) {
  auto& line = ports_[slot(com)];
  if (!line.isOpen())
    throw serial::SerialError("COM" + std::to_string(com) + ": the port is not open");
  return line;
}

}  // namespace orvane::admin
