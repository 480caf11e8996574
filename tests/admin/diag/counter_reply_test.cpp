// The counter value of a "#AAcD" reply, without widgets.
#include "admin/diag/counter_reply.h"

#include <gtest/gtest.h>

#include <string>

namespace orvane::admin {
namespace {

TEST(CounterReply, ReadOfEachChannel) {
  EXPECT_EQ(counterReadBody(0), "0D");
  EXPECT_EQ(counterReadBody(1), "1D");
}

TEST(CounterReply, PlainDecimalWithoutLeadingZeros) {
  EXPECT_EQ(counterValue(true, ">0000012345"), 12345u);
  EXPECT_EQ(counterValue(true, ">0000000000"), 0u);
  EXPECT_EQ(counterValue(true, ">4294967295"), 4294967295u);
  EXPECT_EQ(counterValue(true, ">9999999999"), 9999999999u) << "ten digits, beyond 32 bits";
  EXPECT_EQ(counterValue(true, ">7"), 7u) << "a single digit is a number too";
}

TEST(CounterReply, AnythingButALeadAndOneToTenDigitsIsNoValue) {
  EXPECT_FALSE(counterValue(false, ">0000012345")) << "failed exchange";
  EXPECT_FALSE(counterValue(true, "?05"));
  EXPECT_FALSE(counterValue(true, ">"));
  EXPECT_FALSE(counterValue(true, ""));
  EXPECT_FALSE(counterValue(true, "!0000012345"));
  EXPECT_FALSE(counterValue(true, ">00000123456")) << "eleven digits";
  EXPECT_FALSE(counterValue(true, ">00000123A5")) << "a hexadecimal digit";
  EXPECT_FALSE(counterValue(true, ">-000012345"));
  EXPECT_FALSE(counterValue(true, "> 000012345"));
  EXPECT_FALSE(counterValue(true, ">000001234.5"));
  EXPECT_FALSE(counterValue(true, std::string(">00001\0"
                                              "2345",
                                              11)))
      << "a NUL inside";
}

// Every prefix of a good reply is a number of fewer digits or nothing, and a
// refusal is nothing; none throws.
TEST(CounterReply, EveryPrefixAndARefusal) {
  const std::string good = ">0000012345";
  EXPECT_FALSE(counterValue(true, good.substr(0, 0)));
  EXPECT_FALSE(counterValue(true, good.substr(0, 1)));
  for (std::size_t n = 2; n < good.size(); ++n)
    EXPECT_EQ(counterValue(true, good.substr(0, n)), std::stoull(good.substr(1, n - 1))) << n;
  EXPECT_EQ(counterValue(true, good), 12345u);
  EXPECT_FALSE(counterValue(true, "?0A"));
  EXPECT_FALSE(counterValue(true, "?"));
}

}  // namespace
}  // namespace orvane::admin
