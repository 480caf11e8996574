#include "protocol/numbers.h"

#include <gtest/gtest.h>

namespace orvane::protocol {
namespace {

TEST(Hex2, PadsButNeverCutsAndIsUpperCase) {
  EXPECT_EQ(hex2(10, 2), "0A");
  EXPECT_EQ(hex2(5, 2), "05");
  EXPECT_EQ(hex2(255, 2), "FF");
  EXPECT_EQ(hex2(0x123, 2), "123");
  EXPECT_EQ(hex2(0x800, 3), "800");
  EXPECT_EQ(hex2(0xFFFFFFFF, 8), "FFFFFFFF");
}

TEST(HexDigitValue, AcceptsBothCasesAndGivesZeroOtherwise) {
  EXPECT_EQ(hexDigitValue('7'), 7);
  EXPECT_EQ(hexDigitValue('a'), 10);
  EXPECT_EQ(hexDigitValue('F'), 15);
  EXPECT_EQ(hexDigitValue('G'), 0);
  EXPECT_EQ(hexDigitValue(' '), 0);
}

TEST(ParseHex, SkipsForeignCharacters) {
  EXPECT_EQ(parseHexSkipping(">0000FFFF"), 0xFFFFu);
  EXPECT_EQ(parseHexSkipping("1x2"), 0x12u);
  EXPECT_EQ(parseHexSkipping(""), 0u);
  EXPECT_EQ(parseHexSkipping("FFFFFFFF"), 0xFFFFFFFFu);
}

TEST(DecimalValue, StopsAtTheFirstForeignCharacter) {
  EXPECT_DOUBLE_EQ(decimalValue("+015.32"), 15.32);
  EXPECT_DOUBLE_EQ(decimalValue("  -12.5abc"), -12.5);
  EXPECT_DOUBLE_EQ(decimalValue("1e2"), 100.0);
  EXPECT_DOUBLE_EQ(decimalValue("1e"), 1.0);
  EXPECT_DOUBLE_EQ(decimalValue("abc"), 0.0);
  EXPECT_DOUBLE_EQ(decimalValue(""), 0.0);
  EXPECT_DOUBLE_EQ(decimalValue("-"), 0.0);
}

TEST(IntegerValue, ReadsSignAndDigits) {
  EXPECT_EQ(integerValue(" 0050"), 50);
  EXPECT_EQ(integerValue("-7x"), -7);
  EXPECT_EQ(integerValue("x7"), 0);
}

TEST(IsDecimalNumber, WholeTextOnly) {
  EXPECT_TRUE(isDecimalNumber(" 1.5 "));
  EXPECT_TRUE(isDecimalNumber("-10"));
  EXPECT_FALSE(isDecimalNumber("12a"));
  EXPECT_FALSE(isDecimalNumber(""));
  EXPECT_FALSE(isDecimalNumber("."));
}

TEST(FormatPattern, ZerosAreAlwaysWrittenHashesOnlyWhenSignificant) {
  EXPECT_EQ(formatPattern(4, "00.000"), "04.000");
  EXPECT_EQ(formatPattern(12.5, "00.000"), "12.500");
  EXPECT_EQ(formatPattern(12.5, "###0.0000"), "12.5000");
  EXPECT_EQ(formatPattern(0.5, "####.0"), ".5");
  EXPECT_EQ(formatPattern(0, "#0.000"), "0.000");
  EXPECT_EQ(formatPattern(-10, "###0.0000"), "-10.0000");
  EXPECT_EQ(formatPattern(12345, "#########0"), "12345");
  EXPECT_EQ(formatPattern(123.456, "00.000"), "123.456");
}

TEST(FormatPattern, RoundsTheLastDigit) {
  EXPECT_EQ(formatPattern(1.23456, "0.000"), "1.235");
  EXPECT_EQ(formatPattern(99.9996, "00.000"), "100.000");
  EXPECT_EQ(formatPattern(-0.00001, "0.000"), "0.000");
}

TEST(PlainDecimal, UsesNoMoreDigitsThanNeeded) {
  EXPECT_EQ(plainDecimal(15.32), "15.32");
  EXPECT_EQ(plainDecimal(-12.5), "-12.5");
  EXPECT_EQ(plainDecimal(0.0), "0");
  EXPECT_EQ(plainDecimal(20), "20");
}

TEST(Trimmed, RemovesBlanksAtBothEnds) {
  EXPECT_EQ(trimmed("  7213 "), "7213");
  EXPECT_EQ(trimmed("   "), "");
}

}  // namespace
}  // namespace orvane::protocol
