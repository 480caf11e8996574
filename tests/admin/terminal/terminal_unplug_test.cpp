// The adapter pulled out while the terminal talks: the typed command fails at
// once with the line's own message, a batch Run ends, and OK in the COM Port
// dialog brings the line back.
#include <QPushButton>
#include <chrono>

#include "admin/core/com_port_form.h"
#include "tests/admin/terminal/terminal_fixture.h"
#include "unplug_moment.h"

namespace orvane::admin {
namespace {

using namespace testing;
using namespace orvane::test;
using Clock = std::chrono::steady_clock;

class TerminalUnplugTest : public TerminalFixture {
 protected:
  void startOnLink() {
    startNetworkOnLink({simModule("7213", 1)});
    openPort(1);
    openTerminal();
  }
};

class TerminalUnplugMomentTest : public TerminalUnplugTest,
                                 public ::testing::WithParamInterface<UnplugMoment> {};

TEST_P(TerminalUnplugMomentTest, TypedCommandFailsAtOnceAndOkInTheComPortDialogRecovers) {
  startOnLink();
  context_->LongReplyTimeout = 500;
  type("$01M");
  ASSERT_EQ(context_->LastReply, "!017213");
  pullAdapter(*network_, 1, GetParam());

  const auto start = Clock::now();
  type("$01M");
  EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(context_->LongReplyTimeout + 200));
  EXPECT_FALSE(context_->LastExchangeOK);
  ASSERT_EQ(ui_->messages.size(), 1u);
  EXPECT_EQ(ui_->messages[0].title, "Error");
  EXPECT_TRUE(ui_->messages[0].text.contains("device disconnected"))
      << ui_->messages[0].text.toStdString();
  EXPECT_FALSE(context_->OrvComm.isOpen(1));

  network_->clearFaults();
  network_->replug();
  ComPortForm comPort(*context_);
  comPort.findChild<QPushButton*>(QStringLiteral("OKBtn"))->click();
  EXPECT_EQ(ui_->messages.back().text, "COM Port configuration complete.");
  type("$01M");
  EXPECT_TRUE(context_->LastExchangeOK);
  EXPECT_EQ(context_->LastReply, "!017213");
}

INSTANTIATE_TEST_SUITE_P(Moments, TerminalUnplugMomentTest, kUnplugMoments, unplugMomentName);

TEST_F(TerminalUnplugTest, ALineThatFailsEndsABatchRun) {
  startOnLink();
  network_->setFault(1, "$AA2", sim::FaultSpec{.hangUpAfter = 0});
  chooseBatchFile(writeFile("batch.txt", "$01M\r\n$012\r\n$01F\r\n"));
  click("RunBatchBtn");
  std::vector<std::string> sent;
  for (const auto& record : newFrames(2)) sent.push_back(record.raw);
  EXPECT_EQ(sent, (std::vector<std::string>{"$01M\r", "$012\r"}));
  ASSERT_EQ(ui_->messages.size(), 1u) << "one message, not one per remaining line";
  EXPECT_TRUE(ui_->messages[0].text.contains("device disconnected"));
}

}  // namespace
}  // namespace orvane::admin
