// Analog I/O: input readings, channel mask, cold junction, outputs, alarm
// limits, event counter and linear mapping.
#include <cmath>
#include <string>

#include "operations.h"
#include "protocol/numbers.h"

using namespace orvane::driver;

namespace {

// Beyond this the output command could never fit the command buffer.
constexpr double kLargestOutput = 1e15;

// The value with three decimals, rounded to the nearest thousandth (10.7 is
// 10.700, not 10.699), at least two integer digits and one sign.
bool outputValueText(const char* text, std::string& out) {
  double value = orvane::protocol::decimalValue(text);
  if (!(std::fabs(value) < kLargestOutput)) return false;
  long long thousandths = std::llround(std::fabs(value) * 1000.0);
  const char* sign = value < 0 && thousandths != 0 ? "-" : "";
  out = format("%s%02lld.%03lld", sign, thousandths / 1000, thousandths % 1000);
  return true;
}

uint16_t readPair(uint16_t port, uint16_t address, const char* pattern, char* low, char* high) {
  return query(port, address, format(pattern, address), [&](const std::string& reply) {
    putField7(low, reply, 3);
    putField7(high, reply, 10);
  });
}

uint16_t writePair(uint16_t port, uint16_t address, const char* pattern, const char* low,
                   const char* high) {
  if (uint16_t refused = checkTarget(port, address)) return refused;
  if (!low || !high) return refuse(port, OV_REFUSED, kNullArgument);
  return sendCommand(port, address, format(pattern, address, low, high));
}

}  // namespace

extern "C" {

uint16_t OV_ReadAI(uint16_t port, uint16_t address, char* value) {
  return readText(port, address, format("#%02X", address), 1, value);
}

uint16_t OV_ReadAllAI(uint16_t port, uint16_t address, char* value0, char* value1, char* value2) {
  return query(port, address, format("#%02XA", address), [&](const std::string& reply) {
    putField7(value0, reply, 1);
    putField7(value1, reply, 8);
    putField7(value2, reply, 15);
  });
}

uint16_t OV_ReadChanAI(uint16_t port, uint16_t address, uint16_t channel, char* value) {
  return readText(port, address, format("#%02X%d", address, channel), 1, value);
}

uint16_t OV_SetMUXChans(uint16_t port, uint16_t address, uint16_t mask) {
  return sendCommand(port, address, format("$%02X5%02X", address, mask));
}

uint16_t OV_ReadChanStatus(uint16_t port, uint16_t address, uint16_t* mask) {
  return query(port, address, format("$%02X6", address),
               [&](const std::string& reply) { put(mask, hexAt(reply, 3, 2)); });
}

uint16_t OV_ReadCJC(uint16_t port, uint16_t address, char* value) {
  return readText(port, address, format("$%02X3", address), 1, value);
}

uint16_t OV_WriteAO(uint16_t port, uint16_t address, const char* value) {
  if (uint16_t refused = checkTarget(port, address)) return refused;
  if (!value) return refuse(port, OV_REFUSED, kNullArgument);
  std::string text;
  if (!outputValueText(value, text))
    return refuse(port, OV_REFUSED,
                  "the output value " + quoted(value) + " is out of range; nothing was sent");
  return sendCommand(port, address, format("#%02X%s", address, text.c_str()));
}

uint16_t OV_WriteChanAO(uint16_t port, uint16_t address, uint16_t channel, const char* value) {
  if (uint16_t refused = checkTarget(port, address)) return refused;
  if (!value) return refuse(port, OV_REFUSED, kNullArgument);
  return sendCommand(port, address, format("#%02X%c%s", address, 'A' + channel, value));
}

uint16_t OV_ReadBackAO(uint16_t port, uint16_t address, char* value) {
  return readText(port, address, format("$%02X6", address), 3, value);
}

uint16_t OV_ResetStatusAO(uint16_t port, uint16_t address, uint16_t* status) {
  return readDigit(port, address, format("$%02X5", address), status);
}

uint16_t OV_GetHighAlarmLimit(uint16_t port, uint16_t address, char* value) {
  return readText(port, address, format("@%02XRH", address), 3, value);
}

uint16_t OV_GetLowAlarmLimit(uint16_t port, uint16_t address, char* value) {
  return readText(port, address, format("@%02XRL", address), 3, value);
}

uint16_t OV_SetHighAlarmLimit(uint16_t port, uint16_t address, const char* value) {
  if (uint16_t refused = checkTarget(port, address)) return refused;
  if (!value) return refuse(port, OV_REFUSED, kNullArgument);
  return sendCommand(port, address, format("@%02XHI%s", address, value));
}

uint16_t OV_SetLowAlarmLimit(uint16_t port, uint16_t address, const char* value) {
  if (uint16_t refused = checkTarget(port, address)) return refused;
  if (!value) return refuse(port, OV_REFUSED, kNullArgument);
  return sendCommand(port, address, format("@%02XLO%s", address, value));
}

uint16_t OV_GetAlarmStatus(uint16_t port, uint16_t address, uint16_t* status) {
  return readDigit(port, address, format("@%02XDI", address), status);
}

uint16_t OV_EnableAlarm(uint16_t port, uint16_t address, uint16_t mode) {
  return sendCommand(port, address, format("@%02XEA%c", address, mode == 1 ? 'M' : 'L'));
}

uint16_t OV_DisableAlarm(uint16_t port, uint16_t address) {
  return sendCommand(port, address, format("@%02XDA", address));
}

uint16_t OV_ClearLatchAlarm(uint16_t port, uint16_t address) {
  return sendCommand(port, address, format("@%02XCA", address));
}

uint16_t OV_ReadEventCount(uint16_t port, uint16_t address, char* count) {
  return readText(port, address, format("@%02XRE", address), 3, count);
}

uint16_t OV_ResetEventCount(uint16_t port, uint16_t address) {
  return sendCommand(port, address, format("@%02XCE", address));
}

uint16_t OV_ReadMappingSource(uint16_t port, uint16_t address, char* low, char* high) {
  return readPair(port, address, "$%02X3", low, high);
}

uint16_t OV_ReadMappingTarget(uint16_t port, uint16_t address, char* low, char* high) {
  return readPair(port, address, "$%02X5", low, high);
}

uint16_t OV_WriteMappingSource(uint16_t port, uint16_t address, const char* low, const char* high) {
  return writePair(port, address, "$%02X6%s%s", low, high);
}

uint16_t OV_WriteMappingTarget(uint16_t port, uint16_t address, const char* low, const char* high) {
  return writePair(port, address, "$%02X7%s%s", low, high);
}

uint16_t OV_EnableLinearMapping(uint16_t port, uint16_t address, uint16_t flag) {
  return sendCommand(port, address, format("$%02XA%d", address, flag ? 1 : 0));
}

}  // extern "C"
