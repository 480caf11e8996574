// The 7342 window's output values and commands, without a window.
#include "admin/diag/da_diag_commands.h"

#include <gtest/gtest.h>

#include "comma_locale.h"

namespace orvane::admin {
namespace {

constexpr int k0To20mA = 0x30, k4To20mA = 0x31, k0To10V = 0x32;

TEST(DaDiagCommands, TheBarSpansEachRangeFromItsLowEnd) {
  EXPECT_EQ(daLowEnd(k4To20mA), 4.0F);
  EXPECT_EQ(daLowEnd(k0To20mA), 0.0F);
  EXPECT_EQ(daOutputValue(k4To20mA, 0), 4.0F);
  EXPECT_EQ(daOutputValue(k4To20mA, 16000), 12.0F);
  EXPECT_EQ(daOutputValue(k4To20mA, kDaScrollMax), 20.0F);
  EXPECT_EQ(daOutputValue(k0To20mA, 20000), 12.5F);
  EXPECT_EQ(daOutputValue(k0To10V, kDaScrollMax), 10.0F);
  EXPECT_EQ(daOutputValue(0x33, kDaScrollMax), 0.0F) << "a range the model does not have";
}

TEST(DaDiagCommands, ShownValueHasThreeDecimalsAndTheUsersSeparator) {
  EXPECT_EQ(daShownValue(4.0F, '.'), "4.000");
  EXPECT_EQ(daShownValue(0.0F, '.'), "0.000");
  EXPECT_EQ(daShownValue(12.5F, ','), "12,500");
}

TEST(DaDiagCommands, EngineeringUnitsCarryTwoDigitsBeforeThePoint) {
  EXPECT_EQ(daOutputBody(k4To20mA, 0, 0), "04.000");
  EXPECT_EQ(daOutputBody(k4To20mA, 0, 16000), "12.000");
  EXPECT_EQ(daOutputBody(k4To20mA, 0, kDaScrollMax), "20.000");
  EXPECT_EQ(daOutputBody(k0To20mA, 0, 0), "00.000");
  EXPECT_EQ(daOutputBody(k0To10V, 0, 8000), "02.500");
  EXPECT_EQ(daOutputBody(0x33, 0, kDaScrollMax), "00.000");
}

TEST(DaDiagCommands, PercentOfRangeIsSignedWithTwoDecimals) {
  EXPECT_EQ(daOutputBody(k4To20mA, 1, 0), "+000.00");
  EXPECT_EQ(daOutputBody(k4To20mA, 1, 8000), "+025.00");
  EXPECT_EQ(daOutputBody(k0To10V, 1, kDaScrollMax), "+100.00");
  EXPECT_EQ(daOutputBody(k0To10V, 1, 320), "+001.00");
}

TEST(DaDiagCommands, HexadecimalIsTheRoundedCountOfThreeDigits) {
  EXPECT_EQ(daOutputBody(k0To20mA, 2, 0), "000");
  EXPECT_EQ(daOutputBody(k0To20mA, 2, 16000), "800") << "2047.5 rounds up";
  EXPECT_EQ(daOutputBody(k0To20mA, 2, kDaScrollMax), "FFF");
  EXPECT_EQ(daOutputBody(k0To20mA, 2, 8), "001") << "1.02 rounds down";
  EXPECT_EQ(daOutputBody(k0To20mA, 2, 4), "001") << "0.51 rounds up";
}

TEST(DaDiagCommands, AnotherFormatSendsNoValue) { EXPECT_EQ(daOutputBody(k0To20mA, 3, 16000), ""); }

TEST(DaDiagCommands, CommandsKeepThePointUnderADecimalCommaLocale) {
  orvane::test::CommaLocale locale;
  ASSERT_TRUE(locale.active()) << "the test locale de_DE.UTF-8 is missing";
  EXPECT_EQ(daOutputBody(k0To20mA, 0, 20000), "12.500");
  EXPECT_EQ(daOutputBody(k0To20mA, 1, 8000), "+025.00");
  EXPECT_EQ(daShownValue(12.5F, ','), "12,500");
}

}  // namespace
}  // namespace orvane::admin
