// Commands the analog input families share: calibration, the cold junction
// and synchronized sampling.
#pragma once

#include "families.h"

namespace orvane::sim {

int dataFormatOf(const ModuleState& m);
int channelsOf(const ModuleState& m);
bool hasCjc(const ModuleState& m);

// What "#**" keeps: all channels of an analog input module; the reading of a
// multi-function module.
std::string analogSyncSample(const ModuleState& m, Moment now);
std::string multiFunctionReading(const ModuleState& m, Moment now);
// Alarm outputs of a multi-function module at a moment: bit 0 low, bit 1 high.
int alarmCondition(const ModuleState& m, Moment now);

// "$AA0" span and "$AA1" offset calibration.
Reply calibrateInput(ModuleState& m, const Command& c);
// "$AA3": the cold-junction temperature, data from position 1.
Reply readCjc(const ModuleState& m);
// "$AA9+HHHH": the cold-junction offset in steps of 0.0153 degrees.
Reply setCjcOffset(ModuleState& m, const Command& c);
// "$AA4": the data of the last "#**", position 3 telling whether it is new.
Reply readSyncData(ModuleState& m, const Command& c);

}  // namespace orvane::sim
