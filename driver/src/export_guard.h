// The frame around every export: argument range checks, the library mutex,
// and no exception ever crossing into the caller's C code.
#pragma once

#include <cstdint>
#include <mutex>

#include "library.h"
#include "orvio.h"
#include "session.h"

namespace orvane::driver {

// The port and address checks come before every other argument check, so a
// bad port number is always OV_REFUSED.
inline bool validTarget(std::uint16_t port, std::uint16_t address) {
  return port < kPortCount && address < kAddressCount;
}

template <typename Body>
std::uint16_t withSlot(std::uint16_t port, Body&& body) noexcept {
  if (port >= kPortCount) return OV_REFUSED;
  try {
    Library& library = Library::instance();
    std::lock_guard lock(library.mutex);
    return body(library, library.slots[port]);
  } catch (...) {
    return OV_IO_ERROR;
  }
}

// Module operations: the address must fit its two hexadecimal digits.
template <typename Body>
std::uint16_t withModule(std::uint16_t port, std::uint16_t address, Body&& body) noexcept {
  if (address >= kAddressCount) return OV_REFUSED;
  return withSlot(port, [&](Library& library, PortSlot&) {
    Session session(library, port);
    return body(session);
  });
}

}  // namespace orvane::driver
