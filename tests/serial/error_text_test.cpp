// Error texts taken with strerror_r, whichever flavour the C library has.
#include "serial/error_text.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <string>

namespace orvane::serial {
namespace {

TEST(ErrorText, GivesTheSystemsTextForAKnownCode) {
  EXPECT_EQ(errorText(ENOENT), "No such file or directory");
  EXPECT_EQ(errorText(EIO), "Input/output error");
}

TEST(ErrorText, NamesTheNumberOfAnUnknownCode) {
  std::string text = errorText(123456);
  EXPECT_NE(text.find("123456"), std::string::npos) << text;
}

}  // namespace
}  // namespace orvane::serial
