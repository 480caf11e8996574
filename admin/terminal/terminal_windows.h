// The terminal's window factory for the main window's table.
#pragma once

namespace orvane::admin {

class WindowFactories;

// Registers "TerminalForm".
void registerTerminalWindows(WindowFactories& windows);

}  // namespace orvane::admin
