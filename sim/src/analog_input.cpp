// Analog input modules 7226, 7231, 7234: channel reads, the channel-enable
// mask, open-input status, cold junction, calibration.
#include "analog_common.h"
#include "analog_values.h"
#include "protocol/catalogue.h"
#include "protocol/numbers.h"

namespace orvane::sim {
namespace {

std::string channelReading(const ModuleState& m, int channel, Moment now) {
  return readingText(channelValue(m, channel, now), m.typeCode, dataFormatOf(m));
}

std::string allReadings(const ModuleState& m, Moment now) {
  std::string text;
  for (int n = 0; n < channelsOf(m); ++n) text += channelReading(m, n, now);
  return text;
}

Reply readData(const ModuleState& m, const Command& c, Moment now) {
  const std::string& b = c.body;
  if (b.empty() || b == "A") return dataReply(allReadings(m, now));
  if (b.size() == 1 && b[0] >= '0' && b[0] <= '7') {
    const int n = b[0] - '0';
    if (n < channelsOf(m) && (m.channelMask >> n & 1) != 0)
      return dataReply(channelReading(m, n, now));
  }
  return refused(c);
}

Reply setting(ModuleState& m, const Command& c) {
  const std::string& b = c.body;
  if (b.size() == 3 && b[0] == '5' && allHex(b.substr(1))) {
    m.channelMask = static_cast<int>(protocol::hexValue(b.substr(1))) & ((1 << channelsOf(m)) - 1);
    return accepted(c);
  }
  if (b == "6") return accepted(c, protocol::hex2(static_cast<std::uint32_t>(m.channelMask)));
  if (b == "0" || b == "1") return calibrateInput(m, c);
  if (b == "3" && hasCjc(m)) return readCjc(m);
  if (!b.empty() && b[0] == '9' && hasCjc(m)) return setCjcOffset(m, c);
  if (b == "BA" && protocol::familyKey(m.model) == "234")
    return accepted(c, protocol::hex2(static_cast<std::uint32_t>(m.openInputs)));
  if (b == "4" && protocol::familyKey(m.model) == "226") return readSyncData(m, c);
  return std::nullopt;
}

}  // namespace

Reply handleAnalogInput(ModuleState& m, const Command& c, Moment now) {
  if (c.lead == '#') return readData(m, c, now);
  if (c.lead == '$') return setting(m, c);
  return std::nullopt;
}

std::string analogSyncSample(const ModuleState& m, Moment now) { return allReadings(m, now); }

}  // namespace orvane::sim
