// The counter/frequency module's setting commands and the typed numbers
// they carry, as plain functions: no widget, no line.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace orvane::admin {

// A command without its address: the lead character and what follows the
// address ("$AA3012345678" is {'$', "3012345678"}).
struct CtrCommand {
  char lead;
  std::string body;

  bool operator==(const CtrCommand&) const = default;
};

// Counts, limits and widths are compared by their integer part; that same
// integer goes out. A count is 0 .. 4294967295, a width 0 .. 9999
// microseconds; anything else has no such integer (nullopt).
std::optional<std::uint32_t> countOf(double typed);
std::optional<int> widthOf(double typed);
// A TTL trigger level typed in volts, in the tenths of a volt the module
// takes (0.5 V is 5); nullopt outside 0.0 .. 9.9 V.
std::optional<int> ttlLevelOf(double volts);

// A count as plain decimal digits, as few as read back to the same value:
// "100000", never "1e+05"; a typed 12.9 stays "12.9". "." as the point.
std::string countText(double count);

// The format bits of the standard command: the frequency gate time is bit 2.
int gateTimeBits(int gateTimeCode);

CtrCommand inputModeCommand(int mode);                      // "$AAB" + mode
CtrCommand gateModeCommand(int mode);                       // "$AAA" + mode
CtrCommand counterStatusCommand(int counter, int running);  // "$AA5" + n + 0/1
CtrCommand maxCountCommand(int counter, std::uint32_t count);
CtrCommand initialCountCommand(int counter, std::uint32_t count);
CtrCommand filterCommand(int enabled);  // "$AA4" + 0/1
CtrCommand minWidthCommand(bool highLevel, int width);
CtrCommand ttlLevelCommand(bool highLevel, int level);
CtrCommand alarmSwitchCommand(int counter, bool enabled);
CtrCommand alarmLimitCommand(int counter, std::uint32_t limit);

}  // namespace orvane::admin
