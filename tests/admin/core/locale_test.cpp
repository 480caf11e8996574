// orvadmin on a German desktop: the user's numbers carry a comma, the wire
// keeps the protocol's ".", and number fields show no exponent whatever the
// C library's locale.
#include <QLocale>

#include "admin/core/command_link.h"
#include "admin/core/number_input.h"
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

TEST_F(CommaLocaleTest, NumberFieldsShowTheShortestFixedTextThatReadsBack) {
  struct Row {
    double value;
    bool single;  // a single-precision field of the module table
    char separator;
    const char* shown;
  };
  for (const Row& r :
       {Row{0.0005, false, ',', "0,0005"}, Row{0.0005, true, '.', "0.0005"},
        Row{1e-7, false, ',', "0,0000001"}, Row{1e-7, true, '.', "0.0000001"},
        Row{123456789.0, false, ',', "123456789"}, Row{123456789.0, true, ',', "123456792"},
        Row{-0.25, false, ',', "-0,25"}, Row{-0.25, true, '.', "-0.25"}, Row{7.3, true, ',', "7,3"},
        Row{1e21, false, '.', "1000000000000000000000"}}) {
    SCOPED_TRACE(r.shown);
    const QString shown = r.single ? shownNumber(static_cast<float>(r.value), r.separator)
                                   : shownNumber(r.value, r.separator);
    EXPECT_EQ(shown, r.shown);
    const auto typed = typedNumber(shown, r.separator);
    ASSERT_TRUE(typed) << "the field must read back";
    if (r.single)
      EXPECT_EQ(static_cast<float>(*typed), static_cast<float>(r.value));
    else
      EXPECT_EQ(*typed, r.value);
  }
}

}  // namespace
}  // namespace orvane::admin
