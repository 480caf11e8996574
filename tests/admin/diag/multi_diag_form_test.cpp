// The multi-function test window against the simulator: what a load, a tick
// and a click send, and what the window shows for good, refused, garbled and
// missing replies.
#include "admin/diag/multi_diag_form.h"

#include <QImage>
#include <QPushButton>
#include <QTest>

#include "admin/core/ui_naming.h"
#include "admin/diag/lamp.h"
#include "admin/diag/trend_plot.h"
#include "comma_locale.h"
#include "tests/admin/diag/diag_fixture.h"

namespace orvane::admin {
namespace {

using namespace testing;
using Frames = std::vector<std::string>;

constexpr int kAddress = 5;

// A 7215 on +/- 10V reading a steady 2.5 V, its input high and never
// toggling, its outputs at 2, 12 events counted, alarm limits -1..6.
sim::ModuleState steady(const std::string& model = "7215", int alarmMode = 0) {
  auto m = simModule(model, kAddress);
  m.typeCode = 0x08;
  m.firmware = "M3.1";
  m.inputs[0] = {.shape = sim::Signal::Shape::Constant, .value = 2.5};
  m.digitalInputs = 1;
  m.inputToggleMask = 0;
  m.alarmMode = alarmMode;
  m.digitalOutputs = alarmMode == 0 ? 2 : 0;
  m.eventCount = 12;
  return m;
}

// The rows of a rendered image where a colour lies.
std::pair<int, int> rowsOf(const QImage& image, const QColor& colour) {
  int top = -1, bottom = -1;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (image.pixel(x, y) == colour.rgb()) {
        if (top < 0) top = y;
        bottom = y;
      }
  return {top, bottom};
}

class MultiDiagTest : public DiagFixture {
 protected:
  // The entry as the search left it: limits and an alarm mode it read.
  ModuleEntry& startModule(sim::ModuleState m = steady()) {
    ModuleEntry& e = start({m});
    e.AlarmHigh = static_cast<float>(m.alarmHigh);
    e.AlarmLow = static_cast<float>(m.alarmLow);
    e.AlarmMode = m.alarmMode;
    return e;
  }
  Lamp& lamp(int n) const { return control<Lamp>(indexedName(QStringLiteral("DO_status"), n)); }
  bool shown(const char* name) const {
    return control<QLabel>(QString::fromLatin1(name)).isVisibleTo(window_.get());
  }
  Frames click(int n) {
    network_->clearFrames();
    QTest::mouseClick(&lamp(n), Qt::LeftButton);
    return sent();
  }
  Frames press(const char* button) {
    network_->clearFrames();
    control<QPushButton>(QString::fromLatin1(button)).click();
    return sent();
  }
  TrendPlot& trend() const { return control<TrendPlot>(QStringLiteral("Trend")); }
  QImage renderTrend() const {
    QImage image(trend().size(), QImage::Format_RGB32);
    image.fill(Qt::black);
    trend().render(&image);
    return image;
  }
};

TEST_F(MultiDiagTest, LoadReadsFirmwareAndAlarmModeAndShowsTheLimits) {
  startModule();
  open<MultiDiagForm>();
  EXPECT_EQ(window_->objectName(), "MultiDiagForm");
  EXPECT_EQ(window_->windowTitle(), "A/D Module Diagnostic");
  EXPECT_EQ(sent(), (Frames{"$05F", "@05DI"}));
  EXPECT_EQ(text("ModuleName"), "7215");
  EXPECT_EQ(text("Addr"), "5 (05H)");
  EXPECT_EQ(text("Rev"), "M3.1");
  EXPECT_EQ(text("AlarmSetting"), "Disabled");
  EXPECT_EQ(text("HighAlarm"), "6.0000");
  EXPECT_EQ(text("LowAlarm"), "-1.0000");
  EXPECT_EQ(text("AlarmFormat(0)"), "V");
  EXPECT_EQ(text("AlarmFormat(1)"), "V");
  EXPECT_FALSE(shown("LowAlarmSign")) << "the outputs are the user's while the alarm is off";
  EXPECT_FALSE(shown("HighAlarmSign"));
  EXPECT_EQ(control<QPushButton>(QStringLiteral("ClearEventCounterBtn")).text(),
            "Clear Event Counter");
  EXPECT_EQ(control<QPushButton>(QStringLiteral("ClearLatchAlarmBtn")).text(), "Clear Latch Alarm");
  EXPECT_FALSE(lamp(0).lit());
  EXPECT_FALSE(lamp(1).lit()) << "the lamps wait for the first tick";
}

TEST_F(MultiDiagTest, TheAlarmModeReadAtLoadIsStoredInTheEntry) {
  auto& e = startModule(steady("7213", 2));
  e.AlarmMode = 0;  // stale: the module was switched to latch since the search
  open<MultiDiagForm>();
  EXPECT_EQ(e.AlarmMode, 2);
  EXPECT_EQ(text("AlarmSetting"), "Latch");
  EXPECT_TRUE(shown("LowAlarmSign"));
  EXPECT_TRUE(shown("HighAlarmSign"));

  network_->modify(kAddress, [](sim::ModuleState& m) { m.alarmMode = 0; });
  network_->setFault(kAddress, "@AADI", sim::FaultSpec{.reply = "?05\r"});
  open<MultiDiagForm>();
  EXPECT_EQ(e.AlarmMode, 2) << "a refusal is no alarm mode";
  EXPECT_EQ(text("AlarmSetting"), "Latch");
  network_->setFault(kAddress, "@AADI", sim::FaultSpec{.silent = true});
  open<MultiDiagForm>();
  EXPECT_EQ(e.AlarmMode, 2);
  network_->setFault(kAddress, "@AADI", sim::FaultSpec{.reply = "!050000\r"});
  open<MultiDiagForm>();
  EXPECT_EQ(e.AlarmMode, 2) << "a status one character short";
}

TEST_F(MultiDiagTest, TickReadsStatusCounterAndReading) {
  startModule();
  open<MultiDiagForm>();
  EXPECT_EQ(tick(), (Frames{"@05DI", "@05RE", "#05"})) << "one channel: no channel digit";
  EXPECT_EQ(text("Reading"), "+2.5");
  EXPECT_EQ(text("FormatText"), "V");
  EXPECT_EQ(text("DI"), "1");
  EXPECT_EQ(text("Counter"), "12");
  EXPECT_FALSE(lamp(0).lit());
  EXPECT_TRUE(lamp(1).lit());
  EXPECT_EQ(trend().sampleCount(0), 1);

  network_->modify(kAddress, [](sim::ModuleState& m) {
    m.digitalOutputs = 1;
    m.digitalInputs = 0;
    m.eventCount = 4711;
    m.inputs[0].value = -7.125;
  });
  tick();
  EXPECT_TRUE(lamp(0).lit());
  EXPECT_FALSE(lamp(1).lit());
  EXPECT_EQ(text("DI"), "0");
  EXPECT_EQ(text("Counter"), "4711");
  EXPECT_EQ(text("Reading"), "-7.125");
}

TEST_F(MultiDiagTest, RefusedGarbledAndMissingRepliesLeaveTheirFields) {
  startModule();
  open<MultiDiagForm>();
  tick();
  network_->modify(kAddress, [](sim::ModuleState& m) {
    m.digitalOutputs = 1;
    m.digitalInputs = 0;
    m.eventCount = 99;
  });
  network_->setFault(kAddress, "@AADI", sim::FaultSpec{.reply = "?05\r"});
  network_->setFault(kAddress, "@AARE", sim::FaultSpec{.reply = "!05000\r"});
  tick();
  EXPECT_FALSE(lamp(0).lit());
  EXPECT_TRUE(lamp(1).lit());
  EXPECT_EQ(text("DI"), "1");
  EXPECT_EQ(text("Counter"), "12") << "a short count is no count";

  network_->setFault(kAddress, "@AADI", sim::FaultSpec{.reply = "!050X011\r"});
  network_->setFault(kAddress, "@AARE", sim::FaultSpec{.reply = "!05A0099\r"});
  tick();
  EXPECT_TRUE(lamp(1).lit());
  EXPECT_EQ(text("DI"), "1");
  EXPECT_EQ(text("Counter"), "12") << "a garbled count is never shown as 0";

  network_->setFault(kAddress, "@AADI", sim::FaultSpec{.silent = true});
  network_->setFault(kAddress, "@AARE", sim::FaultSpec{.silent = true});
  tick();
  EXPECT_EQ(text("Counter"), "12");
  EXPECT_EQ(text("DI"), "1");

  network_->clearFaults();
  tick();
  EXPECT_TRUE(lamp(0).lit());
  EXPECT_EQ(text("DI"), "0");
  EXPECT_EQ(text("Counter"), "99");
}

// The reading shows "*error*" on any failure; everything else of the tick
// stays as it was.
TEST_F(MultiDiagTest, AFailedReadingShowsErrorAndIsAGapInTheTrend) {
  startModule();
  open<MultiDiagForm>();
  tick();
  network_->setFault(kAddress, "#AA", sim::FaultSpec{.reply = "?05\r"});
  tick();
  EXPECT_EQ(text("Reading"), "*error*") << "a refusal is no reading";
  network_->setFault(kAddress, "#AA", sim::FaultSpec{.silent = true});
  tick();
  EXPECT_EQ(text("Reading"), "*error*");
  EXPECT_EQ(text("FormatText"), "V");
  EXPECT_EQ(trend().sampleCount(0), 3);
  EXPECT_GT(trend().valueAxis().low, 0.0) << "the failures were plotted as 0";
  network_->clearFaults();
  tick();
  EXPECT_EQ(text("Reading"), "+2.5");
}

TEST_F(MultiDiagTest, AChecksumErrorLeavesEveryFieldButTheReading) {
  auto m = steady();
  m.checksum = true;
  startModule(m);
  open<MultiDiagForm>();
  tick();
  network_->modify(kAddress, [](sim::ModuleState& s) {
    s.digitalOutputs = 1;
    s.digitalInputs = 0;
    s.eventCount = 99;
  });
  network_->setFault(kAddress, sim::FaultSpec{.wrongChecksum = true});
  EXPECT_EQ(tick(), (Frames{"@05DI32", "@05RE3C", "#0588"})) << "sent with their checksums";
  EXPECT_FALSE(lamp(0).lit());
  EXPECT_TRUE(lamp(1).lit());
  EXPECT_EQ(text("DI"), "1");
  EXPECT_EQ(text("Counter"), "12");
  EXPECT_EQ(text("Reading"), "*error*");
}

TEST_F(MultiDiagTest, WithTheAlarmOffALampClickSwitchesOneOutput) {
  auto m = steady();
  m.digitalOutputs = 0;
  startModule(m);
  open<MultiDiagForm>();
  tick();
  EXPECT_EQ(click(1), (Frames{"@05DO02"}));
  EXPECT_FALSE(lamp(1).lit()) << "the lamp follows the module on the next tick";
  EXPECT_EQ(network_->state(kAddress).digitalOutputs, 2u);
  tick();
  EXPECT_TRUE(lamp(1).lit());
  EXPECT_EQ(click(0), (Frames{"@05DO03"}));
  EXPECT_EQ(click(1), (Frames{"@05DO01"})) << "the click before is held until the next tick";
  tick();
  EXPECT_TRUE(lamp(0).lit());
  EXPECT_FALSE(lamp(1).lit());
  EXPECT_EQ(click(0), (Frames{"@05DO00"}));
  EXPECT_EQ(network_->state(kAddress).digitalOutputs, 0u);

  network_->modify(kAddress, [](sim::ModuleState& s) { s.digitalOutputs = 3; });
  tick();
  EXPECT_EQ(click(1), (Frames{"@05DO01"})) << "the output state comes from the module";
}

TEST_F(MultiDiagTest, WithAnAlarmModeOnTheLampsIgnoreClicks) {
  startModule(steady("7213", 1));
  open<MultiDiagForm>();
  EXPECT_EQ(text("AlarmSetting"), "Momentary");
  EXPECT_TRUE(shown("LowAlarmSign"));
  EXPECT_TRUE(shown("HighAlarmSign"));
  tick();
  EXPECT_TRUE(click(0).empty());
  EXPECT_TRUE(click(1).empty());
  lamp(1).setFocus();
  network_->clearFrames();
  QTest::keyClick(&lamp(1), Qt::Key_Space);
  EXPECT_TRUE(sent().empty());
}

TEST_F(MultiDiagTest, TheAlarmOutputsShowOnTheirLamps) {
  auto m = steady("7213", 1);
  m.typeCode = 0x0E;
  m.alarmLow = 100.0;
  m.alarmHigh = 140.0;
  m.inputs[0].value = 150.0;
  startModule(m);
  open<MultiDiagForm>();
  tick();
  EXPECT_FALSE(lamp(0).lit());
  EXPECT_TRUE(lamp(1).lit()) << "output 1 is the high alarm's";
  EXPECT_EQ(text("FormatText"), "C");
  network_->modify(kAddress, [](sim::ModuleState& s) { s.inputs[0].value = 90.0; });
  tick();
  EXPECT_TRUE(lamp(0).lit()) << "output 0 is the low alarm's";
  EXPECT_FALSE(lamp(1).lit());
}

TEST_F(MultiDiagTest, TheClearButtonsSendTheirCommands) {
  auto m = steady("7213", 2);
  m.typeCode = 0x0E;
  m.alarmLow = 100.0;
  m.alarmHigh = 140.0;
  m.inputs[0].value = 150.0;
  startModule(m);
  open<MultiDiagForm>();
  tick();
  EXPECT_TRUE(lamp(1).lit());
  network_->modify(kAddress, [](sim::ModuleState& s) { s.inputs[0].value = 120.0; });
  tick();
  EXPECT_TRUE(lamp(1).lit()) << "the high alarm is latched";

  EXPECT_EQ(press("ClearLatchAlarmBtn"), (Frames{"@05CA"}));
  tick();
  EXPECT_FALSE(lamp(1).lit());

  EXPECT_EQ(press("ClearEventCounterBtn"), (Frames{"@05CE"}));
  EXPECT_EQ(text("Counter"), "12") << "the count follows on the next tick";
  tick();
  EXPECT_EQ(text("Counter"), "0");
}

TEST_F(MultiDiagTest, TheTrendDrawsTheReadingInItsColourAndTheLimitsWhenAnAlarmIsOn) {
  auto m = steady("7213", 1);
  m.typeCode = 0x0E;
  m.alarmLow = 100.0;
  m.alarmHigh = 140.0;
  m.inputs[0].value = 120.0;
  startModule(m);
  open<MultiDiagForm>();
  for (int i = 0; i < 3; ++i) tick();
  EXPECT_TRUE(control<QLabel>(QStringLiteral("TraceColour"))
                  .styleSheet()
                  .contains(TrendPlot::traceColor(0).name()))
      << "the colour beside the reading's label is its trace's";
  const QColor trace = TrendPlot::traceColor(0, trend().palette());
  const QColor limit = TrendPlot::limitColor(trend().palette());
  EXPECT_EQ(trace, TrendPlot::traceColor(0)) << "as designed on a light theme";
  EXPECT_EQ(limit, TrendPlot::limitColor());
  EXPECT_EQ(control<QWidget>(QStringLiteral("TraceColour")).grab().toImage().pixelColor(5, 5),
            trace);
  QImage image = renderTrend();
  const auto [traceTop, traceBottom] = rowsOf(image, trace);
  const auto [limitTop, limitBottom] = rowsOf(image, limit);
  ASSERT_GE(traceTop, 0) << "no trace drawn";
  ASSERT_GE(limitTop, 0) << "no limit lines drawn";
  EXPECT_LT(limitTop, traceTop) << "the high limit above the reading";
  EXPECT_GT(limitBottom, traceBottom) << "the low limit below it";

  network_->modify(kAddress, [](sim::ModuleState& s) { s.alarmMode = 0; });
  open<MultiDiagForm>();
  tick();
  image = renderTrend();
  EXPECT_GE(rowsOf(image, trace).first, 0);
  EXPECT_LT(rowsOf(image, limit).first, 0) << "no limits with the alarm off";
}

TEST_F(MultiDiagTest, FirmwareComesOnlyFromAGoodReply) {
  auto m = steady();
  m.checksum = true;
  startModule(m);
  network_->setFault(kAddress, "$AAF", sim::FaultSpec{.wrongChecksum = true});
  open<MultiDiagForm>();
  EXPECT_EQ(text("Rev"), "") << "never a failed read's checksum digits";
  network_->setFault(kAddress, "$AAF", sim::FaultSpec{.reply = "?05\r"});
  open<MultiDiagForm>();
  EXPECT_EQ(text("Rev"), "");
}

TEST_F(MultiDiagTest, AllThreeModelsOpenAndPollTheSameWay) {
  std::vector<sim::ModuleState> modules;
  int address = 1;
  for (const char* model : {"7213", "7215", "7228"}) {
    auto m = simModule(model, address++);
    m.inputs[0] = {.shape = sim::Signal::Shape::Constant, .value = 3.0};
    modules.push_back(m);
  }
  start(modules);
  address = 1;
  for (const char* model : {"7213", "7215", "7228"}) {
    SCOPED_TRACE(model);
    const std::string aa = "0" + std::to_string(address);
    setEntry(0, model, address++);
    open<MultiDiagForm>();
    EXPECT_EQ(sent(), (Frames{"$" + aa + "F", "@" + aa + "DI"}));
    EXPECT_EQ(tick(), (Frames{"@" + aa + "DI", "@" + aa + "RE", "#" + aa}));
    EXPECT_EQ(text("Reading"), "+3");
  }
}

TEST_F(MultiDiagTest, APulledAdapterShowsTheLineErrorAndPollingGoesOn) {
  startNetworkOnLink({steady()});
  openPort();
  setEntry(0, "7215", kAddress).TypeCode = 0x08;
  context_->SelectedIndex = 0;
  open<MultiDiagForm>();
  tick();
  network_->unplug();
  tick();
  EXPECT_EQ(text("Reading"), "*error*");
  EXPECT_EQ(text("Counter"), "12");
  EXPECT_EQ(text("LinkStatus").toStdString(), disconnectedText());
  click(0);
  EXPECT_EQ(text("LinkStatus").toStdString(), disconnectedText())
      << "a click shows it as a tick does";
  EXPECT_TRUE(ui_->messages.empty()) << "no message box";

  network_->replug();
  tick();
  EXPECT_EQ(text("LinkStatus"), "");
  EXPECT_EQ(text("Reading"), "+2.5");
}

TEST_F(MultiDiagTest, TheTimerPollsWhileShownAndNothingIsSentAfterClose) {
  startModule();
  auto form = std::make_unique<MultiDiagForm>(*context_);
  network_->clearFrames();
  form->show();
  EXPECT_TRUE(form->polling());
  EXPECT_TRUE(QTest::qWaitFor([this] { return network_->frames().size() >= 6; }, 5000))
      << "two ticks of 3 frames";
  form->findChild<QPushButton*>(QStringLiteral("ExitBtn"))->click();
  EXPECT_FALSE(form->isVisible());
  EXPECT_FALSE(form->polling());
  const std::size_t count = network_->frames().size();
  QTest::qWait(300);
  EXPECT_EQ(network_->frames().size(), count) << "no frame after the window closed";
}

TEST_F(MultiDiagTest, NumbersUnderACommaLocale) {
  orvane::test::CommaLocale locale;
  ASSERT_TRUE(locale.active());
  auto m = steady();
  m.typeCode = 0x0C;  // +/- 150mV
  m.inputs[0].value = 15.32;
  auto& e = startModule(m);
  e.AlarmHigh = 1.5f;
  e.AlarmLow = -12.25f;
  context_->DecimalSeparator = ',';
  open<MultiDiagForm>();
  EXPECT_EQ(text("HighAlarm"), "1,5000");
  EXPECT_EQ(text("LowAlarm"), "-12,2500");
  EXPECT_EQ(tick().back(), "#05");
  EXPECT_EQ(text("Reading"), "+15,32");
  EXPECT_EQ(text("FormatText"), "mV");
}

}  // namespace
}  // namespace orvane::admin
