// The value axis of the trend plot: round ticks around whatever the readings span.
#pragma once

namespace orvane::admin {

// From low to high in steps of 1, 2 or 5 times a power of ten; low and high are
// whole multiples of step.
struct TrendAxis {
  double low;
  double high;
  double step;

  bool operator==(const TrendAxis&) const = default;
};

// The tightest axis covering [min, max] with at most maxTicks ticks (both ends
// included). Fewer than 3 counts as 3: a range around zero needs a tick at
// each end and one at zero. A flat range is widened around its value
// (0 gives -1..1); an empty range (min > max) or a non-finite bound gives the
// axis of a flat 0.
TrendAxis niceAxis(double min, double max, int maxTicks = 6);

// The number of decimals that show every tick of a step of this size apart.
int axisDecimals(double step);

}  // namespace orvane::admin
