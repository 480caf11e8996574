// The commands the configuration dialogs build, without widgets.
#include "admin/config/config_commands.h"

#include <gtest/gtest.h>

#include <array>

namespace orvane::admin {
namespace {

TEST(ConfigCommands, StandardCommandIsUpperCaseHexWithTheBaudCodePlusThree) {
  EXPECT_EQ(standardConfigCommand(0x03, 0x0C, 0x08, 3, 0), "%030C080600");
  EXPECT_EQ(standardConfigCommand(0, 255, 0x40, 7, formatByte(1, 0)), "%00FF400A40");
  EXPECT_EQ(standardConfigCommand(10, 10, 0x2A, 0, formatByte(0, 3)), "%0A0A2A0303");
  EXPECT_EQ(addressedCommand('$', 10, "5FF"), "$0A5FF");
}

TEST(ConfigCommands, ConfirmationIsTheBangAndTheNewAddressOnly) {
  EXPECT_TRUE(configurationConfirmed(true, "!0C", 12));
  EXPECT_FALSE(configurationConfirmed(true, "!0c", 12));
  EXPECT_FALSE(configurationConfirmed(true, "!03", 12));
  EXPECT_FALSE(configurationConfirmed(true, "?0C", 12));
  EXPECT_FALSE(configurationConfirmed(true, "!0C0", 12));
  EXPECT_FALSE(configurationConfirmed(false, "!0C", 12));
}

TEST(ConfigCommands, ChannelMaskTakesTheLowestChannelsAsBits) {
  const std::array<bool, 8> states{true, false, true, false, false, false, false, true};
  EXPECT_EQ(channelMask(states, 8), 0x85);
  EXPECT_EQ(channelMask(states, 3), 0x05);
  EXPECT_EQ(channelMask(states, 0), 0);
}

TEST(ConfigCommands, PolarityCountsTheTwoLowBitsAndSendsOneDigitPerSide) {
  EXPECT_EQ(polarityBody(1, 0), "CP10");
  EXPECT_EQ(polarityBody(0, 1), "CP01");
  EXPECT_EQ(inputPolarity(5), 1);
  EXPECT_EQ(outputPolarity(5), 0);
  EXPECT_EQ(inputPolarity(6), 0);
  EXPECT_EQ(outputPolarity(6), 1);
  EXPECT_EQ(polarityBody(outputPolarity(-1), inputPolarity(-1)), "CP11") << "never a sign";
}

}  // namespace
}  // namespace orvane::admin
