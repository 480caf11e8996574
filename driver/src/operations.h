// The shapes of module operations: one standard transaction each, with the
// reply decoded into the caller's outputs only when it succeeded.
#pragma once

#include <cstdint>
#include <string>

#include "export_guard.h"
#include "reply_fields.h"

namespace orvane::driver {

template <typename Decode>
std::uint16_t query(std::uint16_t port, std::uint16_t address, const std::string& command,
                    Decode&& decode) {
  return withModule(port, address, [&](Session& session) {
    std::string reply;
    std::uint16_t status = session.transact(command, reply);
    if (status == OV_SUCCESS) decode(reply);
    return status;
  });
}

// Nothing decoded.
std::uint16_t sendCommand(std::uint16_t port, std::uint16_t address, const std::string& command);

// The reply from a position to its end into a text buffer.
std::uint16_t readText(std::uint16_t port, std::uint16_t address, const std::string& command,
                       std::size_t from, char* text);

// The decimal value of the reply from position 3.
std::uint16_t readDecimal(std::uint16_t port, std::uint16_t address, const std::string& command,
                          std::uint16_t* value);

// The digit at position 3.
std::uint16_t readDigit(std::uint16_t port, std::uint16_t address, const std::string& command,
                        std::uint16_t* value);

// Reads a configuration ("$AA2"): plain first and, when that times out, with
// the checksum; any other failure of the plain attempt is OV_IO_ERROR. The
// reply is not tested for "?".
std::uint16_t readConfiguration(Session& session, const std::string& command, std::string& reply);

}  // namespace orvane::driver
