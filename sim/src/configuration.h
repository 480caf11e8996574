// The configuration command "%AANNTTCCFF" and the reply to "$AA2".
#pragma once

#include <string>

#include "command.h"
#include "sim/module_state.h"

namespace orvane::sim {

// TTCCFF (or the converter's TT, two baud digits and status word) as stored,
// including settings waiting for the end of the initialization state.
std::string configurationData(const ModuleState& m);

// The type codes a model takes: the catalogue's for the analog families,
// 0x50 (counter) and 0x51 (frequency) for 7586, 0x40 for the others.
bool typeCodeAllowed(const std::string& model, int typeCode);
// The bits of the format byte a model takes besides the checksum bit: the
// data formats the catalogue gives the analog families, the gate time (bit 2)
// of 7586, none for the digital modules. (A converter has a status word.)
bool formatAllowed(const std::string& model, int format);

// Checks and applies "%AANNTTCCFF"; the reply is "!NN" or "?AA".
Reply configure(ModuleState& m, const Command& c);

// The new address a configuration command asks for, if it is one.
std::optional<int> requestedAddress(const Command& c);

}  // namespace orvane::sim
