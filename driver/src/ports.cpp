// Port sessions: open, release, time-out, checksum flag, device names and the
// raw command.
#include <exception>
#include <string>
#include <string_view>

#include "export_guard.h"
#include "reply_fields.h"
#include "serial/config_dir.h"
#include "serial/port_names.h"

using namespace orvane::driver;
namespace serial = orvane::serial;

namespace {

// Baud-rate codes are the CC values of a module's configuration; 9 is the
// faster of the two top rates.
constexpr int kBaudRates[] = {1200, 2400, 4800, 9600, 19200, 38400, 115200, 57600};
constexpr std::uint16_t kFirstBaudCode = 3;
constexpr std::uint16_t kLastBaudCode = 10;

std::string devicePath(std::uint16_t port, const PortSlot& slot) {
  if (!slot.deviceOverride.empty()) return slot.deviceOverride;
  return serial::devicePathForCom(port, serial::configDir());
}

uint16_t refusedOpen(PortSlot& slot, uint16_t port, std::string_view why) {
  noteFailure(slot, port, why);
  return OV_REFUSED;
}

}  // namespace

extern "C" {

uint16_t OV_InitialComm(uint16_t port, uint16_t baudCode, uint16_t dataBits, uint16_t parity,
                        uint16_t /*reserved*/) {
  if (port >= kPortCount) return OV_REFUSED;
  if (baudCode < kFirstBaudCode || baudCode > kLastBaudCode)
    return refuse(port, OV_BAD_BAUD_CODE,
                  format("baud-rate code %u is outside 3..10; nothing was opened", baudCode));
  if (dataBits < 4 || dataBits > 8)
    return refuse(port, OV_BAD_DATA_BITS,
                  format("data bits %u are outside 4..8; nothing was opened", dataBits));
  if (parity > 2)
    return refuse(port, OV_BAD_BAUD_CODE,
                  format("parity code %u is above 2; nothing was opened", parity));
  return withSlot(port, [&](Library& library, PortSlot& slot) -> uint16_t {
    if (slot.line) return refusedOpen(slot, port, "the port is already open; release it first");
    // Once unloading has released the ports, none is opened again.
    if (library.shutDownDone) return refusedOpen(slot, port, "the library is being unloaded");
    // Whatever keeps the port from opening (the device, ports.conf) says so
    // in its text.
    try {
      slot.line = serial::SerialPort::open(devicePath(port, slot));
    } catch (const std::exception& error) {
      return refusedOpen(slot, port, error.what());
    }
    slot.parity = static_cast<serial::Parity>(parity);
    try {
      slot.line->configure(kBaudRates[baudCode - kFirstBaudCode], slot.parity);
    } catch (const serial::SerialError& error) {
      noteFailure(slot, port, std::string(error.what()) + " (the port stays open: release it)");
      return OV_LINE_SETTINGS_FAILED;
    }
    return OV_SUCCESS;
  });
}

uint16_t OV_SetBaudRate(uint16_t port, uint16_t baudCode) {
  if (port >= kPortCount) return OV_REFUSED;
  if (baudCode < kFirstBaudCode || baudCode > kLastBaudCode)
    return refuse(port, OV_BAD_BAUD_CODE,
                  format("baud-rate code %u is outside 3..10; the line was not changed", baudCode));
  return withSlot(port, [&](Library&, PortSlot& slot) -> uint16_t {
    if (!slot.line) {
      noteFailure(slot, port, "the port is not open");
      return OV_IO_ERROR;
    }
    // The port stays open and claimed: no other program can take it between
    // two rates, and the modem lines stay as they are.
    try {
      slot.line->configure(kBaudRates[baudCode - kFirstBaudCode], slot.parity);
    } catch (const serial::DeviceDisconnected& error) {
      noteFailure(slot, port, serialText(error));
      return OV_IO_ERROR;
    } catch (const serial::SerialError& error) {
      noteFailure(slot, port, error.what());
      return OV_LINE_SETTINGS_FAILED;
    }
    return OV_SUCCESS;
  });
}

uint16_t OV_ReleaseComm(uint16_t port) {
  return withSlot(port, [&](Library&, PortSlot& slot) -> uint16_t {
    if (releaseLine(slot)) return OV_SUCCESS;
    noteFailure(slot, port, "the port is not open");
    return OV_LINE_SETTINGS_FAILED;
  });
}

uint16_t OV_TimeOut(uint16_t port, int16_t milliseconds) {
  return withSlot(port, [&](Library&, PortSlot& slot) -> uint16_t {
    slot.timeoutMs = milliseconds;
    return OV_SUCCESS;
  });
}

uint16_t OV_EnableChecksum(uint16_t port) {
  return withSlot(port, [](Library&, PortSlot& slot) -> uint16_t {
    slot.checksum = true;
    return OV_SUCCESS;
  });
}

uint16_t OV_DisableChecksum(uint16_t port) {
  return withSlot(port, [](Library&, PortSlot& slot) -> uint16_t {
    slot.checksum = false;
    return OV_SUCCESS;
  });
}

uint16_t OV_SetPortName(uint16_t port, const char* path) {
  return withSlot(port, [&](Library&, PortSlot& slot) -> uint16_t {
    slot.deviceOverride = path ? path : "";
    return OV_SUCCESS;
  });
}

uint16_t OV_SendCommand(uint16_t port, const char* command, char* reply) {
  if (port >= kPortCount) return OV_REFUSED;
  if (!command) return refuse(port, OV_REFUSED, kNullArgument);
  return withSlot(port, [&](Library& library, PortSlot& slot) -> uint16_t {
    // The caller's text is copied and never limited by the command buffer.
    std::string text(command);
    Session session(library, port);
    session.sendFrame(text, slot.checksum);
    std::string received;
    std::uint16_t status = session.receiveLine(slot.checksum, 1, received);
    if (status != OV_SUCCESS) return status;
    putText(reply, received);
    return OV_SUCCESS;
  });
}

uint16_t OV_GetErrorText(uint16_t port, char* text, uint16_t size) {
  if (port >= kPortCount) return OV_REFUSED;
  try {
    Library& library = Library::instance();
    std::lock_guard lock(library.mutex);
    copyText(library.slots[port].failure.data(), text, size);
    return OV_SUCCESS;
  } catch (...) {
    return OV_IO_ERROR;
  }
}

}  // extern "C"
