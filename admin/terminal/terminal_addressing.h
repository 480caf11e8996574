// Which line settings a command typed or replayed in the terminal goes out
// with. The terminal talks to any address, listed or not, so it reads the
// address from the command itself instead of from a ModuleList entry.
#pragma once

#include <optional>
#include <string_view>

#include "admin/core/command_link.h"

namespace orvane::admin {

class AdminContext;

// Typed commands never put a checksum on address 00 (a module in its
// initialization state); batch lines and repeated commands follow the
// check box for every address.
enum class AddressingRule { Typed, Batch };

// The address in the 2nd and 3rd characters of the command (blanks at both
// ends ignored, as the link removes them), or nullopt when those are not two
// hexadecimal digits ("#**", a one-character command).
std::optional<int> commandAddress(std::string_view command);

// Checksum flag and BaudCode for a command: a listed address goes at the
// BaudCode of the first ModuleList entry with that address, every other
// command at 9600 bps.
LinkParameters terminalLink(const AdminContext& context, std::string_view command,
                            bool checksumEnable, AddressingRule rule);

}  // namespace orvane::admin
