#include "admin/config/ctr_config_commands.h"

#include <charconv>
#include <cmath>

#include "protocol/numbers.h"

namespace orvane::admin {

namespace {

constexpr double kCountEnd = 4294967296.0;
constexpr int kWidestWidth = 9999;
constexpr int kHighestLevel = 99;

std::string digit(int value) { return std::to_string(value); }

std::string eightHex(std::uint32_t value) { return protocol::hex2(value, 8); }

// Decimal digits, "0" in front up to the width.
std::string padded(int value, std::size_t width) {
  std::string text = std::to_string(value);
  return std::string(width > text.size() ? width - text.size() : 0, '0') + text;
}

std::string levelLetter(bool highLevel) { return highLevel ? "H" : "L"; }

}  // namespace

std::optional<std::uint32_t> countOf(double typed) {
  // Written so that NaN fails too.
  if (!(typed >= 0.0 && typed < kCountEnd)) return std::nullopt;
  return static_cast<std::uint32_t>(std::trunc(typed));
}

std::optional<int> widthOf(double typed) {
  if (!(typed >= 0.0 && typed < kWidestWidth + 1.0)) return std::nullopt;
  return static_cast<int>(std::trunc(typed));
}

std::optional<int> ttlLevelOf(double volts) {
  if (!(volts >= 0.0 && volts <= kHighestLevel / 10.0)) return std::nullopt;
  return static_cast<int>(std::lround(volts * 10.0));
}

std::string countText(double count) {
  // Room for the integer digits of any double.
  char buffer[400];
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, count, std::chars_format::fixed);
  return std::string(buffer, result.ptr);
}

int gateTimeBits(int gateTimeCode) { return gateTimeCode * 4; }

CtrCommand inputModeCommand(int mode) { return {'$', "B" + digit(mode)}; }

CtrCommand gateModeCommand(int mode) { return {'$', "A" + digit(mode)}; }

CtrCommand counterStatusCommand(int counter, int running) {
  return {'$', "5" + digit(counter) + digit(running)};
}

CtrCommand maxCountCommand(int counter, std::uint32_t count) {
  return {'$', "3" + digit(counter) + eightHex(count)};
}

CtrCommand initialCountCommand(int counter, std::uint32_t count) {
  return {'@', "P" + digit(counter) + eightHex(count)};
}

CtrCommand filterCommand(int enabled) { return {'$', "4" + digit(enabled)}; }

CtrCommand minWidthCommand(bool highLevel, int width) {
  return {'$', "0" + levelLetter(highLevel) + padded(width, 4)};
}

CtrCommand ttlLevelCommand(bool highLevel, int level) {
  return {'$', "1" + levelLetter(highLevel) + padded(level, 2)};
}

CtrCommand alarmSwitchCommand(int counter, bool enabled) {
  return {'@', std::string(enabled ? "EA" : "DA") + digit(counter)};
}

CtrCommand alarmLimitCommand(int counter, std::uint32_t limit) {
  return {'@', std::string(counter == 0 ? "PA" : "SA") + eightHex(limit)};
}

}  // namespace orvane::admin
