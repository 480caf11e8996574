// The alarm and linear-mapping commands of the multi-function modules,
// without widgets.
#include "admin/config/multi_config_commands.h"

#include <gtest/gtest.h>

namespace orvane::admin {
namespace {

TEST(MultiConfigCommands, AlarmModesMomentaryLatchAndDisabled) {
  EXPECT_EQ(alarmModeBody(1), "EAM");
  EXPECT_EQ(alarmModeBody(2), "EAL");
  EXPECT_EQ(alarmModeBody(0), "DA");
}

TEST(MultiConfigCommands, ValuesGoOutInTheEngineeringTextOfTheRange) {
  EXPECT_EQ(engineeringBody("HI", {1.5}, 0x08), "HI+01.500");
  EXPECT_EQ(engineeringBody("LO", {-0.25}, 0x0C), "LO-000.25");
  EXPECT_EQ(engineeringBody("6", {-10, 10}, 0x08), "6-10.000+10.000");
  EXPECT_EQ(engineeringBody("7", {0, 2.5}, 0x09), "7+0.0000+2.5000");
  EXPECT_EQ(engineeringBody("HI", {100}, 0x08), "HI+100.000") << "the limit itself fits";
}

TEST(MultiConfigCommands, AValueTheTextCannotHoldGivesNoCommand) {
  EXPECT_EQ(engineeringBody("HI", {150}, 0x08), std::nullopt) << "never +50.000";
  EXPECT_EQ(engineeringBody("LO", {-150}, 0x08), std::nullopt);
  EXPECT_EQ(engineeringBody("6", {0, 10.5}, 0x09), std::nullopt) << "the second of a pair";
  EXPECT_EQ(engineeringBody("7", {-10.5, 0}, 0x0A), std::nullopt) << "the first of a pair";
}

}  // namespace
}  // namespace orvane::admin
