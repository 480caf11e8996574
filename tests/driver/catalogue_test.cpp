// The catalogue look-ups: family and channels of a model, range name and unit
// of a type code.
#include <gtest/gtest.h>

#include <string>

#include "orvio.h"

namespace {

struct ModelCase {
  const char* name;
  uint16_t family;
  uint16_t channels;
};

TEST(OrvioCatalogue, ModelInfoClassifiesByTheThreeCharacterCode) {
  const ModelCase cases[] = {
      {"7213", OV_FAMILY_MULTI_FUNCTION, 1},
      {"7213D", OV_FAMILY_MULTI_FUNCTION, 1},
      {"8213", OV_FAMILY_MULTI_FUNCTION, 1},
      {"7226", OV_FAMILY_ANALOG_INPUT, 3},
      {"7231", OV_FAMILY_ANALOG_INPUT, 8},
      {"7234", OV_FAMILY_ANALOG_INPUT, 8},
      {"7342", OV_FAMILY_ANALOG_OUTPUT, 0},
      {"7347", OV_FAMILY_ANALOG_OUTPUT, 0},
      {"7469", OV_FAMILY_DIGITAL_IO, 0},
      {"7476", OV_FAMILY_DIGITAL_IO, 0},
      {"7586", OV_FAMILY_COUNTER, 0},
      {"7917", OV_FAMILY_CONVERTER, 0},
      {"213", OV_FAMILY_UNKNOWN, 0},
      {"7999", OV_FAMILY_UNKNOWN, 0},
      {"", OV_FAMILY_UNKNOWN, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    uint16_t family = 99, channels = 99;
    EXPECT_EQ(OV_GetModelInfo(c.name, &family, &channels), OV_SUCCESS);
    EXPECT_EQ(family, c.family);
    EXPECT_EQ(channels, c.channels);
  }
  uint16_t family = 99;
  EXPECT_EQ(OV_GetModelInfo("7231", &family, nullptr), OV_SUCCESS);
  EXPECT_EQ(family, OV_FAMILY_ANALOG_INPUT);
  EXPECT_EQ(OV_GetModelInfo(nullptr, &family, nullptr), OV_REFUSED);
}

struct TypeCase {
  uint16_t typeCode;
  uint16_t dataFormat;
  const char* name;
  const char* unit;
};

TEST(OrvioCatalogue, TypeInfoNamesTheRangeAndItsUnitInTheDataFormat) {
  const TypeCase cases[] = {
      {0x00, 0, "+/- 15mV", "mV"},
      {0x08, 2, "+/- 10V", "V"},
      {0x0F, 0, "T/C Type K", "C"},
      {0x20, 0, "Pt, +/- 100C", "C"},
      {0x20, 3, "Pt, +/- 100C", "ohms"},
      {0x2A, 0, "Cu, 0~60 ohms", "ohms"},
      {0x31, 0, "4 to 20mA", "mA"},
      {0x40, 0, "", ""},
      {0x51, 0, "Frequency", ""},
      {0x17, 0, "", ""},
      {0x1FF, 0, "", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typeCode);
    char name[30] = "stale", unit[30] = "stale";
    EXPECT_EQ(OV_GetTypeInfo(c.typeCode, c.dataFormat, name, unit), OV_SUCCESS);
    EXPECT_STREQ(name, c.name);
    EXPECT_STREQ(unit, c.unit);
  }
  char unit[30] = "";
  EXPECT_EQ(OV_GetTypeInfo(0x0E, 0, nullptr, unit), OV_SUCCESS);
  EXPECT_STREQ(unit, "C");
}

}  // namespace
