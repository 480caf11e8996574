#include "analog_common.h"

#include <cmath>

#include "analog_values.h"
#include "protocol/catalogue.h"
#include "protocol/numbers.h"

namespace orvane::sim {

namespace {
constexpr double kCjcStep = 0.0153;
}

int dataFormatOf(const ModuleState& m) { return m.format & 0x03; }

int channelsOf(const ModuleState& m) { return protocol::channelCount(m.model); }

bool hasCjc(const ModuleState& m) {
  const std::string key = protocol::familyKey(m.model);
  return key == "234" || key == "213";
}

Reply calibrateInput(ModuleState& m, const Command& c) {
  // The user applied the reference to channel 0 as the step asked.
  if (c.body == "1")
    calibrateOffset(m);
  else
    calibrateSpan(m);
  ++m.calibrations["$" + c.body];
  return accepted(c);
}

Reply readCjc(const ModuleState& m) {
  const double t = cjcReading(m);
  return dataReply((t < 0 ? "-" : "+") + protocol::formatPattern(std::fabs(t), "000.00"));
}

Reply setCjcOffset(ModuleState& m, const Command& c) {
  const std::string& b = c.body;
  if (b.size() != 6 || (b[1] != '+' && b[1] != '-') || !allHex(b.substr(2))) return refused(c);
  const double steps = protocol::hexValue(b.substr(2));
  m.cjcOffset = (b[1] == '-' ? -steps : steps) * kCjcStep;
  ++m.calibrations["$9"];
  return accepted(c);
}

Reply readSyncData(ModuleState& m, const Command& c) {
  const std::string fresh = m.syncFresh ? "1" : "0";
  m.syncFresh = false;
  return accepted(c, fresh + m.syncSample);
}

}  // namespace orvane::sim
