#include "operations.h"

namespace orvane::driver {

std::uint16_t sendCommand(std::uint16_t port, std::uint16_t address, const std::string& command) {
  return query(port, address, command, [](const std::string&) {});
}

std::uint16_t readText(std::uint16_t port, std::uint16_t address, const std::string& command,
                       std::size_t from, char* text) {
  return query(port, address, command,
               [&](const std::string& reply) { putText(text, textFrom(reply, from)); });
}

std::uint16_t readDecimal(std::uint16_t port, std::uint16_t address, const std::string& command,
                          std::uint16_t* value) {
  return query(port, address, command,
               [&](const std::string& reply) { put(value, decimalFrom(reply, 3)); });
}

std::uint16_t readDigit(std::uint16_t port, std::uint16_t address, const std::string& command,
                        std::uint16_t* value) {
  return query(port, address, command,
               [&](const std::string& reply) { put(value, digitAt(reply, 3)); });
}

// Reads "$AA2" plain first; a module that uses a checksum ignores that frame,
// so a time-out leads to the same command with the checksum.
std::uint16_t readConfiguration(Session& session, const std::string& command, std::string& reply) {
  std::uint16_t status = session.exchange(command, false, reply);
  if (status == OV_TIMEOUT) return session.exchange(command, true, reply);
  return status == OV_SUCCESS ? OV_SUCCESS : OV_IO_ERROR;
}

}  // namespace orvane::driver
