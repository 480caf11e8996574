// The rules of the line: which module a frame is for, the checksum on both
// ways, the initialization state, the faults a test injects into a reply, and
// the host watchdog.
#pragma once

#include <optional>
#include <string>

#include "command.h"
#include "families.h"
#include "pty_transport.h"
#include "sim/module_state.h"
#include "sim/network.h"

namespace orvane::sim {

// The module hears the line: its own baud rate (9600 in the initialization
// state), 8 data bits, no parity.
bool hearsLine(const ModuleState& m, const LineSettings& line);

// The command when the frame (without CR) is addressed to the module at the
// line's settings and carries the checksum the module expects.
std::optional<Command> addressedTo(const ModuleState& m, const std::string& text,
                                   const LineSettings& line);

// A broadcast ("#**" or "~**") the module hears: at its line settings, with
// the checksum digits when it uses a checksum.
bool hearsBroadcast(const ModuleState& m, const std::string& text, const LineSettings& line);
bool isBroadcastFrame(const std::string& text);

// Whether the module's reply to this frame carries a checksum.
bool answersWithChecksum(const ModuleState& m);

// The bytes on the wire: checksum when in use, CR, and the injected faults.
std::string frameReply(const std::string& reply, bool withChecksum, const FaultSpec& fault);

// Into the initialization state, or out of it applying the stored settings.
void setInitialization(ModuleState& m, bool on);

// Trips the watchdog when the host has been silent longer than its time-out,
// and drives the outputs to their safe value.
void checkWatchdog(ModuleState& m, Moment lastHostOk, Moment now);

}  // namespace orvane::sim
