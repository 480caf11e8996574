// The counter test window against the simulator: what a load, a tick and
// each button and lamp send, and what the window shows for good, refused,
// garbled and missing replies.
#include "admin/diag/ctr_diag_form.h"

#include <QGroupBox>
#include <QPushButton>
#include <QTest>

#include "admin/core/ui_naming.h"
#include "admin/diag/lamp.h"
#include "comma_locale.h"
#include "tests/admin/diag/diag_fixture.h"

namespace orvane::admin {
namespace {

using namespace testing;
using Frames = std::vector<std::string>;

constexpr int kAddress = 5;

// A 7586 at 05 in counter mode whose counters stand still.
sim::ModuleState counterModule(bool checksum = false) {
  auto m = simModule("7586", kAddress, 3, checksum);
  m.firmware = "C2.1";
  for (auto& k : m.counters) {
    k.running = false;
    k.ratePerS = 0;
  }
  m.counters[0].value = 12345;
  m.counters[1].value = 0;
  return m;
}

QString indexed(const char* array, int c) { return indexedName(QString::fromLatin1(array), c); }

class CtrDiagTest : public DiagFixture {
 protected:
  // The entry as the search read it: alarm limits 1000 and 250, alarms off.
  ModuleEntry& startModule(sim::ModuleState m = counterModule()) {
    ModuleEntry& e = start({m});
    e.AlarmLimit = {1000, 250};
    e.AlarmEnabled = {0, 0};
    return e;
  }
  void statusReply(const std::string& reply) {
    network_->setFault(kAddress, "@AADI", sim::FaultSpec{.reply = reply});
  }
  Lamp& output(int c) const { return control<Lamp>(indexed("DO_status", c)); }
  bool alarmSignShown(int c) const {
    return control<QLabel>(indexed("AlarmSign", c)).isVisibleTo(window_.get());
  }
  QString counter(int c) const { return text(indexed("Counter", c)); }
  Frames click(QWidget& widget) {
    network_->clearFrames();
    QTest::mouseClick(&widget, Qt::LeftButton);
    return sent();
  }
  Frames clickButton(const char* array, int c) {
    return click(control<QPushButton>(indexed(array, c)));
  }
  sim::CounterState moduleCounter(int c) const {
    return network_->state(kAddress).counters[static_cast<std::size_t>(c)];
  }
};

TEST_F(CtrDiagTest, LoadReadsFirmwareAndAlarmSettingsAndShowsTheSearchedLimits) {
  auto m = counterModule();
  m.counters[1].alarmEnabled = true;
  m.counters[1].alarmLimit = 99;
  startModule(m);
  open<CtrDiagForm>();
  EXPECT_EQ(window_->windowTitle(), "Counter Module Diagnostic");
  EXPECT_EQ(sent(), (Frames{"$05F", "@05DI"}));
  EXPECT_EQ(text("ModuleName"), "7586");
  EXPECT_EQ(text("Addr"), "5 (05H)");
  EXPECT_EQ(text("Rev"), "C2.1");
  EXPECT_EQ(text("Label11"), "F/W rev.:");
  EXPECT_EQ(text(indexed("AlarmSetting", 0)), "Disable");
  EXPECT_EQ(text(indexed("AlarmSetting", 1)), "Enable");
  EXPECT_EQ(text(indexed("AlarmValue", 0)), "1000");
  EXPECT_EQ(text(indexed("AlarmValue", 1)), "250") << "the limit the search read, not re-read";
  EXPECT_EQ(control<QGroupBox>(QStringLiteral("Frame2")).title(), "Counter 1");
  EXPECT_EQ(control<QGroupBox>(QStringLiteral("Frame4")).title(), "Alarm/DO1");
  EXPECT_EQ(control<QGroupBox>(QStringLiteral("Frame6")).title(), "DO1");
  EXPECT_EQ(counter(0), "") << "no count before the first tick";
  EXPECT_FALSE(output(0).lit());
  EXPECT_FALSE(alarmSignShown(0));
  EXPECT_FALSE(alarmSignShown(1));
}

TEST_F(CtrDiagTest, AlarmSettingsOfEachAlarmDigit) {
  startModule();
  const char* expected[4][2] = {
      {"Disable", "Disable"}, {"Enable", "Disable"}, {"Disable", "Enable"}, {"Enable", "Enable"}};
  for (int d = 0; d < 4; ++d) {
    statusReply("!05" + std::to_string(d) + "00\r");
    open<CtrDiagForm>();
    EXPECT_EQ(text(indexed("AlarmSetting", 0)), expected[d][0]) << d;
    EXPECT_EQ(text(indexed("AlarmSetting", 1)), expected[d][1]) << d;
  }
}

TEST_F(CtrDiagTest, AnUnreadableStatusAtLoadKeepsDisable) {
  auto m = counterModule();
  m.counters[0].alarmEnabled = true;
  m.counters[1].alarmEnabled = true;
  startModule(m);
  for (const std::string reply : {"?05\r", "!053\r", "!05303X\r", "!05G03\r"}) {
    statusReply(reply);
    open<CtrDiagForm>();
    EXPECT_EQ(text(indexed("AlarmSetting", 0)), "Disable") << reply;
    EXPECT_EQ(text(indexed("AlarmSetting", 1)), "Disable") << reply;
  }
  network_->setFault(kAddress, "@AADI", sim::FaultSpec{.silent = true});
  open<CtrDiagForm>();
  EXPECT_EQ(text(indexed("AlarmSetting", 1)), "Disable") << "no answer";
}

TEST_F(CtrDiagTest, FirmwareComesOnlyFromAGoodReply) {
  startModule();
  network_->setFault(kAddress, "$AAF", sim::FaultSpec{.reply = "?05\r"});
  open<CtrDiagForm>();
  EXPECT_EQ(text("Rev"), "");
}

TEST_F(CtrDiagTest, TickReadsBothCountsAndTheStatus) {
  startModule();
  open<CtrDiagForm>();
  EXPECT_EQ(tick(), (Frames{"#050D", "#051D", "@05DI"}));
  EXPECT_EQ(counter(0), "12345");
  EXPECT_EQ(counter(1), "0");
  network_->modify(kAddress, [](sim::ModuleState& m) {
    m.counters[0].value = 4294967295u;
    m.counters[1].value = 7;
  });
  tick();
  EXPECT_EQ(counter(0), "4294967295");
  EXPECT_EQ(counter(1), "7");
}

TEST_F(CtrDiagTest, ACountThatIsNotALeadAndOneToTenDigitsLeavesTheShownValue) {
  startModule();
  open<CtrDiagForm>();
  tick();
  network_->modify(kAddress, [](sim::ModuleState& m) { m.counters[1].value = 55; });
  for (const std::string reply :
       {"?05\r", ">\r", ">00000123456\r", ">000001234A\r", "!0000012345\r", ">12 45\r"}) {
    network_->setFault(kAddress, "#AA0D", sim::FaultSpec{.reply = reply});
    tick();
    EXPECT_EQ(counter(0), "12345") << reply;
    EXPECT_EQ(counter(1), "55") << "the other counter goes on";
  }
  network_->setFault(kAddress, "#AA0D", sim::FaultSpec{.silent = true});
  tick();
  EXPECT_EQ(counter(0), "12345") << "no answer";
  network_->setFault(kAddress, "#AA0D", sim::FaultSpec{.reply = ">0000000000\r"});
  tick();
  EXPECT_EQ(counter(0), "0") << "a real zero";
  EXPECT_TRUE(ui_->messages.empty()) << "a failed read is not reported";
}

TEST_F(CtrDiagTest, StatusLightsTheOutputLampsAndTheAlarmSigns) {
  startModule();
  open<CtrDiagForm>();
  statusReply("!05003\r");
  tick();
  EXPECT_TRUE(output(0).lit());
  EXPECT_TRUE(output(1).lit()) << "positions 4-5 \"03\" light both lamps";
  EXPECT_FALSE(alarmSignShown(0)) << "on by hand";
  EXPECT_FALSE(alarmSignShown(1));

  statusReply("!05303\r");
  tick();
  EXPECT_TRUE(alarmSignShown(0));
  EXPECT_TRUE(alarmSignShown(1));

  statusReply("!05301\r");
  tick();
  EXPECT_TRUE(output(0).lit());
  EXPECT_FALSE(output(1).lit());
  EXPECT_TRUE(alarmSignShown(0));
  EXPECT_FALSE(alarmSignShown(1)) << "an alarm whose output is off shows no sign";

  statusReply("!05001\r");
  tick();
  EXPECT_FALSE(alarmSignShown(0)) << "the alarm no longer drives the output";
}

TEST_F(CtrDiagTest, AnAlarmAboveItsLimitLightsItsLampWithTheSign) {
  auto m = counterModule();
  m.counters[0].alarmEnabled = true;
  m.counters[0].alarmLimit = 10000;  // the count 12345 is above it
  startModule(m);
  open<CtrDiagForm>();
  tick();
  EXPECT_TRUE(output(0).lit());
  EXPECT_TRUE(alarmSignShown(0));
  EXPECT_FALSE(output(1).lit());
}

TEST_F(CtrDiagTest, RefusedGarbledAndMissingStatusKeepsLampsAndSigns) {
  startModule();
  open<CtrDiagForm>();
  statusReply("!05101\r");
  tick();
  for (const std::string reply :
       {"?05\r", "!0510\r", "!051011\r", "!05104\r", "!05401\r", ">05103\r", "!05 03\r"}) {
    statusReply(reply);
    tick();
    EXPECT_TRUE(output(0).lit()) << reply;
    EXPECT_FALSE(output(1).lit()) << reply;
    EXPECT_TRUE(alarmSignShown(0)) << reply;
  }
  network_->setFault(kAddress, "@AADI", sim::FaultSpec{.silent = true});
  tick();
  EXPECT_TRUE(output(0).lit()) << "no answer";
  EXPECT_TRUE(alarmSignShown(0));
}

TEST_F(CtrDiagTest, StartStopAndClearEachCounter) {
  startModule();
  open<CtrDiagForm>();
  EXPECT_EQ(clickButton("StartBtn", 1), (Frames{"$05511"}));
  EXPECT_TRUE(moduleCounter(1).running);
  EXPECT_EQ(clickButton("StopBtn", 1), (Frames{"$05510"}));
  EXPECT_FALSE(moduleCounter(1).running);
  EXPECT_EQ(clickButton("StartBtn", 0), (Frames{"$05501"}));
  EXPECT_EQ(clickButton("StopBtn", 0), (Frames{"$05500"}));
  EXPECT_EQ(clickButton("ClearBtn", 0), (Frames{"$0560"}));
  EXPECT_EQ(moduleCounter(0).value, 0u);
  EXPECT_EQ(clickButton("ClearBtn", 1), (Frames{"$0561"}));
  EXPECT_TRUE(ui_->messages.empty());
  tick();
  EXPECT_EQ(counter(0), "0");
}

TEST_F(CtrDiagTest, ARefusedOrUnansweredCounterCommandIsReported) {
  startModule();
  open<CtrDiagForm>();
  tick();
  network_->setFault(kAddress, "$AA6*", sim::FaultSpec{.refuseAll = true});
  clickButton("ClearBtn", 0);
  ASSERT_EQ(ui_->messages.size(), 1u);
  EXPECT_EQ(ui_->messages[0].text, "Clear Counter 0command failed.");
  EXPECT_EQ(ui_->messages[0].title, "Error");
  EXPECT_EQ(moduleCounter(0).value, 12345u);
  EXPECT_EQ(counter(0), "12345") << "nothing else changes";

  network_->setFault(kAddress, "$AA5*", sim::FaultSpec{.silent = true});
  clickButton("StartBtn", 1);
  clickButton("StopBtn", 0);
  network_->setFault(kAddress, "$AA5*", sim::FaultSpec{.reply = "!\r"});
  clickButton("StopBtn", 1);
  EXPECT_EQ(ui_->texts(), (std::vector<QString>{
                              "Clear Counter 0command failed.", "Start Counter 1command failed.",
                              "Stop Counter 0command failed.", "Stop Counter 1command failed."}));
}

TEST_F(CtrDiagTest, AClickSwitchesAnOutputAndTheLampFollowsOnTheNextTick) {
  startModule();
  open<CtrDiagForm>();
  tick();
  EXPECT_EQ(click(output(0)), (Frames{"@05DO01"}));
  EXPECT_EQ(network_->state(kAddress).digitalOutputs, 1u);
  EXPECT_FALSE(output(0).lit()) << "the lamp waits for the module";
  tick();
  EXPECT_TRUE(output(0).lit());
  EXPECT_EQ(click(output(1)), (Frames{"@05DO03"})) << "output 0 stays on";
  tick();
  EXPECT_TRUE(output(1).lit());
  EXPECT_EQ(click(output(0)), (Frames{"@05DO02"}));
  tick();
  EXPECT_FALSE(output(0).lit());

  output(1).setFocus();
  network_->clearFrames();
  QTest::keyClick(&output(1), Qt::Key_Space);
  EXPECT_EQ(sent(), (Frames{"@05DO00"})) << "the keyboard switches an output too";
}

TEST_F(CtrDiagTest, AClickStartsFromTheOutputsTheModuleLastReported) {
  auto m = counterModule();
  m.digitalOutputs = 2;
  startModule(m);
  open<CtrDiagForm>();
  tick();
  EXPECT_EQ(click(output(0)), (Frames{"@05DO03"}));
  network_->modify(kAddress, [](sim::ModuleState& s) { s.digitalOutputs = 0; });
  tick();
  EXPECT_EQ(click(output(0)), (Frames{"@05DO01"}));
}

TEST_F(CtrDiagTest, AnOutputItsAlarmDrivesIsNotSwitched) {
  auto m = counterModule();
  m.counters[1].alarmEnabled = true;
  m.counters[1].alarmLimit = 1;
  ModuleEntry& e = startModule(m);
  e.AlarmEnabled = {0, 1};
  statusReply("?05\r");  // the entry's flags hold
  open<CtrDiagForm>();
  EXPECT_TRUE(click(output(1)).empty()) << "alarm 1 was enabled at search time";
  EXPECT_EQ(click(output(0)), (Frames{"@05DO01"}));
}

TEST_F(CtrDiagTest, TheAlarmFlagsReadAtLoadGateTheClicks) {
  auto m = counterModule();
  m.counters[0].alarmEnabled = true;
  ModuleEntry& e = startModule(m);
  e.AlarmEnabled = {0, 1};  // the search saw another configuration
  open<CtrDiagForm>();
  EXPECT_EQ(text(indexed("AlarmSetting", 0)), "Enable");
  EXPECT_TRUE(click(output(0)).empty()) << "the module says its alarm drives output 0";
  EXPECT_EQ(click(output(1)), (Frames{"@05DO02"})) << "and that output 1 is free";
}

TEST_F(CtrDiagTest, AChecksumModuleIsPolledWithItsChecksumAndNoReadSuffix) {
  startModule(counterModule(true));
  open<CtrDiagForm>();
  EXPECT_EQ(text("Rev"), "C2.1");
  const Frames frames = tick();
  ASSERT_EQ(frames.size(), 3u);
  EXPECT_EQ(frames[0].substr(0, 5), "#050D");
  EXPECT_EQ(frames[0].size(), 7u) << "checksum digits, no R";
  EXPECT_EQ(counter(0), "12345");
  network_->modify(kAddress, [](sim::ModuleState& s) { s.counters[0].value = 1; });
  network_->setFault(kAddress, "#AA0D", sim::FaultSpec{.wrongChecksum = true});
  tick();
  EXPECT_EQ(counter(0), "12345") << "a wrong checksum is no count";
}

TEST_F(CtrDiagTest, CountsUnderACommaLocale) {
  orvane::test::CommaLocale locale;
  ASSERT_TRUE(locale.active());
  auto m = counterModule();
  m.counters[0].value = 4294967295u;
  startModule(m);
  context_->DecimalSeparator = ',';
  open<CtrDiagForm>();
  tick();
  EXPECT_EQ(counter(0), "4294967295") << "no digit grouping, no separator";
}

TEST_F(CtrDiagTest, APulledAdapterShowsTheLineErrorAndKeepsTheCounts) {
  startNetworkOnLink({counterModule()});
  openPort();
  setEntry(0, "7586", kAddress).TypeCode = 0x50;
  context_->SelectedIndex = 0;
  open<CtrDiagForm>();
  tick();
  network_->unplug();
  tick();
  EXPECT_EQ(text("LinkStatus").toStdString(), disconnectedText());
  EXPECT_EQ(counter(0), "12345");
  EXPECT_TRUE(ui_->messages.empty()) << "no message box from a tick";
  tick();
  EXPECT_EQ(text("LinkStatus").toStdString(), disconnectedText()) << "while the adapter is out";

  network_->replug();
  network_->modify(kAddress, [](sim::ModuleState& s) { s.counters[0].value = 9; });
  tick();
  EXPECT_EQ(text("LinkStatus"), "");
  EXPECT_EQ(counter(0), "9");
}

TEST_F(CtrDiagTest, TheTimerPollsWhileShownAndNothingIsSentAfterClose) {
  startModule();
  auto form = std::make_unique<CtrDiagForm>(*context_);
  network_->clearFrames();
  form->show();
  EXPECT_TRUE(form->polling());
  EXPECT_TRUE(QTest::qWaitFor([this] { return network_->frames().size() >= 6; }, 5000))
      << "two ticks of 3 reads";
  EXPECT_EQ(form->findChild<QLabel*>(QStringLiteral("Counter(0)"))->text(), "12345");
  QTest::keyClick(form.get(), Qt::Key_Escape);
  EXPECT_FALSE(form->isVisible());
  EXPECT_FALSE(form->polling());
  const std::size_t count = network_->frames().size();
  QTest::qWait(300);
  EXPECT_EQ(network_->frames().size(), count) << "no frame after the window closed";
}

}  // namespace
}  // namespace orvane::admin
