// A caller that set its own decimal-comma locale still gets "." on the wire.
#include "comma_locale.h"
#include "driver_fixture.h"

namespace orvane::driver::test {
namespace {

TEST_F(DriverTest, OutputValuesKeepThePointUnderACommaLocale) {
  start({module("7342", 1)});
  orvane::test::CommaLocale locale;
  ASSERT_TRUE(locale.active()) << "the test locale de_DE.UTF-8 is missing";
  EXPECT_EQ(frameOf([&] { EXPECT_EQ(OV_WriteAO(kPort, 1, "10.5"), OV_SUCCESS); }), "#0110.500\r");
  EXPECT_EQ(frameOf([&] { EXPECT_EQ(OV_WriteAO(kPort, 1, "4.25"), OV_SUCCESS); }), "#0104.250\r");
}

}  // namespace
}  // namespace orvane::driver::test
