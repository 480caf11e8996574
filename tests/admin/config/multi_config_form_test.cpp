// The multi-function configuration dialog against the simulator: the
// module settings, alarm mode and limits, and the 7228's linear mapping;
// what an OK sends, in which order and to which address, and what the entry
// believes afterwards.
#include "admin/config/multi_config_form.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QTest>

#include "admin/config/config_windows.h"
#include "admin/core/startup.h"
#include "admin/core/ui_naming.h"
#include "comma_locale.h"
#include "tests/admin/config/config_fixture.h"
#include "tests/admin/core/form_driver.h"

namespace orvane::admin {
namespace {

using namespace testing;
using Frames = std::vector<std::string>;
using Texts = std::vector<QString>;

class MultiConfigTest : public ConfigFixture {
 protected:
  // A module on its catalogue range (7228 and 7215 +/- 10V, 7213 T/C Type
  // J) with latching alarms at -1.5 and 7.3 and, on 7228, the mapping
  // -10..10 onto 0..50 enabled.
  static sim::ModuleState preset(const std::string& model, int address) {
    auto m = simModule(model, address);
    m.alarmMode = 2;
    m.alarmLow = -1.5;
    m.alarmHigh = 7.3;
    m.mappingEnabled = true;
    m.sourceLow = "-10.000";
    m.sourceHigh = "+10.000";
    m.targetLow = "+00.000";
    m.targetHigh = "+50.000";
    return m;
  }
  // The entry of a preset module, as a search read it.
  ModuleEntry& selectEntry(const sim::ModuleState& m) {
    ModuleEntry& e = setEntry(0, m.model, m.address);
    e.TypeCode = m.typeCode;
    e.AlarmMode = 2;
    e.AlarmLow = -1.5f;
    e.AlarmHigh = 7.3f;
    e.MappingEnabled = 1;
    e.SourceLow = -10;
    e.SourceHigh = 10;
    e.TargetLow = 0;
    e.TargetHigh = 50;
    return e;
  }
  ModuleEntry& startModule(const std::string& model = "7228") {
    const auto m = preset(model, 5);
    start({m});
    return selectEntry(m);
  }
  void type(const char* name, const char* text) const {
    field(name).setText(QString::fromUtf8(text));
  }
  bool mappingShown() const {
    return control<QGroupBox>(QStringLiteral("Frame1")).isVisibleTo(dialog_.get());
  }
  const ModuleEntry& entry() const { return context_->ModuleList[0]; }
};

TEST_F(MultiConfigTest, LoadShowsTheEntryAndSendsNothing) {
  startModule();
  open<MultiConfigForm>();
  EXPECT_EQ(dialog_->windowTitle(), "Configuration");
  EXPECT_EQ(control<QLabel>("ModuleName").text(), "7228");
  EXPECT_EQ(field("Addr").text(), "5");
  EXPECT_EQ(list("InputRange").count(), 6);
  EXPECT_EQ(list("InputRange").currentText().trimmed(), "+/- 10V");
  EXPECT_EQ(list("DataFormat").count(), 3);
  EXPECT_EQ(list("DataFormat").currentIndex(), 0);
  EXPECT_EQ(list("AlarmSetting").count(), 3);
  EXPECT_EQ(list("AlarmSetting").currentText().trimmed(), "Latch");
  EXPECT_FALSE(list("BaudRate").isEnabled());
  EXPECT_FALSE(list("ChecksumCombo").isEnabled());
  EXPECT_EQ(field("HighAlarm").text(), "7.3");
  EXPECT_EQ(field("LowAlarm").text(), "-1.5");
  for (int i = 0; i < 2; ++i)
    EXPECT_EQ(control<QLabel>(indexedName(QStringLiteral("FormatText"), i)).text(), "V   ");
  EXPECT_TRUE(mappingShown());
  EXPECT_EQ(list("MappingCombo").currentText(), "Enabled");
  EXPECT_EQ(field("SourceLow").text(), "-10");
  EXPECT_EQ(field("SourceHigh").text(), "10");
  EXPECT_EQ(field("TargetLow").text(), "0");
  EXPECT_EQ(field("TargetHigh").text(), "50");
  EXPECT_TRUE(sent().empty());
}

TEST_F(MultiConfigTest, OkWithoutChangeSendsNothingAndKeepsTheResultAtTwo) {
  startModule();
  open<MultiConfigForm>();
  clickOK();
  EXPECT_TRUE(sent().empty()) << "7.3 and -1.5 read back as the entry's own values";
  EXPECT_TRUE(ui_->messages.empty());
  EXPECT_EQ(context_->ConfigResult, 2);
  EXPECT_TRUE(closed());
}

TEST_F(MultiConfigTest, LatchToDisabledSendsOnlyTheAlarmCommand) {
  startModule();
  open<MultiConfigForm>();
  list("AlarmSetting").setCurrentIndex(0);
  clickOK();
  EXPECT_EQ(sent(), Frames{"@05DA"});
  EXPECT_EQ(entry().AlarmMode, 0);
  EXPECT_EQ(network_->state(5).alarmMode, 0);
  EXPECT_EQ(ui_->texts(), Texts{"Change configuration complete."});
  EXPECT_EQ(context_->ConfigResult, 1);
}

TEST_F(MultiConfigTest, EveryChangeGoesOutInOrderTheLaterOnesToTheNewAddress) {
  startModule();
  open<MultiConfigForm>();
  setAddress(12);
  list("InputRange").setCurrentIndex(1);  // +/- 5V, 0x09
  list("DataFormat").setCurrentIndex(1);
  list("AlarmSetting").setCurrentIndex(1);
  type("HighAlarm", "2.5");
  type("LowAlarm", "-2.5");
  list("MappingCombo").setCurrentIndex(0);
  type("SourceLow", "-5");
  type("TargetHigh", "7.25");
  clickOK();
  EXPECT_EQ(sent(), (Frames{"%050C090601", "@0CEAM", "@0CHI+2.5000", "@0CLO-2.5000", "$0CA0",
                            "$0C6-5.0000+10.0000", "$0C7+0.0000+7.2500"}))
      << "the source pair goes out whole although only its low value changed";
  const ModuleEntry& e = entry();
  EXPECT_EQ(e.Address, 12);
  EXPECT_EQ(e.TypeCode, 0x09);
  EXPECT_EQ(e.DataFormat, 1);
  EXPECT_EQ(e.AlarmMode, 1);
  EXPECT_EQ(e.AlarmHigh, 2.5f);
  EXPECT_EQ(e.AlarmLow, -2.5f);
  EXPECT_EQ(e.MappingEnabled, 0);
  EXPECT_EQ(e.SourceLow, -5.0f);
  EXPECT_EQ(e.SourceHigh, 10.0f);
  EXPECT_EQ(e.TargetLow, 0.0f);
  EXPECT_EQ(e.TargetHigh, 7.25f);
  const auto module = network_->state(12);
  EXPECT_EQ(module.typeCode, 0x09);
  EXPECT_EQ(module.alarmHigh, 2.5);
  EXPECT_FALSE(module.mappingEnabled);
  EXPECT_EQ(module.sourceLow, "-5.0000");
  EXPECT_EQ(module.targetHigh, "+7.2500");
  EXPECT_EQ(ui_->texts(), Texts{"Change configuration complete."});
  EXPECT_EQ(context_->ConfigResult, 1);
}

TEST_F(MultiConfigTest, TargetPairGoesOutInTheSourceTextSoTheModuleCanSplitIt) {
  startModule();
  open<MultiConfigForm>();
  type("TargetLow", "-2.5");
  type("TargetHigh", "10");
  clickOK();
  EXPECT_EQ(sent(), Frames{"$057-02.500+10.000"});
  EXPECT_EQ(network_->state(5).targetLow, "-02.500");
  EXPECT_EQ(network_->state(5).targetHigh, "+10.000");
  EXPECT_EQ(entry().TargetLow, -2.5f);
  EXPECT_EQ(entry().TargetHigh, 10.0f);
}

TEST_F(MultiConfigTest, ModelsWithoutMappingHideItsFrameAndNeverSendIt) {
  const auto m7213 = preset("7213", 5), m7215 = preset("7215", 6);
  start({preset("7228", 7), m7213, m7215});
  open<MultiConfigForm>();
  ASSERT_TRUE(mappingShown());
  const int wide = dialog_->width();
  for (const auto& m : {m7213, m7215}) {
    selectEntry(m);
    open<MultiConfigForm>();
    EXPECT_FALSE(mappingShown()) << m.model;
    EXPECT_LT(dialog_->width(), wide) << m.model;
    field("SourceLow").setText("abc");  // hidden: neither read nor sent
    list("MappingCombo").setCurrentIndex(0);
    list("AlarmSetting").setCurrentIndex(1);
    type("HighAlarm", "8");
    clickOK();
    const std::string limit = m.model == "7213" ? "+008.00" : "+08.000";
    const std::string address = m.model == "7213" ? "05" : "06";
    EXPECT_EQ(sent(), (Frames{"@" + address + "EAM", "@" + address + "HI" + limit}));
    EXPECT_EQ(entry().MappingEnabled, 1) << m.model;
    EXPECT_EQ(network_->state(m.address).alarmHigh, 8.0);
  }
}

TEST_F(MultiConfigTest, RangeListAndUnitsFollowTheModel) {
  startModule("7213");
  open<MultiConfigForm>();
  EXPECT_EQ(list("InputRange").count(), 16) << "0x00 to 0x06 and 0x0E to 0x16";
  EXPECT_EQ(list("InputRange").currentText().trimmed(), "T/C Type J");
  list("InputRange").setCurrentIndex(0);
  EXPECT_EQ(control<QLabel>(indexedName(QStringLiteral("FormatText"), 1)).text(), "C   ")
      << "the units are those of the module's range, not of the list";
}

TEST_F(MultiConfigTest, ValuesTheRangeTextCannotHoldAreRefusedBeforeAnythingIsSent) {
  startModule();
  open<MultiConfigForm>();
  setAddress(12);
  const auto refused = [&](const char* name, const char* text, const QString& message) {
    const QString before = field(name).text();
    type(name, text);
    ui_->messages.clear();
    clickOK();
    EXPECT_EQ(ui_->texts(), Texts{message}) << name << " " << text;
    EXPECT_EQ(ui_->messages.at(0).title, "Error");
    EXPECT_EQ(QApplication::focusWidget(), &field(name)) << name;
    EXPECT_EQ(field(name).selectedText(), field(name).text()) << name;
    field(name).setText(before);
  };
  dialog_->activateWindow();
  QApplication::processEvents();
  refused("HighAlarm", "150", "Number can not exceed 100.");  // never +50.000
  refused("LowAlarm", "-150", "Number can not exceed 100.");
  refused("SourceHigh", "100.5", "Number can not exceed 100.");
  refused("TargetLow", "-1000", "Number can not exceed 100.");
  refused("TargetHigh", "", "Please input a number.");
  refused("LowAlarm", "abc", "Please input a number.");
  list("InputRange").setCurrentIndex(1);  // +/- 5V: its text holds up to 10
  refused("HighAlarm", "12", "Number can not exceed 10.");
  EXPECT_TRUE(sent().empty());
  EXPECT_FALSE(closed());
  EXPECT_EQ(context_->ConfigResult, 2);
  EXPECT_EQ(entry().Address, 5);

  list("InputRange").setCurrentIndex(0);
  type("HighAlarm", "100");
  clickOK();
  EXPECT_EQ(sent(), (Frames{"%050C080600", "@0CHI+100.000"})) << "the limit itself fits";
}

TEST_F(MultiConfigTest, AValueThatIsNotSentIsNotChecked) {
  ModuleEntry& e = startModule();
  e.AlarmHigh = 150;  // an odd entry: the field shows it and nobody touches it
  open<MultiConfigForm>();
  list("AlarmSetting").setCurrentIndex(1);
  clickOK();
  EXPECT_EQ(sent(), Frames{"@05EAM"});
}

TEST_F(MultiConfigTest, SilentModuleGivesEveryFailureBoxInOrderAndLeavesTheEntry) {
  const ModuleEntry before = startModule();
  open<MultiConfigForm>();
  network_->setFault(5, sim::FaultSpec{.silent = true});
  setAddress(7);
  list("AlarmSetting").setCurrentIndex(1);
  type("HighAlarm", "8");
  type("LowAlarm", "-8");
  list("MappingCombo").setCurrentIndex(0);
  type("SourceHigh", "9");
  type("TargetLow", "1");
  clickOK();
  EXPECT_EQ(
      ui_->texts(),
      (Texts{"Configuration command failed.", "Alarm configuration failed.",
             "High alarm limit configuration failed.", "Low alarm limit configuration failed.",
             "Linear mapping enable/disable configuration failed.",
             "Source high/low values of linear mapping configuration failed.",
             "Target high/low values of linear mapping configuration failed."}));
  for (const auto& message : ui_->messages) EXPECT_EQ(message.title, "Error");
  EXPECT_EQ(sent(), (Frames{"%0507080600", "@05EAM", "@05HI+08.000", "@05LO-08.000", "$05A0",
                            "$056-10.000+09.000", "$057+01.000+50.000"}))
      << "a failed configuration leaves the old address for the rest";
  const ModuleEntry& e = entry();
  EXPECT_EQ(e.Address, before.Address);
  EXPECT_EQ(e.AlarmMode, before.AlarmMode);
  EXPECT_EQ(e.AlarmHigh, before.AlarmHigh);
  EXPECT_EQ(e.AlarmLow, before.AlarmLow);
  EXPECT_EQ(e.MappingEnabled, before.MappingEnabled);
  EXPECT_EQ(e.SourceHigh, before.SourceHigh);
  EXPECT_EQ(e.TargetLow, before.TargetLow);
  EXPECT_EQ(context_->ConfigResult, 2);
  EXPECT_TRUE(closed());
}

TEST_F(MultiConfigTest, ARefusedStepDoesNotStopTheFollowingOnes) {
  startModule();
  open<MultiConfigForm>();
  network_->setFault(5, "@AAHI*", sim::FaultSpec{.refuseAll = true});
  type("HighAlarm", "8");
  type("LowAlarm", "-8");
  clickOK();
  EXPECT_EQ(sent(), (Frames{"@05HI+08.000", "@05LO-08.000"}));
  EXPECT_EQ(ui_->texts(),
            (Texts{"High alarm limit configuration failed.", "Change configuration complete."}));
  EXPECT_EQ(entry().AlarmHigh, 7.3f);
  EXPECT_EQ(entry().AlarmLow, -8.0f);
  EXPECT_EQ(network_->state(5).alarmHigh, 7.3);
  EXPECT_EQ(network_->state(5).alarmLow, -8.0);
}

TEST_F(MultiConfigTest, LimitsGoOutInTheTextOfTheRangeTheModuleKept) {
  startModule();
  open<MultiConfigForm>();
  network_->setFault(5, "%AA*", sim::FaultSpec{.refuseAll = true});
  list("InputRange").setCurrentIndex(4);  // +/- 150mV, 0x0C: holds up to 1000
  type("HighAlarm", "150");
  type("LowAlarm", "-50");
  clickOK();
  EXPECT_EQ(sent(), (Frames{"%05050C0600", "@05LO-50.000"}))
      << "150 does not fit the +/- 10V text the module kept, so it is not cut";
  EXPECT_EQ(ui_->texts(),
            (Texts{"Configuration command failed.", "High alarm limit configuration failed.",
                   "Change configuration complete."}));
  EXPECT_EQ(entry().TypeCode, 0x08);
  EXPECT_EQ(entry().AlarmHigh, 7.3f);

  open<MultiConfigForm>();
  network_->setFault(5, "%AA*", sim::FaultSpec{});
  list("InputRange").setCurrentIndex(4);
  type("HighAlarm", "150");
  clickOK();
  EXPECT_EQ(sent(), (Frames{"%05050C0600", "@05HI+150.00"}));
  EXPECT_EQ(entry().AlarmHigh, 150.0f);
}

TEST_F(MultiConfigTest, InitializationEntryIsAddressedAs00AndMayChangeBaudAndChecksum) {
  auto m = simModule("7213", 9);
  m.initState = true;
  start({m});
  makeInitializationEntry();
  open<MultiConfigForm>();
  EXPECT_TRUE(list("BaudRate").isEnabled());
  EXPECT_TRUE(list("ChecksumCombo").isEnabled());
  list("BaudRate").setCurrentIndex(4);  // 19200
  list("ChecksumCombo").setCurrentIndex(1);
  list("AlarmSetting").setCurrentIndex(2);
  clickOK();
  EXPECT_EQ(sent(), (Frames{"%00090E0740", "@00EAL"}));
  for (const auto& frame : settledFrames()) EXPECT_EQ(frame.baudRate, 9600);
  const ModuleEntry& e = entry();
  EXPECT_EQ(e.BaudCode, 4);
  EXPECT_EQ(e.ChecksumFlag, 1);
  EXPECT_EQ(e.AlarmMode, 2);
  EXPECT_EQ(ui_->texts(), Texts{"Change configuration complete."});
}

TEST_F(MultiConfigTest, AnEntryWithCodesTheListsDoNotOfferOpensAndKeepsThem) {
  ModuleEntry& e = startModule();
  e.TypeCode = 0x0E;
  e.DataFormat = 3;
  e.AlarmMode = 7;
  e.MappingEnabled = 4;
  open<MultiConfigForm>();
  for (const char* name : {"InputRange", "DataFormat", "AlarmSetting", "MappingCombo"})
    EXPECT_EQ(list(name).currentIndex(), -1) << name;
  setAddress(6);
  clickOK();
  EXPECT_EQ(sent(), Frames{"%05060E0603"}) << "the entry's own codes, never -1";
}

TEST_F(MultiConfigTest, KeyboardOpensOnTheAddressEnterIsOkEscapeIsCancel) {
  startModule();
  open<MultiConfigForm>();
  dialog_->activateWindow();
  QApplication::processEvents();
  EXPECT_EQ(QApplication::focusWidget(), &field("Addr"));
  EXPECT_EQ(field("Addr").selectedText(), "5");
  list("AlarmSetting").setCurrentIndex(1);
  QTest::keyClick(&field("Addr"), Qt::Key_Return);
  EXPECT_EQ(sent(), Frames{"@05EAM"});
  EXPECT_TRUE(closed());

  open<MultiConfigForm>();
  list("AlarmSetting").setCurrentIndex(0);
  QTest::keyClick(dialog_.get(), Qt::Key_Escape);
  EXPECT_TRUE(closed());
  EXPECT_EQ(context_->ConfigResult, 2);
  EXPECT_TRUE(sent().empty());
}

class MultiConfigCommaTest : public MultiConfigTest {
 protected:
  void SetUp() override {
    ASSERT_TRUE(locale_.active()) << "the test locale de_DE.UTF-8 is missing";
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    context_->DecimalSeparator = localeDecimalSeparator();
  }
  void TearDown() override { QLocale::setDefault(QLocale::c()); }

  orvane::test::CommaLocale locale_;
};

TEST_F(MultiConfigCommaTest, OneCommaFiveGoesOutAsPlusZeroOnePointFive) {
  ASSERT_EQ(context_->DecimalSeparator, ',');
  startModule();
  open<MultiConfigForm>();
  EXPECT_EQ(field("HighAlarm").text(), "7,3");
  EXPECT_EQ(field("LowAlarm").text(), "-1,5");
  type("HighAlarm", "1,5");
  type("SourceLow", "-2,25");
  clickOK();
  EXPECT_EQ(sent(), (Frames{"@05HI+01.500", "$056-02.250+10.000"}))
      << "the untouched -1,5 is not sent";
  EXPECT_EQ(entry().AlarmHigh, 1.5f);
  EXPECT_EQ(network_->state(5).alarmHigh, 1.5);
}

TEST_F(MultiConfigCommaTest, ASmallLimitShowsInFixedNotationAndStaysUntouched) {
  startModule().AlarmLow = 0.0005f;
  open<MultiConfigForm>();
  EXPECT_EQ(field("LowAlarm").text(), "0,0005") << "never 5e-04, which the key filter refuses";
  clickOK();
  EXPECT_TRUE(ui_->messages.empty()) << "read back as the entry's own value";
  EXPECT_TRUE(sent().empty());
}

TEST_F(MultiConfigTest, OpenedFromTheMainWindowTheRowFollowsTheNewAddress) {
  registerConfigWindows(context_->windows);
  OrvaneForm form(*context_);
  startNetwork({simModule("7228", 3)});
  writeConfigFile("COM.CFG", "60\r\n1\r\nn,8,1\r\n9600\r\n");
  form.load();
  answerSearch(*ui_, {"20"});
  clickButton(form, "SearchBtn");
  ui_->modalHandlers[QStringLiteral("MultiConfigForm")] = [](QDialog& dialog) {
    dialog.findChild<QLineEdit*>(QStringLiteral("Addr"))->setText(QStringLiteral("12"));
    dialog.findChild<QPushButton*>(QStringLiteral("OKBtn"))->click();
    return dialog.result();
  };
  clickButton(form, "ConfigBtn");
  EXPECT_EQ(ui_->modalsOpened.back(), "MultiConfigForm");
  EXPECT_EQ(context_->ModuleList[0].Address, 12);
  const QString row = form.findChild<QListWidget*>(QStringLiteral("Device"))->item(0)->text();
  EXPECT_TRUE(row.startsWith("  12(0CH)   7228")) << row.toStdString();
  EXPECT_EQ(network_->addresses(), std::vector<int>{12});
}

}  // namespace
}  // namespace orvane::admin
