// Polling windows on the threaded line worker, with their timers running
// against slow and silent modules: polling goes on past the interval,
// nothing more goes out once a window closed, and the GUI thread answers
// while a tick waits for the line.
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>

#include "admin/core/ui_naming.h"
#include "admin/diag/ad_diag_form.h"
#include "admin/diag/monitor_form.h"
#include "tests/admin/diag/diag_fixture.h"

namespace orvane::admin {
namespace {

using namespace testing;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

class ThreadedPollTest : public DiagFixture {
 protected:
  ThreadedPollTest() { context_->line().startThread(); }

  // 8-channel analog input modules at 1, 2, ... listed in that order, with
  // the channels of the mask enabled; their readings come with the fault's
  // delay, or never.
  void listed(int count, int channelMask, sim::FaultSpec slowReadings) {
    context_->OrvComm.close(1);
    std::vector<sim::ModuleState> modules;
    for (int address = 1; address <= count; ++address) {
      modules.push_back(simModule("7231", address));
      modules.back().channelMask = channelMask;
    }
    startNetwork(modules);
    openPort();
    for (const auto& m : modules) {
      setEntry(m.address - 1, m.model, m.address).TypeCode = m.typeCode;
      network_->setFault(m.address, "#AA*", slowReadings);
    }
    context_->ModuleCount = count;
    context_->SelectedIndex = 0;
  }
  // Shows the window, its load done, with its timer running.
  template <typename Window>
  void showPolling(Window& window) {
    network_->clearFrames();
    window.show();
  }
  std::size_t frameCount() const { return network_->frames().size(); }
  // Serves the GUI thread's events until n frames went out.
  bool waitForFrames(std::size_t n) const {
    return QTest::qWaitFor([this, n] { return frameCount() >= n; }, 10000);
  }
};

TEST_F(ThreadedPollTest, PollingGoesOnWhenATickTakesLongerThanTheInterval) {
  context_->ReplyTimeout = 1000;
  listed(1, 0x01, {.delayMs = 250});  // one read a tick, the interval is 100 ms
  AdDiagForm form(*context_);
  showPolling(form);
  EXPECT_TRUE(waitForFrames(4));
  EXPECT_TRUE(form.polling());
  EXPECT_NE(form.findChild<QLabel*>(indexedName(QStringLiteral("Reading"), 0))->text(), "*error*");
}

TEST_F(ThreadedPollTest, NothingGoesOutAfterAWindowClosedButTheExchangeOnTheWire) {
  context_->ReplyTimeout = 1000;
  struct Case {
    const char* name;
    int modules;
    std::function<std::unique_ptr<QDialog>(AdminContext&)> open;
    std::function<void(QDialog&)> close;
  };
  const Case cases[] = {
      {"an analog input window at Escape", 1,
       [](AdminContext& c) { return std::make_unique<AdDiagForm>(c); },
       [](QDialog& window) { QTest::keyClick(&window, Qt::Key_Escape); }},
      {"the monitor at Exit", 3, [](AdminContext& c) { return std::make_unique<MonitorForm>(c); },
       [](QDialog& window) { window.findChild<QPushButton*>(QStringLiteral("ExitBtn"))->click(); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    listed(c.modules, 0xFF, {.delayMs = 200});
    const auto window = c.open(*context_);
    showPolling(*window);
    ASSERT_TRUE(waitForFrames(2));  // the tick is half done
    c.close(*window);
    EXPECT_FALSE(window->isVisible());
    const std::size_t sent = frameCount();
    QTest::qWait(700);  // the reply on the wire and two more exchanges' time
    EXPECT_EQ(frameCount(), sent) << "no frame after the window closed";
  }
}

TEST_F(ThreadedPollTest, TheWindowAnswersWhileATickWaitsForASilentModule) {
  context_->ReplyTimeout = 1000;
  listed(1, 0xFF, {.silent = true});  // a tick of 8 reads takes 8 s
  AdDiagForm form(*context_);
  showPolling(form);
  ASSERT_TRUE(waitForFrames(1));
  std::optional<Clock::duration> servedAfter;
  std::size_t sentBy = 0;
  const auto posted = Clock::now();
  QMetaObject::invokeMethod(
      qApp,
      [&] {
        servedAfter = Clock::now() - posted;
        sentBy = frameCount();
      },
      Qt::QueuedConnection);
  EXPECT_TRUE(QTest::qWaitFor([&servedAfter] { return servedAfter.has_value(); }, 5000));
  ASSERT_TRUE(servedAfter);
  EXPECT_LT(*servedAfter, 500ms);
  EXPECT_LE(sentBy, 2u) << "served while the tick waits for its first replies";
}

}  // namespace
}  // namespace orvane::admin
