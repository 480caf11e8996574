// Simulated modules and faults for the orvadmin tests.
#pragma once

#include "admin/core/admin_context.h"
#include "sim/network.h"

namespace orvane::admin::testing {

inline sim::ModuleState simModule(const std::string& model, int address, int baudCode = 3,
                                  bool checksum = false) {
  auto state = sim::makeModule(model, address);
  state.baudCode = baudCode;
  state.checksum = checksum;
  return state;
}

inline sim::FaultSpec fault(bool sim::FaultSpec::*flag) {
  sim::FaultSpec spec;
  spec.*flag = true;
  return spec;
}

// Reply time-outs far apart (the fixtures have them equal), so that a test
// sees which one a command waits with: a lateReply() misses the short one by
// far and makes the long one with room to spare on a loaded machine.
inline void useUnequalTimeouts(AdminContext& context) {
  context.ReplyTimeout = 150;
  context.LongReplyTimeout = 1500;
}
inline sim::FaultSpec lateReply() { return {.delayMs = 300}; }

}  // namespace orvane::admin::testing
