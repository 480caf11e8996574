// Counter and frequency modules: modes, the two counters' values and limits,
// start/stop, clear, status, overflow, input filter, TTL levels and counter
// alarms.
#include <functional>
#include <string>

#include "operations.h"

using namespace orvane::driver;

namespace {

constexpr uint16_t kCounters = 2;

// Read commands of this module get an "R" before the checksum when the port
// uses one.
uint16_t readWithSuffix(uint16_t port, uint16_t address, const std::string& command,
                        const std::function<void(const std::string&)>& decode) {
  return withModule(port, address, [&](Session& session) {
    std::string reply;
    uint16_t status = session.transact(session.checksumOn() ? command + "R" : command, reply);
    if (status == OV_SUCCESS) decode(reply);
    return status;
  });
}

uint16_t readDigitR(uint16_t port, uint16_t address, const std::string& command, uint16_t* value) {
  return readWithSuffix(port, address, command,
                        [&](const std::string& reply) { put(value, digitAt(reply, 3)); });
}

uint16_t readDecimalR(uint16_t port, uint16_t address, const std::string& command,
                      uint16_t* value) {
  return readWithSuffix(port, address, command,
                        [&](const std::string& reply) { put(value, decimalFrom(reply, 3)); });
}

uint16_t readHexR(uint16_t port, uint16_t address, const std::string& command, std::size_t from,
                  uint32_t* value) {
  return readWithSuffix(port, address, command, [&](const std::string& reply) {
    put(value, hexAt(reply, from, std::string::npos));
  });
}

uint16_t readHex(uint16_t port, uint16_t address, const std::string& command, uint32_t* value) {
  return query(port, address, command,
               [&](const std::string& reply) { put(value, hexAt(reply, 3, std::string::npos)); });
}

// Checked before anything else is looked at, except the port and address.
uint16_t counterStatus(uint16_t port, uint16_t address, uint16_t counter) {
  if (uint16_t refused = checkTarget(port, address)) return refused;
  if (counter < kCounters) return OV_SUCCESS;
  return refuse(port, OV_BAD_COUNTER_INDEX,
                format("counter %u is not 0 or 1; nothing was sent", counter));
}

}  // namespace

extern "C" {

uint16_t OV_ReadCtrValue(uint16_t port, uint16_t address, uint16_t counter, uint32_t* value) {
  if (uint16_t s = counterStatus(port, address, counter)) return s;
  return readHexR(port, address, format("#%02X%d", address, counter), 1, value);
}

uint16_t OV_SetCtrInputMode(uint16_t port, uint16_t address, uint16_t mode) {
  return sendCommand(port, address, format("$%02XB%d", address, mode));
}

uint16_t OV_ReadCtrInputMode(uint16_t port, uint16_t address, uint16_t* mode) {
  return readDigitR(port, address, format("$%02XB", address), mode);
}

uint16_t OV_SetCtrGateMode(uint16_t port, uint16_t address, uint16_t mode) {
  return sendCommand(port, address, format("$%02XA%d", address, mode));
}

uint16_t OV_ReadCtrGateMode(uint16_t port, uint16_t address, uint16_t* mode) {
  return readDigitR(port, address, format("$%02XA", address), mode);
}

uint16_t OV_SetCtrMaxValue(uint16_t port, uint16_t address, uint16_t counter, uint32_t value) {
  if (uint16_t s = counterStatus(port, address, counter)) return s;
  return sendCommand(port, address, format("$%02X3%d%08X", address, counter, value));
}

uint16_t OV_ReadCtrMaxValue(uint16_t port, uint16_t address, uint16_t counter, uint32_t* value) {
  if (uint16_t s = counterStatus(port, address, counter)) return s;
  return readHexR(port, address, format("$%02X3%d", address, counter), 3, value);
}

uint16_t OV_SetCtrInitialValue(uint16_t port, uint16_t address, uint16_t counter, uint32_t value) {
  if (uint16_t s = counterStatus(port, address, counter)) return s;
  return sendCommand(port, address, format("@%02XP%d%08X", address, counter, value));
}

uint16_t OV_ReadCtrInitialValue(uint16_t port, uint16_t address, uint16_t counter,
                                uint32_t* value) {
  if (uint16_t s = counterStatus(port, address, counter)) return s;
  return readHex(port, address, format("@%02XG%d", address, counter), value);
}

uint16_t OV_StartCtr(uint16_t port, uint16_t address, uint16_t counter, uint16_t run) {
  if (uint16_t s = counterStatus(port, address, counter)) return s;
  return sendCommand(port, address, format("$%02X5%d%d", address, counter, run));
}

uint16_t OV_ReadCtrStatus(uint16_t port, uint16_t address, uint16_t counter, uint16_t* status) {
  if (uint16_t s = counterStatus(port, address, counter)) return s;
  return readDigitR(port, address, format("$%02X5%d", address, counter), status);
}

uint16_t OV_ClearCtr(uint16_t port, uint16_t address, uint16_t counter) {
  if (uint16_t s = counterStatus(port, address, counter)) return s;
  return sendCommand(port, address, format("$%02X6%d", address, counter));
}

uint16_t OV_ReadCtrOverflowFlag(uint16_t port, uint16_t address, uint16_t counter, uint16_t* flag) {
  if (uint16_t s = counterStatus(port, address, counter)) return s;
  return readDigit(port, address, format("$%02X7%d", address, counter), flag);
}

uint16_t OV_EnableDigitalFilter(uint16_t port, uint16_t address, uint16_t flag) {
  return sendCommand(port, address, format("$%02X4%d", address, flag));
}

uint16_t OV_ReadFilterStatus(uint16_t port, uint16_t address, uint16_t* flag) {
  return readDigitR(port, address, format("$%02X4", address), flag);
}

uint16_t OV_SetMinWidthAtHigh(uint16_t port, uint16_t address, uint16_t width) {
  return sendCommand(port, address, format("$%02X0H%04d", address, width));
}

uint16_t OV_ReadMinWidthAtHigh(uint16_t port, uint16_t address, uint16_t* width) {
  return readDecimalR(port, address, format("$%02X0H", address), width);
}

uint16_t OV_SetMinWidthAtLow(uint16_t port, uint16_t address, uint16_t width) {
  return sendCommand(port, address, format("$%02X0L%04d", address, width));
}

uint16_t OV_ReadMinWidthAtLow(uint16_t port, uint16_t address, uint16_t* width) {
  return readDecimalR(port, address, format("$%02X0L", address), width);
}

uint16_t OV_SetTTLInputHigh(uint16_t port, uint16_t address, uint16_t level) {
  return sendCommand(port, address, format("$%02X1H%02d", address, level));
}

uint16_t OV_ReadTTLInputHigh(uint16_t port, uint16_t address, uint16_t* level) {
  return readDecimalR(port, address, format("$%02X1H", address), level);
}

uint16_t OV_SetTTLInputLow(uint16_t port, uint16_t address, uint16_t level) {
  return sendCommand(port, address, format("$%02X1L%02d", address, level));
}

uint16_t OV_ReadTTLInputLow(uint16_t port, uint16_t address, uint16_t* level) {
  return readDecimalR(port, address, format("$%02X1L", address), level);
}

uint16_t OV_EnableCtrAlarm(uint16_t port, uint16_t address, uint16_t alarm) {
  return sendCommand(port, address, format("@%02XEA%d", address, alarm));
}

uint16_t OV_DisableCtrAlarm(uint16_t port, uint16_t address, uint16_t alarm) {
  return sendCommand(port, address, format("@%02XDA%d", address, alarm));
}

uint16_t OV_GetCtrAlarmStatus(uint16_t port, uint16_t address, uint16_t counter, uint16_t* flag) {
  if (uint16_t s = counterStatus(port, address, counter)) return s;
  return query(port, address, format("@%02XDI", address), [&](const std::string& reply) {
    int d = digitAt(reply, 3);
    put(flag, counter == 0 ? (d & 1) : (d > 1 ? 1 : 0));
  });
}

uint16_t OV_SetCtrAlarmLimit(uint16_t port, uint16_t address, uint16_t counter, uint32_t limit) {
  if (uint16_t s = counterStatus(port, address, counter)) return s;
  const char* pattern = counter == 0 ? "@%02XPA%08X" : "@%02XSA%08X";
  return sendCommand(port, address, format(pattern, address, limit));
}

uint16_t OV_ReadCtrAlarmLimit(uint16_t port, uint16_t address, uint16_t counter, uint32_t* limit) {
  if (uint16_t s = counterStatus(port, address, counter)) return s;
  return readHex(port, address, format(counter == 0 ? "@%02XRP" : "@%02XRA", address), limit);
}

}  // extern "C"
