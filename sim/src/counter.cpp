// Counter/frequency module 7586: two counters with maximum and initial
// values, start/stop, clear and overflow, input and gate modes, the digital
// filter with minimum pulse widths, TTL levels, and an alarm per counter
// driving its digital output. In frequency mode (TypeCode 0x51) the reads
// give each channel's input frequency, which wanders around its rate.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "families.h"
#include "protocol/numbers.h"

namespace orvane::sim {
namespace {

using protocol::hex2;

bool isChannel(char c) { return c == '0' || c == '1'; }
CounterState& counter(ModuleState& m, char c) {
  return m.counters[static_cast<std::size_t>(c - '0')];
}

// The input frequency at a moment: each channel wanders around its rate
// with a period of its own, so the two readings do not move in step.
double frequency(const CounterState& k, int channel, Moment now) {
  const double periodS = channel == 0 ? 10.0 : 14.0;
  const double wander = std::sin(2.0 * std::numbers::pi * now.t / periodS);
  return std::max(0.0, k.ratePerS * (1.0 + k.rateSwing * wander));
}

std::uint32_t reading(const ModuleState& m, int channel, Moment now) {
  const CounterState& k = m.counters[static_cast<std::size_t>(channel)];
  if (m.typeCode == 0x51)
    return static_cast<std::uint32_t>(std::lround(frequency(k, channel, now)));
  return k.value;
}

// Output c follows its alarm when that is enabled, else the last "@AADO".
int outputs(const ModuleState& m) {
  int bits = static_cast<int>(m.digitalOutputs & 3);
  for (int c = 0; c < 2; ++c) {
    const CounterState& k = m.counters[static_cast<std::size_t>(c)];
    if (!k.alarmEnabled) continue;
    bits = (bits & ~(1 << c)) | (k.value >= k.alarmLimit ? 1 << c : 0);
  }
  return bits;
}

int alarmBits(const ModuleState& m) {
  return (m.counters[0].alarmEnabled ? 1 : 0) | (m.counters[1].alarmEnabled ? 2 : 0);
}

std::string digit(bool on) { return on ? "1" : "0"; }

// The reads a host may send with an "R" before the checksum.
bool isSuffixedRead(const std::string& b) {
  return b == "B" || b == "A" || b == "4" || b == "0H" || b == "0L" || b == "1H" || b == "1L" ||
         (b.size() == 2 && (b[0] == '3' || b[0] == '5') && isChannel(b[1]));
}

std::string withoutReadSuffix(const Command& c) {
  const std::string& b = c.body;
  if (b.empty() || b.back() != 'R') return b;
  const std::string plain = b.substr(0, b.size() - 1);
  if (c.lead == '#' && plain.size() == 1 && isChannel(plain[0])) return plain;
  return c.lead == '$' && isSuffixedRead(plain) ? plain : b;
}

Reply readData(const ModuleState& m, const Command& c, const std::string& b, Moment now) {
  if (b.size() == 1 && isChannel(b[0])) return dataReply(hex2(reading(m, b[0] - '0', now), 8));
  if (b.size() == 2 && isChannel(b[0]) && b[1] == 'D')
    return dataReply(protocol::formatPattern(reading(m, b[0] - '0', now), "0000000000"));
  return refused(c);
}

Reply setDigit(const Command& c, int& field, char value, int max) {
  if (value < '0' || value > '0' + max) return refused(c);
  field = value - '0';
  return accepted(c);
}

Reply setNumber(const Command& c, int& field, const std::string& digits, std::size_t width) {
  if (digits.size() != width || !allDigits(digits)) return refused(c);
  field = static_cast<int>(protocol::integerValue(digits));
  return accepted(c);
}

Reply widthsAndLevels(ModuleState& m, const Command& c, const std::string& b) {
  const bool high = b[1] == 'H';
  if (b[0] == '0') {
    int& width = high ? m.minWidthHigh : m.minWidthLow;
    if (b.size() == 2) return accepted(c, protocol::formatPattern(width, "0000"));
    return setNumber(c, width, b.substr(2), 4);
  }
  int& level = high ? m.ttlHigh : m.ttlLow;
  if (b.size() == 2) return accepted(c, protocol::formatPattern(level, "00"));
  return setNumber(c, level, b.substr(2), 2);
}

Reply counterSetting(ModuleState& m, const Command& c, const std::string& b) {
  if (b.size() < 2 || !isChannel(b[1])) return refused(c);
  CounterState& k = counter(m, b[1]);
  const std::string rest = b.substr(2);
  switch (b[0]) {
    case '3':
      if (rest.empty()) return accepted(c, hex2(k.maxValue, 8));
      if (rest.size() != 8 || !allHex(rest)) return refused(c);
      k.maxValue = protocol::hexValue(rest);
      return accepted(c);
    case '5':
      if (rest.empty()) return accepted(c, digit(k.running));
      if (rest != "0" && rest != "1") return refused(c);
      k.running = rest == "1";
      return accepted(c);
    case '6':
      if (!rest.empty()) return refused(c);
      k.value = k.initialValue;
      k.overflow = false;
      return accepted(c);
    default:  // '7'
      return rest.empty() ? accepted(c, digit(k.overflow)) : refused(c);
  }
}

Reply setting(ModuleState& m, const Command& c, const std::string& b) {
  if (b.empty()) return std::nullopt;
  switch (b[0]) {
    case 'B':
      return b.size() == 1 ? accepted(c, std::to_string(m.inputMode))
                           : (b.size() == 2 ? setDigit(c, m.inputMode, b[1], 1) : refused(c));
    case 'A':
      return b.size() == 1 ? accepted(c, std::to_string(m.gateMode))
                           : (b.size() == 2 ? setDigit(c, m.gateMode, b[1], 2) : refused(c));
    case '4':
      if (b.size() == 1) return accepted(c, digit(m.filterEnabled));
      if (b.size() != 2 || (b[1] != '0' && b[1] != '1')) return refused(c);
      m.filterEnabled = b[1] == '1';
      return accepted(c);
    case '0':
    case '1':
      if (b.size() < 2 || (b[1] != 'H' && b[1] != 'L')) return refused(c);
      return widthsAndLevels(m, c, b);
    case '3':
    case '5':
    case '6':
    case '7':
      return b == "5" ? std::nullopt : counterSetting(m, c, b);  // "$AA5" alone: reset status
    default:
      return std::nullopt;
  }
}

Reply setLimit(const Command& c, std::uint32_t& limit, const std::string& digits) {
  if (digits.size() != 8 || !allHex(digits)) return refused(c);
  limit = protocol::hexValue(digits);
  return accepted(c);
}

Reply alarmCommand(ModuleState& m, const Command& c) {
  const std::string& b = c.body;
  if (b == "DI")
    return accepted(c, std::to_string(alarmBits(m)) + "0" + std::to_string(outputs(m)));
  if (b.size() == 4 && b.substr(0, 2) == "DO" && allHex(b.substr(2))) {
    const auto value = protocol::hexValue(b.substr(2));
    if (value > 3) return refused(c);
    m.digitalOutputs = value;  // outputs under alarm control keep following their alarm
    return accepted(c);
  }
  if (b.size() == 3 && (b.substr(0, 2) == "EA" || b.substr(0, 2) == "DA") && isChannel(b[2])) {
    counter(m, b[2]).alarmEnabled = b[0] == 'E';
    return accepted(c);
  }
  if (b.size() >= 2 && (b[0] == 'P' || b[0] == 'G') && isChannel(b[1])) {
    CounterState& k = counter(m, b[1]);
    if (b[0] == 'G') return b.size() == 2 ? accepted(c, hex2(k.initialValue, 8)) : refused(c);
    return setLimit(c, k.initialValue, b.substr(2));
  }
  if (b.rfind("PA", 0) == 0) return setLimit(c, m.counters[0].alarmLimit, b.substr(2));
  if (b.rfind("SA", 0) == 0) return setLimit(c, m.counters[1].alarmLimit, b.substr(2));
  if (b == "RP") return accepted(c, hex2(m.counters[0].alarmLimit, 8));
  if (b == "RA") return accepted(c, hex2(m.counters[1].alarmLimit, 8));
  return std::nullopt;
}

}  // namespace

Reply handleCounter(ModuleState& m, const Command& c, Moment now) {
  const std::string b = withoutReadSuffix(c);
  switch (c.lead) {
    case '#':
      return readData(m, c, b, now);
    case '$':
      return setting(m, c, b);
    case '@':
      return alarmCommand(m, c);
    default:
      return std::nullopt;
  }
}

}  // namespace orvane::sim
