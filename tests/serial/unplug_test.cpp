// Pulling the USB adapter at three moments of an exchange, on the serial
// layer itself: the exchange fails at once instead of waiting out its
// time-out, and the same link path works again once the adapter is back.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <optional>
#include <string>

#include "line_exchange.h"
#include "serial/config_dir.h"
#include "serial/serial_port.h"
#include "sim/network.h"
#include "unplug_moment.h"

namespace orvane::serial {
namespace {

using namespace std::chrono_literals;

constexpr auto kReplyTimeout = 500ms;
// A failure must come from the hang-up, well before a time-out could end it.
constexpr auto kFailureLimit = kReplyTimeout + 200ms;

std::optional<std::string> exchange(SerialPort& port, const std::string& frame) {
  return orvane::test::exchange(port, frame, kReplyTimeout);
}

struct Outcome {
  std::optional<std::string> reply;
  std::string error;  // the SerialError text, if one was thrown
  std::chrono::milliseconds took{};
};

Outcome timedExchange(SerialPort& port, const std::string& frame) {
  Outcome outcome;
  auto started = Clock::now();
  try {
    outcome.reply = exchange(port, frame);
  } catch (const SerialError& e) {
    outcome.error = e.what();
  }
  outcome.took = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - started);
  return outcome;
}

class SerialUnplugTest : public ::testing::TestWithParam<orvane::test::UnplugMoment> {
 protected:
  std::string link_ = ::testing::TempDir() + "orvane-serial-unplug-" + std::to_string(::getpid());
};

TEST_P(SerialUnplugTest, FailsAtOnceAndTheSameLinkWorksAfterReplugging) {
  sim::NetworkOptions options;
  options.linkPath = link_;
  sim::Network net({sim::makeModule("7213", 1)}, options);
  auto port = SerialPort::open(link_);
  port.configure(9600);
  ASSERT_EQ(exchange(port, "$01M\r"), "!017213");
  EXPECT_FALSE(port.hungUp());

  orvane::test::pullAdapter(net, 1, GetParam());
  Outcome failed = timedExchange(port, "$01M\r");
  EXPECT_FALSE(failed.reply) << "a reply through a pulled adapter: " << *failed.reply;
  // The documented report, or a failed write or read: never a wait.
  if (!failed.error.empty()) {
    EXPECT_NE(failed.error.find("device disconnected"), std::string::npos) << failed.error;
  }
  EXPECT_LT(failed.took, kFailureLimit);
  RecordProperty("failureMs", static_cast<int>(failed.took.count()));
  EXPECT_FALSE(net.pluggedIn());
  EXPECT_TRUE(port.hungUp()) << "the handle tells without sending";

  port.close();
  net.clearFaults();
  net.replug();
  auto again = SerialPort::open(link_);
  again.configure(9600);
  EXPECT_FALSE(again.hungUp());
  EXPECT_EQ(exchange(again, "$01M\r"), "!017213");
}

INSTANTIATE_TEST_SUITE_P(Moments, SerialUnplugTest, orvane::test::kUnplugMoments,
                         orvane::test::unplugMomentName);

}  // namespace
}  // namespace orvane::serial
