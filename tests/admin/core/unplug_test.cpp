// The adapter pulled out and plugged in again at the same device path: the
// command link brings the line back by itself, whichever window the
// exchange comes from, and OK in the COM Port dialog never keeps a dead
// handle.
#include <QPushButton>
#include <chrono>

#include "admin/core/command_link.h"
#include "admin/core/orvane_form.h"
#include "serial/serial_port.h"
#include "tests/admin/core/admin_fixture.h"
#include "tests/admin/core/form_driver.h"
#include "tests/admin/core/sim_modules.h"
#include "unplug_moment.h"

namespace orvane::admin {
namespace {

using namespace testing;
using namespace orvane::test;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// A failure found by the hang-up or by a missing device comes at once; one
// that waited for the reply time-out would take all of it.
constexpr int kReplyTimeoutMs = 2000;
constexpr auto kAtOnce = 1000ms;

class CommandLinkUnplugTest : public AdminFixture,
                              public ::testing::WithParamInterface<UnplugMoment> {
 protected:
  void SetUp() override {
    startNetworkOnLink({simModule("7213", 1)});
    openPort();
    setEntry(0, "7213", 1);
    context_->ReplyTimeout = kReplyTimeoutMs;
  }
  bool readName() {
    context_->LastCommand = "$01M";
    const auto start = Clock::now();
    ExchangeCommand(*context_, 0, 0, context_->ReplyTimeout);
    took_ = Clock::now() - start;
    return context_->LastExchangeOK && context_->LastReply == "!017213";
  }
  // Before the send, the write finds the line gone; at the other moments
  // the read does, after the module may have carried the command out.
  bool foundByTheWrite() const { return GetParam() == UnplugMoment::BeforeTheSend; }

  Clock::duration took_{};
};

TEST_P(CommandLinkUnplugTest, TheLineComesBackByItselfOnceReplugged) {
  ASSERT_TRUE(readName());
  context_->baudSettlePause = 5ms;
  ui_->paused = {};
  pullAdapter(*network_, 1, GetParam());
  network_->clearFrames();
  if (foundByTheWrite()) {
    network_->replug();  // out and in again while the line was idle
    EXPECT_TRUE(readName()) << "the same exchange, on the device opened again: "
                            << context_->LastLinkError;
  } else {
    EXPECT_FALSE(readName());
    EXPECT_LT(took_, kAtOnce);
    EXPECT_EQ(context_->LastLinkError, disconnectedText());
    network_->clearFaults();
    network_->replug();
    EXPECT_TRUE(readName()) << "the next exchange opens the device again";
  }
  EXPECT_EQ(context_->LastLinkError, "");
  EXPECT_EQ(framesSent(), std::vector<std::string>(foundByTheWrite() ? 1 : 2, "$01M"))
      << "every exchange sends its command once";
  // The new pty starts at another speed: the module answers only because
  // the line was set up again, and it settled as after any open (seen in
  // the test UI when the worker is inline).
  if (!lineThreaded()) {
    EXPECT_EQ(ui_->paused, 5ms);
  }
}

TEST_P(CommandLinkUnplugTest, WhileTheDeviceIsMissingExchangesFailAtOnceAndTryOncePerInterval) {
  ASSERT_TRUE(readName());
  context_->reopenInterval = std::chrono::hours(1);
  pullAdapter(*network_, 1, GetParam());
  // A write that finds the line gone tries the device at once; after a read
  // that found it gone, the next exchange does.
  const int failuresBeforeATry = foundByTheWrite() ? 1 : 2;
  for (int i = 0; i < failuresBeforeATry; ++i) {
    EXPECT_FALSE(readName());
    EXPECT_LT(took_, kAtOnce);
    EXPECT_EQ(context_->LastLinkError, disconnectedText());
  }
  network_->clearFaults();
  network_->replug();
  EXPECT_FALSE(readName()) << "no new try within the interval, although the device is back";
  EXPECT_LT(took_, kAtOnce);
  EXPECT_EQ(context_->LastLinkError, disconnectedText());

  context_->reopenInterval = 0ms;  // as if the interval had passed
  EXPECT_TRUE(readName()) << context_->LastLinkError;
}

INSTANTIATE_TEST_SUITE_P(Moments, CommandLinkUnplugTest, kUnplugMoments, unplugMomentName);

using ReplugHeldTest = AdminFixture;

TEST_F(ReplugHeldTest, AReplugedDeviceThatAnotherProgramHoldsIsNamedAsInUse) {
  startNetworkOnLink({simModule("7213", 1)});
  openPort();
  setEntry(0, "7213", 1);
  network_->unplug();
  network_->replug();
  auto holder = serial::SerialPort::open(portsConf_[1]);
  context_->LastCommand = "$01M";
  ExchangeCommand(*context_, 0, 0, context_->ReplyTimeout);
  EXPECT_NE(context_->LastLinkError.find("in use"), std::string::npos) << context_->LastLinkError;
  holder.close();
  ExchangeCommand(*context_, 0, 0, context_->ReplyTimeout);
  EXPECT_EQ(context_->LastReply, "!017213") << context_->LastLinkError;
}

// The user's day: the adapter is pulled while nothing is sent and plugged
// back in; then Search, with or without OK in the COM Port dialog first.
class ReplugScenarioTest : public AdminFixture {
 protected:
  ReplugScenarioTest() : form_(*context_) {}
  void SetUp() override {
    startNetworkOnLink({simModule("7213", 1), simModule("7451", 2)});
    writeConfigFile("COM.CFG", "100\r\n1\r\nn,8,1\r\n9600\r\n");
    form_.load();
    ui_->modalHandlers[QStringLiteral("ComPortForm")] = [](QDialog& dialog) {
      dialog.findChild<QPushButton*>(QStringLiteral("OKBtn"))->click();
      return dialog.result();
    };
  }
  void search() {
    answerSearch(*ui_, {QStringLiteral("3")});
    clickButton(form_, "SearchBtn");
  }

  OrvaneForm form_;
};

TEST_F(ReplugScenarioTest, AfterAnIdlePullAndReplugSearchFindsTheModulesAgain) {
  for (const bool comPortOkFirst : {false, true}) {
    SCOPED_TRACE(comPortOkFirst ? "OK in the COM Port dialog, then Search" : "Search alone");
    network_->unplug();
    network_->replug();
    ui_->messages.clear();
    if (comPortOkFirst) {
      triggerMenu(form_, "mnuComPort");
      EXPECT_EQ(ui_->texts(), std::vector<QString>{"COM Port configuration complete."});
      EXPECT_FALSE(context_->OrvComm.port(1).hungUp()) << "OK opened the port anew";
      ui_->messages.clear();
    }
    search();
    EXPECT_EQ(context_->ModuleCount, 2);
    EXPECT_TRUE(ui_->messages.empty()) << ui_->messages.front().text.toStdString();
  }
}

}  // namespace
}  // namespace orvane::admin
