// The commands every configuration dialog builds, as plain functions: no
// widget, no line, so each is tested on its own.
#pragma once

#include <string>
#include <string_view>

#include "admin/core/command_link.h"

namespace orvane::admin {

// "%AANNTTCCFF": the address the module answers at now, the new address,
// the TypeCode, the BaudCode (sent as BaudCode + 3) and the format byte.
std::string standardConfigCommand(int address, int newAddress, int typeCode, int baudCode,
                                  int formatByte);

// The format byte of the standard command: checksum flag as bit 6 over the
// family's own bits.
int formatByte(int checksumFlag, int familyBits);

// A configuration command is confirmed by "!" and the new address.
bool configurationConfirmed(bool exchangeOK, const std::string& reply, int newAddress);

// The polarity of the digital lines: bit 0 inverts the inputs, bit 1 the
// outputs. Only these two bits count, whatever else an entry holds.
int inputPolarity(int polarity);
int outputPolarity(int polarity);
// The body of the polarity command, one digit per side (0 normal, 1
// inverted): inverted outputs and normal inputs give "CP10".
std::string polarityBody(int outputs, int inputs);

// The lowest `count` channel states as a mask, bit n for channel n.
template <typename States>
int channelMask(const States& enabled, int count) {
  int mask = 0;
  for (int n = count - 1; n >= 0; --n)
    mask = mask * 2 + (enabled[static_cast<std::size_t>(n)] ? 1 : 0);
  return mask;
}

}  // namespace orvane::admin
