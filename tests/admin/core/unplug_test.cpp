// The adapter pulled out while orvadmin talks to a module: the exchange fails
// at once instead of waiting, the dead line is closed, and OK in the COM Port
// dialog brings it back once the adapter is in again.
#include <QPushButton>
#include <chrono>

#include "admin/core/com_port_form.h"
#include "admin/core/command_link.h"
#include "tests/admin/core/admin_fixture.h"
#include "tests/admin/core/sim_modules.h"
#include "unplug_moment.h"

namespace orvane::admin {
namespace {

using namespace testing;
using namespace orvane::test;
using Clock = std::chrono::steady_clock;

class CommandLinkUnplugTest : public AdminFixture,
                              public ::testing::WithParamInterface<UnplugMoment> {
 protected:
  void SetUp() override {
    startNetworkOnLink({simModule("7213", 1)});
    openPort();
    setEntry(0, "7213", 1);
    context_->ReplyTimeout = 500;
  }
  bool readName() {
    context_->LastCommand = "$01M";
    ExchangeCommand(*context_, 0, 0, context_->ReplyTimeout);
    return context_->LastExchangeOK && context_->LastReply == "!017213";
  }
};

TEST_P(CommandLinkUnplugTest, FailsAtOnceAndOkInTheComPortDialogRecovers) {
  ASSERT_TRUE(readName());
  pullAdapter(*network_, 1, GetParam());
  const auto start = Clock::now();
  EXPECT_FALSE(readName());
  EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(context_->ReplyTimeout + 200));
  EXPECT_NE(context_->LastLinkError.find("device disconnected"), std::string::npos)
      << context_->LastLinkError;
  EXPECT_FALSE(context_->OrvComm.isOpen(1)) << "the dead line is closed";
  EXPECT_FALSE(readName()) << "and stays closed until the user opens it again";

  network_->clearFaults();
  network_->replug();
  ComPortForm form(*context_);
  form.findChild<QPushButton*>(QStringLiteral("OKBtn"))->click();
  ASSERT_FALSE(ui_->messages.empty());
  EXPECT_EQ(ui_->messages.back().text, "COM Port configuration complete.");
  EXPECT_TRUE(context_->OrvComm.isOpen(1));
  EXPECT_TRUE(readName()) << "the first exchange after reopening works";
}

INSTANTIATE_TEST_SUITE_P(Moments, CommandLinkUnplugTest, kUnplugMoments, unplugMomentName);

}  // namespace
}  // namespace orvane::admin
