// Faults injected into one module's replies.
#include <gtest/gtest.h>

#include "line_client.h"
#include "protocol/numbers.h"
#include "sim/network.h"

namespace orvane::sim {
namespace {

using namespace std::chrono_literals;
using test::LineClient;

struct Faults : ::testing::Test {
  Network net{{makeModule("7213", 0x01), makeModule("7215", 0x02)}};
  LineClient line{net.slavePath()};

  void withFault(FaultSpec fault) { net.setFault(1, fault); }
  void checksumOn() {
    net.modify(1, [](ModuleState& m) { m.checksum = true; });
  }
};

TEST_F(Faults, SilentModuleDoesNotAnswerOthersDo) {
  withFault({.silent = true});
  EXPECT_EQ(line.exchange("$01M"), std::nullopt);
  EXPECT_EQ(line.ask("$02M"), "!027215");
  net.clearFaults();
  EXPECT_EQ(line.ask("$01M"), "!017213");
}

TEST_F(Faults, RefuseAllAnswersQuestionMark) {
  withFault({.refuseAll = true});
  EXPECT_EQ(line.ask("$01M"), "?01");
}

TEST_F(Faults, DelayBeforeReplyAndGapBetweenCharacters) {
  withFault({.delayMs = 300});
  EXPECT_EQ(line.exchange("$01M", false, 100ms), std::nullopt);  // too late for a short wait
  EXPECT_EQ(line.readReply(1000ms), "!017213\r");                // but it comes
  withFault({.charGapMs = 60});
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(line.exchange("$01M", false, 500ms), "!017213\r");
  EXPECT_GE(std::chrono::steady_clock::now() - start, 7 * 60ms);
}

TEST_F(Faults, ChecksumFaults) {
  checksumOn();
  withFault({.wrongChecksum = true});
  const int good = protocol::checksum("!017213");
  EXPECT_EQ(line.exchange("$01M", true), "!017213" + protocol::hex2((good + 1) & 0xFF) + "\r");
  withFault({.lowerCaseChecksum = true});
  auto reply = line.exchange("$01M", true);
  ASSERT_TRUE(reply);
  std::string lower = protocol::checksumDigits("!017213");
  for (char& c : lower) c = static_cast<char>(std::tolower(c));
  EXPECT_EQ(reply->substr(7, 2), lower);
}

TEST_F(Faults, NulBytesGarbageAndMissingCarriageReturn) {
  withFault({.nulBytes = true});
  auto reply = line.exchange("$01M");
  ASSERT_TRUE(reply);
  EXPECT_NE(reply->find('\0'), std::string::npos);
  withFault({.garbage = true});
  reply = line.exchange("$01M");
  ASSERT_TRUE(reply);
  EXPECT_NE(reply->front(), '!');
  EXPECT_EQ(reply->substr(reply->size() - 8), "!017213\r");
  withFault({.noCarriageReturn = true});
  EXPECT_EQ(line.exchange("$01M", false, 100ms), "!017213");
}

}  // namespace
}  // namespace orvane::sim
