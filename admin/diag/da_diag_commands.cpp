#include "admin/diag/da_diag_commands.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "protocol/numbers.h"

namespace orvane::admin {

float daLowEnd(int typeCode) { return typeCode == 0x31 ? 4.0F : 0.0F; }

float daOutputValue(int typeCode, int position) {
  const float p = static_cast<float>(position);
  constexpr float kSpan = kDaScrollMax;
  switch (typeCode) {
    case 0x30:
      return p * 20.0F / kSpan;
    case 0x31:
      return p * 16.0F / kSpan + 4.0F;
    case 0x32:
      return p * 10.0F / kSpan;
    default:
      return 0.0F;
  }
}

std::string daShownValue(float value, char decimalSeparator) {
  std::string text = protocol::formatPattern(value, "#0.000");
  std::replace(text.begin(), text.end(), '.', decimalSeparator);
  return text;
}

std::string daOutputBody(int typeCode, int dataFormat, int position) {
  constexpr float kSpan = kDaScrollMax;
  switch (dataFormat) {
    case 0:
      return protocol::formatPattern(daOutputValue(typeCode, position), "00.000");
    case 1:
      return "+" + protocol::formatPattern(static_cast<float>(position) * 100.0F / kSpan, "000.00");
    case 2:
      return protocol::hex2(
          static_cast<std::uint32_t>(std::lround(position * 4095.0 / kDaScrollMax)), 3);
    default:
      return {};
  }
}

}  // namespace orvane::admin
