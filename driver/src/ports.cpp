// Port sessions: open, release, time-out, checksum flag, device names and the
// raw command.
#include <cstring>
#include <string>

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

}  // namespace

extern "C" {

uint16_t OV_InitialComm(uint16_t port, uint16_t baudCode, uint16_t dataBits, uint16_t parity,
                        uint16_t /*reserved*/) {
  if (port >= kPortCount) return OV_REFUSED;
  if (baudCode < kFirstBaudCode || baudCode > kLastBaudCode) return OV_BAD_BAUD_CODE;
  if (dataBits < 4 || dataBits > 8) return OV_BAD_DATA_BITS;
  if (parity > 2) return OV_BAD_BAUD_CODE;
  return withSlot(port, [&](Library& library, PortSlot& slot) -> uint16_t {
    // Once unloading has released the ports, none is opened again.
    if (slot.line || library.shutDownDone) return OV_REFUSED;
    try {
      slot.line = serial::SerialPort::open(devicePath(port, slot));
    } catch (const serial::SerialError&) {
      return OV_REFUSED;
    }
    try {
      slot.line->configure(kBaudRates[baudCode - kFirstBaudCode],
                           static_cast<serial::Parity>(parity));
    } catch (const serial::SerialError&) {
      return OV_LINE_SETTINGS_FAILED;
    }
    return OV_SUCCESS;
  });
}

uint16_t OV_ReleaseComm(uint16_t port) {
  return withSlot(port, [](Library&, PortSlot& slot) -> uint16_t {
    return releaseLine(slot) ? OV_SUCCESS : OV_LINE_SETTINGS_FAILED;
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
  if (port >= kPortCount || !command) return OV_REFUSED;
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

}  // extern "C"
