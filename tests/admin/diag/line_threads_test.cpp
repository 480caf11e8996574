// Two polling windows and a terminal share one threaded line worker: the
// analog input window and the monitor poll while commands go out from the
// GUI thread, and a window closes in the middle of it. The ThreadSanitizer
// check (scripts/test.d/tsan.sh) runs this program; in the plain suite it
// checks that each of them keeps getting its replies.
#include <QLabel>
#include <QTest>
#include <QTimer>
#include <chrono>

#include "admin/core/command_link.h"
#include "admin/core/ui_naming.h"
#include "admin/diag/ad_diag_form.h"
#include "admin/diag/monitor_form.h"
#include "tests/admin/core/admin_fixture.h"
#include "tests/admin/core/sim_modules.h"

namespace orvane::admin {
namespace {

using namespace testing;
using Clock = std::chrono::steady_clock;

constexpr auto kRun = std::chrono::milliseconds(1500);

class LineThreadsTest : public AdminFixture {
 protected:
  LineThreadsTest() {
    context_->ReplyTimeout = 500;
    context_->line().startThread();
  }

  // What a terminal does: one command after another, each waited for.
  void sendUntil(Clock::time_point end) {
    if (Clock::now() >= end) return;
    context_->LastCommand = "$02M";
    ExchangeCommand(*context_, 1, 0, context_->ReplyTimeout);
    ++sent_;
    if (context_->LastExchangeOK && context_->LastReply == "!027231") ++answered_;
    QTimer::singleShot(2, [this, end] { sendUntil(end); });
  }

  int sent_ = 0;
  int answered_ = 0;
};

TEST_F(LineThreadsTest, TwoPollingWindowsAndATerminalKeepGettingTheirReplies) {
  auto first = simModule("7231", 1);
  first.channelMask = 0x0F;
  startNetwork({first, simModule("7231", 2)});
  openPort();
  setEntry(0, "7231", 1).TypeCode = first.typeCode;
  setEntry(1, "7231", 2).TypeCode = first.typeCode;
  context_->ModuleCount = 2;
  context_->SelectedIndex = 0;
  AdDiagForm analog(*context_);
  MonitorForm monitor(*context_);
  analog.show();
  monitor.show();
  const auto start = Clock::now();
  sendUntil(start + kRun);
  QTimer::singleShot(kRun / 2, &analog, [&analog] { analog.reject(); });  // mid-tick
  QTest::qWait(static_cast<int>(kRun.count()) + 100);
  const std::size_t sentBeforeTheEnd = network_->frames().size();
  monitor.reject();

  EXPECT_GT(sent_, 10);
  EXPECT_EQ(answered_, sent_);
  EXPECT_GT(sentBeforeTheEnd, static_cast<std::size_t>(sent_) + 10) << "the windows polled too";
  EXPECT_NE(analog.findChild<QLabel*>(indexedName(QStringLiteral("Reading"), 3))->text(),
            "*error*");
  EXPECT_EQ(analog.findChild<QLabel*>(QStringLiteral("LinkStatus"))->text(), "");
  EXPECT_EQ(monitor.findChild<QLabel*>(QStringLiteral("LinkStatus"))->text(), "");
}

}  // namespace
}  // namespace orvane::admin
