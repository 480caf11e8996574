#include "protocol/catalogue.h"

#include <gtest/gtest.h>

#include <limits>

#include "protocol/numbers.h"

namespace orvane::protocol {
namespace {

TEST(Family, DecidedByCharactersTwoToFourOfTheTrimmedName) {
  EXPECT_EQ(familyOf("7213D"), ModuleFamily::MultiFunction);
  EXPECT_EQ(familyOf(" 7213"), ModuleFamily::MultiFunction);
  EXPECT_EQ(familyOf("7213  "), ModuleFamily::MultiFunction);
  EXPECT_EQ(familyOf("8213"), ModuleFamily::MultiFunction);
  EXPECT_EQ(familyKey("213"), "13");
  EXPECT_EQ(familyOf("213"), ModuleFamily::Unknown);
  EXPECT_EQ(familyOf("7999"), ModuleFamily::Unknown);
  EXPECT_EQ(familyOf(""), ModuleFamily::Unknown);
}

TEST(Family, EveryModelOfTheTable) {
  struct Row {
    const char* model;
    ModuleFamily family;
    int channels;
  };
  const Row rows[] = {
      {"7451", ModuleFamily::DigitalIO, 0},        {"7453", ModuleFamily::DigitalIO, 0},
      {"7455", ModuleFamily::DigitalIO, 0},        {"7456", ModuleFamily::DigitalIO, 0},
      {"7458", ModuleFamily::DigitalIO, 0},        {"7469", ModuleFamily::DigitalIO, 0},
      {"7472", ModuleFamily::DigitalIO, 0},        {"7474", ModuleFamily::DigitalIO, 0},
      {"7476", ModuleFamily::DigitalIO, 0},        {"7213", ModuleFamily::MultiFunction, 1},
      {"7215", ModuleFamily::MultiFunction, 1},    {"7228", ModuleFamily::MultiFunction, 1},
      {"7342", ModuleFamily::AnalogOutput, 0},     {"7347", ModuleFamily::AnalogOutput, 0},
      {"7226", ModuleFamily::AnalogInput, 3},      {"7231", ModuleFamily::AnalogInput, 8},
      {"7234", ModuleFamily::AnalogInput, 8},      {"7586", ModuleFamily::CounterFrequency, 0},
      {"7912", ModuleFamily::Converter, 0},        {"7917", ModuleFamily::Converter, 0},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(familyOf(row.model), row.family) << row.model;
    EXPECT_EQ(channelCount(row.model), row.channels) << row.model;
  }
}

TEST(TypeCode, NamesAreSixteenCharacterFields) {
  EXPECT_EQ(typeCodeName(0x08), "+/- 10V         ");
  EXPECT_EQ(typeCodeName(0x07), std::string(16, ' '));
  EXPECT_EQ(typeCodeName(0x17), std::string(16, ' '));
  EXPECT_EQ(typeCodeName(0x99), std::string(16, ' '));
  EXPECT_EQ(typeCodeName(0x50).size(), 16u);
  EXPECT_FLOAT_EQ(fullScale(0x0F), 1370.0f);
  EXPECT_FLOAT_EQ(fullScale(0x05), 2.5f);
  EXPECT_FLOAT_EQ(fullScale(0x33), 0.0f);
  EXPECT_FLOAT_EQ(fullScale(0x40), 0.0f);
}

TEST(Units, ByTypeCodeAndResistanceFormat) {
  EXPECT_EQ(unitOf(0x0C, 0), "mV");
  EXPECT_EQ(unitOf(0x33, 0), "V");
  EXPECT_EQ(unitOf(0x31, 0), "mA");
  EXPECT_EQ(unitOf(0x16, 0), "C");
  EXPECT_EQ(unitOf(0x20, 0), "C");
  EXPECT_EQ(unitOf(0x20, 3), "ohms");
  EXPECT_EQ(unitOf(0x2A, 0), "ohms");
  EXPECT_EQ(unitOf(0x50, 0), "");
  EXPECT_EQ(unitField(0x00, 0), "mV  ");
  EXPECT_EQ(unitField(0x29, 3), "ohms");
  EXPECT_EQ(unitField(0x07, 0), "");
}

TEST(Validity, TypeCodesAndFormatsByModel) {
  EXPECT_TRUE(typeCodeValid("7213", 0x06));
  EXPECT_FALSE(typeCodeValid("7213", 0x07));
  EXPECT_TRUE(typeCodeValid("7234", 0x0E));
  EXPECT_TRUE(typeCodeValid("7231", 0x0D));
  EXPECT_FALSE(typeCodeValid("7231", 0x0E));
  EXPECT_TRUE(typeCodeValid("7226", 0x2A));
  EXPECT_TRUE(typeCodeValid("7342", 0x32));
  EXPECT_FALSE(typeCodeValid("7342", 0x33));
  EXPECT_TRUE(typeCodeValid("7347", 0x33));
  EXPECT_FALSE(typeCodeValid("7451", 0x40));
  EXPECT_TRUE(dataFormatValid("7342", 2));
  EXPECT_FALSE(dataFormatValid("7342", 3));
  EXPECT_TRUE(dataFormatValid("7226", 3));
  EXPECT_FALSE(dataFormatValid("7226", 1));
  EXPECT_FALSE(dataFormatValid("7234", 1));
  EXPECT_FALSE(dataFormatValid("7586", 0));
}

TEST(RangeSearch, TellsEqualNamesApartByModel) {
  EXPECT_EQ(rangeSearch("7213", "+/- 1V"), 0x04);
  EXPECT_EQ(rangeSearch("7215", "+/- 1V"), 0x0A);
  EXPECT_EQ(rangeSearch("7234", "  +/- 500mV "), 0x03);
  EXPECT_EQ(rangeSearch("7231", "+/- 500mV"), 0x0B);
  EXPECT_EQ(rangeSearch("7226", "Pt, 0 to 600C"), 0x23);
  EXPECT_EQ(rangeSearch("7347", "+/- 10V"), 0x33);
  // Not in the span: the span's last code + 1, which "342" does not accept.
  EXPECT_EQ(rangeSearch("7342", "+/- 10V"), 0x33);
  EXPECT_FALSE(typeCodeValid("7342", rangeSearch("7342", "+/- 10V")));
  EXPECT_EQ(rangeSearch("7451", "Counter"), 0x01);
}

TEST(BaudCodes, FastestComesBefore57600) {
  EXPECT_EQ(baudRateOf(0), 1200);
  EXPECT_EQ(baudRateOf(5), 38400);
  EXPECT_EQ(baudRateOf(6), 115200);
  EXPECT_EQ(baudRateOf(7), 57600);
  EXPECT_EQ(baudCodeOf(57600), 7);
  EXPECT_EQ(baudCodeOf(115200), 6);
  EXPECT_EQ(baudCodeOf(300), 0);
  for (int code = 0; code < 8; ++code)
    EXPECT_EQ(std::to_string(baudRateOf(code)), baudRateTexts()[static_cast<size_t>(code)]);
}

TEST(Names, FixedWidthFields) {
  EXPECT_EQ(dataFormatName(0), "Engineering Units");
  EXPECT_EQ(dataFormatName(1), "% of FSR         ");
  EXPECT_EQ(dataFormatName(4), std::string(17, ' '));
  EXPECT_EQ(alarmModeName(1), "Momentary ");
  EXPECT_EQ(alarmModeName(3), std::string(10, ' '));
}

TEST(EngineeringText, PatternSignAndLimitCut) {
  EXPECT_EQ(engineeringText(1.5, 0x08), "+01.500");
  EXPECT_EQ(engineeringText(-10, 0x04), "-10.0000");
  EXPECT_EQ(engineeringText(760, 0x0E), "+760.00");
  EXPECT_EQ(engineeringText(100, 0x00), "+100.000");  // equal to the limit: not cut
  EXPECT_EQ(engineeringText(100.5, 0x00), "+00.500");
  EXPECT_EQ(engineeringText(12345.6, 0x0F), "+2345.6");
  EXPECT_EQ(engineeringText(0, 0x40), "+00000");
  EXPECT_EQ(engineeringText("1.5", 0x08), "+01.500");
  EXPECT_EQ(engineeringText("-0.25", 0x20), "-000.25");
}

TEST(EngineeringText, HoldsOnlyWhatItWritesUncut) {
  EXPECT_TRUE(engineeringTextHolds(100, 0x08));  // +100.000: the limit itself is not cut
  EXPECT_TRUE(engineeringTextHolds(-100, 0x08));
  EXPECT_FALSE(engineeringTextHolds(100.001, 0x08));
  EXPECT_FALSE(engineeringTextHolds(150, 0x08));  // would go out as +50.000
  EXPECT_FALSE(engineeringTextHolds(-150, 0x08));
  EXPECT_TRUE(engineeringTextHolds(10, 0x04));
  EXPECT_FALSE(engineeringTextHolds(10.5, 0x09));
  EXPECT_TRUE(engineeringTextHolds(1000, 0x0E));
  EXPECT_FALSE(engineeringTextHolds(1000.5, 0x2A));
  EXPECT_TRUE(engineeringTextHolds(10000, 0x16));
  EXPECT_FALSE(engineeringTextHolds(12345.6, 0x0F));
  EXPECT_TRUE(engineeringTextHolds(100000, 0x40));
  EXPECT_FALSE(engineeringTextHolds(100001, 0x50));
  EXPECT_FALSE(engineeringTextHolds(std::numeric_limits<double>::infinity(), 0x40));
  EXPECT_FALSE(engineeringTextHolds(std::numeric_limits<double>::quiet_NaN(), 0x40));
  for (int code : {0x00, 0x04, 0x0C, 0x0F, 0x33}) {
    const double limit = engineeringLimit(code);
    EXPECT_EQ(decimalValue(engineeringText(limit, code)), limit) << code;
    EXPECT_EQ(decimalValue(engineeringText(-limit, code)), -limit) << code;
  }
}

TEST(Reading, EngineeringAndOhmsArePlainDecimal) {
  EXPECT_EQ(readingToEngineering("+015.32", 0x0E, 0), "15.32");
  EXPECT_EQ(readingToEngineering("-012.50", 0x0E, 0), "-12.5");
  EXPECT_EQ(readingToEngineering("+100.00", 0x20, 3), "100");
}

TEST(Reading, PercentOfFullScale) {
  EXPECT_EQ(readingToEngineering("+050.00", 0x08, 1), "5.0000");
  EXPECT_EQ(readingToEngineering("-100.00", 0x0F, 1), "-1370.0000");
}

TEST(Reading, TwosComplementIsSigned16Bit) {
  EXPECT_EQ(readingToEngineering("7FFF", 0x08, 2), "10.0000");
  EXPECT_EQ(readingToEngineering("8001", 0x08, 2), "-10.0000");
  EXPECT_EQ(readingToEngineering("FFFF", 0x08, 2), "-0.0003");
  EXPECT_EQ(readingToEngineering("0000", 0x08, 2), "0.0000");
}

TEST(Reading, UnknownFormatGivesNothing) { EXPECT_EQ(readingToEngineering("+01.000", 0x08, 4), ""); }

}  // namespace
}  // namespace orvane::protocol
