// Port sessions: open, release, time-out, checksum flag, device names and the
// raw command.
#include <exception>
#include <string>
#include <string_view>

#include "export_guard.h"
#include "reply_fields.h"
#include "serial/config_dir.h"
#include "serial/line_name.h"
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

// A line at a fixed speed takes the rate it is first opened with as its
// device server's; a later open at another rate succeeds (the line runs as
// it did) and says so in the port's text.
void keepFixedSpeed(PortSlot& slot, uint16_t port, int rate) {
  const std::string& name = slot.line->device();
  if (slot.fixedSpeedLine != name) {
    slot.fixedSpeedLine = name;
    slot.fixedSpeedRate = rate;
  }
  if (rate == slot.fixedSpeedRate) return;
  noteOnSuccess(slot, port,
                format("%s is a network line at a fixed speed: it stays at %d bps, the rate it "
                       "was first opened with, and cannot be set to %d bps",
                       name.c_str(), slot.fixedSpeedRate, rate));
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
      slot.line = serial::openLine(devicePath(port, slot), "COM" + std::to_string(port));
    } catch (const std::exception& error) {
      return refusedOpen(slot, port, error.what());
    }
    const int rate = kBaudRates[baudCode - kFirstBaudCode];
    slot.parity = static_cast<serial::Parity>(parity);
    try {
      slot.line->configure(rate, slot.parity);
    } catch (const serial::SerialError& error) {
      noteFailure(slot, port, std::string(error.what()) + " (the port stays open: release it)");
      return OV_LINE_SETTINGS_FAILED;
    }
    if (slot.line->fixedSpeed()) keepFixedSpeed(slot, port, rate);
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
    const int rate = kBaudRates[baudCode - kFirstBaudCode];
    try {
      slot.line->configure(rate, slot.parity);
    } catch (const serial::DeviceDisconnected& error) {
      noteFailure(slot, port, serialText(error, *slot.line));
      return OV_IO_ERROR;
    } catch (const serial::SerialError& error) {
      noteFailure(slot, port, error.what());
      return OV_LINE_SETTINGS_FAILED;
    }
    if (slot.line->fixedSpeed()) keepFixedSpeed(slot, port, rate);
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
    const std::string name = path ? path : "";
    if (serial::isUrl(name)) {
      if (const auto problem = serial::networkLineNameProblem(name)) {
        noteFailure(slot, port, *problem + "; the port name stays as it was");
        return OV_REFUSED;
      }
    }
    slot.deviceOverride = name;
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
