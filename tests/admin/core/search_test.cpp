#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QTest>
#include <QTimer>

#include "admin/core/command_link.h"
#include "admin/core/list_row.h"
#include "admin/core/module_reader.h"
#include "tests/admin/core/admin_fixture.h"
#include "tests/admin/core/form_driver.h"
#include "tests/admin/core/sim_modules.h"

namespace orvane::admin {
namespace {

using namespace testing;

class SearchTest : public AdminFixture {
 protected:
  SearchTest() : form_(*context_) {}

  void startOn(std::vector<sim::ModuleState> modules, std::array<int, 8> flags) {
    startNetwork(std::move(modules), 1);
    writeConfigFile("COM.CFG", "60\r\n1\r\nn,8,1\r\n");
    form_.load();
    ui_->messages.clear();
    context_->portSetting(1).SearchFlags = flags;
  }
  void search(std::vector<QString> addresses) {
    answerSearch(*ui_, std::move(addresses));
    clickButton(form_, "SearchBtn");
  }
  QListWidget& device() { return *form_.findChild<QListWidget*>(QStringLiteral("Device")); }
  std::vector<std::string> probed() const {
    std::vector<std::string> probes;
    for (const auto& frame : framesSent())
      if ((frame.size() == 4 || frame.size() == 6) && frame[0] == '$' && frame[3] == '2')
        probes.push_back(frame);
    return probes;
  }

  OrvaneForm form_;
};

constexpr std::array<int, 8> kDemoRates{0, 0, 0, 1, 1, 0, 1, 0};  // 9600, 19200, 115200
constexpr std::array<int, 8> kOnly9600{0, 0, 0, 1, 0, 0, 0, 0};

TEST_F(SearchTest, FindsTheWholeDemoNetworkInAddressOrder) {
  startOn(sim::demoNetwork(), kDemoRates);
  search({"21"});
  ASSERT_EQ(context_->ModuleCount, 20);
  ASSERT_EQ(device().count(), 20);
  for (int i = 0; i < 20; ++i) {
    EXPECT_EQ(context_->ModuleList[static_cast<std::size_t>(i)].Address, i + 1);
    EXPECT_EQ(device().item(i)->text().toStdString(), buildListRow(*context_, i));
  }
  // The 7917 answered at 00 in its initialization state and waits for its
  // stored address 20; address 20 itself is never probed.
  EXPECT_EQ(context_->InitModuleIndex, 19);
  EXPECT_TRUE(device().item(19)->text().startsWith("* 20(14H)   7917  "));
  for (const auto& probe : probed()) EXPECT_NE(probe.substr(0, 4), "$142");
  EXPECT_TRUE(device().item(0)->text().startsWith("   1(01H)   7213      9600  "));
  EXPECT_EQ(context_->ModuleList[4].BaudCode, 4) << "7231 at 19200";
  EXPECT_EQ(context_->ModuleList[14].BaudCode, 6) << "7472 at 115200";
  EXPECT_TRUE(device().item(14)->text().startsWith("  15(0FH)   7472      115200"));
  EXPECT_EQ(context_->SelectedIndex, 0);
  EXPECT_EQ(device().currentRow(), 0);
  EXPECT_EQ(framesSent().back(), "#**") << "the broadcast closes the search";
  EXPECT_EQ(settledFrames().back().baudRate, 9600);
  EXPECT_TRUE(ui_->messages.empty());
}

TEST_F(SearchTest, ReadsEachFamilysOwnSettings) {
  auto multi = simModule("7228", 1);
  multi.alarmMode = 2;
  multi.alarmLow = -5.5;
  multi.alarmHigh = 7.25;
  multi.sourceLow = "-01.000";
  multi.sourceHigh = "+05.000";
  multi.targetLow = "+02.000";
  multi.targetHigh = "-03.500";
  multi.format = 2;
  auto digital = simModule("7455", 2);
  digital.polarity = 3;
  auto output = simModule("7347", 3);
  output.polarity = 1;
  auto counter = simModule("7586", 4);
  counter.format = 4;  // gate time bit
  counter.inputMode = 1;
  counter.gateMode = 0;
  counter.counters[0].running = false;
  counter.counters[1].running = true;
  counter.counters[0].maxValue = 0x12345678;
  counter.counters[1].maxValue = 0xFFFFFFFF;
  counter.counters[1].initialValue = 0x10;
  counter.filterEnabled = true;
  counter.minWidthHigh = 120;
  counter.minWidthLow = 35;
  counter.ttlHigh = 30;
  counter.ttlLow = 9;
  counter.counters[0].alarmEnabled = true;
  counter.counters[0].alarmLimit = 0xABCDEF01;
  counter.counters[1].alarmLimit = 0x42;
  auto converter = simModule("7912", 5);
  converter.statusWord = 0x8000 | 0x2000 | 0x0100 | (2 << 3) | 0x04 | 3;
  converter.rs232BaudCode = 5;
  startOn({multi, digital, output, counter, converter}, kOnly9600);
  search({"5"});
  ASSERT_EQ(context_->ModuleCount, 5);
  const auto& m = context_->ModuleList[0];
  EXPECT_EQ(m.DataFormat, 2);
  EXPECT_EQ(m.AlarmMode, 2);
  EXPECT_FLOAT_EQ(m.AlarmLow, -5.5f);
  EXPECT_FLOAT_EQ(m.AlarmHigh, 7.25f);
  EXPECT_FLOAT_EQ(m.SourceLow, -1.0f);
  EXPECT_FLOAT_EQ(m.SourceHigh, 5.0f);
  EXPECT_FLOAT_EQ(m.TargetLow, 2.0f);
  EXPECT_FLOAT_EQ(m.TargetHigh, -3.5f);
  EXPECT_EQ(context_->ModuleList[1].Polarity, 3);
  EXPECT_EQ(context_->ModuleList[2].Polarity, 1);
  const auto& c = context_->ModuleList[3];
  EXPECT_EQ(c.GateTimeCode, 1);
  EXPECT_EQ(c.InputModeCode, 1);
  EXPECT_EQ(c.GateModeCode, 0);
  EXPECT_EQ(c.CounterRunning, (std::array<int, 2>{0, 1}));
  EXPECT_EQ(c.MaxCount[0], double(0x12345678));
  EXPECT_EQ(c.MaxCount[1], double(0xFFFFFFFF));
  EXPECT_EQ(c.InitialCount[1], 16.0);
  EXPECT_EQ(c.FilterEnabled, 1);
  EXPECT_EQ(c.MinWidthHigh, 120);
  EXPECT_EQ(c.MinWidthLow, 35);
  EXPECT_EQ(c.TtlLevelHigh, 30);
  EXPECT_EQ(c.TtlLevelLow, 9);
  EXPECT_EQ(c.AlarmEnabled, (std::array<int, 2>{1, 0}));
  EXPECT_EQ(c.AlarmLimit[0], double(0xABCDEF01));
  EXPECT_EQ(c.AlarmLimit[1], double(0x42));
  const auto& v = context_->ModuleList[4];
  EXPECT_EQ(v.DataFormat, 3);
  EXPECT_EQ(v.AddressingCode, 1);
  EXPECT_EQ(v.InterfaceCode, 1);
  EXPECT_EQ(v.AppendCR, 1);
  EXPECT_EQ(v.ParityCode, 2);
  EXPECT_EQ(v.StopBitsCode, 1);
  EXPECT_EQ(v.Rs232BaudCode, 5);
  EXPECT_EQ(v.BaudCode, 3);
  EXPECT_EQ(v.ChecksumFlag, 0);
  EXPECT_TRUE(device().item(4)->text().endsWith("     n,8,2     RS-485"));
}

TEST_F(SearchTest, FailedFurtherReadsLeaveTheirFieldsAndTheModuleListed) {
  if (lineThreaded()) GTEST_SKIP() << kHooksInlineLine;
  auto module = simModule("7213", 1, 3, true);
  module.alarmMode = 2;
  module.typeCode = 0x0E;
  startOn({module}, kOnly9600);
  // The module falls silent right after answering the probe with checksum.
  ui_->onYield = [this] {
    if (context_->LastCommand == "$012") network_->setFault(1, fault(&sim::FaultSpec::silent));
  };
  search({"1"});
  ASSERT_EQ(context_->ModuleCount, 1);
  const auto& entry = context_->ModuleList[0];
  EXPECT_EQ(entry.TypeCode, 0x0E) << "from the probe's reply";
  EXPECT_EQ(entry.ChecksumFlag, 1);
  EXPECT_EQ(entry.ModelName, "      ");
  EXPECT_EQ(entry.AlarmMode, 0);
  EXPECT_TRUE(device().item(0)->text().endsWith("Unknown Module"));
}

TEST_F(SearchTest, ChecksumOnlyModuleIsFoundOnTheSecondTry) {
  startOn({simModule("7215", 2, 3, true)}, kOnly9600);
  search({"2"});
  ASSERT_EQ(context_->ModuleCount, 1);
  const auto& entry = context_->ModuleList[0];
  EXPECT_EQ(entry.ChecksumFlag, 1);
  const auto sent = framesSent();
  const auto at = [&sent](const std::string& frame) {
    return std::find(sent.begin(), sent.end(), frame) != sent.end();
  };
  EXPECT_TRUE(at("$022")) << "tried without checksum first";
  EXPECT_TRUE(at("$022B8"));
  EXPECT_TRUE(at("$02MD3")) << "every further command carries the checksum";
  EXPECT_FALSE(at("$02M"));
}

TEST_F(SearchTest, InitializationModuleReportingZeroIsListedAtOnce) {
  auto init = simModule("7213", 0);
  init.initState = true;
  startOn({init, simModule("7342", 1)}, kOnly9600);
  search({"1"});
  ASSERT_EQ(context_->ModuleCount, 2);
  EXPECT_EQ(context_->InitModuleIndex, 0);
  EXPECT_TRUE(device().item(0)->text().startsWith("*  0(00H)   7213"));
  EXPECT_TRUE(device().item(1)->text().startsWith("   1(01H)   7342"));
}

TEST_F(SearchTest, HeldEntryBeyondTheUpperAddressIsNeverListed) {
  auto init = simModule("7213", 9);
  init.initState = true;
  startOn({init, simModule("7342", 1)}, kOnly9600);
  search({"4"});
  EXPECT_EQ(context_->ModuleCount, 1);
  EXPECT_EQ(context_->InitModuleIndex, -1);
  EXPECT_TRUE(device().item(0)->text().startsWith("   1(01H)   7342"));
}

TEST_F(SearchTest, StopKeepsTheModulesFoundSoFar) {
  if (lineThreaded()) GTEST_SKIP() << kHooksInlineLine;
  startOn({simModule("7213", 1), simModule("7342", 2), simModule("7451", 5)}, kOnly9600);
  ui_->onYield = [this] {
    if (context_->LastCommand == "$032") pressStop();
  };
  search({"255"});
  EXPECT_EQ(context_->ModuleCount, 2);
  EXPECT_EQ(device().count(), 2);
  const auto probes = probed();
  EXPECT_EQ(probes.back(), "$032B9") << "the address in progress is finished, no further one";
  EXPECT_EQ(framesSent().back(), "#**");
}

TEST_F(SearchTest, StopDuringASettlePauseEndsTheSearchAtOnceAndTheLineSettlesAgainAfter) {
  using namespace std::chrono_literals;
  using Clock = std::chrono::steady_clock;
  context_->line().startThread();
  startOn({simModule("7213", 1)}, kOnly9600);
  context_->baudSettlePause = 5s;  // the first probe sets the line up and settles
  QTimer::singleShot(300, [] { pressStop(); });
  const auto start = Clock::now();
  search({"255"});
  EXPECT_LT(Clock::now() - start, 2500ms) << "not after the settle pause";
  EXPECT_TRUE(framesSent().empty()) << "no probe after Stop";
  EXPECT_EQ(ui_->texts(), std::vector<QString>{"No module found!"});

  context_->baudSettlePause = 300ms;
  const auto next = Clock::now();
  context_->LastCommand = "$01M";
  EXPECT_TRUE(Exchange(*context_, {0, 3}, 0, context_->ReplyTimeout));
  EXPECT_GE(Clock::now() - next, 300ms) << "the cut pause did not settle the line";
}

TEST_F(SearchTest, StopBeforeAnyModuleGivesNoModuleFound) {
  if (lineThreaded()) GTEST_SKIP() << kHooksInlineLine;
  startOn({simModule("7213", 5)}, kOnly9600);
  ui_->onYield = [] { pressStop(); };
  search({"255"});
  EXPECT_EQ(context_->ModuleCount, 0);
  EXPECT_EQ(ui_->texts(), std::vector<QString>{"No module found!"});
  EXPECT_EQ(ui_->messages[0].title, "Search");
}

TEST_F(SearchTest, EmptyNetworkShowsNoModuleFoundAndSendsNoBroadcast) {
  startOn({simModule("7213", 9)}, kOnly9600);
  search({"2"});
  EXPECT_EQ(ui_->texts(), std::vector<QString>{"No module found!"});
  EXPECT_EQ(probed(),
            (std::vector<std::string>{"$002", "$002B6", "$012", "$012B7", "$022", "$022B8"}));
  EXPECT_NE(framesSent().back(), "#**");
}

TEST_F(SearchTest, UpperAddressIsValidatedAndZeroProbesOnlyAddressZero) {
  startOn({simModule("7213", 1)}, kOnly9600);
  search({"256", "12a", "", "0"});
  EXPECT_EQ(ui_->texts(),
            (std::vector<QString>{"Number can not exceed 255.", "Please input a number.",
                                  "Please input a number.", "No module found!"}));
  EXPECT_EQ(ui_->messages[0].title, "Error");
  EXPECT_EQ(probed(), (std::vector<std::string>{"$002", "$002B6"}));
  EXPECT_EQ(context_->SearchHiAddress, 0);
}

TEST_F(SearchTest, BaudRatesAreTriedInCodeOrderAtEveryAddress) {
  startOn({simModule("7213", 9)}, {0, 0, 0, 1, 0, 0, 1, 0});
  search({"1"});
  std::vector<int> rates;
  for (const auto& frame : settledFrames()) rates.push_back(frame.baudRate);
  EXPECT_EQ(rates, (std::vector<int>{9600, 9600, 115200, 115200, 9600, 9600, 115200, 115200}));
}

TEST_F(SearchTest, CancelLeavesListAndSelectionButCountsNoModules) {
  startOn({simModule("7213", 1)}, kOnly9600);
  search({"1"});
  ASSERT_EQ(device().count(), 1);
  ui_->modalHandlers[QStringLiteral("SearchForm")] = [](QDialog& dialog) {
    dialog.findChild<QPushButton*>(QStringLiteral("CancelBtn"))->click();
    return dialog.result();
  };
  ui_->modalsOpened.clear();
  clickButton(form_, "SearchBtn");
  EXPECT_FALSE(context_->SearchConfirmed);
  EXPECT_EQ(context_->ModuleCount, 0);
  EXPECT_EQ(device().count(), 1);
  EXPECT_EQ(context_->SelectedIndex, 0);
  EXPECT_EQ(ui_->modalsOpened, std::vector<QString>{"SearchForm"});
}

TEST_F(SearchTest, SearchDialogShowsPortAndRatesAndScanShowsProgress) {
  if (lineThreaded()) GTEST_SKIP() << kHooksInlineLine;
  startOn({simModule("7213", 1)}, kDemoRates);
  QString rates;
  ui_->modalHandlers[QStringLiteral("SearchForm")] = [&rates](QDialog& dialog) {
    rates = dialog.findChild<QLabel*>(QStringLiteral("BaudRate"))->text();
    EXPECT_EQ(dialog.findChild<QLabel*>(QStringLiteral("ComPort"))->text(), "COM1");
    EXPECT_EQ(dialog.findChild<QLineEdit*>(QStringLiteral("HiAddress"))->text(), "255");
    EXPECT_EQ(dialog.findChild<QLineEdit*>(QStringLiteral("HiAddress"))->selectedText(), "255");
    dialog.findChild<QLineEdit*>(QStringLiteral("HiAddress"))->setText("1");
    dialog.findChild<QPushButton*>(QStringLiteral("OKBtn"))->click();
    return dialog.result();
  };
  int progressSeen = -1;
  ui_->onYield = [&progressSeen] {
    for (QWidget* window : QApplication::topLevelWidgets())
      if (window->objectName() == QStringLiteral("ScanForm") && window->isVisible())
        progressSeen = window->findChild<QProgressBar*>(QStringLiteral("ScanProgress"))->maximum();
  };
  clickButton(form_, "SearchBtn");
  EXPECT_EQ(rates, "9600, 19200, 115200");
  EXPECT_EQ(progressSeen, 2) << "addresses 0 and 1";
}

TEST_F(SearchTest, MappingSplitsAtTheSignOfTheHighValueAndPolarityKeepsItsBitOrder) {
  auto multi = simModule("7228", 1);
  multi.sourceLow = "+01.500";  // a positive low value: its own "+" is no split
  multi.sourceHigh = "+09.250";
  auto lowOnly = simModule("7455", 2);
  lowOnly.polarity = 1;
  auto highOnly = simModule("7455", 3);
  highOnly.polarity = 2;
  startOn({multi, lowOnly, highOnly}, kOnly9600);
  search({"3"});
  ASSERT_EQ(context_->ModuleCount, 3);
  EXPECT_FLOAT_EQ(context_->ModuleList[0].SourceLow, 1.5f);
  EXPECT_FLOAT_EQ(context_->ModuleList[0].SourceHigh, 9.25f);
  EXPECT_EQ(context_->ModuleList[1].Polarity, 1);
  EXPECT_EQ(context_->ModuleList[2].Polarity, 2);
}

TEST_F(SearchTest, EndOfSearchBroadcastCarriesNoChecksumEvenForAChecksumModule) {
  startOn({simModule("7213", 1, 3, true)}, kOnly9600);
  search({"1"});
  ASSERT_EQ(context_->ModuleCount, 1);
  ASSERT_EQ(context_->ModuleList[0].ChecksumFlag, 1);
  EXPECT_EQ(framesSent().back(), "#**");
}

TEST_F(SearchTest, EscapeStopsTheScanLikeStop) {
  if (lineThreaded()) GTEST_SKIP() << kHooksInlineLine;
  startOn({simModule("7213", 1), simModule("7342", 2), simModule("7451", 5)}, kOnly9600);
  ui_->onYield = [this] {
    if (context_->LastCommand != "$032") return;
    for (QWidget* window : QApplication::topLevelWidgets())
      if (window->objectName() == QStringLiteral("ScanForm") && window->isVisible())
        QTest::keyClick(window, Qt::Key_Escape);
  };
  search({"255"});
  EXPECT_EQ(context_->ModuleCount, 2);
  EXPECT_EQ(probed().back(), "$032B9") << "the address in progress is finished, no further one";
}

TEST_F(SearchTest, RefreshRereadsTheConfigurationAndAlarmsOfAListedModule) {
  auto multi = simModule("7215", 1);
  startOn({multi}, kOnly9600);
  search({"1"});
  ASSERT_EQ(context_->ModuleCount, 1);
  network_->modify(1, [](sim::ModuleState& m) {
    m.typeCode = 0x0F;
    m.format = 1;
    m.alarmLow = -2.5;
    m.alarmHigh = 4.5;
    m.alarmMode = 1;
  });
  refreshEntry(*context_, 0);
  const ModuleEntry& entry = context_->ModuleList[0];
  EXPECT_EQ(entry.TypeCode, 0x0F);
  EXPECT_EQ(entry.DataFormat, 1);
  EXPECT_FLOAT_EQ(entry.AlarmLow, -2.5f);
  EXPECT_FLOAT_EQ(entry.AlarmHigh, 4.5f);
  EXPECT_EQ(entry.AlarmMode, 1);

  // A configuration reply of the wrong length, or an alarm-mode reply of the
  // wrong length, changes nothing.
  network_->setFault(1, "$AA2", sim::FaultSpec{.reply = "!0108060000\r"});
  refreshEntry(*context_, 0);
  EXPECT_EQ(entry.TypeCode, 0x0F);
  EXPECT_EQ(entry.BaudCode, 3);
  network_->clearFaults();
  network_->setFault(1, "@AADI", sim::FaultSpec{.reply = "!01200\r"});
  network_->modify(1, [](sim::ModuleState& m) { m.alarmMode = 2; });
  refreshEntry(*context_, 0);
  EXPECT_EQ(entry.AlarmMode, 1);
}

}  // namespace
}  // namespace orvane::admin
