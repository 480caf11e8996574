// One reading of a module, chosen by its family: the analog channels of an
// analog input module, the value and digital lines of a multi-function
// module, the output read back from an analog output module, the digital
// inputs and outputs of a digital module, the two counters or frequencies of
// a counter module.
#pragma once

#include <optional>

#include "module.h"
#include "output.h"
#include "port.h"

namespace orvctl {

// A UsageError when the module has nothing to read or no such channel.
void checkReadable(const ModuleInfo& module, std::optional<int> channel);

// The values, named "ch0".."ch7", "di", "do", "out", "counter0",
// "frequency1"; a disabled channel is null. A Failure when the module does
// not answer.
Record readModule(Port& port, const ModuleInfo& module, std::optional<int> channel);

// A reading as the module writes it, as a number in the unit of its data
// format: the range's unit, "%" of the full scale, or counts of a two's
// complement (signed when it has four digits). The text itself when it is
// no number.
Field analogField(const std::string& name, const std::string& reading, const ModuleInfo& module);

}  // namespace orvctl
