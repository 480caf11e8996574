// Faults aimed at one command of a module, chosen per frame.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "command.h"
#include "sim/network.h"

namespace orvane::sim {

struct CommandFault {
  std::string pattern;  // "$AA3", "#AA*", ...
  FaultSpec fault;
};

// "AA" after the lead stands for the address characters of the frame, a
// trailing "*" for any rest; everything else is literal.
bool commandMatches(std::string_view pattern, const Command& command);

// The fault of the command fault set last whose pattern matches, or the
// module-wide one.
const FaultSpec& faultFor(const std::vector<CommandFault>& commandFaults,
                          const FaultSpec& moduleWide, const Command& command);

// Adds the command fault, or replaces the fault of the same pattern (which
// then counts as set last).
void setCommandFault(std::vector<CommandFault>& commandFaults, CommandFault fault);

}  // namespace orvane::sim
