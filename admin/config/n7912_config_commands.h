// The converter's configuration command as plain functions: its settings,
// the 16-bit status word and the "%AANN40" command that carries them.
#pragma once

#include <string>

namespace orvane::admin {

// Every setting the converter dialog changes, in the codes the module
// entry keeps them.
struct ConverterSettings {
  int address = 0;
  int baudCode = 0;       // network side
  int rs232BaudCode = 0;  // RS-232 side
  int checksumFlag = 0;
  int addressingCode = 0;  // 0 addressable, 1 non-addressable
  int interfaceCode = 0;   // 0 RS-422, 1 RS-485
  int appendCR = 0;
  int parityCode = 0;    // 0 none, 1 odd, 3 even (2 reads as none)
  int dataFormat = 0;    // data bits - 5
  int stopBitsCode = 0;  // 0 one, 1 two stop bits

  bool operator==(const ConverterSettings&) const = default;
};

// Bit 15 addressing, 14 checksum, 13 interface, 8 appended CR, 3-4 parity,
// 2 stop bits, 0-1 data bits - 5. Each code is cut to its own bits, so the
// word always fits four hexadecimal digits.
int converterStatusWord(const ConverterSettings& settings);

// What follows "%AA": the new address, TypeCode 40, the RS-232 and the
// network baud code (BaudCode + 3, one digit each) and the status word.
// The worked example: a converter moved to address 6, 9600 bps on both
// sides, RS-485, 8 data bits, everything else off: "0640662003".
std::string converterConfigBody(const ConverterSettings& settings);

// The ParityCombo position that shows the parity code ("None", "Odd",
// "Even"): code 2 shows as none; -1 for a code the list cannot show.
int parityPosition(int parityCode);

}  // namespace orvane::admin
