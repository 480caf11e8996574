// The lamp, the scroll-bar binding and the poll timer the diagnostic windows
// are built of.
#include <gtest/gtest.h>

#include <QImage>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <chrono>
#include <thread>
#include <vector>

#include "admin/core/line_worker.h"
#include "admin/diag/lamp.h"
#include "admin/diag/poll_timer.h"
#include "admin/diag/scroll_binding.h"
#include "tests/admin/core/test_ui.h"

namespace orvane::admin {
namespace {

QColor centreOf(Lamp& lamp) {
  QImage image(lamp.size(), QImage::Format_ARGB32);
  image.fill(Qt::white);
  lamp.render(&image);
  return image.pixelColor(lamp.width() / 2, lamp.height() / 2);
}

TEST(Lamp, LitAndUnlitLookDifferentAndOnlyAnOutputLampClicks) {
  Lamp output(QStringLiteral("OutputBit(3)"), true);
  output.resize(18, 18);
  const QColor off = centreOf(output);
  output.setLit(true);
  EXPECT_TRUE(output.lit());
  EXPECT_GT(centreOf(output).red(), off.red() + 100);

  QSignalSpy clicks(&output, &Lamp::clicked);
  QTest::mouseClick(&output, Qt::LeftButton);
  output.setFocus();
  QTest::keyClick(&output, Qt::Key_Space);
  EXPECT_EQ(clicks.count(), 2);
  EXPECT_TRUE(output.lit()) << "the window, not the lamp, decides what a click does";

  Lamp input(QStringLiteral("InputBit(0)"), false);
  input.resize(18, 18);
  QSignalSpy inputClicks(&input, &Lamp::clicked);
  QTest::mouseClick(&input, Qt::LeftButton);
  QTest::keyClick(&input, Qt::Key_Space);
  EXPECT_EQ(inputClicks.count(), 0);
  EXPECT_EQ(input.focusPolicy(), Qt::NoFocus);
}

TEST(ScrollBinding, ADragShowsEveryStepButSendsOnlyWhereItSettles) {
  QScrollBar bar(Qt::Horizontal);
  bar.setRange(0, 32000);
  bar.setSingleStep(320);
  bar.setPageStep(3200);
  std::vector<int> shown, settled;
  bindScrollBar(
      bar, [&](int v) { shown.push_back(v); }, [&](int v) { settled.push_back(v); });

  bar.setSliderDown(true);
  for (int v : {1000, 2000, 3000}) bar.setSliderPosition(v);
  EXPECT_EQ(shown, (std::vector<int>{1000, 2000, 3000}));
  EXPECT_TRUE(settled.empty()) << "nothing goes out while the thumb is held";
  bar.setSliderDown(false);
  EXPECT_EQ(settled, std::vector<int>{3000}) << "released: once";

  bar.triggerAction(QAbstractSlider::SliderSingleStepAdd);
  bar.triggerAction(QAbstractSlider::SliderPageStepSub);
  EXPECT_EQ(settled, (std::vector<int>{3000, 3320, 120}));
  QTest::keyClick(&bar, Qt::Key_End);
  EXPECT_EQ(settled.back(), 32000);
}

TEST(PollTimer, ATickLongerThanTheIntervalLeavesAPauseAndPollingGoesOn) {
  using Clock = std::chrono::steady_clock;
  QWidget window;
  testing::TestUi ui;
  LineWorker inlineLine(ui);  // a tick holds the thread, as with the worker inline
  std::vector<Clock::time_point> starts, ends;
  PollTimer timer(window, inlineLine, [&]() -> LinkTask<void> {
    starts.push_back(Clock::now());
    // The first tick waits for a slow module, past the interval.
    if (starts.size() == 1) std::this_thread::sleep_for(std::chrono::milliseconds(80));
    ends.push_back(Clock::now());
    co_return;
  });
  timer.setInterval(30, true);
  window.show();
  timer.start();
  EXPECT_TRUE(QTest::qWaitFor([&] { return starts.size() >= 3; }, 3000))
      << "polling stopped after " << starts.size() << " ticks";
  ASSERT_GE(starts.size(), 2u);
  EXPECT_GE(starts[1] - ends[0], std::chrono::milliseconds(15))
      << "the user's events get their turn between ticks";
}

}  // namespace
}  // namespace orvane::admin
