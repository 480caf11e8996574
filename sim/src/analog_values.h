// Analog readings: the value of a signal at a moment, and its text in a data
// format as the analog input modules write it.
#pragma once

#include <string>

#include "families.h"
#include "sim/module_state.h"

namespace orvane::sim {

double signalValue(const Signal& s, double t);

// A reading in the module's data format: engineering units ("+01.250"),
// percent of full scale ("+012.50"), two's complement ("0FFF") or ohms.
std::string readingText(double value, int typeCode, int dataFormat);

// The input value of channel n at a moment, in engineering units (ohms
// already turned into degrees for RTD inputs is the signal itself).
double channelValue(const ModuleState& m, int channel, Moment now);

// The cold-junction reading: the sensor plus its calibration offset.
double cjcReading(const ModuleState& m);

}  // namespace orvane::sim
