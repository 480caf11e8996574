#include "analog_values.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <random>

#include "protocol/catalogue.h"
#include "protocol/numbers.h"

namespace orvane::sim {
namespace {

constexpr double kPi = 3.14159265358979323846;

double noise() {
  thread_local std::minstd_rand generator{12345};
  return std::uniform_real_distribution<double>(-1.0, 1.0)(generator);
}

std::string signedPattern(double value, const char* pattern) {
  return (value < 0 ? "-" : "+") + protocol::formatPattern(std::fabs(value), pattern);
}

bool isRtd(int typeCode) { return typeCode >= 0x20 && typeCode <= 0x2A; }
bool isThermocouple(int typeCode) { return typeCode >= 0x0E && typeCode <= 0x16; }

double alphaOf(int typeCode) { return typeCode >= 0x28 ? 0.00618 : 0.00385; }

// Resistance of an RTD at a temperature (Pt 0.00385, Ni 0.00618 per degree);
// the copper range 0x2A is read in ohms.
double ohmsOf(double celsius, int typeCode) {
  if (typeCode == 0x2A) return celsius;
  return 100.0 * (1.0 + alphaOf(typeCode) * celsius);
}

double celsiusOf(double ohms, int typeCode) {
  if (typeCode == 0x2A) return ohms;
  return (ohms / 100.0 - 1.0) / alphaOf(typeCode);
}

double converted(const ModuleState& m, double x) {
  return x * (1.0 + m.inputGainError) + m.inputOffsetError;
}

// The references a user applies for offset and span calibration, in the
// units of the converter's error: resistances for the RTD ranges; 0 and the
// full scale for the others (the thermocouple ranges taken in degrees).
struct References {
  double zero = 0.0;
  double span = 0.0;
};

References referencesOf(int typeCode) {
  if (typeCode == 0x2A) return {0.0, 60.0};
  if (typeCode == 0x23 || typeCode == 0x27 || typeCode == 0x28) return {50.0, 350.0};
  if (isRtd(typeCode)) return {50.0, 200.0};
  return {0.0, protocol::fullScale(typeCode)};
}

}  // namespace

double signalValue(const Signal& s, double t) {
  const double period = s.periodS > 0 ? s.periodS : 1.0;
  switch (s.shape) {
    case Signal::Shape::Constant:
      return s.value;
    case Signal::Shape::Ramp: {
      const double phase = t / period - std::floor(t / period);
      return s.value - s.amplitude + 2.0 * s.amplitude * phase;
    }
    case Signal::Shape::Sine:
      return s.value + s.amplitude * std::sin(2.0 * kPi * t / period);
    case Signal::Shape::Noise:
      return s.value + s.amplitude * noise();
  }
  return s.value;
}

std::string readingText(double value, int typeCode, int dataFormat) {
  const double fullScale = protocol::fullScale(typeCode);
  if (fullScale > 0) value = std::clamp(value, -fullScale, fullScale);
  switch (dataFormat) {
    case 1:
      return signedPattern(fullScale > 0 ? value / fullScale * 100.0 : 0.0, "000.00");
    case 2: {
      const long counts = fullScale > 0 ? std::lround(value / fullScale * 32767.0) : 0;
      return protocol::hex2(static_cast<std::uint16_t>(counts), 4);
    }
    case 3:
      return signedPattern(ohmsOf(value, typeCode), "000.00");
    default:
      return protocol::engineeringText(value, typeCode);
  }
}

double channelValue(const ModuleState& m, int channel, Moment now) {
  const double truth = signalValue(m.inputs[static_cast<std::size_t>(channel)], now.t);
  if (isRtd(m.typeCode)) return celsiusOf(converted(m, ohmsOf(truth, m.typeCode)), m.typeCode);
  const double value = converted(m, truth);
  // The module adds the cold junction as it reads it to the thermocouple's
  // difference to the terminals.
  return isThermocouple(m.typeCode) ? value + m.cjcSensorError + m.cjcOffset : value;
}

double cjcReading(const ModuleState& m) { return m.cjcTemperature + m.cjcOffset; }

void calibrateOffset(ModuleState& m) {
  const double zero = referencesOf(m.typeCode).zero;
  m.inputOffsetError -= converted(m, zero) - zero;
}

void calibrateSpan(ModuleState& m) {
  const References r = referencesOf(m.typeCode);
  if (r.span <= r.zero) return;  // a range without a span has nothing to calibrate
  const double atZero = converted(m, r.zero);
  const double gain = (r.span - atZero) / (r.span - r.zero);
  m.inputGainError = gain - 1.0;
  m.inputOffsetError = atZero - r.zero * gain;
}

}  // namespace orvane::sim
