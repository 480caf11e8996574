// Pieces the digital families share: polarity, the sampled inputs.
#pragma once

#include "families.h"

namespace orvane::sim {

// The inputs as the module reports them: toggling and input polarity applied.
std::uint32_t reportedInputs(const ModuleState& m, Moment now);

// "~AACPoi" and "~AACR": output and input polarity, one digit each.
Reply polarityCommand(ModuleState& m, const Command& c);

// What "#**" keeps of a module with digital inputs.
std::string digitalSyncSample(const ModuleState& m, Moment now);

}  // namespace orvane::sim
