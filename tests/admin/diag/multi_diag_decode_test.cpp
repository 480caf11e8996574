// The multi-function test window's commands and reply decoding, without
// widgets.
#include "admin/diag/multi_diag_decode.h"

#include <gtest/gtest.h>

#include <string>

namespace orvane::admin {
namespace {

TEST(MultiDiagDecode, StatusFromItsPositions) {
  const auto status = multiStatus(true, "!0510311");
  ASSERT_TRUE(status);
  EXPECT_EQ(status->alarmMode, 1);
  EXPECT_EQ(status->outState, 3u);
  EXPECT_EQ(status->digitalInput, '1');
  const auto hexOutputs = multiStatus(true, "!0520A00");
  ASSERT_TRUE(hexOutputs);
  EXPECT_EQ(hexOutputs->outState, 0x0Au) << "the outputs are hexadecimal";
  const auto lastIgnored = multiStatus(true, "!052001X");
  ASSERT_TRUE(lastIgnored) << "position 7 is not read";
  EXPECT_EQ(lastIgnored->digitalInput, '1');
}

TEST(MultiDiagDecode, OnlyAGoodEightCharacterStatusCounts) {
  EXPECT_FALSE(multiStatus(false, "!0510311")) << "a failed exchange or checksum";
  EXPECT_FALSE(multiStatus(true, "!051031")) << "one short";
  EXPECT_FALSE(multiStatus(true, "!05103111")) << "one long";
  EXPECT_FALSE(multiStatus(true, ">0510311"));
  EXPECT_FALSE(multiStatus(true, "!05X0311")) << "a garbled alarm mode";
  EXPECT_FALSE(multiStatus(true, "!051G311")) << "a garbled output digit";
  EXPECT_FALSE(multiStatus(true, "!05103A1")) << "a garbled input digit";
}

TEST(MultiDiagDecode, EventCountIsFiveDecimalDigits) {
  EXPECT_EQ(multiEventCount(true, "!0500123"), 123u);
  EXPECT_EQ(multiEventCount(true, "!0599999"), 99999u);
  EXPECT_EQ(multiEventCount(true, "!0500000"), 0u);
  EXPECT_FALSE(multiEventCount(false, "!0500123"));
  EXPECT_FALSE(multiEventCount(true, "!050012")) << "one short";
  EXPECT_FALSE(multiEventCount(true, "!05001234")) << "one long";
  EXPECT_FALSE(multiEventCount(true, "!0500A23")) << "a garbled count is no count, never 0";
  EXPECT_FALSE(multiEventCount(true, "!05-0123"));
}

// Every decoder against every prefix of a good reply and a refusal: nothing
// counts but the whole reply, and nothing throws.
TEST(MultiDiagDecode, EveryPrefixAndARefusal) {
  const std::string status = "!0520211";
  const std::string count = "!0504711";
  for (std::size_t n = 0; n < status.size(); ++n) {
    EXPECT_FALSE(multiStatus(true, status.substr(0, n))) << n;
    EXPECT_FALSE(multiEventCount(true, count.substr(0, n))) << n;
  }
  EXPECT_TRUE(multiStatus(true, status));
  EXPECT_TRUE(multiEventCount(true, count));
  for (const std::string refusal : {"?05", "?0510311"}) {
    EXPECT_FALSE(multiStatus(true, refusal)) << refusal;
    EXPECT_FALSE(multiEventCount(true, refusal)) << refusal;
  }
}

TEST(MultiDiagDecode, LampsAndClicksFollowTheOutputState) {
  // state: lamp 0, lamp 1, after a click on 0, after a click on 1
  struct Row {
    unsigned state;
    bool lit0, lit1;
    unsigned click0, click1;
  };
  const Row rows[] = {{0, false, false, 1, 2},
                      {1, true, false, 0, 3},
                      {2, false, true, 3, 0},
                      {3, true, true, 2, 1}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.state);
    EXPECT_EQ(multiOutputLit(row.state, 0), row.lit0);
    EXPECT_EQ(multiOutputLit(row.state, 1), row.lit1);
    EXPECT_EQ(multiToggled(row.state, 0), row.click0);
    EXPECT_EQ(multiToggled(row.state, 1), row.click1);
  }
  EXPECT_EQ(multiOutputBody(2), "DO02");
  EXPECT_EQ(multiOutputBody(0), "DO00");
  EXPECT_EQ(multiOutputBody(0xAB), "DOAB");
}

TEST(MultiDiagDecode, AlarmLimitsInTheUsersSeparator) {
  EXPECT_EQ(alarmLimitText(6.0, '.'), "6.0000");
  EXPECT_EQ(alarmLimitText(1.5, ','), "1,5000");
  EXPECT_EQ(alarmLimitText(-0.25, '.'), "-0.2500");
  EXPECT_EQ(alarmLimitText(0.0, '.'), "0.0000");
  EXPECT_EQ(alarmLimitText(1370.125, ','), "1370,1250");
}

}  // namespace
}  // namespace orvane::admin
