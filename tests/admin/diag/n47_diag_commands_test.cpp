// The 7347 window's output commands and its input read, without a window.
#include "admin/diag/n47_diag_commands.h"

#include <gtest/gtest.h>

#include "comma_locale.h"

namespace orvane::admin {
namespace {

TEST(N47DiagCommands, BarPositionsAreVoltsFromMinusTenToTen) {
  EXPECT_EQ(n47OutputValue(-kN47ScrollMax), -10.0F);
  EXPECT_EQ(n47OutputValue(0), 0.0F);
  EXPECT_EQ(n47OutputValue(kN47ScrollMax), 10.0F);
  EXPECT_EQ(n47ShownValue(16384, '.'), "5.000");
  EXPECT_EQ(n47ShownValue(-kN47ScrollMax, '.'), "-10.000");
  EXPECT_EQ(n47ShownValue(0, '.'), "0.000");
  EXPECT_EQ(n47ShownValue(-16384, ','), "-5,000");
}

TEST(N47DiagCommands, OutputCommandCarriesLetterSignAndTwoDigitVolts) {
  EXPECT_EQ(n47OutputBody(0, 0), "A+00.000");
  EXPECT_EQ(n47OutputBody(1, 16384), "B+05.000");
  EXPECT_EQ(n47OutputBody(2, kN47ScrollMax), "C+10.000");
  EXPECT_EQ(n47OutputBody(3, -kN47ScrollMax), "D-10.000");
  EXPECT_EQ(n47OutputBody(3, -3277), "D-01.000");
}

TEST(N47DiagCommands, CommandsKeepThePointUnderADecimalCommaLocale) {
  orvane::test::CommaLocale locale;
  ASSERT_TRUE(locale.active()) << "the test locale de_DE.UTF-8 is missing";
  EXPECT_EQ(n47OutputBody(1, 16384), "B+05.000");
  EXPECT_EQ(n47ShownValue(16384, ','), "5,000");
}

TEST(N47DiagCommands, InputsComeFromASevenCharacterReplyOnly) {
  EXPECT_EQ(n47Inputs(true, "!7F0000"), 0x7FU);
  EXPECT_EQ(n47Inputs(true, "!000000"), 0U);
  EXPECT_EQ(n47Inputs(true, "!5a0000"), 0x5AU);
  EXPECT_EQ(n47Inputs(false, "!7F0000"), std::nullopt) << "a failed exchange";
  EXPECT_EQ(n47Inputs(true, "!7F00000"), std::nullopt) << "one character too many";
  EXPECT_EQ(n47Inputs(true, ">7F0000"), std::nullopt) << "another lead";
  EXPECT_EQ(n47Inputs(true, "!G70000"), std::nullopt) << "garbled digits";
  EXPECT_EQ(n47Inputs(true, "!7 0000"), std::nullopt) << "garbled digits";
}

TEST(N47DiagCommands, NoPrefixOfAGoodReplyAndNoRefusalIsRead) {
  const std::string good = "!5A0000";
  for (std::size_t n = 0; n < good.size(); ++n)
    EXPECT_EQ(n47Inputs(true, good.substr(0, n)), std::nullopt) << good.substr(0, n);
  EXPECT_EQ(n47Inputs(true, "?05"), std::nullopt);
  EXPECT_EQ(n47Inputs(true, "?050000"), std::nullopt) << "a refusal of the right length";
}

}  // namespace
}  // namespace orvane::admin
