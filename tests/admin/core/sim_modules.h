// Simulated modules and faults for the orvadmin tests.
#pragma once

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

}  // namespace orvane::admin::testing
