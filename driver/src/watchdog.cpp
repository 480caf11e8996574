// The host watchdog: host-OK broadcast, and the watchdog settings of plain
// modules and of the analog output models 7342 and 7347, whose safe values
// are chosen by code.
#include <array>
#include <string>

#include "operations.h"

using namespace orvane::driver;

namespace {

// Safe output values by code: the middle value differs between the models.
constexpr std::array<const char*, 3> kSafe7342 = {"000", "7FF", "FFF"};
constexpr std::array<const char*, 3> kSafe7347 = {"000", "800", "FFF"};

// The code whose value starts with the character; -1 when none does.
int safeCodeOf(const std::array<const char*, 3>& values, char c) {
  for (std::size_t i = 0; i < values.size(); ++i)
    if (values[i][0] == c) return static_cast<int>(i);
  return -1;
}

void putSafeCode(uint16_t* output, const std::array<const char*, 3>& values,
                 const std::string& reply, std::size_t position) {
  int code = safeCodeOf(values, position < reply.size() ? reply[position] : '\0');
  if (code >= 0) put(output, code);
}

std::string setFrame(uint16_t address, uint16_t enable, uint16_t timeoutValue) {
  return format("~%02X2%d%02X", address, enable ? 1 : 0, timeoutValue);
}

void putEnableAndTimeout(const std::string& reply, uint16_t* enable, uint16_t* timeoutValue) {
  put(enable, digitAt(reply, 3));
  put(timeoutValue, hexAt(reply, 4, 2));
}

uint16_t refuseSafeCode(uint16_t port, uint16_t code) {
  return refuse(port, OV_REFUSED,
                format("safe-value code %u is not 0, 1 or 2; nothing was sent", code));
}

}  // namespace

extern "C" {

uint16_t OV_SetWDT(uint16_t port, uint16_t address, uint16_t enable, uint16_t timeoutValue,
                   uint16_t safeValue) {
  return sendCommand(port, address,
                     setFrame(address, enable, timeoutValue) + format("%02X", safeValue));
}

uint16_t OV_GetWDT(uint16_t port, uint16_t address, uint16_t* enable, uint16_t* timeoutValue,
                   uint16_t* safeValue) {
  return query(port, address, format("~%02X3", address), [&](const std::string& reply) {
    putEnableAndTimeout(reply, enable, timeoutValue);
    put(safeValue, hexAt(reply, 6, std::string::npos));
  });
}

uint16_t OV_SetWDT7342(uint16_t port, uint16_t address, uint16_t enable, uint16_t timeoutValue,
                       uint16_t safeCode) {
  if (uint16_t refused = checkTarget(port, address)) return refused;
  if (safeCode >= kSafe7342.size()) return refuseSafeCode(port, safeCode);
  return sendCommand(port, address, setFrame(address, enable, timeoutValue) + kSafe7342[safeCode]);
}

uint16_t OV_GetWDT7342(uint16_t port, uint16_t address, uint16_t* enable, uint16_t* timeoutValue,
                       uint16_t* safeCode) {
  return query(port, address, format("~%02X3", address), [&](const std::string& reply) {
    putEnableAndTimeout(reply, enable, timeoutValue);
    putSafeCode(safeCode, kSafe7342, reply, 6);
  });
}

uint16_t OV_SetWDT7347(uint16_t port, uint16_t address, uint16_t enable, uint16_t timeoutValue,
                       uint16_t safeCode0, uint16_t safeCode1, uint16_t safeCode2,
                       uint16_t safeCode3) {
  if (uint16_t refused = checkTarget(port, address)) return refused;
  std::string frame = setFrame(address, enable, timeoutValue);
  for (uint16_t code : {safeCode0, safeCode1, safeCode2, safeCode3}) {
    if (code >= kSafe7347.size()) return refuseSafeCode(port, code);
    frame += kSafe7347[code];
  }
  return sendCommand(port, address, frame);
}

uint16_t OV_GetWDT7347(uint16_t port, uint16_t address, uint16_t* enable, uint16_t* timeoutValue,
                       uint16_t* safeCode0, uint16_t* safeCode1, uint16_t* safeCode2,
                       uint16_t* safeCode3) {
  return query(port, address, format("~%02X3", address), [&](const std::string& reply) {
    putEnableAndTimeout(reply, enable, timeoutValue);
    std::size_t position = 6;
    for (uint16_t* code : {safeCode0, safeCode1, safeCode2, safeCode3}) {
      putSafeCode(code, kSafe7347, reply, position);
      position += 3;
    }
  });
}

uint16_t OV_HostOK(uint16_t port) {
  return withSlot(port, [&](Library& library, PortSlot& slot) -> uint16_t {
    Session session(library, port);
    session.sendFrame("~**", slot.checksum);
    return OV_SUCCESS;
  });
}

}  // extern "C"
