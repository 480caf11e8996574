// The monitor against the simulator: the grid a load lays out, the frames of
// one pass over the list with each module's own link, what the live columns
// show for good, refused, garbled and missing replies, and its timer.
#include "admin/diag/monitor_form.h"

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <memory>

#include "admin/diag/diag_windows.h"
#include "comma_locale.h"
#include "protocol/frame.h"
#include "tests/admin/core/admin_fixture.h"
#include "tests/admin/core/form_driver.h"
#include "tests/admin/core/sim_modules.h"
#include "tests/admin/diag/monitor_fixture.h"

namespace orvane::admin {
namespace {

using namespace testing;

// A command as it goes out to a module that uses the checksum.
std::string withChecksum(const std::string& command) {
  return command + protocol::checksumDigits(command);
}

class MonitorFormTest : public MonitorFixture {};

TEST_F(MonitorFormTest, LoadLaysOutTheGridAndWritesTheFixedColumnsWithoutSending) {
  auto multi = simModule("7213", 18);
  multi.typeCode = 0x0E;
  listed({multi, simModule("7451", 1)});
  open();
  EXPECT_EQ(form_->windowTitle(), "Monitor");
  QStringList headings;
  std::vector<int> widths;
  for (int c = 0; c < grid().columnCount(); ++c) {
    headings << grid().horizontalHeaderItem(c)->text();
    widths.push_back(grid().columnWidth(c));
  }
  EXPECT_EQ(headings,
            (QStringList{"Address", "Model", "AD/DA Data", "DI/Counter", "DO/Alarm", "Remark"}));
  EXPECT_EQ(widths, (std::vector<int>{66, 80, 93, 80, 80, 126})) << "the design's twips / 15";
  EXPECT_EQ(grid().rowCount() + 1, 16) << "the headings and a row per entry, at least 16";
  EXPECT_EQ(cell(0, kAddress), "18 (12H)");
  EXPECT_EQ(cell(0, kModel), "7213");
  EXPECT_EQ(cell(0, kRemark), "T/C Type J      ");
  EXPECT_EQ(cell(1, kAddress), "1 (01H)");
  EXPECT_EQ(cell(1, kModel), "7451");
  EXPECT_EQ(live(0), (QStringList{"", "", ""}));
  EXPECT_TRUE(framesSent().empty()) << "a load sends nothing";
  EXPECT_EQ(form_->pollInterval(), 1000) << "500 ms per listed module";
}

TEST_F(MonitorFormTest, AnEmptyListShowsSixteenEmptyRowsAndIsNeverPolled) {
  startNetwork({simModule("7451", 1)});
  openPort();
  setEntry(0, "7451", 1);  // left by an earlier search; a cancelled one set the count to 0
  context_->ModuleCount = 0;
  auto form = std::make_unique<MonitorForm>(*context_);
  form->show();
  EXPECT_FALSE(form->polling());
  EXPECT_EQ(form->pollInterval(), 0);
  form_ = std::move(form);
  EXPECT_EQ(grid().rowCount() + 1, 16);
  for (int r = 0; r < grid().rowCount(); ++r)
    for (int c = 0; c < grid().columnCount(); ++c) EXPECT_EQ(cell(r, c), "");
  EXPECT_TRUE(tick().empty());
}

TEST_F(MonitorFormTest, APassAsksEveryModuleInListOrderWithItsOwnLink) {
  auto checked = simModule("7215", 2, 3, true);
  auto fast = simModule("7231", 3, 4);
  listed({simModule("7451", 1), checked, fast, simModule("7342", 4), simModule("7347", 5),
          simModule("7586", 6), simModule("7912", 7), simModule("7226", 8)});
  open();
  EXPECT_EQ(tick(), (std::vector<std::string>{"$016", withChecksum("#02"), withChecksum("@02DI"),
                                              withChecksum("@02RE"), "#030", "$046", "$056A",
                                              "$058", "#060D", "@06DI", "#080"}))
      << "nothing to the converter; channel 0 of the many-channel inputs";
  for (const auto& frame : settledFrames()) {
    EXPECT_TRUE(frame.answeredBy.has_value()) << frame.raw;
    EXPECT_EQ(frame.baudRate, frame.raw == "#030\r" ? 19200 : 9600) << frame.raw;
  }
}

TEST_F(MonitorFormTest, TheInitializationEntryIsPolledAtAddress00) {
  auto m = simModule("7453", 5, 4, true);
  m.initState = true;
  m.digitalInputs = 0xA5;
  m.inputToggleMask = 0;
  listed({m});
  open();
  EXPECT_EQ(tick(), std::vector<std::string>{"$006"}) << "9600 bps and no checksum";
  EXPECT_EQ(settledFrames().front().baudRate, 9600);
  EXPECT_EQ(cell(0, kAddress), "5 (05H)") << "the stored address";
  EXPECT_EQ(live(0), (QStringList{"", "A5H", " "})) << "the input byte and a blank output";
}

TEST_F(MonitorFormTest, TheDemoNetworkComesAliveInOnePass) {
  const auto demo = sim::demoNetwork();
  listed(demo);
  open();
  tick();
  for (std::size_t i = 0; i < demo.size(); ++i) {
    const int row = static_cast<int>(i);
    const QString joined = live(row).join(QLatin1Char('|'));
    const MonitorPoll poll = monitorPoll(demo[i].model);
    EXPECT_FALSE(joined.contains(QLatin1Char('*')))
        << demo[i].model << ": " << joined.toStdString();
    if (poll == MonitorPoll::Nothing) {
      EXPECT_EQ(joined, "||") << demo[i].model;
    }
    if (poll == MonitorPoll::AnalogInput || poll == MonitorPoll::MultiFunction ||
        poll == MonitorPoll::AnalogOutput) {
      EXPECT_FALSE(cell(row, kData).isEmpty()) << demo[i].model;
    }
  }
  EXPECT_EQ(cell(6, kData), "04.000mA") << "the 7342 at the low end of 4 to 20 mA";
  EXPECT_EQ(cell(7, kData), "+00.000V");
  EXPECT_EQ(cell(13, kOutput), " ") << "the 7469";
  EXPECT_TRUE(cell(17, kOutput) == "00" || cell(17, kOutput) == "01" || cell(17, kOutput) == "10" ||
              cell(17, kOutput) == "11");
  EXPECT_TRUE(linkStatus().isEmpty());
}

TEST_F(MonitorFormTest, DigitalModulesShowTheirBytesAndThe7469ItsIsolatedInputs) {
  auto io = simModule("7451", 1);
  io.digitalInputs = 0x03;
  io.inputToggleMask = 0;
  io.digitalOutputs = 0x5A;
  auto ports = simModule("7469", 2);
  ports.digitalInputs = 0x0A000000;  // the isolated inputs 1 and 3
  ports.inputToggleMask = 0;
  listed({io, ports});
  open();
  tick();
  EXPECT_EQ(live(0), (QStringList{"", "03H", "5AH"}));
  EXPECT_EQ(live(1), (QStringList{"", "0AH", " "})) << "the 7469's reply of 11 characters counts";

  network_->setFault(2, "$AA6", sim::FaultSpec{.reply = "!000A00\r"});
  network_->setFault(1, "$AA6", sim::FaultSpec{.reply = "?01\r"});
  tick();
  EXPECT_EQ(live(1), (QStringList{"", "*", "*"})) << "7 characters are no 7469 reply";
  EXPECT_EQ(live(0), (QStringList{"", "*", "*"})) << "a refusal";
}

TEST_F(MonitorFormTest, MultiFunctionAlarmsInputAndEventCount) {
  auto on = simModule("7213", 1);
  auto off = simModule("7215", 2);
  listed({on, off});
  network_->setFault(1, "@AADI", sim::FaultSpec{.reply = "!0110201\r"});
  network_->setFault(1, "@AARE", sim::FaultSpec{.reply = "!0100042\r"});
  network_->setFault(2, "@AADI", sim::FaultSpec{.reply = "!0200300\r"});
  network_->setFault(2, "@AARE", sim::FaultSpec{.silent = true});
  open();
  tick();
  EXPECT_EQ(cell(0, kOutput), "HighAlarm") << "alarm mode on, d = 2";
  EXPECT_EQ(cell(0, kInput), "0/42");
  EXPECT_EQ(cell(1, kOutput), "11") << "alarm mode off, d = 3";
  EXPECT_EQ(cell(1, kInput), "0") << "a missing count leaves the input alone";
  EXPECT_TRUE(cell(0, kData).endsWith(QStringLiteral("C"))) << cell(0, kData).toStdString();
  EXPECT_TRUE(cell(1, kData).endsWith(QStringLiteral("V"))) << cell(1, kData).toStdString();
}

TEST_F(MonitorFormTest, AFailedStatusReadShowsStarsNeverThePreviousRowsInput) {
  listed({simModule("7213", 1), simModule("7213", 2)});
  network_->setFault(1, "@AADI", sim::FaultSpec{.reply = "!0100011\r"});
  network_->setFault(2, "@AADI", sim::FaultSpec{.silent = true});
  network_->setFault(2, "@AARE", sim::FaultSpec{.reply = "!0200007\r"});
  open();
  tick();
  EXPECT_EQ(cell(0, kInput).left(2), "1/");
  EXPECT_EQ(cell(1, kInput), "*/7");
  EXPECT_EQ(cell(1, kOutput), "*");
}

TEST_F(MonitorFormTest, AnalogOutputUnitFollowsTheDataFormat) {
  std::vector<sim::ModuleState> outputs;
  for (int format = 0; format < 3; ++format) {
    auto m = simModule("7342", format + 1);
    m.format = format;
    m.outputs[0] = 12.0;
    outputs.push_back(m);
  }
  auto quad = simModule("7347", 4);
  quad.outputs[0] = -2.5;
  quad.digitalInputs = 0x15;
  quad.inputToggleMask = 0;
  outputs.push_back(quad);
  listed(outputs);
  open();
  tick();
  EXPECT_EQ(cell(0, kData), "12.000mA");
  EXPECT_EQ(cell(1, kData), "+060.00%");
  EXPECT_EQ(cell(2, kData), "999H") << "a hexadecimal read-back is no milliampere";
  EXPECT_EQ(live(3), (QStringList{"-02.500V", "15H", ""}));

  network_->setFault(1, "$AA6", sim::FaultSpec{.reply = "?01\r"});
  network_->setFault(2, "$AA6", sim::FaultSpec{.silent = true});
  network_->setFault(4, "$AA8", sim::FaultSpec{.reply = "!150\r"});
  tick();
  EXPECT_EQ(cell(0, kData), "12.000mA") << "a refusal leaves the value";
  EXPECT_EQ(cell(1, kData), "+060.00%") << "a missing reply leaves it";
  EXPECT_EQ(cell(3, kInput), "15H") << "a cut input read leaves it";
}

TEST_F(MonitorFormTest, CounterValueIsKeptUnlessTheReplyIsACount) {
  auto counter = simModule("7586", 6);
  counter.counters[0] = sim::CounterState{.value = 1234, .running = false};
  listed({counter});
  open();
  tick();
  EXPECT_EQ(cell(0, kInput), "1234");
  EXPECT_EQ(cell(0, kOutput), "00");
  for (const auto& spec : {sim::FaultSpec{.reply = ">12a4\r"}, sim::FaultSpec{.reply = "?06\r"},
                           sim::FaultSpec{.reply = ">\r"}, sim::FaultSpec{.silent = true}}) {
    network_->setFault(6, "#AA0D", spec);
    tick();
    EXPECT_EQ(cell(0, kInput), "1234") << "never 0";
  }
  network_->setFault(6, "@AADI", sim::FaultSpec{.silent = true});
  tick();
  EXPECT_EQ(cell(0, kOutput), "*");
}

TEST_F(MonitorFormTest, RefusedMissingAndGarbledRepliesAcrossTheFamilies) {
  auto input = simModule("7231", 4);
  input.channelMask = 0x01;
  listed({simModule("7451", 1), simModule("7213", 2, 3, true), simModule("7342", 3), input,
          simModule("7586", 5)});
  open();
  tick();
  const QStringList output = live(2), count = live(4);
  for (int address : {1, 3, 4, 5}) network_->setFault(address, sim::FaultSpec{.refuseAll = true});
  network_->setFault(2, sim::FaultSpec{.wrongChecksum = true});
  tick();
  EXPECT_EQ(live(0), (QStringList{"", "*", "*"}));
  EXPECT_EQ(live(1), (QStringList{"*error*C", "*", "*"})) << "a garbled reply is no reply";
  EXPECT_EQ(live(2), output) << "a refused read-back leaves the value";
  EXPECT_EQ(live(3), (QStringList{"*error*V", "", ""}));
  EXPECT_EQ(live(4), (QStringList{"", count[1], "*"}));

  network_->clearFaults();
  for (int address : {1, 2, 3, 4, 5}) network_->setFault(address, sim::FaultSpec{.silent = true});
  tick();
  EXPECT_EQ(live(0), (QStringList{"", "*", "*"}));
  EXPECT_EQ(live(1), (QStringList{"*error*C", "*", "*"}));
  EXPECT_EQ(live(2), output);
  EXPECT_EQ(live(4), (QStringList{"", count[1], "*"}));
  EXPECT_TRUE(ui_->messages.empty()) << "no message box from a pass";
}

TEST_F(MonitorFormTest, ReadingsUnderACommaLocale) {
  orvane::test::CommaLocale locale;
  ASSERT_TRUE(locale.active());
  listInputAndOutput();
  context_->DecimalSeparator = ',';
  open();
  EXPECT_EQ(tick(), (std::vector<std::string>{"#070", "$086"}));
  EXPECT_EQ(cell(0, kData), "+15,32mV");
  EXPECT_EQ(cell(1, kData), "12,500mA");
}

TEST_F(MonitorFormTest, APulledAdapterShowsTheLineErrorAndPollingGoesOn) {
  startNetworkOnLink({simModule("7451", 1)});
  openPort();
  setEntry(0, "7451", 1);
  context_->ModuleCount = 1;
  open();
  network_->unplug();
  form_->pollOnce();
  EXPECT_EQ(live(0), (QStringList{"", "*", "*"}));
  EXPECT_EQ(linkStatus().toStdString(), disconnectedText());
  form_->pollOnce();
  EXPECT_EQ(linkStatus().toStdString(), disconnectedText()) << "while the adapter is out";
  EXPECT_TRUE(ui_->messages.empty()) << "no message box from a pass";

  network_->replug();
  tick();
  EXPECT_EQ(linkStatus(), "");
  EXPECT_NE(cell(0, kInput), "*");
}

TEST_F(MonitorFormTest, TheFirstPassRunsAsSoonAsTheWindowIsShown) {
  const auto demo = sim::demoNetwork();
  listed(demo);
  auto form = std::make_unique<MonitorForm>(*context_);
  ASSERT_EQ(form->pollInterval(), 10000);
  network_->clearFrames();
  form->show();
  EXPECT_TRUE(form->polling());
  EXPECT_TRUE(QTest::qWaitFor([this] { return !network_->frames().empty(); }, 5000))
      << "long before the interval of 10 s";
  QTest::keyClick(form.get(), Qt::Key_Escape);
  EXPECT_FALSE(form->isVisible());
  EXPECT_FALSE(form->polling());
}

TEST_F(MonitorFormTest, TheTimerPollsWhileShownAndNothingIsSentAfterClose) {
  listed({simModule("7451", 1)});
  auto form = std::make_unique<MonitorForm>(*context_);
  network_->clearFrames();
  form->show();
  EXPECT_TRUE(QTest::qWaitFor([this] { return network_->frames().size() >= 3; }, 5000))
      << "three passes of one module, 500 ms apart";
  form->findChild<QPushButton*>(QStringLiteral("ExitBtn"))->click();
  EXPECT_FALSE(form->isVisible());
  EXPECT_FALSE(form->polling());
  const std::size_t count = network_->frames().size();
  QTest::qWait(300);
  EXPECT_EQ(network_->frames().size(), count) << "no frame after the window closed";
}

TEST_F(MonitorFormTest, TheMainWindowsMonitorItemOpensItOnTheSearchedList) {
  registerDiagWindows(context_->windows);
  startNetwork({simModule("7451", 1), simModule("7586", 2)});
  writeConfigFile("COM.CFG", "60\r\n1\r\nn,8,1\r\n9600\r\n");
  OrvaneForm main(*context_);
  main.load();
  answerSearch(*ui_, {QStringLiteral("2")});
  clickButton(main, "SearchBtn");
  ASSERT_EQ(context_->ModuleCount, 2);
  QStringList rows;
  ui_->modalHandlers[QStringLiteral("MonitorForm")] = [&rows](QDialog& dialog) {
    auto& monitor = dynamic_cast<MonitorForm&>(dialog);
    monitor.pollOnce();
    auto* grid = monitor.findChild<QTableWidget*>(QStringLiteral("MonitorGrid"));
    for (int r = 0; r < 2; ++r)
      rows << grid->item(r, kModel)->text() + QLatin1Char(' ') + grid->item(r, kOutput)->text();
    return int(QDialog::Rejected);
  };
  triggerMenu(main, "mnuMonitor");
  EXPECT_EQ(ui_->modalsOpened.back(), "MonitorForm");
  EXPECT_EQ(rows, (QStringList{"7451 00H", "7586 00"}));
}

}  // namespace
}  // namespace orvane::admin
