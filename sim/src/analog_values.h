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

// The value of channel n at a moment as the module measures it, in
// engineering units: its signal (degrees for RTD inputs) through the
// converter's error, and for thermocouples the cold junction's error.
double channelValue(const ModuleState& m, int channel, Moment now);

// The cold-junction reading: the sensor plus its calibration offset.
double cjcReading(const ModuleState& m);

// "$AA1" with the range's zero reference on channel 0, and "$AA0" with its
// span reference: afterwards the converter reads that reference right. The
// span step keeps the reading at the zero reference where it was, so offset
// first, then span, leaves both points right.
void calibrateOffset(ModuleState& m);
void calibrateSpan(ModuleState& m);

}  // namespace orvane::sim
