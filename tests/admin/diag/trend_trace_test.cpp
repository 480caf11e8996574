// The sample ring of one trend trace.
#include "admin/diag/trend_trace.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace orvane::admin {
namespace {

TEST(TrendTrace, RingKeepsTheNewestSamplesAndNeverGrows) {
  TrendTrace trace;
  for (int i = 0; i < 100'000; ++i) trace.add(i * 0.1, i);
  ASSERT_EQ(trace.size(), TrendTrace::kCapacity);
  EXPECT_EQ(trace.at(0).value, 100'000 - TrendTrace::kCapacity);
  EXPECT_EQ(trace.at(trace.size() - 1).value, 99'999);
  for (int i = 1; i < trace.size(); ++i) ASSERT_EQ(trace.at(i).value, trace.at(i - 1).value + 1);
  EXPECT_DOUBLE_EQ(*trace.newestTime(), 99'999 * 0.1);
}

TEST(TrendTrace, SamplesOutOfOrderOrWithoutATimeAreDropped) {
  TrendTrace trace;
  EXPECT_FALSE(trace.newestTime());
  EXPECT_TRUE(trace.add(5, 1));
  EXPECT_FALSE(trace.add(4.9, 2));
  EXPECT_TRUE(trace.add(5, 3));
  EXPECT_FALSE(trace.add(std::numeric_limits<double>::quiet_NaN(), 4));
  EXPECT_FALSE(trace.add(std::numeric_limits<double>::infinity(), 5));
  ASSERT_EQ(trace.size(), 2);
  EXPECT_EQ(trace.at(1).value, 3);
}

TEST(TrendTrace, FailedReadingsAreKept) {
  TrendTrace trace;
  trace.add(1, std::numeric_limits<double>::quiet_NaN());
  ASSERT_EQ(trace.size(), 1);
  EXPECT_TRUE(std::isnan(trace.at(0).value));
}

TEST(TrendTrace, FirstAtOrAfterFindsTheWindowStartAcrossTheWrap) {
  TrendTrace trace;
  for (int i = 0; i < TrendTrace::kCapacity + 300; ++i) trace.add(i, i);
  // The oldest held sample is at t = 300.
  EXPECT_EQ(trace.firstAtOrAfter(0), 0);
  EXPECT_EQ(trace.firstAtOrAfter(300), 0);
  EXPECT_EQ(trace.firstAtOrAfter(300.5), 1);
  EXPECT_EQ(trace.firstAtOrAfter(1000), 700);
  EXPECT_EQ(trace.firstAtOrAfter(1e9), trace.size());
}

TEST(TrendTrace, ClearEmptiesTheRingForAnyNewTime) {
  TrendTrace trace;
  for (int i = 0; i < 50; ++i) trace.add(100 + i, i);
  trace.clear();
  EXPECT_EQ(trace.size(), 0);
  EXPECT_FALSE(trace.newestTime());
  EXPECT_TRUE(trace.add(0, 7));
  EXPECT_EQ(trace.at(0).value, 7);
}

}  // namespace
}  // namespace orvane::admin
