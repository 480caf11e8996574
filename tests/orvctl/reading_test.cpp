// A module's reading text as a value in the unit of its data format.
#include "reading.h"

#include <gtest/gtest.h>

namespace orvctl {
namespace {

struct ReadingCase {
  const char* reading;
  unsigned dataFormat;
  Value value;
  const char* unit;
};

TEST(OrvctlReading, AReadingIsANumberInItsFormatsUnitOrTheTextAsItCame) {
  const ReadingCase cases[] = {
      {"+015.32", 0, 15.32, "C"},
      {"-050.00", 1, -50.0, "%"},
      {"7FFF", 2, 32767LL, ""},
      {"8001", 2, -32767LL, ""},
      {"FFF", 2, 4095LL, ""},  // three digits: a 7342 output, never negative
      {"1234567890ABCDEF", 2, std::string("1234567890ABCDEF"), ""},
      {"+1.5E3", 0, std::string("+1.5E3"), ""},
      {"", 0, std::string(""), ""},
  };
  ModuleInfo module;
  module.unit = "C";
  for (const auto& c : cases) {
    SCOPED_TRACE(c.reading);
    module.config.dataFormat = static_cast<std::uint16_t>(c.dataFormat);
    const Field field = analogField("ch0", c.reading, module);
    EXPECT_EQ(field.value, c.value);
    EXPECT_EQ(field.unit, c.unit);
  }
}

}  // namespace
}  // namespace orvctl
