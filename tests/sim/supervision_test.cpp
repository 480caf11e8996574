// The host watchdog, wire time, and the network's own life: modules added at
// run time, duplicates refused, several hosts one after the other.
#include <gtest/gtest.h>

#include <fstream>
#include <thread>

#include "line_client.h"
#include "sim/network.h"

namespace orvane::sim {
namespace {

using namespace std::chrono_literals;
using test::LineClient;

TEST(Watchdog, TripsWithoutHostOkAndDrivesOutputsToSafeValue) {
  Network net({makeModule("7451", 1), makeModule("7474", 2)});
  LineClient line(net.slavePath());
  EXPECT_EQ(line.ask("#0100FF"), ">");
  EXPECT_EQ(line.ask("~01210255"), "!01");  // on, 0.2 s, safe value 55
  EXPECT_EQ(line.ask("~013"), "!0110255");
  EXPECT_EQ(line.ask("#0200FF"), ">");
  EXPECT_EQ(line.ask("~02210242"), "!02");
  for (int i = 0; i < 6; ++i) {  // the host's sign of life keeps the watchdog quiet
    line.exchange("~**", false, 10ms);
    std::this_thread::sleep_for(50ms);
  }
  EXPECT_FALSE(net.state(1).watchdogTripped);
  std::this_thread::sleep_for(350ms);
  const auto s = net.state(1);
  EXPECT_TRUE(s.watchdogTripped);
  EXPECT_EQ(s.digitalOutputs, 0x55u);
  EXPECT_EQ(line.ask("$016").value_or("").substr(0, 3), "!55");
  EXPECT_EQ(line.ask("$026"), "!420000");
}

TEST(WireTime, CommandAndReplyTakeTenBitsPerCharacter) {
  auto m = makeModule("7213", 1);
  m.baudCode = 0;  // 1200 bps: 8.3 ms a character
  NetworkOptions options;
  options.wireTime = true;
  Network net({m}, options);
  LineClient line(net.slavePath(), 1200);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(line.ask("$01M"), "!017213");  // 5 + 8 characters: about 108 ms
  EXPECT_GE(std::chrono::steady_clock::now() - start, 90ms);
}

TEST(NetworkLife, ModulesAddedAndChangedWhileRunning) {
  Network net({makeModule("7213", 1)});
  EXPECT_THROW(net.addModule(makeModule("7215", 1)), std::invalid_argument);
  net.addModule(makeModule("7215", 2));
  EXPECT_THROW(net.modify(2, [](ModuleState& m) { m.address = 1; }), std::invalid_argument);
  EXPECT_THROW(net.state(9), std::out_of_range);
  EXPECT_THROW(Network({makeModule("7213", 4), makeModule("7453", 4)}), std::invalid_argument);
  LineClient line(net.slavePath());
  EXPECT_EQ(line.ask("$02M"), "!027215");
  net.modify(2, [](ModuleState& m) { m.firmware = "Z9"; });
  EXPECT_EQ(line.ask("$02F"), "!02Z9");
}

TEST(NetworkLife, LineSurvivesHostsClosingAndReopening) {
  Network net({makeModule("7213", 1)});
  for (int i = 0; i < 3; ++i) {
    LineClient line(net.slavePath());
    EXPECT_EQ(line.ask("$01M"), "!017213");
  }
  EXPECT_TRUE(net.waitForFrames(3, 500ms));
}

TEST(NetworkLife, ConcurrentReadersAndWritersWhileTheLineIsBusy) {
  Network net({makeModule("7231", 1)});
  std::thread host([&] {
    LineClient line(net.slavePath());
    for (int i = 0; i < 30; ++i) line.ask("#010");
  });
  for (int i = 0; i < 200; ++i) {
    net.modify(1, [i](ModuleState& m) { m.inputs[0].value = i % 10; });
    (void)net.state(1);
    (void)net.frames();
  }
  host.join();
  EXPECT_TRUE(net.waitForFrames(30, 1000ms));
}

TEST(NetworkLife, LinkIsCreatedAndRemoved) {
  const std::string link = ::testing::TempDir() + "orvsim-link-test";
  {
    NetworkOptions options;
    options.linkPath = link;
    Network net({makeModule("7213", 1)}, options);
    LineClient line(link);
    EXPECT_EQ(line.ask("$01M"), "!017213");
  }
  EXPECT_NE(::access(link.c_str(), F_OK), 0);
}

TEST(NetworkLife, LinkNeverReplacesAFile) {
  const std::string path = ::testing::TempDir() + "orvsim-not-a-link";
  std::ofstream(path) << "keep me";
  NetworkOptions options;
  options.linkPath = path;
  EXPECT_THROW(Network({makeModule("7213", 1)}, options), std::runtime_error);
  std::ifstream in(path);
  std::string text;
  std::getline(in, text);
  EXPECT_EQ(text, "keep me");
  ::unlink(path.c_str());
}

}  // namespace
}  // namespace orvane::sim
