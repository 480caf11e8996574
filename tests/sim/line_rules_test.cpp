// The rules of the line: baud rate, parity, checksum, initialization state,
// broadcasts, refusals, faults and the frame log.
#include "line_rules.h"

#include <gtest/gtest.h>

#include "line_client.h"
#include "sim/network.h"

namespace orvane::sim {
namespace {

using namespace std::chrono_literals;
using test::LineClient;

std::vector<ModuleState> twoModules() {
  auto a = makeModule("7213", 0x01);
  auto b = makeModule("7231", 0x02);
  b.baudCode = 4;  // 19200
  b.checksum = true;
  return {a, b};
}

TEST(LineRules, ModuleAnswersOnlyAtItsOwnBaudRateWithEightBitsNoParity) {
  Network net(twoModules());
  LineClient line(net.slavePath(), 9600);
  EXPECT_EQ(line.ask("$01M"), "!017213");
  EXPECT_EQ(line.ask("$02M", true), std::nullopt);  // 02 runs at 19200
  line.setLine(19200);
  EXPECT_EQ(line.ask("$02M", true), "!027231");
  EXPECT_EQ(line.ask("$01M"), std::nullopt);
}

// The pty driver forces 8 bits without parity on every line, so the parity
// rule is checked on the settings themselves.
TEST(LineRules, ModuleIgnoresLineWithParityOrOtherWordSize) {
  const auto m = makeModule("7213", 1);
  EXPECT_TRUE(hearsLine(m, {9600, true}));
  EXPECT_FALSE(hearsLine(m, {9600, false}));
  EXPECT_FALSE(hearsLine(m, {19200, true}));
}

TEST(LineRules, ChecksumMissingOrWrongGetsNoReply) {
  Network net(twoModules());
  LineClient line(net.slavePath(), 19200);
  EXPECT_EQ(line.exchange("$02M"), std::nullopt);
  EXPECT_EQ(line.exchange("$02MD5"), std::nullopt);  // the right digits are D4
  EXPECT_EQ(line.exchange("$02M", true), "!027231" + protocol::checksumDigits("!027231") + "\r");
}

TEST(LineRules, UnknownCommandGetsRefusalWithAddress) {
  Network net(twoModules());
  LineClient line(net.slavePath());
  EXPECT_EQ(line.ask("$01Q"), "?01");
  EXPECT_EQ(line.ask("#01X"), "?01");
}

TEST(LineRules, BroadcastsGetNoReplyButAreLogged) {
  Network net(twoModules());
  LineClient line(net.slavePath());
  EXPECT_EQ(line.exchange("#**", false, 100ms), std::nullopt);
  EXPECT_EQ(line.exchange("~**", false, 100ms), std::nullopt);
  ASSERT_TRUE(net.waitForFrames(2, 1000ms));
  const auto log = net.frames();
  EXPECT_EQ(log[0].raw, "#**\r");
  EXPECT_FALSE(log[0].answeredBy.has_value());
  EXPECT_EQ(log[1].raw, "~**\r");
}

TEST(LineRules, FrameLogRecordsBaudRateAnswererAndReply) {
  Network net(twoModules());
  LineClient line(net.slavePath(), 19200);
  line.ask("$02F", true);
  line.ask("$01F");  // nobody at 19200
  ASSERT_TRUE(net.waitForFrames(2, 1000ms));
  const auto log = net.frames();
  EXPECT_EQ(log[0].baudRate, 19200);
  EXPECT_EQ(log[0].answeredBy, 2);
  EXPECT_EQ(log[0].reply.substr(0, 7), "!02A1.0");
  EXPECT_FALSE(log[1].answeredBy.has_value());
  EXPECT_TRUE(log[1].reply.empty());
  net.clearFrames();
  EXPECT_TRUE(net.frames().empty());
  EXPECT_FALSE(net.waitForFrames(1, 50ms));
}

TEST(LineRules, FrameLogKeepsARecentWindowAndCountsOn) {
  Network net(twoModules());
  LineClient line(net.slavePath());
  const std::size_t sent = Network::kFrameLogWindow + 10;
  for (std::size_t i = 0; i < sent; i += 1000) {
    std::string burst;
    for (std::size_t k = i; k < std::min(sent, i + 1000); ++k)
      burst += "$7F" + std::to_string(k) + "\r";  // nobody there
    line.sendRaw(burst);
  }
  ASSERT_TRUE(net.waitForFrames(sent, 5000ms));
  const auto log = net.frames();
  ASSERT_EQ(log.size(), Network::kFrameLogWindow);
  EXPECT_EQ(log.front().raw, "$7F10\r");
  EXPECT_EQ(log.back().raw, "$7F" + std::to_string(sent - 1) + "\r");
  EXPECT_FALSE(net.waitForFrames(sent + 1, 50ms));
  net.clearFrames();
  EXPECT_EQ(line.ask("$01M"), "!017213");
  EXPECT_TRUE(net.waitForFrames(1, 1000ms));
  EXPECT_FALSE(net.waitForFrames(2, 50ms));
  EXPECT_EQ(net.frames().size(), 1u);
}

}  // namespace
}  // namespace orvane::sim
