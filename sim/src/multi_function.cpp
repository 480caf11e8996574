// Multi-function modules 7213, 7215, 7228: one analog input with high and low
// alarms driving two outputs, a digital input with its event counter, and on
// 7228 a linear mapping of the reading.
#include <cmath>

#include "analog_common.h"
#include "analog_values.h"
#include "protocol/catalogue.h"
#include "protocol/numbers.h"

namespace orvane::sim {
namespace {

bool isMapping(const ModuleState& m) { return protocol::familyKey(m.model) == "228"; }

double mapped(const ModuleState& m, double x) {
  const double sLow = protocol::decimalValue(m.sourceLow),
               sHigh = protocol::decimalValue(m.sourceHigh);
  const double tLow = protocol::decimalValue(m.targetLow),
               tHigh = protocol::decimalValue(m.targetHigh);
  if (sHigh == sLow) return tLow;
  return tLow + (x - sLow) * (tHigh - tLow) / (sHigh - sLow);
}

int outputs(const ModuleState& m, Moment now) {
  if (m.alarmMode == 0) return static_cast<int>(m.digitalOutputs & 3);
  return alarmCondition(m, now) | (m.alarmMode == 2 ? m.latchedAlarms : 0);
}

int digitalInput(const ModuleState& m, Moment now) {
  return static_cast<int>((wiredInputs(m, now) ^ static_cast<std::uint32_t>(m.polarity & 1)) & 1);
}

// "!AA", alarm mode, then the outputs as "00".."03", then the input twice:
// the diagnostic windows read it at position 6, the library at 7.
std::string digitalStatus(const ModuleState& m, Moment now) {
  const std::string in = std::to_string(digitalInput(m, now));
  return std::to_string(m.alarmMode) + "0" + std::to_string(outputs(m, now)) + in + in;
}

// Two limit or range texts sent one after the other, each with its sign.
std::optional<std::pair<std::string, std::string>> splitPair(const std::string& text) {
  const auto second = text.find_first_of("+-", 1);
  if (second != std::string::npos)
    return std::make_pair(text.substr(0, second), text.substr(second));
  if (text.empty() || text.size() % 2 != 0) return std::nullopt;
  return std::make_pair(text.substr(0, text.size() / 2), text.substr(text.size() / 2));
}

Reply setRange(ModuleState& m, const Command& c, std::string& low, std::string& high) {
  const auto pair = splitPair(c.body.substr(1));
  if (!pair || !protocol::isDecimalNumber(pair->first) || !protocol::isDecimalNumber(pair->second))
    return refused(c);
  low = protocol::engineeringText(pair->first, m.typeCode);
  high = protocol::engineeringText(pair->second, m.typeCode);
  return accepted(c);
}

Reply setLimit(const Command& c, double& limit) {
  const std::string text = c.body.substr(2);
  if (!protocol::isDecimalNumber(text)) return refused(c);
  limit = protocol::decimalValue(text);
  return accepted(c);
}

Reply alarmCommand(ModuleState& m, const Command& c, Moment now) {
  const std::string& b = c.body;
  if (b == "DI") return accepted(c, digitalStatus(m, now));
  if (b.size() == 4 && b.substr(0, 2) == "DO" && allHex(b.substr(2))) {
    const auto value = protocol::hexValue(b.substr(2));
    if (m.alarmMode != 0 || value > 3) return refused(c);
    m.digitalOutputs = value;
    return accepted(c);
  }
  if (b == "EAM" || b == "EAL") {
    m.alarmMode = b == "EAM" ? 1 : 2;
    m.latchedAlarms = 0;
    return accepted(c);
  }
  if (b == "DA") {
    m.alarmMode = 0;
    m.latchedAlarms = 0;
    return accepted(c);
  }
  if (b == "CA") {
    m.latchedAlarms = 0;
    return accepted(c);
  }
  if (b == "CE") {
    m.eventCount = 0;
    return accepted(c);
  }
  if (b == "RE") return accepted(c, protocol::formatPattern(m.eventCount % 100000, "00000"));
  if (b.rfind("HI", 0) == 0) return setLimit(c, m.alarmHigh);
  if (b.rfind("LO", 0) == 0) return setLimit(c, m.alarmLow);
  if (b == "RH") return accepted(c, protocol::engineeringText(m.alarmHigh, m.typeCode));
  if (b == "RL") return accepted(c, protocol::engineeringText(m.alarmLow, m.typeCode));
  return std::nullopt;
}

Reply mappingCommand(ModuleState& m, const Command& c) {
  const std::string& b = c.body;
  if (b == "3") return accepted(c, m.sourceLow + m.sourceHigh);
  if (b == "5") return accepted(c, m.targetLow + m.targetHigh);
  if (b.size() > 1 && b[0] == '6') return setRange(m, c, m.sourceLow, m.sourceHigh);
  if (b.size() > 1 && b[0] == '7') return setRange(m, c, m.targetLow, m.targetHigh);
  if (b == "A0" || b == "A1") {
    m.mappingEnabled = b == "A1";
    return accepted(c);
  }
  return std::nullopt;
}

Reply setting(ModuleState& m, const Command& c) {
  const std::string& b = c.body;
  if (isMapping(m)) {
    if (auto reply = mappingCommand(m, c)) return reply;
  }
  if (b == "0" || b == "1") return calibrateInput(m, c);
  if (b == "3" && hasCjc(m)) return readCjc(m);
  if (!b.empty() && b[0] == '9' && hasCjc(m)) return setCjcOffset(m, c);
  if (b == "4") return readSyncData(m, c);
  return std::nullopt;
}

}  // namespace

int alarmCondition(const ModuleState& m, Moment now) {
  const double value = channelValue(m, 0, now);
  return (value < m.alarmLow ? 1 : 0) | (value > m.alarmHigh ? 2 : 0);
}

std::string multiFunctionReading(const ModuleState& m, Moment now) {
  const double value = channelValue(m, 0, now);
  if (isMapping(m) && m.mappingEnabled)
    return protocol::engineeringText(mapped(m, value), m.typeCode);
  return readingText(value, m.typeCode, dataFormatOf(m));
}

Reply handleMultiFunction(ModuleState& m, const Command& c, Moment now) {
  switch (c.lead) {
    case '#':
      return c.body.empty() ? dataReply(multiFunctionReading(m, now)) : refused(c);
    case '@':
      return alarmCommand(m, c, now);
    case '$':
      return setting(m, c);
    default:
      return std::nullopt;
  }
}

}  // namespace orvane::sim
