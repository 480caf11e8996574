// The calibration windows' factories for the main window's table.
#pragma once

namespace orvane::admin {

class WindowFactories;

// Registers AdCalibForm and DaCalibForm.
void registerCalibWindows(WindowFactories& windows);

}  // namespace orvane::admin
