// Pulling the adapter: the product's line hangs up at once, and a replugged
// line at the same link reaches the same modules.
#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <future>
#include <thread>

#include "line_client.h"
#include "sim/network.h"

namespace orvane::sim {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using test::LineClient;

struct Unplug : ::testing::Test {
  std::string link = ::testing::TempDir() + "orvsim-unplug-" + std::to_string(::getpid());
  Network net{{makeModule("7213", 0x01), makeModule("7215", 0x02)}, optionsWithLink()};

  NetworkOptions optionsWithLink() const {
    NetworkOptions options;
    options.linkPath = link;
    return options;
  }
  bool linkExists() const { return ::access(link.c_str(), F_OK) == 0; }
};

TEST_F(Unplug, WaitingReaderSeesTheHangUpAtOnce) {
  LineClient line(link);
  auto pull = std::async(std::launch::async, [&] {
    std::this_thread::sleep_for(50ms);
    net.unplug();
  });
  const auto start = Clock::now();
  EXPECT_EQ(line.readUntilHangUp(5000ms), "");
  EXPECT_LT(Clock::now() - start, 1000ms);  // not the time-out
  pull.get();
  EXPECT_FALSE(net.pluggedIn());
  EXPECT_FALSE(linkExists());
  EXPECT_THROW(LineClient{link}, serial::SerialError);
}

TEST_F(Unplug, ReplugAtTheSameLinkReachesTheSameModules) {
  std::optional<LineClient> old(std::in_place, link);
  EXPECT_EQ(old->ask("@01DO03"), "!01");
  const std::string oldPath = net.slavePath();
  net.unplug();
  net.unplug();  // already unplugged
  net.replug();
  EXPECT_TRUE(net.pluggedIn());
  EXPECT_NE(net.slavePath(), oldPath);  // the old line is still held open
  EXPECT_EQ(old->readUntilHangUp(1000ms), "");
  old.reset();
  LineClient line(link);
  EXPECT_EQ(line.ask("$01M"), "!017213");
  EXPECT_EQ(net.state(1).digitalOutputs, 3u);
  const std::string path = net.slavePath();
  net.replug();  // already plugged in
  EXPECT_EQ(net.slavePath(), path);
  EXPECT_EQ(line.ask("$02M"), "!027215");
}

TEST_F(Unplug, HangUpAfterSendsExactlyThatManyCharacters) {
  for (int count : {0, 3, 20}) {
    SCOPED_TRACE(count);
    net.setFault(1, "$AAM", {.charGapMs = count == 3 ? 20 : 0, .hangUpAfter = count});
    LineClient line(link);
    EXPECT_EQ(line.ask("$02M"), "!027215");  // other commands are untouched
    line.sendRaw("$01M\r");
    EXPECT_EQ(line.readUntilHangUp(2000ms), std::string("!017213\r").substr(0, count));
    EXPECT_FALSE(net.pluggedIn());
    EXPECT_EQ(net.frames().back().reply, std::string("!017213\r").substr(0, count));
    net.replug();
  }
}

TEST_F(Unplug, FramesBehindTheHangUpAreLost) {
  net.setFault(1, "$AAM", {.hangUpAfter = 0});
  LineClient line(link);
  line.sendRaw("$01M\r$02M\r$01F\r");
  EXPECT_EQ(line.readUntilHangUp(2000ms), "");
  EXPECT_EQ(net.frames().back().raw, "$01M\r");
}

TEST_F(Unplug, SilentModuleHangsUpWithoutAReply) {
  net.setFault(2, {.silent = true, .delayMs = 5000, .hangUpAfter = 3});
  LineClient line(link);
  line.sendRaw("$02M\r");
  const auto start = Clock::now();
  EXPECT_EQ(line.readUntilHangUp(2000ms), "");
  EXPECT_LT(Clock::now() - start, 1000ms);  // no pause without a character to send
}

TEST_F(Unplug, UnplugFromTheFrameCallbackAndStopWhileUnplugged) {
  std::atomic<Network*> self{nullptr};
  NetworkOptions options;
  options.linkPath = link + "-callback";
  options.onFrame = [&self](const FrameRecord& f) {
    if (f.raw == "$01F\r") self.load()->unplug();
  };
  Network pulled({makeModule("7213", 1)}, options);
  self = &pulled;
  LineClient line(options.linkPath);
  EXPECT_EQ(line.ask("$01M"), "!017213");
  line.sendRaw("$01F\r");
  EXPECT_EQ(line.readUntilHangUp(2000ms), "");
  pulled.stop();
  pulled.replug();  // a stopped network stays unplugged
  EXPECT_FALSE(pulled.pluggedIn());
}

}  // namespace
}  // namespace orvane::sim
