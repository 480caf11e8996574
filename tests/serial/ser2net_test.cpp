// Lines through the real ser2net in front of the simulator: the baud rate
// set over RFC 2217 reaches the simulator's line (its modules answer only at
// their own rate), a raw TCP line stays at the server's speed, and a server
// that goes away is a disconnected device that a new open recovers from.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <memory>
#include <thread>

#include "line_exchange.h"
#include "ser2net_server.h"
#include "serial/config_dir.h"
#include "serial/line.h"
#include "sim/network.h"

namespace orvane::serial {
namespace {

using namespace std::chrono_literals;

// Long enough for ser2net on a loaded machine; a module that is not meant to
// answer costs this much, so it stays short of a second.
constexpr auto kReplyTimeout = 700ms;
constexpr int kAt9600 = 1;
constexpr int kAt19200 = 5;

class Ser2netLine : public ::testing::Test {
 protected:
  void SetUp() override {
    if (test::Ser2net::program().empty())
      GTEST_SKIP() << "ser2net is not installed (Debian package ser2net, which scripts/setup "
                      "installs)";
    char pattern[] = "/tmp/orvane-ser2net-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    dir_ = pattern;
    sim::NetworkOptions options;
    options.linkPath = (dir_ / "line").string();
    auto fast = sim::makeModule("7231", kAt19200);
    fast.baudCode = 4;
    net_ = std::make_unique<sim::Network>(
        std::vector<sim::ModuleState>{sim::makeModule("7213", kAt9600), fast}, options);
    server_ = std::make_unique<test::Ser2net>(options.linkPath, dir_);
    server_->start();
  }
  void TearDown() override {
    server_.reset();
    net_.reset();
    if (!dir_.empty()) std::filesystem::remove_all(dir_);
  }

  std::optional<std::string> exchange(Line& line, const std::string& frame) {
    return test::exchange(line, frame, kReplyTimeout);
  }

  std::filesystem::path dir_;
  std::unique_ptr<sim::Network> net_;
  std::unique_ptr<test::Ser2net> server_;
};

TEST_F(Ser2netLine, Rfc2217SetsTheSpeedOfTheFarLine) {
  auto line = openLine(server_->rfc2217Url());
  EXPECT_FALSE(line->fixedSpeed());
  line->configure(9600);
  EXPECT_EQ(exchange(*line, "$01M\r"), "!017213") << server_->output();
  EXPECT_EQ(exchange(*line, "$05M\r"), std::nullopt);
  line->configure(19200);
  EXPECT_EQ(exchange(*line, "$05M\r"), "!057231");
  EXPECT_EQ(exchange(*line, "$01M\r"), std::nullopt);
  const auto frames = net_->frames();
  ASSERT_EQ(frames.size(), 4u);
  EXPECT_EQ(frames[0].baudRate, 9600);
  EXPECT_EQ(frames[3].baudRate, 19200);
}

TEST_F(Ser2netLine, ARawTcpLineStaysAtTheServersSpeed) {
  auto line = openLine(server_->socketUrl());
  EXPECT_TRUE(line->fixedSpeed());
  line->configure(19200);
  EXPECT_EQ(exchange(*line, "$01M\r"), "!017213") << server_->output();
  EXPECT_EQ(exchange(*line, "$05M\r"), std::nullopt);
}

TEST_F(Ser2netLine, AServerThatGoesAwayIsADisconnectedDeviceUntilOpenedAgain) {
  auto line = openLine(server_->rfc2217Url());
  line->configure(9600);
  ASSERT_EQ(exchange(*line, "$01M\r"), "!017213") << server_->output();

  // The module keeps quiet, so the line is waiting for its reply when the
  // server ends.
  net_->setFault(kAt9600, sim::FaultSpec{.silent = true});
  net_->clearFrames();
  std::thread stopper([&] {
    if (net_->waitForFrames(1, 5s)) server_->stop();
  });
  line->purge();
  ASSERT_TRUE(line->write("$01M\r", kReplyTimeout));
  const auto started = Clock::now();
  EXPECT_THROW(line->readByte(20s), DeviceDisconnected);
  stopper.join();
  EXPECT_LT(Clock::now() - started, 10s);
  EXPECT_THROW(line->readByte(10ms), DeviceDisconnected);
  line->close();

  net_->clearFaults();
  server_->start();
  line = openLine(server_->rfc2217Url());
  line->configure(9600);
  EXPECT_EQ(exchange(*line, "$01M\r"), "!017213") << server_->output();
}

TEST_F(Ser2netLine, ALineInUseIsReportedWithTheServersWords) {
  auto first = openLine(server_->rfc2217Url());
  first->configure(9600);
  std::string error;
  try {
    auto second = openLine(server_->rfc2217Url());
    second->configure(9600);
  } catch (const DeviceDisconnected& e) {
    error = e.what();
  }
  EXPECT_EQ(error, server_->rfc2217Url() +
                       ": the server closed the connection (\"Port already in use\"): device "
                       "disconnected");
  EXPECT_EQ(exchange(*first, "$01M\r"), "!017213");
}

}  // namespace
}  // namespace orvane::serial
