#include "admin/config/config_commands.h"

#include "protocol/numbers.h"

namespace orvane::admin {

std::string addressedCommand(char lead, int address, std::string_view body) {
  return lead + protocol::hex2(static_cast<std::uint32_t>(address)) + std::string(body);
}

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

}  // namespace orvane::admin
