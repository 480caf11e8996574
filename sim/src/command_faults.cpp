#include "command_faults.h"

#include <algorithm>

namespace orvane::sim {

bool commandMatches(std::string_view pattern, const Command& command) {
  const std::string text = command.lead + command.address + command.body;
  std::string expected(pattern);
  if (expected.size() >= 3 && expected.compare(1, 2, "AA") == 0)
    expected.replace(1, 2, command.address);
  if (!expected.empty() && expected.back() == '*') {
    expected.pop_back();
    return text.starts_with(expected);
  }
  return text == expected;
}

const FaultSpec& faultFor(const std::vector<CommandFault>& commandFaults,
                          const FaultSpec& moduleWide, const Command& command) {
  const auto it =
      std::find_if(commandFaults.rbegin(), commandFaults.rend(),
                   [&](const CommandFault& f) { return commandMatches(f.pattern, command); });
  return it == commandFaults.rend() ? moduleWide : it->fault;
}

void setCommandFault(std::vector<CommandFault>& commandFaults, CommandFault fault) {
  std::erase_if(commandFaults, [&](const CommandFault& f) { return f.pattern == fault.pattern; });
  commandFaults.push_back(std::move(fault));
}

}  // namespace orvane::sim
