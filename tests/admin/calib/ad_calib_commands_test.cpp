// The analog input calibration's tables, texts and cold-junction arithmetic
// without widgets.
#include "admin/calib/ad_calib_commands.h"

#include <gtest/gtest.h>

#include <limits>

namespace orvane::admin {
namespace {

struct Range {
  int typeCode;
  const char* zero;
  const char* span;
};

TEST(AdCalibReferences, EveryRangeHasItsZeroAndSpan) {
  const Range table[] = {
      {0x00, "0 mV", "+15 mV"},      {0x01, "0 mV", "+50 mV"},      {0x02, "0 mV", "+100 mV"},
      {0x03, "0 mV", "+500 mV"},     {0x04, "0 V", "+1 V"},         {0x05, "0 V", "+2.5 V"},
      {0x06, "0 mA", "+20 mA"},      {0x07, "0 mV", "0 mV"},        {0x08, "0 mV", "+10 V"},
      {0x09, "0 mV", "+5 V"},        {0x0A, "0 mV", "+1 V"},        {0x0B, "0 mV", "+500 mV"},
      {0x0C, "0 mV", "+150 mV"},     {0x0D, "0 mA", "+20 mA"},      {0x0E, "0 mV", "+50 mV"},
      {0x0F, "0 mV", "+55 mV"},      {0x10, "0 mV", "+30 mV"},      {0x11, "0 mV", "+78 mV"},
      {0x12, "0 mV", "+25 mV"},      {0x13, "0 mV", "+19.5 mV"},    {0x14, "0 mV", "+15 mV"},
      {0x15, "0 mV", "+55 mV"},      {0x16, "0 mV", "+39 mV"},      {0x20, "50 ohms", "200 ohms"},
      {0x21, "50 ohms", "200 ohms"}, {0x22, "50 ohms", "200 ohms"}, {0x23, "50 ohms", "350 ohms"},
      {0x24, "50 ohms", "200 ohms"}, {0x25, "50 ohms", "200 ohms"}, {0x26, "50 ohms", "200 ohms"},
      {0x27, "50 ohms", "350 ohms"}, {0x28, "50 ohms", "350 ohms"}, {0x29, "50 ohms", "200 ohms"},
      {0x2A, "0 ohms", "60 ohms"}};
  for (const Range& r : table) {
    EXPECT_EQ(zeroValue(r.typeCode), QString::fromLatin1(r.zero)) << r.typeCode;
    EXPECT_EQ(spanValue(r.typeCode), QString::fromLatin1(r.span)) << r.typeCode;
  }
}

TEST(AdCalibReferences, CodesWithoutAReferenceGiveEmptyTexts) {
  for (int code : {0x17, 0x1C, 0x1F, 0x2B, 0x30, 0x40, 0xFF, -1}) {
    EXPECT_TRUE(zeroValue(code).isEmpty()) << code;
    EXPECT_TRUE(spanValue(code).isEmpty()) << code;
  }
}

TEST(AdCalibTexts, GuideTextsByStepAndModel) {
  EXPECT_EQ(adGuideText(1, "231"),
            "Apply power to the analog input module and let it warm up for about 30 minutes.");
  EXPECT_EQ(adGuideText(2, "226"),
            "Assure that the module is correctly installed and the input range shown above is "
            "what you want to calibrate.");
  EXPECT_EQ(adGuideText(3, "226"),
            "Apply the resistance shown below to module's channel-0, SENSE0+, and SENSE0- "
            "terminals, as a 2-wire RTD wiring, then press 'Execute' button.");
  const QString plusIn =
      "Use a precision voltage source to apply the voltage shown below to the module's +IN and "
      "-IN terminals, then press 'Execute' button.";
  const QString vin0 =
      "Use a precision voltage source to apply the voltage shown below to the module's Vin0+ "
      "and Vin0- terminals, then press 'Execute' button.";
  for (const char* key : {"213", "215", "228"}) EXPECT_EQ(adGuideText(3, key), plusIn) << key;
  for (const char* key : {"231", "234"}) EXPECT_EQ(adGuideText(3, key), vin0) << key;
  EXPECT_TRUE(adGuideText(3, "342").isEmpty());
  EXPECT_TRUE(adGuideText(4, "231").isEmpty()) << "steps 4 and 5 are not used";
}

TEST(AdCalibTexts, OnlyTheModelsWithASensorOfferTheColdJunction) {
  EXPECT_TRUE(offersColdJunction("213"));
  EXPECT_TRUE(offersColdJunction("234"));
  for (const char* key : {"215", "228", "226", "231", ""}) EXPECT_FALSE(offersColdJunction(key));
  EXPECT_EQ(calibrationBody(CalibrationKind::Offset), "1");
  EXPECT_EQ(calibrationBody(CalibrationKind::Span), "0");
}

TEST(AdCalibColdJunction, TheTemperatureCountsOnlyFromANumberAfterTheLead) {
  EXPECT_EQ(coldJunctionTemperature(true, ">+025.00"), 25.0f);
  EXPECT_EQ(coldJunctionTemperature(true, ">-003.50"), -3.5f);
  EXPECT_EQ(coldJunctionTemperature(true, ">27"), 27.0f);
  EXPECT_EQ(coldJunctionTemperature(false, ">+025.00"), std::nullopt) << "cut off or bad checksum";
  EXPECT_EQ(coldJunctionTemperature(true, "?01"), std::nullopt) << "would be 1 if taken";
  EXPECT_EQ(coldJunctionTemperature(true, "!01+025.00"), std::nullopt);
  EXPECT_EQ(coldJunctionTemperature(true, ">"), std::nullopt) << "would be 0 if taken";
  EXPECT_EQ(coldJunctionTemperature(true, ">+0O5.00"), std::nullopt);
  EXPECT_EQ(coldJunctionTemperature(true, ""), std::nullopt);
}

TEST(AdCalibColdJunction, TemperatureTextHasOneDecimalAndNoLeadingZero) {
  const auto shown = [](float t) { return temperatureText(t, '.'); };
  EXPECT_EQ(shown(25.0f), "25.0");
  EXPECT_EQ(shown(26.3005f), "26.3");
  EXPECT_EQ(shown(0.5f), ".5");
  EXPECT_EQ(shown(0.0f), ".0");
  EXPECT_EQ(shown(0.04f), ".0");
  EXPECT_EQ(shown(-0.5f), "-.5");
  EXPECT_EQ(shown(-12.26f), "-12.3");
  EXPECT_EQ(shown(99.96f), "100.0");
  EXPECT_EQ(shown(1027.59f), "1027.6");
  EXPECT_EQ(temperatureText(26.3005f, ','), "26,3");
  EXPECT_EQ(temperatureText(0.5f, ','), ",5");
  EXPECT_EQ(temperatureText(std::nullopt, ','), "*error*");
}

TEST(AdCalibColdJunction, OffsetStepsAreRoundedHalfToEvenInSinglePrecision) {
  EXPECT_EQ(coldJunctionOffsetBody(26.3f - 25.0f), "9+0055") << "1.3 degrees: 85 steps";
  EXPECT_EQ(coldJunctionOffsetBody(25.0f - 26.3f), "9-0055");
  EXPECT_EQ(coldJunctionOffsetBody(0.0f), "9+0000");
  EXPECT_EQ(coldJunctionOffsetBody(-0.0f), "9+0000");
  EXPECT_EQ(coldJunctionOffsetBody(-0.007f), "9-0000") << "below 0, however little";
  EXPECT_EQ(coldJunctionOffsetBody(0.0153f * 84.5f), "9+0054") << "84.5 to the even 84";
  EXPECT_EQ(coldJunctionOffsetBody(0.0153f * 85.5f), "9+0056") << "85.5 to the even 86";
  EXPECT_EQ(coldJunctionOffsetBody(-0.0153f * 2.5f), "9-0002");
  EXPECT_EQ(coldJunctionOffsetBody(1.0f), "9+0041") << "65.36 steps";
  EXPECT_EQ(coldJunctionOffsetBody(15.3f), "9+03E8");
}

TEST(AdCalibColdJunction, AnOffsetBeyondFourDigitsIsNotBuilt) {
  EXPECT_EQ(coldJunctionOffsetBody(1002.69f), "9+FFFF");
  EXPECT_EQ(coldJunctionOffsetBody(-1002.69f), "9-FFFF");
  EXPECT_EQ(coldJunctionOffsetBody(1002.7f), std::nullopt) << "65536 steps";
  EXPECT_EQ(coldJunctionOffsetBody(-1002.7f), std::nullopt);
  EXPECT_EQ(coldJunctionOffsetBody(1.0e30f), std::nullopt);
  EXPECT_EQ(coldJunctionOffsetBody(std::numeric_limits<float>::infinity()), std::nullopt);
  EXPECT_EQ(coldJunctionOffsetBody(std::numeric_limits<float>::quiet_NaN()), std::nullopt);
}

}  // namespace
}  // namespace orvane::admin
