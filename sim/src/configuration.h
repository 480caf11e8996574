// The configuration command "%AANNTTCCFF" and the reply to "$AA2".
#pragma once

#include <string>

#include "command.h"
#include "sim/module_state.h"

namespace orvane::sim {

// TTCCFF (or the converter's TT, two baud digits and status word) as stored,
// including settings waiting for the end of the initialization state.
std::string configurationData(const ModuleState& m);

// Checks and applies "%AANNTTCCFF"; the reply is "!NN" or "?AA".
Reply configure(ModuleState& m, const Command& c);

// The new address a configuration command asks for, if it is one.
std::optional<int> requestedAddress(const Command& c);

}  // namespace orvane::sim
