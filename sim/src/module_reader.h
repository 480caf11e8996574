// One module of a network file: its settings over the model's catalogue
// defaults. A setting the model does not have is refused, and every value is
// checked against what the module takes and what its replies can show, so
// that a file never makes a module answer what no module would.
#pragma once

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "object_reader.h"
#include "sim/network_file.h"

namespace orvane::sim {

// The module at modules[n] (the place); its faults are added to `faults`.
ModuleState readModule(const nlohmann::json& object, const std::string& place,
                       std::vector<FileFault>& faults);

// The parts of readModule for the analog families: inputs, their errors, the
// cold junction, alarms and mapping; outputs and their calibration.
void readAnalogInputs(const ObjectReader& r, ModuleState& m);
void readAnalogOutputs(const ObjectReader& r, ModuleState& m);

// A period in seconds: a signal's, the toggling inputs'.
double readPeriod(const ObjectReader& r, const std::string& key);

// A bit mask of lines or channels that the model has (`have`).
std::uint32_t readLines(const ObjectReader& r, const std::string& key, std::uint32_t have);

}  // namespace orvane::sim
