// The command handlers of the module families. Each takes a frame already
// addressed to the module (checksum removed) and returns its reply, or
// nullopt when the command is not one of its family's.
#pragma once

#include "command.h"
#include "sim/module_state.h"

namespace orvane::sim {

// Seconds since the network started: the clock of the live values.
struct Moment {
  double t = 0.0;
};

Reply handleCommon(ModuleState& m, const Command& c, Moment now);
Reply handleAnalogInput(ModuleState& m, const Command& c, Moment now);
Reply handleMultiFunction(ModuleState& m, const Command& c, Moment now);
Reply handleAnalogOutput(ModuleState& m, const Command& c, Moment now);
Reply handleDigitalIo(ModuleState& m, const Command& c, Moment now);
Reply handlePort7469(ModuleState& m, const Command& c, Moment now);
Reply handleCounter(ModuleState& m, const Command& c, Moment now);
Reply handleConverter(ModuleState& m, const Command& c, Moment now);

// What an analog output takes and drives, in engineering units: 7342 by its
// type code (0 to 20 mA, 4 to 20 mA, 0 to 10 V), 7347 -10 to 10 V.
struct OutputRange {
  double low = 0.0;
  double high = 0.0;
};
OutputRange outputRange(const ModuleState& m);

// A character a converter takes as its data-pass delimiter.
bool delimiterAllowed(char c);

// The whole answer of a module: its family first, then the commands every
// module knows, and "?" for anything else.
Reply respond(ModuleState& m, const Command& c, Moment now);

// Synchronized sampling ("#**"): the module keeps its data for "$AA4"/"$AA9".
void takeSyncSample(ModuleState& m, Moment now);

// Moves counters, event counters and latched alarms on from one moment to the next.
void advance(ModuleState& m, Moment from, Moment to);

// The digital inputs as the module reads them at a moment (toggling applied,
// polarity not).
std::uint32_t wiredInputs(const ModuleState& m, Moment now);

}  // namespace orvane::sim
