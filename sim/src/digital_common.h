// Pieces the digital families share: polarity, the sampled inputs.
#pragma once

#include "families.h"

namespace orvane::sim {

// The inputs as the module reports them: toggling and input polarity applied.
std::uint32_t reportedInputs(const ModuleState& m, Moment now);

// The input lines a model has, as bits of ModuleState::digitalInputs: on
// 7469 the ports A to C and the isolated inputs, on 7213, 7215 and 7228 the
// input of the event counter; 0 for a model without inputs.
std::uint32_t inputLineMask(const std::string& model);

// "~AACPoi" and "~AACR": output and input polarity, one digit each.
Reply polarityCommand(ModuleState& m, const Command& c);

// The data of a digital "$AA6" (7347: "$AA8") without its lead: what "#**" keeps.
std::string digitalData(const ModuleState& m, Moment now);
std::string port7469Data(const ModuleState& m, Moment now);
std::string quadOutputSyncSample(const ModuleState& m, Moment now);

// "!", whether the sample is new, then the sample; marks it as read.
std::string digitalSyncReply(ModuleState& m);

}  // namespace orvane::sim
