// The "faults" list of a module in a network file.
#pragma once

#include <vector>

#include "object_reader.h"
#include "sim/network_file.h"

namespace orvane::sim {

std::vector<FileFault> readFaults(const ObjectReader& module, int address);

}  // namespace orvane::sim
