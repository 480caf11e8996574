// The counter/frequency module's setting commands and the numbers they carry,
// without widgets.
#include "admin/config/ctr_config_commands.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "admin/config/config_commands.h"

namespace orvane::admin {
namespace {

std::string at05(const CtrCommand& command) {
  return addressedCommand(command.lead, 5, command.body);
}

TEST(CtrConfigCommands, CountsAreTheIntegerPartFrom0To4294967295) {
  EXPECT_EQ(countOf(0.0), 0u);
  EXPECT_EQ(countOf(12.9), 12u) << "cut, not rounded";
  EXPECT_EQ(countOf(2147483648.0), 2147483648u);
  EXPECT_EQ(countOf(4294967295.0), 4294967295u);
  EXPECT_EQ(countOf(4294967295.75), 4294967295u);
  EXPECT_EQ(countOf(4294967296.0), std::nullopt);
  EXPECT_EQ(countOf(-0.5), std::nullopt);
  EXPECT_EQ(countOf(-1.0), std::nullopt);
  EXPECT_EQ(countOf(std::numeric_limits<double>::infinity()), std::nullopt);
  EXPECT_EQ(countOf(std::nan("")), std::nullopt);
}

TEST(CtrConfigCommands, CountsShowInPlainDigitsThatReadBackExactly) {
  EXPECT_EQ(countText(100000.0), "100000") << "never 1e+05";
  EXPECT_EQ(countText(4294967295.0), "4294967295");
  EXPECT_EQ(countText(12.9), "12.9");
  EXPECT_EQ(countText(0.0), "0");
}

TEST(CtrConfigCommands, CountsGoOutAsEightUpperCaseHexDigits) {
  EXPECT_EQ(at05(maxCountCommand(0, 0x12345)), "$053000012345");
  EXPECT_EQ(at05(maxCountCommand(1, 4294967295u)), "$0531FFFFFFFF");
  EXPECT_EQ(at05(maxCountCommand(0, 2147483648u)), "$053080000000");
  EXPECT_EQ(at05(initialCountCommand(1, 0xABCDEF)), "@05P100ABCDEF");
  EXPECT_EQ(at05(alarmLimitCommand(0, 10)), "@05PA0000000A");
  EXPECT_EQ(at05(alarmLimitCommand(1, 0)), "@05SA00000000") << "counter 1 has its own lead";
}

TEST(CtrConfigCommands, WidthsAreFourDigitsFrom0To9999) {
  EXPECT_EQ(widthOf(50.0), 50);
  EXPECT_EQ(widthOf(9999.9), 9999);
  EXPECT_EQ(widthOf(10000.0), std::nullopt);
  EXPECT_EQ(widthOf(-1.0), std::nullopt);
  EXPECT_EQ(at05(minWidthCommand(true, 50)), "$050H0050");
  EXPECT_EQ(at05(minWidthCommand(false, 0)), "$050L0000");
  EXPECT_EQ(at05(minWidthCommand(true, 9999)), "$050H9999");
}

TEST(CtrConfigCommands, TtlLevelsAreTenthsOfAVoltInTwoDigits) {
  EXPECT_EQ(ttlLevelOf(0.5), 5);
  EXPECT_EQ(ttlLevelOf(2.4), 24) << "2.4 * 10 is 24.000000000000004";
  EXPECT_EQ(ttlLevelOf(0.05), 1) << "to the nearest tenth";
  EXPECT_EQ(ttlLevelOf(0.0), 0);
  EXPECT_EQ(ttlLevelOf(9.9), 99);
  EXPECT_EQ(ttlLevelOf(9.94), std::nullopt);
  EXPECT_EQ(ttlLevelOf(10.0), std::nullopt);
  EXPECT_EQ(ttlLevelOf(-0.1), std::nullopt);
  EXPECT_EQ(at05(ttlLevelCommand(true, 5)), "$051H05");
  EXPECT_EQ(at05(ttlLevelCommand(false, 8)), "$051L08");
  EXPECT_EQ(at05(ttlLevelCommand(true, 99)), "$051H99");
}

TEST(CtrConfigCommands, ModesStatusesAndSwitchesAreOneDigit) {
  EXPECT_EQ(at05(inputModeCommand(1)), "$05B1");
  EXPECT_EQ(at05(gateModeCommand(2)), "$05A2");
  EXPECT_EQ(at05(counterStatusCommand(1, 0)), "$05510");
  EXPECT_EQ(at05(counterStatusCommand(0, 1)), "$05501");
  EXPECT_EQ(at05(filterCommand(1)), "$0541");
  EXPECT_EQ(at05(alarmSwitchCommand(0, true)), "@05EA0");
  EXPECT_EQ(at05(alarmSwitchCommand(1, false)), "@05DA1");
}

TEST(CtrConfigCommands, GateTimeIsBitTwoOfTheFormatByte) {
  EXPECT_EQ(formatByte(0, gateTimeBits(1)), 0x04);
  EXPECT_EQ(formatByte(1, gateTimeBits(1)), 0x44);
  EXPECT_EQ(formatByte(1, gateTimeBits(0)), 0x40);
}

}  // namespace
}  // namespace orvane::admin
