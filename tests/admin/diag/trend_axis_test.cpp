// The trend plot's value axis: round 1-2-5 ticks around what the readings span.
#include "admin/diag/trend_axis.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

namespace orvane::admin {
namespace {

void expectAxis(const TrendAxis& axis, double low, double high, double step) {
  EXPECT_DOUBLE_EQ(axis.low, low);
  EXPECT_DOUBLE_EQ(axis.high, high);
  EXPECT_DOUBLE_EQ(axis.step, step);
}

double ticks(double low, double high, double step) { return std::round((high - low) / step) + 1; }

// Step = 1, 2 or 5 times a power of ten; returns the next smaller such step.
double smallerStep(double step) {
  double decade = std::pow(10.0, std::floor(std::log10(step) + 1e-9));
  double mantissa = step / decade;
  EXPECT_TRUE(std::fabs(mantissa - 1) < 1e-9 || std::fabs(mantissa - 2) < 1e-9 ||
              std::fabs(mantissa - 5) < 1e-9)
      << "step " << step;
  return std::fabs(mantissa - 5) < 1e-9 ? 2 * decade : mantissa > 1.5 ? decade : decade / 2;
}

bool wholeMultiple(double value, double step) {
  double n = value / step;
  return std::fabs(n - std::round(n)) < 1e-6;
}

TEST(NiceAxis, TypicalRangesEndOnRoundSteps) {
  expectAxis(niceAxis(0.13, 0.97), 0, 1, 0.2);
  expectAxis(niceAxis(-12.5, 15.32), -20, 20, 10);
  expectAxis(niceAxis(-0.97, -0.13), -1, 0, 0.2);
  expectAxis(niceAxis(-120, -80), -120, -80, 10);
  expectAxis(niceAxis(3.2, 17.9), 0, 20, 5);
  expectAxis(niceAxis(0, 10, 11), 0, 10, 1);
  expectAxis(niceAxis(0, 10, 3), 0, 10, 5);
}

TEST(NiceAxis, FewerThanThreeTicksMeansThree) {
  expectAxis(niceAxis(-0.3, 0.7, 2), -1, 1, 1);
  expectAxis(niceAxis(-0.3, 0.7, -5), -1, 1, 1);
}

TEST(NiceAxis, FlatRangeGetsASpanAroundItsValue) {
  expectAxis(niceAxis(0, 0), -1, 1, 0.5);
  expectAxis(niceAxis(5, 5), 4, 6, 0.5);
  TrendAxis axis = niceAxis(760, 760);
  EXPECT_LT(axis.low, 760);
  EXPECT_GT(axis.high, 760);
  EXPECT_LE(axis.high - axis.low, 400);
  axis = niceAxis(-0.004, -0.004);
  EXPECT_LT(axis.low, -0.004);
  EXPECT_GT(axis.high, -0.004);
  EXPECT_LE(axis.high - axis.low, 0.01);
}

TEST(NiceAxis, TinySpansKeepTheirDetail) {
  expectAxis(niceAxis(0, 1e-12), 0, 1e-12, 2e-13);
  TrendAxis axis = niceAxis(1.0000001, 1.0000004);
  EXPECT_DOUBLE_EQ(axis.step, 1e-7);
  EXPECT_LE(axis.low, 1.0000001);
  EXPECT_GE(axis.high, 1.0000004);
  EXPECT_LE(ticks(axis.low, axis.high, axis.step), 6);
}

TEST(NiceAxis, EmptyOrNonFiniteRangeGetsTheAxisOfZero) {
  double infinity = std::numeric_limits<double>::infinity();
  double nan = std::numeric_limits<double>::quiet_NaN();
  expectAxis(niceAxis(infinity, -infinity), -1, 1, 0.5);
  expectAxis(niceAxis(3, 2), -1, 1, 0.5);
  expectAxis(niceAxis(nan, 1), -1, 1, 0.5);
  expectAxis(niceAxis(0, infinity), -1, 1, 0.5);
}

TEST(NiceAxis, HugeReadingsStayFinite) {
  TrendAxis axis = niceAxis(-1e308, 1e308);
  EXPECT_TRUE(std::isfinite(axis.low) && std::isfinite(axis.high) && axis.step > 0);
  EXPECT_LT(axis.low, axis.high);
  axis = niceAxis(1e305, 1e305);
  EXPECT_TRUE(std::isfinite(axis.low) && std::isfinite(axis.high) && axis.step > 0);
  EXPECT_LT(axis.low, axis.high);
}

TEST(NiceAxis, EndsShowNoNegativeZero) {
  TrendAxis axis = niceAxis(-0.97, -0.13);
  EXPECT_FALSE(std::signbit(axis.high));
}

// For any range: it is covered, the ends are whole steps, the ticks fit, and
// the next smaller 1-2-5 step would need too many ticks.
TEST(NiceAxis, AnyRangeGetsTheTightestFittingAxis) {
  std::mt19937 random(20240613);
  std::uniform_real_distribution<double> exponent(-6, 6);
  std::uniform_real_distribution<double> unit(-1, 1);
  std::uniform_int_distribution<int> tickCount(3, 12);
  for (int i = 0; i < 5000; ++i) {
    double scale = std::pow(10.0, exponent(random));
    double a = unit(random) * scale;
    double b = a + std::fabs(unit(random)) * scale * std::pow(10.0, -3 * std::fabs(unit(random)));
    if (b - a <= 1e-8 * std::fabs(a)) continue;  // flat: widened, not tight
    int maxTicks = tickCount(random);
    TrendAxis axis = niceAxis(a, b, maxTicks);
    SCOPED_TRACE(::testing::Message() << a << ".." << b << " in " << maxTicks << " ticks: "
                                      << axis.low << ".." << axis.high << " by " << axis.step);
    ASSERT_LE(axis.low, a);
    ASSERT_GE(axis.high, b);
    ASSERT_TRUE(wholeMultiple(axis.low, axis.step));
    ASSERT_TRUE(wholeMultiple(axis.high, axis.step));
    ASSERT_LE(ticks(axis.low, axis.high, axis.step), maxTicks);
    double smaller = smallerStep(axis.step);
    double needed = std::ceil(b / smaller - 1e-9) - std::floor(a / smaller + 1e-9) + 1;
    ASSERT_GT(needed, maxTicks);
  }
}

TEST(AxisDecimals, ShowEveryTickApart) {
  EXPECT_EQ(axisDecimals(0.2), 1);
  EXPECT_EQ(axisDecimals(0.5), 1);
  EXPECT_EQ(axisDecimals(1), 0);
  EXPECT_EQ(axisDecimals(50), 0);
  EXPECT_EQ(axisDecimals(0.05), 2);
  EXPECT_EQ(axisDecimals(0.1), 1);
  EXPECT_EQ(axisDecimals(1e-7), 7);
  EXPECT_EQ(axisDecimals(0), 0);
}

}  // namespace
}  // namespace orvane::admin
