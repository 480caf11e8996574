// Reply fields by position: short and garbled replies read as nothing.
#include "admin/core/reply_fields.h"

#include <gtest/gtest.h>

namespace orvane::admin {
namespace {

TEST(ReplyFields, ReadByPositionAndNeverPastTheEnd) {
  const std::string reply = "!0A1F0640";
  EXPECT_EQ(replyText(reply, 3, 2), "1F");
  EXPECT_EQ(replyText(reply, 7), "40");
  EXPECT_EQ(replyText(reply, 9), "");
  EXPECT_EQ(replyText(reply, 50, 3), "");
  EXPECT_EQ(replyHex(reply, 3, 2), 0x1Fu);
  EXPECT_EQ(replyHex(reply, 7, 8), 0x40u) << "only what is there";
  EXPECT_EQ(replyDigit(reply, 4), 15);
  EXPECT_EQ(replyDigit(reply, 9), 0);
  EXPECT_DOUBLE_EQ(replyDecimal("!01+012.50", 3), 12.5);
  EXPECT_DOUBLE_EQ(replyDecimal("!01", 3), 0.0);
  // Every prefix of a reply, down to nothing, reads without a fault.
  for (std::size_t n = 0; n <= reply.size(); ++n) {
    const std::string prefix = reply.substr(0, n);
    EXPECT_LE(replyText(prefix, 3, 4).size(), 4u);
    EXPECT_LE(replyHex(prefix, 1, 8), 0xFFFFFFFFu);
  }
}

TEST(ReplyFields, AReplyCountsWithItsLeadAndLength) {
  EXPECT_TRUE(replyValid(true, "!0100", '!', 5));
  EXPECT_TRUE(replyValid(true, ">+01.000", '>'));
  EXPECT_FALSE(replyValid(false, "!0100", '!', 5));
  EXPECT_FALSE(replyValid(true, "?01", '!'));
  EXPECT_FALSE(replyValid(true, "!010", '!', 5));
  EXPECT_FALSE(replyValid(true, "", '!'));
}

}  // namespace
}  // namespace orvane::admin
