// Network files: a JSON description of a simulated module line (the format is
// documented in docs/network-files.md; examples in sim/networks/).
#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "sim/module_state.h"
#include "sim/network.h"

namespace orvane::sim {

// The message names the file, the place in it and the problem, for example
// "line.json: modules[2].baud: 14400 is not a module baud rate".
class NetworkFileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A fault a network file puts on a module: on all its replies, or on those
// to one command (a pattern as Network::setFault takes it).
struct FileFault {
  int address = 0;
  std::optional<std::string> command;
  FaultSpec fault;
};

// Everything a network file describes.
struct NetworkSetup {
  std::vector<ModuleState> modules;
  std::vector<FileFault> faults;  // in the order of the file
};

// These throw nothing but NetworkFileError, whatever the file holds.
NetworkSetup loadNetworkSetup(const std::string& path);
// The same from text; the name stands for the file in messages.
NetworkSetup parseNetworkSetup(const std::string& text, const std::string& name);

// The modules alone.
std::vector<ModuleState> loadNetworkFile(const std::string& path);
std::vector<ModuleState> parseNetwork(const std::string& text, const std::string& name);

// Sets the faults on the network's modules, a later one replacing an earlier
// one of the same module and command.
void applyFaults(Network& network, const std::vector<FileFault>& faults);

}  // namespace orvane::sim
