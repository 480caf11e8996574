// The adapter pulled out while the terminal talks: the typed command fails at
// once with the line's own message, a batch Run ends, and the first command
// after the adapter is back works again.
#include <chrono>

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

TEST_P(TerminalUnplugMomentTest, TypedCommandFailsAtOnceAndTheLineComesBackWhenReplugged) {
  startOnLink();
  context_->LongReplyTimeout = 2000;
  type("$01M");
  ASSERT_EQ(context_->LastReply, "!017213");
  pullAdapter(*network_, 1, GetParam());

  const auto start = Clock::now();
  type("$01M");
  EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(context_->LongReplyTimeout / 2));
  EXPECT_FALSE(context_->LastExchangeOK);
  ASSERT_EQ(ui_->messages.size(), 1u);
  EXPECT_EQ(ui_->messages[0].title, "Error");
  EXPECT_EQ(ui_->messages[0].text.toStdString(), disconnectedText());

  network_->clearFaults();
  network_->replug();
  type("$01M");
  EXPECT_TRUE(context_->LastExchangeOK) << "no other step: " << context_->LastLinkError;
  EXPECT_EQ(context_->LastReply, "!017213");
  EXPECT_EQ(ui_->messages.size(), 1u);
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
  EXPECT_EQ(ui_->messages[0].text.toStdString(), disconnectedText());
}

}  // namespace
}  // namespace orvane::admin
