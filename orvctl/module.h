// What orvctl learns about one module before it works with it: its model and
// family, firmware and configuration, and the link settings it answers to.
#pragma once

#include <optional>
#include <string>

#include "orvio.h"
#include "output.h"
#include "port.h"

namespace orvctl {

struct ModuleInfo {
  int address = 0;  // the address it answers at (00 in the initialization state)
  OV_ModuleConfig config{};
  std::string model;  // the name it reports ("7213D")
  unsigned family = OV_FAMILY_UNKNOWN;
  unsigned channels = 0;  // analog input channels
  std::optional<std::string> firmware;
  std::string range, unit;  // of its type code
  std::optional<OV_ConverterConfig> converter;

  bool analog() const;
  // The rate its configuration names (for a converter, its network side).
  long configuredBaudRate() const;
  // Answering at 00 with another address stored.
  bool initState() const { return address == 0 && config.address != 0; }
};

// Reads the module's configuration, model and firmware, and sets the port's
// checksum flag to the module's. A Failure when it does not answer.
ModuleInfo identify(Port& port, int address);

// "digital-io", "multi-function", "analog-output", "analog-input",
// "counter", "converter", "unknown".
const char* familyName(unsigned family);

// The data formats as orvctl names them: "engineering", "percent", "twos",
// "ohms"; nullptr outside 0..3.
const char* formatName(unsigned dataFormat);
// The format of a name or of its number 0..3.
std::optional<unsigned> formatOfName(const std::string& name);

// The model, firmware and configuration, as "info" shows them.
Record infoRecord(const ModuleInfo& module);

}  // namespace orvctl
