// Faults injected into a module's replies, to every command or to one.
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

TEST_F(Faults, CommandFaultHitsOnlyItsCommandOfItsModule) {
  net.modify(2, [](ModuleState& m) { m.model = "7213"; });
  net.setFault(1, "$AA3", {.silent = true});
  EXPECT_EQ(line.exchange("$013"), std::nullopt);
  EXPECT_EQ(line.ask("$01M"), "!017213");
  EXPECT_NE(line.ask("$023"), std::nullopt);
  net.setFault(1, "#AA*", {.refuseAll = true});
  EXPECT_EQ(line.ask("#01"), "?01");
  EXPECT_EQ(line.ask("#010"), "?01");
  EXPECT_EQ(line.ask("$01M"), "!017213");
  EXPECT_EQ(line.exchange("$013"), std::nullopt);
  net.clearFaults();
  EXPECT_NE(line.ask("$013"), std::nullopt);
  EXPECT_NE(line.ask("#01"), "?01");
}

TEST_F(Faults, CommandPatternAddressIsTheOneTheFrameUses) {
  net.setFault(1, "$AAM", {.refuseAll = true});
  net.setFault(1, "$01F", {.refuseAll = true});
  net.setInitState(1, true);
  EXPECT_EQ(line.ask("$00M"), "?00");
  EXPECT_EQ(line.ask("$00F"), "!00A1.0");  // a literal address is only that address
  net.setInitState(1, false);
  EXPECT_EQ(line.ask("$01M"), "?01");
  EXPECT_EQ(line.ask("$01F"), "?01");
  checksumOn();
  EXPECT_EQ(line.ask("$01M", true), "?01");  // matched without the checksum digits
}

TEST_F(Faults, CommandFaultBeatsModuleFaultAndTheLastPatternSetWins) {
  withFault({.silent = true});
  net.setFault(1, "$AAM", {});
  EXPECT_EQ(line.ask("$01M"), "!017213");
  EXPECT_EQ(line.exchange("$01F"), std::nullopt);
  net.setFault(1, "#AA*", {.refuseAll = true});
  net.setFault(1, "#AA0", {.reply = "first\r"});
  net.setFault(1, "#AA0", {.reply = "second\r"});
  EXPECT_EQ(line.exchange("#010"), "second\r");
  EXPECT_EQ(line.ask("#011"), "?01");
  net.setFault(1, "#AA*", {.reply = "all\r"});
  EXPECT_EQ(line.exchange("#010"), "all\r");
}

TEST_F(Faults, SubstitutedReplyGoesOutExactlyAndTheCommandStillActs) {
  checksumOn();
  const std::string garbled("!01\0zz", 6);
  net.setFault(1, "@AADO*", {.wrongChecksum = true, .garbage = true, .reply = garbled});
  EXPECT_EQ(line.exchange("@01DO03", true, 100ms), garbled);
  EXPECT_EQ(net.state(1).digitalOutputs, 3u);
  net.setFault(1, "$AA2", {.reply = ">12\r"});
  EXPECT_EQ(line.exchange("$012", true), ">12\r");
  net.setFault(1, "@AADO*", {.silent = true, .reply = "never\r"});
  EXPECT_EQ(line.exchange("@01DO02", true), std::nullopt);
  EXPECT_EQ(net.state(1).digitalOutputs, 3u);  // a silent module does not act either
  const auto log = net.frames();
  ASSERT_GE(log.size(), 2u);
  EXPECT_EQ(log[log.size() - 2].reply, ">12\r");
  EXPECT_EQ(log.back().answeredBy, std::nullopt);
}

}  // namespace
}  // namespace orvane::sim
