// The texts of the diagnostic windows, without widgets.
#include "admin/diag/diag_text.h"

#include <gtest/gtest.h>

namespace orvane::admin {
namespace {

TEST(DiagText, AddressCaptionIsDecimalThenTwoUpperCaseHexDigits) {
  EXPECT_EQ(addressCaption(10), "10 (0AH)");
  EXPECT_EQ(addressCaption(0), "0 (00H)");
  EXPECT_EQ(addressCaption(255), "255 (FFH)");
  EXPECT_EQ(addressCaption(18), "18 (12H)");
}

}  // namespace
}  // namespace orvane::admin
