#include "digital_common.h"

namespace orvane::sim {

std::uint32_t reportedInputs(const ModuleState& m, Moment now) {
  const std::uint32_t wired = wiredInputs(m, now);
  return (m.polarity & 1) != 0 ? ~wired : wired;
}

Reply polarityCommand(ModuleState& m, const Command& c) {
  const std::string& b = c.body;
  if (b == "CR")
    return accepted(c, std::to_string(m.polarity >> 1 & 1) + std::to_string(m.polarity & 1));
  if (hasSuffix(b, "CP", 2, "01")) {
    m.polarity = (b[2] - '0') * 2 + (b[3] - '0');
    return accepted(c);
  }
  return std::nullopt;
}

std::string digitalSyncReply(ModuleState& m) {
  const std::string fresh = m.syncFresh ? "1" : "0";
  m.syncFresh = false;
  return "!" + fresh + m.syncSample;
}

}  // namespace orvane::sim
