// The counter test window's commands and status decoding, without widgets.
#include "admin/diag/ctr_diag_decode.h"

#include <gtest/gtest.h>

#include <string>

namespace orvane::admin {
namespace {

TEST(CtrDiagDecode, StatusGivesAlarmsAndOutputs) {
  const auto status = ctrStatus(true, "!05203");
  ASSERT_TRUE(status);
  EXPECT_FALSE(status->alarmEnabled(0));
  EXPECT_TRUE(status->alarmEnabled(1));
  EXPECT_TRUE(status->outputOn(0));
  EXPECT_TRUE(status->outputOn(1));
  EXPECT_FALSE(status->onByAlarm(0)) << "on by hand";
  EXPECT_TRUE(status->onByAlarm(1));

  const auto quiet = ctrStatus(true, "!0A100");
  ASSERT_TRUE(quiet);
  EXPECT_TRUE(quiet->alarmEnabled(0));
  EXPECT_FALSE(quiet->outputOn(0));
  EXPECT_FALSE(quiet->onByAlarm(0)) << "an enabled alarm whose output is off";
}

TEST(CtrDiagDecode, StatusCountsOnlyAsAGoodSixCharacterReply) {
  EXPECT_FALSE(ctrStatus(false, "!05003")) << "failed exchange";
  EXPECT_FALSE(ctrStatus(true, "?05"));
  EXPECT_FALSE(ctrStatus(true, ">05003"));
  EXPECT_FALSE(ctrStatus(true, "!050031")) << "too long";
  EXPECT_FALSE(ctrStatus(true, "!05403")) << "alarm digit above 3";
  EXPECT_FALSE(ctrStatus(true, "!05013")) << "output state 13";
  EXPECT_FALSE(ctrStatus(true, "!05004")) << "output state 04";
  EXPECT_FALSE(ctrStatus(true, "!050A3"));
  EXPECT_FALSE(ctrStatus(true, "!05 03"));
}

// The status decoder against every prefix of a good reply and a refusal:
// nothing counts but the whole reply, and nothing throws.
TEST(CtrDiagDecode, EveryPrefixAndARefusal) {
  const std::string good = "!1F302";
  for (std::size_t n = 0; n < good.size(); ++n)
    EXPECT_FALSE(ctrStatus(true, good.substr(0, n))) << n;
  const auto status = ctrStatus(true, good);
  ASSERT_TRUE(status);
  EXPECT_EQ(status->alarms, 3);
  EXPECT_EQ(status->outputs, 2);
  EXPECT_FALSE(ctrStatus(true, "?1F"));
  for (std::size_t n = 0; n < 3; ++n) EXPECT_FALSE(ctrCommandTaken(true, good.substr(0, n))) << n;
  EXPECT_FALSE(ctrCommandTaken(true, "?1F"));
}

TEST(CtrDiagDecode, CounterCommands) {
  EXPECT_EQ(ctrRunBody(0, 1), "501");
  EXPECT_EQ(ctrRunBody(1, 0), "510");
  EXPECT_EQ(ctrClearBody(1), "61");
  EXPECT_EQ(ctrOutputBody(0), "DO00");
  EXPECT_EQ(ctrOutputBody(3), "DO03");
  EXPECT_TRUE(ctrCommandTaken(true, "!05"));
  EXPECT_FALSE(ctrCommandTaken(false, "!05"));
  EXPECT_FALSE(ctrCommandTaken(true, "?05"));
  EXPECT_FALSE(ctrCommandTaken(true, "!0500")) << "not an acknowledgement";
}

TEST(CtrDiagDecode, ToggleSwitchesOneOutputAndKeepsTheOther) {
  EXPECT_EQ(ctrToggled(0, 0), 1);
  EXPECT_EQ(ctrToggled(1, 0), 0);
  EXPECT_EQ(ctrToggled(3, 0), 2);
  EXPECT_EQ(ctrToggled(0, 1), 2);
  EXPECT_EQ(ctrToggled(3, 1), 1);
  EXPECT_EQ(ctrToggled(1, 1), 3);
}

}  // namespace
}  // namespace orvane::admin
