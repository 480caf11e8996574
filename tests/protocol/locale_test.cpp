// The protocol's number texts under a decimal-comma locale: every text a
// module reads or writes keeps its ".", whatever locale the program set.
#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "comma_locale.h"
#include "protocol/catalogue.h"
#include "protocol/numbers.h"

namespace orvane::protocol {
namespace {

struct UnderCommaLocale : ::testing::Test {
  test::CommaLocale locale;
  void SetUp() override {
    ASSERT_TRUE(locale.active()) << "the test locale de_DE.UTF-8 is missing";
  }
};

TEST_F(UnderCommaLocale, ReadsThePoint) {
  EXPECT_DOUBLE_EQ(decimalValue("+015.32"), 15.32);
  EXPECT_DOUBLE_EQ(decimalValue("-0.25e1"), -2.5);
  EXPECT_DOUBLE_EQ(decimalValue("12,5"), 12.0);  // a comma is no part of a protocol number
  EXPECT_TRUE(isDecimalNumber("1.5"));
  EXPECT_FALSE(isDecimalNumber("1,5"));
}

TEST_F(UnderCommaLocale, WritesThePoint) {
  EXPECT_EQ(plainDecimal(15.32), "15.32");
  EXPECT_EQ(formatPattern(12.5, "###0.0000"), "12.5000");
  EXPECT_EQ(formatPattern(-0.5, "00.000"), "-00.500");
  EXPECT_EQ(engineeringText(12.5, 0x08), "+12.500");
  EXPECT_EQ(engineeringText("10.5", 0x08), "+10.500");
}

TEST_F(UnderCommaLocale, ReadingsInEngineeringUnits) {
  EXPECT_EQ(readingToEngineering("+015.32", 0x0E, 0), "15.32");
  EXPECT_EQ(readingToEngineering("+050.00", 0x08, 1), "5.0000");
  EXPECT_EQ(readingToEngineering("7FFF", 0x08, 2), "10.0000");
}

// Texts from a line or a file can hold numbers no double holds.
TEST(DecimalValue, OutOfRangeGivesInfinityOrZero) {
  EXPECT_EQ(decimalValue("1e999"), std::numeric_limits<double>::infinity());
  EXPECT_EQ(decimalValue("-1e999"), -std::numeric_limits<double>::infinity());
  EXPECT_EQ(decimalValue(std::string(400, '9')), std::numeric_limits<double>::infinity());
  EXPECT_EQ(decimalValue("1e-999"), 0.0);
  EXPECT_EQ(decimalValue("0." + std::string(400, '0') + "1"), 0.0);
  EXPECT_EQ(integerValue("99999999999999999999"), std::numeric_limits<long long>::max());
  EXPECT_EQ(integerValue("-9223372036854775808"), std::numeric_limits<long long>::min());
  EXPECT_EQ(integerValue("-99999999999999999999"), std::numeric_limits<long long>::min());
}

TEST(FormatPattern, HugeValuesAreWrittenWhole) {
  const std::string text = formatPattern(1e300, "0.0");
  EXPECT_EQ(text.size(), 303u);
  EXPECT_EQ(text.substr(0, 2), "10");
  EXPECT_EQ(text.substr(text.size() - 2), ".0");
}

}  // namespace
}  // namespace orvane::protocol
