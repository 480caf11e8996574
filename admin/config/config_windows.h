// The configuration dialogs' factories for the main window's table.
#pragma once

namespace orvane::admin {

class WindowFactories;

// Registers the configuration dialog of every family.
void registerConfigWindows(WindowFactories& windows);

}  // namespace orvane::admin
