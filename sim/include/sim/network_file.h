// Network files: a JSON description of a simulated module line (the format is
// documented in docs/network-files.md; examples in sim/networks/).
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

#include "sim/module_state.h"

namespace orvane::sim {

// The message names the file, the place in it and the problem, for example
// "line.json: modules[2].baud: 14400 is not a module baud rate".
class NetworkFileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

std::vector<ModuleState> loadNetworkFile(const std::string& path);

// The same from text; the name stands for the file in messages.
std::vector<ModuleState> parseNetwork(const std::string& text, const std::string& name);

}  // namespace orvane::sim
