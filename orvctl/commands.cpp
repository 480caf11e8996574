#include "commands.h"

#include <utility>

namespace orvctl {

Port& Context::port() {
  if (!port_) port_ = std::make_unique<Port>(options);
  return *port_;
}

CommandFunction commandNamed(const std::string& name) {
  static const std::pair<const char*, CommandFunction> kCommands[] = {
      {"scan", runScan},     {"info", runInfo},   {"read", runRead}, {"write", runWrite},
      {"config", runConfig}, {"watch", runWatch}, {"send", runSend},
  };
  for (const auto& [commandName, function] : kCommands)
    if (name == commandName) return function;
  return nullptr;
}

std::optional<int> channelArgument(const std::vector<std::string>& positionals, std::size_t at) {
  if (positionals.size() <= at) return std::nullopt;
  return static_cast<int>(integerArgument(positionals[at], 0, 7, "channel"));
}

}  // namespace orvctl
