// The frame around every export: argument range checks, the library mutex,
// the port's failure text, and no exception ever crossing into the caller's
// C code.
#pragma once

#include <cstdint>
#include <exception>
#include <mutex>
#include <string>

#include "failure_text.h"
#include "library.h"
#include "orvio.h"
#include "reply_fields.h"
#include "session.h"

namespace orvane::driver {

// Runs the body with the library mutex held and leaves the port's failure
// text for the status it returns.
template <typename Body>
std::uint16_t withSlot(std::uint16_t port, Body&& body) noexcept {
  if (port >= kPortCount) return OV_REFUSED;
  try {
    Library& library = Library::instance();
    std::lock_guard lock(library.mutex);
    PortSlot& slot = library.slots[port];
    slot.failure[0] = '\0';
    slot.noteKept = false;
    std::uint16_t status = OV_IO_ERROR;
    try {
      status = body(library, slot);
    } catch (const std::exception& e) {
      noteFailure(slot, port, e.what());
    }
    settleFailure(slot, port, status);
    return status;
  } catch (...) {
    return OV_IO_ERROR;
  }
}

// Refuses a call for one of its arguments; the text says which and why.
inline std::uint16_t refuse(std::uint16_t port, std::uint16_t status,
                            const std::string& why) noexcept {
  return withSlot(port, [&](Library&, PortSlot& slot) {
    noteFailure(slot, port, why);
    return status;
  });
}

// The port and address checks come before every other argument check, so a
// bad port number is always OV_REFUSED. OV_SUCCESS when both are in range.
inline std::uint16_t checkTarget(std::uint16_t port, std::uint16_t address) noexcept {
  if (port >= kPortCount) return OV_REFUSED;
  if (address < kAddressCount) return OV_SUCCESS;
  return refuse(port, OV_REFUSED, format("address %u is above 255; nothing was sent", address));
}

// The text of a refused null pointer.
inline constexpr const char* kNullArgument =
    "a text or record argument is a null pointer; "
    "nothing was sent";

// Module operations: the address must fit its two hexadecimal digits.
template <typename Body>
std::uint16_t withModule(std::uint16_t port, std::uint16_t address, Body&& body) noexcept {
  if (std::uint16_t refused = checkTarget(port, address)) return refused;
  return withSlot(port, [&](Library& library, PortSlot&) {
    Session session(library, port);
    return body(session);
  });
}

}  // namespace orvane::driver
