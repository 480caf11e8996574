// Polling windows on the threaded line worker, with their timers running:
// the GUI thread answers while a tick waits for a silent module, polling
// goes on past the interval, and nothing more goes out once a window
// closed; two windows and a terminal share the line while the Line Monitor
// watches it and closes mid-run. The ThreadSanitizer
// check (scripts/test.d/tsan.sh) runs this program too.
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <chrono>
#include <functional>
#include <memory>

#include "admin/core/command_link.h"
#include "admin/core/line_monitor_form.h"
#include "admin/core/ui_naming.h"
#include "admin/diag/ad_diag_form.h"
#include "admin/diag/monitor_form.h"
#include "tests/admin/core/admin_fixture.h"
#include "tests/admin/core/sim_modules.h"

namespace orvane::admin {
namespace {

using namespace testing;
using Clock = std::chrono::steady_clock;

class LineThreadsTest : public AdminFixture {
 protected:
  LineThreadsTest() { context_->line().startThread(); }

  std::size_t frameCount() const { return network_->frames().size(); }
  // Serves the GUI thread's events until n frames went out.
  bool waitForFrames(std::size_t n) const {
    return QTest::qWaitFor([this, n] { return frameCount() >= n; }, 10000);
  }
  QString text(const QWidget& window, const QString& name) const {
    return window.findChild<QLabel*>(name)->text();
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

TEST_F(LineThreadsTest, AWindowPollingASilentModuleAnswersGoesOnAndStopsSendingAtClose) {
  context_->ReplyTimeout = 400;
  struct Case {
    const char* name;
    const char* model;
    std::size_t readsOfATick;  // each waits the reply time-out, past the interval
    std::function<std::unique_ptr<QDialog>(AdminContext&)> open;
    std::function<void(QDialog&)> close;
  };
  const Case cases[] = {
      {"an analog input window at Escape", "7231", 2,
       [](AdminContext& c) { return std::make_unique<AdDiagForm>(c); },
       [](QDialog& window) { QTest::keyClick(&window, Qt::Key_Escape); }},
      {"the monitor at Exit", "7213", 3,
       [](AdminContext& c) { return std::make_unique<MonitorForm>(c); },
       [](QDialog& window) { window.findChild<QPushButton*>(QStringLiteral("ExitBtn"))->click(); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    context_->OrvComm.close(1);
    auto module = simModule(c.model, 1);
    module.channelMask = 0x03;
    start({module});
    const auto window = c.open(*context_);
    network_->setFault(1, fault(&sim::FaultSpec::silent));  // from the first tick on
    network_->clearFrames();
    window->show();
    ASSERT_TRUE(waitForFrames(1));
    std::size_t sentWhenServed = 0;
    QTimer::singleShot(0, [&] { sentWhenServed = frameCount(); });
    EXPECT_TRUE(QTest::qWaitFor([&] { return sentWhenServed > 0; }));
    EXPECT_EQ(sentWhenServed, 1u) << "served while the tick's first read waits";
    ASSERT_TRUE(waitForFrames(c.readsOfATick + 1)) << "the next tick started";
    c.close(*window);
    const std::size_t sent = frameCount();
    QTest::qWait(2 * context_->ReplyTimeout + 200);
    EXPECT_EQ(frameCount(), sent) << "nothing after the read on the wire";
  }
}

TEST_F(LineThreadsTest, TwoPollingWindowsAndATerminalKeepGettingTheirReplies) {
  constexpr auto kRun = std::chrono::milliseconds(1500);
  context_->ReplyTimeout = 500;
  auto first = simModule("7231", 1);
  first.channelMask = 0x0F;
  start({first, simModule("7231", 2)});
  setEntry(1, "7231", 2).TypeCode = first.typeCode;
  context_->ModuleCount = 2;
  AdDiagForm analog(*context_);
  MonitorForm monitor(*context_);
  analog.show();
  monitor.show();
  auto* lineMonitor = new LineMonitorForm(*context_);
  lineMonitor->show();
  std::size_t traced = 0;
  sendUntil(Clock::now() + kRun);
  QTimer::singleShot(kRun / 2, &analog, [&analog] { analog.reject(); });  // mid-tick
  QTimer::singleShot(kRun * 3 / 4, lineMonitor, [lineMonitor, &traced] {
    traced = lineMonitor->log().size();
    lineMonitor->close();
  });
  QTest::qWait(static_cast<int>(kRun.count()) + 100);
  const std::size_t frames = frameCount();
  monitor.reject();

  EXPECT_GT(sent_, 10);
  EXPECT_EQ(answered_, sent_);
  EXPECT_GT(frames, static_cast<std::size_t>(sent_) + 10) << "the windows polled too";
  EXPECT_GT(traced, frames / 2) << "the Line Monitor saw the frames of its time";
  EXPECT_NE(text(analog, indexedName(QStringLiteral("Reading"), 3)), "*error*");
  EXPECT_EQ(text(analog, QStringLiteral("LinkStatus")), "");
  EXPECT_EQ(text(monitor, QStringLiteral("LinkStatus")), "");
}

}  // namespace
}  // namespace orvane::admin
