// The counter/frequency configuration dialog against the simulator: one
// command per changed setting, in order, each confirmed by "!" and the
// address the module answers at; the entry follows only what the module
// confirmed.
#include "admin/config/ctr_config_form.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>

#include "admin/config/config_windows.h"
#include "admin/core/command_link.h"
#include "admin/core/module_reader.h"
#include "admin/core/ui_naming.h"
#include "protocol/numbers.h"
#include "tests/admin/config/config_fixture.h"
#include "tests/admin/core/form_driver.h"

namespace orvane::admin {
namespace {

using namespace testing;

const QColor kGrey(0x80, 0x80, 0x80);

// Counter 0 running up to 4294967295 from 16, alarm at 1000; counter 1
// stopped, up to 100000, alarm off; filter on, widths 50 and 10 us, TTL
// levels 2.4 and 0.8 V; gate mode high.
sim::ModuleState counterModule(int address = 5) {
  auto m = simModule("7586", address);
  m.gateMode = 1;
  m.counters[0].running = true;
  m.counters[0].maxValue = 0xFFFFFFFF;
  m.counters[0].initialValue = 16;
  m.counters[0].alarmEnabled = true;
  m.counters[0].alarmLimit = 1000;
  m.counters[1].maxValue = 100000;
  m.counters[1].running = false;
  m.filterEnabled = true;
  m.minWidthHigh = 50;
  m.minWidthLow = 10;
  m.ttlHigh = 24;
  m.ttlLow = 8;
  return m;
}

class CtrConfigTest : public ConfigFixture {
 protected:
  ModuleEntry& startModule(const sim::ModuleState& m) {
    start({m});
    return readEntry();
  }
  // Fills the entry from the module, as the search does.
  ModuleEntry& readEntry() {
    ModuleEntry& e = context_->ModuleList[0];
    const int address = effectiveAddress(*context_, 0);
    context_->LastCommand = "$" + protocol::hex2(static_cast<std::uint32_t>(address)) + "2";
    ExchangeCommand(*context_, 0, 0, context_->ReplyTimeout);
    readModule(*context_, ProbeResult{address, 3, 0, context_->LastReply}, e);
    return e;
  }
  QLineEdit& field(const char* name, int n) const {
    return control<QLineEdit>(indexedName(QString::fromLatin1(name), n));
  }
  QComboBox& list(const char* name, int n) const {
    return control<QComboBox>(indexedName(QString::fromLatin1(name), n));
  }
  using ConfigFixture::field;
  using ConfigFixture::list;
  QColor colour(const char* label) const {
    return control<QLabel>(QString::fromLatin1(label)).palette().color(QPalette::WindowText);
  }
  bool enabled(const QString& name) const { return control<QWidget>(name).isEnabled(); }
};

TEST_F(CtrConfigTest, LoadShowsWhatTheSearchReadAndSendsNothing) {
  startModule(counterModule());
  open<CtrConfigForm>();
  EXPECT_EQ(dialog_->windowTitle(), "Configuration");
  EXPECT_EQ(control<QLabel>("ModuleName").text(), "7586");
  EXPECT_EQ(field("Addr").text(), "5");
  EXPECT_EQ(list("TypeCode").currentText(), "Counter");
  EXPECT_EQ(list("FreqGateTime").currentText(), "0.1 second");
  EXPECT_EQ(list("InputMode").currentText(), "TTL");
  EXPECT_EQ(list("InputMode").itemText(1), "Photo Isolated");
  EXPECT_EQ(list("BaudRate").currentText(), "9600");
  EXPECT_EQ(list("ChecksumCombo").currentText(), "Disabled");
  EXPECT_FALSE(list("BaudRate").isEnabled());
  EXPECT_FALSE(list("ChecksumCombo").isEnabled());
  EXPECT_EQ(list("GateMode").currentText(), "High");
  EXPECT_EQ(list("CounterStatus", 0).currentText(), "Start");
  EXPECT_EQ(list("CounterStatus", 1).currentText(), "Stop");
  EXPECT_EQ(field("MaxValue", 0).text(), "4294967295");
  EXPECT_EQ(field("MaxValue", 1).text(), "100000");
  EXPECT_EQ(field("InitialValue", 0).text(), "16");
  EXPECT_EQ(list("AlarmSetting", 0).currentText(), "Enabled");
  EXPECT_EQ(list("AlarmSetting", 1).currentText(), "Disabled");
  EXPECT_EQ(field("AlarmValue", 0).text(), "1000");
  EXPECT_EQ(list("DigitalFilter").currentText(), "Enabled");
  EXPECT_EQ(field("MinAtHigh").text(), "50");
  EXPECT_EQ(field("MinAtLow").text(), "10");
  EXPECT_EQ(field("TTLAtHigh").text(), "2.4");
  EXPECT_EQ(field("TTLAtLow").text(), "0.8");
  EXPECT_EQ(control<QGroupBox>("Frame8").title(), "Filter && threshold");
  EXPECT_TRUE(sent().empty());
}

TEST_F(CtrConfigTest, TypeSwitchesBetweenCounterAndFrequencyLayout) {
  startModule(counterModule());
  open<CtrConfigForm>();
  const std::vector<QString> counterOnly{"Frame9",      "Frame10",          "Frame1",
                                         "Frame2",      "Frame5",           "Frame6",
                                         "GateMode",    "CounterStatus(1)", "InitialValue(0)",
                                         "MaxValue(1)", "AlarmSetting(0)",  "AlarmValue(1)"};
  const std::vector<QString> always{"Frame8", "DigitalFilter", "MinAtHigh", "TTLAtLow"};
  const auto expectLayout = [&](bool counter) {
    EXPECT_EQ(enabled("FreqGateTime"), !counter);
    EXPECT_EQ(colour("Label3"), counter ? kGrey : QColor(Qt::black));
    for (const QString& name : counterOnly) EXPECT_EQ(enabled(name), counter) << name.toStdString();
    for (const char* label : {"Label6", "Label11", "Label14", "Label21", "Label23"}) {
      EXPECT_EQ(colour(label), counter ? QColor(Qt::black) : kGrey) << label;
      EXPECT_FALSE(control<QLabel>(label).testAttribute(Qt::WA_ForceDisabled))
          << label << " is grey by its colour alone";
    }
    EXPECT_FALSE(control<QLabel>("Label3").testAttribute(Qt::WA_ForceDisabled));
    for (const QString& name : always) EXPECT_TRUE(enabled(name)) << name.toStdString();
  };
  expectLayout(true);
  list("TypeCode").setCurrentIndex(1);
  expectLayout(false);
  list("TypeCode").setCurrentIndex(0);
  expectLayout(true);

  context_->ModuleList[0].TypeCode = 0x51;
  open<CtrConfigForm>();
  EXPECT_EQ(list("TypeCode").currentText(), "Frequency");
  expectLayout(false);
}

TEST_F(CtrConfigTest, OkWithoutChangeSendsNothing) {
  startModule(counterModule());
  open<CtrConfigForm>();
  clickOK();
  EXPECT_TRUE(sent().empty());
  EXPECT_TRUE(ui_->messages.empty());
  EXPECT_EQ(context_->ConfigResult, 2);
  EXPECT_TRUE(closed());
}

TEST_F(CtrConfigTest, OneChangeSendsOneCommandAndTheEntryTakesIt) {
  startModule(counterModule());
  open<CtrConfigForm>();
  field("MaxValue", 1).setText("4294967295");
  clickOK();
  EXPECT_EQ(sent(), std::vector<std::string>{"$0531FFFFFFFF"});
  EXPECT_EQ(context_->ModuleList[0].MaxCount[1], 4294967295.0);
  EXPECT_EQ(network_->state(5).counters[1].maxValue, 0xFFFFFFFFu);
  EXPECT_EQ(ui_->texts(), std::vector<QString>{"Change configuration complete."});
  EXPECT_EQ(context_->ConfigResult, 1);
}

TEST_F(CtrConfigTest, ManyChangesGoOutInStepOrderAfterTheMoveToTheNewAddress) {
  startModule(counterModule());
  open<CtrConfigForm>();
  setAddress(6);
  list("InputMode").setCurrentIndex(1);
  list("GateMode").setCurrentIndex(2);
  list("CounterStatus", 0).setCurrentIndex(0);
  list("CounterStatus", 1).setCurrentIndex(1);
  field("MaxValue", 1).setText("65535");
  field("InitialValue", 0).setText("0");
  field("InitialValue", 1).setText("12.9");
  list("DigitalFilter").setCurrentIndex(0);
  field("MinAtHigh").setText("100");
  field("MinAtLow").setText("7");
  field("TTLAtHigh").setText("0.5");
  field("TTLAtLow").setText("3");
  list("AlarmSetting", 0).setCurrentIndex(0);
  list("AlarmSetting", 1).setCurrentIndex(1);
  field("AlarmValue", 0).setText("1000.5");
  field("AlarmValue", 1).setText("4294967295");
  clickOK();
  EXPECT_EQ(sent(), (std::vector<std::string>{"%0506500600", "$06B1", "$06A2", "$06500", "$06511",
                                              "$06310000FFFF", "@06P000000000", "@06P10000000C",
                                              "$0640", "$060H0100", "$060L0007", "$061H05",
                                              "$061L30", "@06DA0", "@06EA1", "@06SAFFFFFFFF"}));
  EXPECT_EQ(ui_->texts(), std::vector<QString>{"Change configuration complete."});
  const ModuleEntry& e = context_->ModuleList[0];
  EXPECT_EQ(e.Address, 6);
  EXPECT_EQ(e.InputModeCode, 1);
  EXPECT_EQ(e.GateModeCode, 2);
  EXPECT_EQ(e.CounterRunning, (std::array<int, 2>{0, 1}));
  EXPECT_EQ(e.MaxCount, (std::array<double, 2>{4294967295.0, 65535.0}));
  EXPECT_EQ(e.InitialCount, (std::array<double, 2>{0.0, 12.9})) << "the number as typed";
  EXPECT_EQ(e.FilterEnabled, 0);
  EXPECT_EQ(e.MinWidthHigh, 100);
  EXPECT_EQ(e.MinWidthLow, 7);
  EXPECT_EQ(e.TtlLevelHigh, 5);
  EXPECT_EQ(e.TtlLevelLow, 30);
  EXPECT_EQ(e.AlarmEnabled, (std::array<int, 2>{0, 1}));
  EXPECT_EQ(e.AlarmLimit, (std::array<double, 2>{1000.0, 4294967295.0}));
  const sim::ModuleState s = network_->state(6);
  EXPECT_EQ(s.counters[1].initialValue, 12u);
  EXPECT_EQ(s.ttlLow, 30);
  EXPECT_EQ(s.minWidthLow, 7);
  EXPECT_TRUE(s.counters[1].alarmEnabled);
  EXPECT_EQ(context_->ConfigResult, 1);
}

TEST_F(CtrConfigTest, FractionsCountByTheirIntegerPart) {
  startModule(counterModule());
  open<CtrConfigForm>();
  field("MaxValue", 1).setText("100000.9");
  field("AlarmValue", 0).setText("1000.99");
  field("MinAtHigh").setText("50.7");
  clickOK();
  EXPECT_TRUE(sent().empty()) << "the integer parts equal the stored values";
  EXPECT_EQ(context_->ConfigResult, 2);
}

TEST_F(CtrConfigTest, FrequencyModeOkSendsOnlyTheModuleConfiguration) {
  startModule(counterModule());
  open<CtrConfigForm>();
  list("TypeCode").setCurrentIndex(1);
  list("FreqGateTime").setCurrentIndex(1);
  list("GateMode").setCurrentIndex(0);
  field("MaxValue", 0).setText("7");
  list("DigitalFilter").setCurrentIndex(0);
  field("MinAtHigh").setText("200");
  field("TTLAtHigh").setText("not checked, never sent");
  clickOK();
  EXPECT_EQ(sent(), std::vector<std::string>{"%0505510604"});
  const ModuleEntry& e = context_->ModuleList[0];
  EXPECT_EQ(e.TypeCode, 0x51);
  EXPECT_EQ(e.GateTimeCode, 1);
  EXPECT_EQ(e.GateModeCode, 1);
  EXPECT_EQ(e.FilterEnabled, 1);
  EXPECT_EQ(network_->state(5).typeCode, 0x51);
  EXPECT_EQ(ui_->texts(), std::vector<QString>{"Change configuration complete."});

  open<CtrConfigForm>();
  list("InputMode").setCurrentIndex(1);
  field("MinAtLow").setText("300");
  clickOK();
  EXPECT_EQ(sent(), std::vector<std::string>{"$05B1"}) << "input mode counts in both modes";
  EXPECT_EQ(network_->state(5).inputMode, 1);
}

TEST_F(CtrConfigTest, FailedMoveLeavesTheFollowingCommandsAtTheOldAddress) {
  startModule(counterModule());
  network_->setFault(5, "%AA*", sim::FaultSpec{.silent = true});
  open<CtrConfigForm>();
  setAddress(9);
  list("GateMode").setCurrentIndex(2);
  clickOK();
  EXPECT_EQ(sent(), (std::vector<std::string>{"%0509500600", "$05A2"}));
  EXPECT_EQ(ui_->texts(), (std::vector<QString>{"Module Configuration command failed.",
                                                "Change configuration complete."}));
  EXPECT_EQ(ui_->messages[0].title, "Error");
  EXPECT_EQ(context_->ModuleList[0].Address, 5);
  EXPECT_EQ(context_->ModuleList[0].GateModeCode, 2);
  EXPECT_EQ(network_->state(5).gateMode, 2);
}

TEST_F(CtrConfigTest, SilentModuleGivesEachStepsBoxAndLeavesTheEntry) {
  const ModuleEntry before = startModule(counterModule());
  network_->setFault(5, sim::FaultSpec{.silent = true});
  open<CtrConfigForm>();
  list("InputMode").setCurrentIndex(1);
  field("MaxValue", 0).setText("1");
  field("TTLAtLow").setText("1");
  clickOK();
  EXPECT_EQ(sent(), (std::vector<std::string>{"$05B1", "$053000000001", "$051L10"}));
  EXPECT_EQ(ui_->texts(),
            (std::vector<QString>{"Input Mode Setting command failed.",
                                  "Max Counter Value Setting command failed.",
                                  "TTL Input Low Trigger Level Setting command failed."}));
  for (const auto& message : ui_->messages) EXPECT_EQ(message.title, "Error");
  const ModuleEntry& e = context_->ModuleList[0];
  EXPECT_EQ(e.InputModeCode, before.InputModeCode);
  EXPECT_EQ(e.MaxCount, before.MaxCount);
  EXPECT_EQ(e.TtlLevelLow, before.TtlLevelLow);
  EXPECT_EQ(context_->ConfigResult, 2);
  EXPECT_TRUE(closed());
}

TEST_F(CtrConfigTest, OnlyTheRefusedStepFailsAndTheOthersGoOn) {
  startModule(counterModule());
  network_->setFault(5, "$AA3*", sim::FaultSpec{.refuseAll = true});
  open<CtrConfigForm>();
  field("MaxValue", 0).setText("10");
  field("MaxValue", 1).setText("20");
  field("InitialValue", 0).setText("5");
  clickOK();
  EXPECT_EQ(sent(), (std::vector<std::string>{"$05300000000A", "$053100000014", "@05P000000005"}));
  EXPECT_EQ(ui_->texts(), (std::vector<QString>{"Max Counter Value Setting command failed.",
                                                "Max Counter Value Setting command failed.",
                                                "Change configuration complete."}));
  const ModuleEntry& e = context_->ModuleList[0];
  EXPECT_EQ(e.MaxCount, (std::array<double, 2>{4294967295.0, 100000.0}));
  EXPECT_EQ(e.InitialCount[0], 5.0);
  EXPECT_EQ(context_->ConfigResult, 1);
}

TEST_F(CtrConfigTest, AConfirmationFromAnotherAddressIsAFailure) {
  startModule(counterModule());
  network_->setFault(5, "$AAB*", sim::FaultSpec{.reply = "!06\r"});
  network_->setFault(5, "$AAA*", sim::FaultSpec{.reply = "!\r"});
  open<CtrConfigForm>();
  list("InputMode").setCurrentIndex(1);
  list("GateMode").setCurrentIndex(0);
  clickOK();
  EXPECT_EQ(ui_->texts(), (std::vector<QString>{"Input Mode Setting command failed.",
                                                "Gate Mode Setting command failed."}));
  EXPECT_EQ(context_->ModuleList[0].InputModeCode, 0);
  EXPECT_EQ(context_->ModuleList[0].GateModeCode, 1);
  EXPECT_EQ(context_->ConfigResult, 2);
}

TEST_F(CtrConfigTest, NumbersOutOfRangeAreRefusedBeforeAnythingIsSent) {
  startModule(counterModule());
  open<CtrConfigForm>();
  dialog_->activateWindow();
  QApplication::processEvents();
  setAddress(7);
  struct Case {
    QLineEdit* field;
    QString text;
    QString message;
  };
  const std::vector<Case> cases{
      {&field("MaxValue", 0), "4294967296", "Number can not exceed 4294967295."},
      {&field("MaxValue", 1), "1e10", "Number can not exceed 4294967295."},
      {&field("InitialValue", 1), "-1", "Please input a number."},
      {&field("InitialValue", 0), "-0.5", "Please input a number."},
      {&field("AlarmValue", 1), "12x", "Please input a number."},
      {&field("AlarmValue", 0), "", "Please input a number."},
      {&field("MinAtLow"), "10000", "Number can not exceed 9999."},
      {&field("MinAtHigh"), "-3", "Please input a number."},
      {&field("TTLAtHigh"), "9.95", "Number can not exceed 9.9."},
      {&field("TTLAtLow"), "-0.1", "Please input a number."},
  };
  for (const Case& c : cases) {
    const QString kept = c.field->text();
    c.field->setText(c.text);
    ui_->messages.clear();
    clickOK();
    EXPECT_EQ(ui_->texts(), std::vector<QString>{c.message}) << c.field->objectName().toStdString();
    EXPECT_EQ(ui_->messages.at(0).title, "Error");
    EXPECT_EQ(QApplication::focusWidget(), c.field) << c.field->objectName().toStdString();
    EXPECT_EQ(c.field->selectedText(), c.text);
    c.field->setText(kept);
  }
  EXPECT_TRUE(sent().empty());
  EXPECT_FALSE(closed());
  EXPECT_EQ(context_->ConfigResult, 2);
  EXPECT_EQ(network_->addresses(), std::vector<int>{5});

  field("TTLAtLow").setText("10");
  field("MaxValue", 1).setText("x");
  clickOK();
  EXPECT_EQ(ui_->texts().back(), "Please input a number.") << "the first field in step order";
  EXPECT_EQ(QApplication::focusWidget(), &field("MaxValue", 1));
}

TEST_F(CtrConfigTest, UntouchedFieldsUnderADecimalCommaNeverCountAsChanged) {
  context_->DecimalSeparator = ',';
  startModule(counterModule()).InitialCount[1] = 12.9;
  open<CtrConfigForm>();
  EXPECT_EQ(field("InitialValue", 1).text(), "12,9");
  EXPECT_EQ(field("TTLAtHigh").text(), "2,4");
  EXPECT_EQ(field("TTLAtLow").text(), "0,8");
  clickOK();
  EXPECT_TRUE(sent().empty());

  open<CtrConfigForm>();
  field("TTLAtHigh").setText("0,5");
  field("TTLAtLow").setText("9,95");
  clickOK();
  EXPECT_EQ(ui_->texts(), std::vector<QString>{"Number can not exceed 9,9."});
  field("TTLAtLow").setText("9.9");
  clickOK();
  EXPECT_EQ(sent(), (std::vector<std::string>{"$051H05", "$051L99"}));
  EXPECT_EQ(network_->state(5).ttlHigh, 5);
  EXPECT_EQ(context_->ModuleList[0].TtlLevelLow, 99);
}

TEST_F(CtrConfigTest, InitializationEntryIsAddressedAs00AndMayChangeBaudAndChecksum) {
  auto m = counterModule();
  m.initState = true;
  start({m});
  makeInitializationEntry();
  readEntry();
  open<CtrConfigForm>();
  EXPECT_EQ(field("Addr").text(), "5");
  EXPECT_TRUE(list("BaudRate").isEnabled());
  EXPECT_TRUE(list("ChecksumCombo").isEnabled());
  list("BaudRate").setCurrentIndex(4);
  list("ChecksumCombo").setCurrentIndex(1);
  list("GateMode").setCurrentIndex(2);
  clickOK();
  EXPECT_EQ(sent(), (std::vector<std::string>{"%0005500740", "$00A2"}));
  for (const auto& frame : settledFrames()) EXPECT_EQ(frame.baudRate, 9600);
  const ModuleEntry& e = context_->ModuleList[0];
  EXPECT_EQ(e.BaudCode, 4);
  EXPECT_EQ(e.ChecksumFlag, 1);
  EXPECT_EQ(e.GateModeCode, 2);
  EXPECT_EQ(ui_->texts(), std::vector<QString>{"Change configuration complete."});
}

TEST_F(CtrConfigTest, CodesTheListsDoNotOfferShowNoSelectionAndGoOutAsTheyAre) {
  ModuleEntry& e = startModule(counterModule());
  e.InputModeCode = 9;
  e.GateModeCode = 7;
  e.CounterRunning[0] = 5;
  e.FilterEnabled = 3;
  e.AlarmEnabled[1] = 4;
  open<CtrConfigForm>();
  for (const char* name : {"InputMode", "GateMode", "DigitalFilter"})
    EXPECT_EQ(list(name).currentIndex(), -1) << name;
  EXPECT_EQ(list("CounterStatus", 0).currentIndex(), -1);
  EXPECT_EQ(list("AlarmSetting", 1).currentIndex(), -1);
  clickOK();
  EXPECT_TRUE(sent().empty()) << "an empty selection is the entry's own value";

  e.TypeCode = 0x33;
  e.BaudCode = 9;
  open<CtrConfigForm>();
  EXPECT_EQ(list("TypeCode").currentIndex(), -1);
  EXPECT_EQ(list("BaudRate").currentIndex(), -1);
  EXPECT_TRUE(list("FreqGateTime").isEnabled()) << "frequency layout for an unknown type";
  setAddress(6);
  clickOK();
  EXPECT_EQ(sent(), std::vector<std::string>{"%0506330C00"});
  EXPECT_EQ(ui_->texts().back(), "Module Configuration command failed.");
}

TEST_F(CtrConfigTest, FoundByTheSearchItOpensFromTheMainWindowAndItsRowFollows) {
  registerConfigWindows(context_->windows);
  startNetwork({counterModule(3)});
  writeConfigFile("COM.CFG", "60\r\n1\r\nn,8,1\r\n9600\r\n");
  OrvaneForm form(*context_);
  form.load();
  answerSearch(*ui_, {"3"});
  clickButton(form, "SearchBtn");
  std::vector<std::string> untouched;
  ui_->modalHandlers["CtrConfigForm"] = [&](QDialog& dialog) {
    network_->clearFrames();
    dialog.findChild<QPushButton*>(QStringLiteral("OKBtn"))->click();
    untouched = framesSent();
    return dialog.result();
  };
  clickButton(form, "ConfigBtn");
  ASSERT_EQ(ui_->modalsOpened.back(), "CtrConfigForm");
  EXPECT_EQ(context_->ModuleList[0].MaxCount[0], 4294967295.0) << "read by the search";
  EXPECT_TRUE(untouched.empty()) << "nothing the search read counts as changed";
  EXPECT_EQ(context_->ConfigResult, 2);

  ui_->modalHandlers["CtrConfigForm"] = [](QDialog& dialog) {
    dialog.findChild<QLineEdit*>(QStringLiteral("Addr"))->setText(QStringLiteral("7"));
    dialog.findChild<QPushButton*>(QStringLiteral("OKBtn"))->click();
    return dialog.result();
  };
  clickButton(form, "ConfigBtn");
  EXPECT_EQ(network_->addresses(), std::vector<int>{7});
  const QString row = form.findChild<QListWidget*>(QStringLiteral("Device"))->item(0)->text();
  EXPECT_TRUE(row.startsWith("   7(07H)   7586")) << row.toStdString();
}

}  // namespace
}  // namespace orvane::admin
