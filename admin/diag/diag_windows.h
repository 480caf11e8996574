// The diagnostic windows' factories for the main window's table.
#pragma once

namespace orvane::admin {

class WindowFactories;

// Registers the diagnostic window of every family and the monitor.
void registerDiagWindows(WindowFactories& windows);

}  // namespace orvane::admin
