#include "admin/diag/trend_axis.h"

#include <algorithm>
#include <cmath>

namespace orvane::admin {

namespace {

// Readings beyond these magnitudes are clamped, so that widening a flat range
// and the powers of ten of its step stay finite and non-zero.
constexpr double kHuge = 1e300;
constexpr double kTiny = 1e-200;
// A span this small against its values carries no visible detail: it is flat.
constexpr double kFlatRelative = 1e-9;
constexpr int kMostTicks = 1000;

// One rung of the 1-2-5 ladder: mantissa (1, 2 or 5) times ten to the exponent.
struct Rung {
  int mantissa;
  int exponent;

  // Dividing by a power of ten keeps 0.2 as close to 0.2 as a double gets.
  double value() const {
    return exponent >= 0 ? mantissa * std::pow(10.0, exponent)
                         : mantissa / std::pow(10.0, -exponent);
  }

  Rung next() const {
    if (mantissa == 1) return {2, exponent};
    if (mantissa == 2) return {5, exponent};
    return {1, exponent + 1};
  }
};

// The bias lets a rung that rounding put a hair below raw count: ticks that
// then do not fit move on to the next rung anyway.
Rung firstRungAtLeast(double raw) {
  Rung rung{1, static_cast<int>(std::floor(std::log10(raw)))};
  while (rung.value() < raw * (1 - 1e-9)) rung = rung.next();
  return rung;
}

double clampReading(double value) {
  if (std::fabs(value) < kTiny) return 0.0;
  return std::clamp(value, -kHuge, kHuge);
}

// The largest multiple of step not above value (or, with up, the smallest not
// below it), checked against the products actually used as the axis ends.
double wholeSteps(double value, double step, bool up) {
  double n = up ? std::ceil(value / step) : std::floor(value / step);
  if (up) {
    while (n * step < value) ++n;
    while ((n - 1) * step >= value) --n;
  } else {
    while (n * step > value) --n;
    while ((n + 1) * step <= value) ++n;
  }
  return n;
}

}  // namespace

TrendAxis niceAxis(double min, double max, int maxTicks) {
  maxTicks = std::clamp(maxTicks, 3, kMostTicks);
  if (!std::isfinite(min) || !std::isfinite(max) || min > max) min = max = 0.0;
  min = clampReading(min);
  max = clampReading(max);
  double magnitude = std::max(std::fabs(min), std::fabs(max));
  if (max - min <= kFlatRelative * magnitude) {
    double middle = (min + max) / 2;
    double pad = middle == 0.0 ? 1.0 : std::pow(10.0, std::floor(std::log10(std::fabs(middle))));
    min = middle - pad;
    max = middle + pad;
  }
  Rung rung = firstRungAtLeast((max - min) / (maxTicks - 1));
  for (;;) {
    double step = rung.value();
    double low = wholeSteps(min, step, false);
    double high = wholeSteps(max, step, true);
    if (high - low + 1 <= maxTicks) return {low * step + 0.0, high * step + 0.0, step};
    rung = rung.next();
  }
}

int axisDecimals(double step) {
  if (!(step > 0.0) || !std::isfinite(step)) return 0;
  // The small bias keeps log10(1e-7) = -7.000000000000001 from asking for 8.
  return std::max(0, -static_cast<int>(std::floor(std::log10(step) + 1e-9)));
}

}  // namespace orvane::admin
