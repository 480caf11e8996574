#include "admin/config/config_commands.h"

#include "protocol/numbers.h"

namespace orvane::admin {

std::string standardConfigCommand(int address, int newAddress, int typeCode, int baudCode,
                                  int formatByte) {
  const auto hex = [](int value) { return protocol::hex2(static_cast<std::uint32_t>(value)); };
  return addressedCommand('%', address,
                          hex(newAddress) + hex(typeCode) + hex(baudCode + 3) + hex(formatByte));
}

int formatByte(int checksumFlag, int familyBits) { return checksumFlag * 64 + familyBits; }

bool configurationConfirmed(bool exchangeOK, const std::string& reply, int newAddress) {
  return exchangeOK && reply == "!" + protocol::hex2(static_cast<std::uint32_t>(newAddress));
}

int inputPolarity(int polarity) { return polarity & 1; }

int outputPolarity(int polarity) { return polarity >> 1 & 1; }

std::string polarityBody(int outputs, int inputs) {
  return "CP" + std::to_string(outputs) + std::to_string(inputs);
}

}  // namespace orvane::admin
