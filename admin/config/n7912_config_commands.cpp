#include "admin/config/n7912_config_commands.h"

#include "protocol/numbers.h"

namespace orvane::admin {

namespace {

std::string hex(int value, int width) {
  return protocol::hex2(static_cast<std::uint32_t>(value), width);
}

}  // namespace

int converterStatusWord(const ConverterSettings& s) {
  return (s.addressingCode & 1) << 15 | (s.checksumFlag & 1) << 14 | (s.interfaceCode & 1) << 13 |
         (s.appendCR & 1) << 8 | (s.parityCode & 3) << 3 | (s.stopBitsCode & 1) << 2 |
         (s.dataFormat & 3);
}

std::string converterConfigBody(const ConverterSettings& s) {
  return hex(s.address, 2) + "40" + hex((s.rs232BaudCode + 3) & 0x0F, 1) +
         hex((s.baudCode + 3) & 0x0F, 1) + hex(converterStatusWord(s), 4);
}

int parityPosition(int parityCode) {
  switch (parityCode) {
    case 0:
    case 2:
      return 0;
    case 1:
      return 1;
    case 3:
      return 2;
    default:
      return -1;
  }
}

}  // namespace orvane::admin
