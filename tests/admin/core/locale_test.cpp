// orvadmin on a German desktop: the user's numbers carry a comma, the wire
// keeps the protocol's ".".
#include <QLocale>

#include "admin/core/command_link.h"
#include "admin/core/startup.h"
#include "comma_locale.h"
#include "tests/admin/core/admin_fixture.h"

namespace orvane::admin {
namespace {

class CommaLocaleTest : public testing::AdminFixture {
 protected:
  void SetUp() override {
    ASSERT_TRUE(locale_.active()) << "the test locale de_DE.UTF-8 is missing";
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
  }
  void TearDown() override { QLocale::setDefault(QLocale::c()); }

  orvane::test::CommaLocale locale_;
};

TEST_F(CommaLocaleTest, ReadingsAreReadWithThePointAndTypedNumbersFixed) {
  auto module = sim::makeModule("7213", 5);
  module.typeCode = 0x0E;  // a range with two decimals
  module.inputs[0] = {.shape = sim::Signal::Shape::Constant, .value = 15.32};
  startNetwork({module});
  openPort();
  ModuleEntry& entry = setEntry(0, "7213", 5);
  entry.TypeCode = 0x0E;
  EXPECT_EQ(ReadAnalogValue(*context_, 0, 0), "15.32");

  context_->DecimalSeparator = localeDecimalSeparator();
  EXPECT_EQ(context_->DecimalSeparator, ',');
  std::string typed = "-12,5";
  FixDecimalSeparator(*context_, typed);
  EXPECT_EQ(typed, "-12.5");
}

}  // namespace
}  // namespace orvane::admin
