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

// Resistance of an RTD at a temperature (Pt 0.00385, Ni 0.00618 per degree).
double ohmsOf(double celsius, int typeCode) {
  if (typeCode == 0x2A) return celsius;
  const double alpha = typeCode >= 0x28 ? 0.00618 : 0.00385;
  return 100.0 * (1.0 + alpha * celsius);
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
  return signalValue(m.inputs[static_cast<std::size_t>(channel)], now.t);
}

double cjcReading(const ModuleState& m) { return m.cjcTemperature + m.cjcOffset; }

}  // namespace orvane::sim
