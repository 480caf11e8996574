#include "protocol/frame.h"

#include <gtest/gtest.h>

namespace orvane::protocol {
namespace {

TEST(Checksum, MatchesTheWorkedExamples) {
  EXPECT_EQ(checksumDigits("$022"), "B8");
  EXPECT_EQ(checksumDigits("#03"), "86");
  EXPECT_EQ(checksumDigits("!02300700"), "AD");
  EXPECT_EQ(checksumDigits("$02M"), "D3");
  EXPECT_EQ(checksumDigits(""), "00");
}

TEST(Checksum, WrapsModulo256AndUsesUnsignedCodes) {
  std::string text(3, '\xFF');  // 3 * 255 = 765 = 0x2FD
  EXPECT_EQ(checksum(text), 0xFD);
}

TEST(CompleteCommand, AppendsChecksumOnlyWhenInUseAndAlwaysCr) {
  EXPECT_EQ(completeCommand("$022", true), "$022B8\r");
  EXPECT_EQ(completeCommand("$022", false), "$022\r");
  EXPECT_EQ(completeCommand("$02M", true), "$02MD3\r");
}

TEST(CheckReply, StripsAMatchingChecksum) {
  auto text = checkReply("!02300700AD", true, DigitRule::UpperCaseOnly);
  ASSERT_TRUE(text);
  EXPECT_EQ(*text, "!02300700");
}

TEST(CheckReply, RejectsAMismatch) {
  EXPECT_FALSE(checkReply("!02300700AE", true, DigitRule::UpperCaseOnly));
  EXPECT_FALSE(checkReply("!02300700AE", true, DigitRule::AnyCase));
}

TEST(CheckReply, WithoutChecksumHandsTheTextBackUnchanged) {
  auto text = checkReply("!02300700AE", false, DigitRule::UpperCaseOnly);
  ASSERT_TRUE(text);
  EXPECT_EQ(*text, "!02300700AE");
}

TEST(CheckReply, LowerCaseDigitsDependOnTheRule) {
  EXPECT_TRUE(checkReply("!02300700ad", true, DigitRule::AnyCase));
  // The library reads "a" and "d" as 0: 0x00 is not 0xAD.
  EXPECT_FALSE(checkReply("!02300700ad", true, DigitRule::UpperCaseOnly));
}

TEST(CheckReply, LibraryRuleCountsForeignDigitsAsZero) {
  // "!" alone sums to 0x21: digits "2x" read as 0x20 under the library rule.
  EXPECT_FALSE(checkReply("!2x", true, DigitRule::UpperCaseOnly));
  // "0" + "0" summing: a text whose checksum is 0x20 matches "2g" (g counts as 0).
  EXPECT_TRUE(checkReply(" 2g", true, DigitRule::UpperCaseOnly));
}

TEST(CheckReply, ShorterThanTwoCharactersFailsWithChecksum) {
  EXPECT_FALSE(checkReply("", true, DigitRule::AnyCase));
  EXPECT_FALSE(checkReply("!", true, DigitRule::AnyCase));
  auto empty = checkReply("", false, DigitRule::AnyCase);
  ASSERT_TRUE(empty);
  EXPECT_EQ(*empty, "");
}

TEST(Lead, OnlyQuestionMarkIsARefusal) {
  EXPECT_TRUE(isRefusal("?01"));
  EXPECT_FALSE(isRefusal("!01"));
  EXPECT_FALSE(isRefusal(">+01.000"));
  EXPECT_FALSE(isRefusal(""));
}

TEST(AddressZero, IsTheTwoCharactersAfterTheLead) {
  EXPECT_TRUE(isAddressZero("$002"));
  EXPECT_TRUE(isAddressZero("#00"));
  EXPECT_FALSE(isAddressZero("$012"));
  EXPECT_FALSE(isAddressZero("$0A2"));
  EXPECT_FALSE(isAddressZero("#0"));
}

TEST(Broadcast, RecognisesBothBroadcastFrames) {
  EXPECT_TRUE(isBroadcast("#**"));
  EXPECT_TRUE(isBroadcast("~**"));
  EXPECT_FALSE(isBroadcast("#**1"));
  EXPECT_FALSE(isBroadcast("$**"));
}

}  // namespace
}  // namespace orvane::protocol
