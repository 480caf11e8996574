// The analog input configuration dialog against the simulator: what an OK
// sends, in which order and to which address, and what the entry believes
// afterwards.
#include "admin/config/ad_config_form.h"

#include <QLabel>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>

#include "admin/core/ui_naming.h"
#include "tests/admin/config/config_fixture.h"

namespace orvane::admin {
namespace {

using namespace testing;

class AdConfigTest : public ConfigFixture {
 protected:
  // A 7231 at 3 with channels 0, 2 and 7 enabled.
  ModuleEntry& startModule(int address = 3, bool checksum = false) {
    auto m = simModule("7231", address, 3, checksum);
    m.typeCode = 0x09;
    m.channelMask = 0x85;
    return start({m});
  }
  QRadioButton& enable(int n) const {
    return control<QRadioButton>(indexedName(QStringLiteral("ChannelEnable"), n));
  }
  QRadioButton& disable(int n) const {
    return control<QRadioButton>(indexedName(QStringLiteral("ChannelDisable"), n));
  }
};

TEST_F(AdConfigTest, LoadShowsTheEntryAndTheChannelsReadFromTheModule) {
  startModule();
  open<AdConfigForm>();
  EXPECT_EQ(dialog_->windowTitle(), "Configuration");
  EXPECT_EQ(control<QLabel>("ModuleName").text(), "7231");
  EXPECT_EQ(field("Addr").text(), "3");
  EXPECT_EQ(list("InputRange").count(), 6);
  EXPECT_EQ(list("InputRange").currentText().trimmed(), "+/- 5V");
  EXPECT_EQ(list("DataFormat").count(), 1);
  EXPECT_EQ(list("BaudRate").currentText(), "9600");
  EXPECT_EQ(list("BaudRate").itemText(6), "115200");
  EXPECT_EQ(list("ChecksumCombo").currentText(), "Disabled");
  EXPECT_FALSE(list("BaudRate").isEnabled()) << "only the initialization entry changes its link";
  EXPECT_FALSE(list("ChecksumCombo").isEnabled());
  EXPECT_EQ(sent(), std::vector<std::string>{"$036"});
  for (int n = 0; n < 8; ++n) EXPECT_EQ(enable(n).isChecked(), n == 0 || n == 2 || n == 7) << n;
}

TEST_F(AdConfigTest, OkWithoutChangeSendsOnlyTheChannelMask) {
  const ModuleEntry before = startModule();
  open<AdConfigForm>();
  clickOK();
  EXPECT_EQ(sent(), (std::vector<std::string>{"$036", "$03585"}));
  EXPECT_EQ(ui_->texts(), std::vector<QString>{"Change configuration complete."});
  EXPECT_EQ(context_->ConfigResult, 1);
  EXPECT_EQ(context_->ModuleList[0].TypeCode, before.TypeCode);
  EXPECT_TRUE(closed());
}

TEST_F(AdConfigTest, NewAddressGoesToTheOldAddressAndTheMaskToTheNewOne) {
  startModule();
  open<AdConfigForm>();
  setAddress(12);
  list("InputRange").setCurrentIndex(0);  // +/- 10V, 0x08
  disable(7).setChecked(true);
  enable(1).setChecked(true);
  clickOK();
  EXPECT_EQ(sent(), (std::vector<std::string>{"$036", "%030C080600", "$0C507"}));
  const ModuleEntry& e = context_->ModuleList[0];
  EXPECT_EQ(e.Address, 12);
  EXPECT_EQ(e.TypeCode, 0x08);
  EXPECT_EQ(network_->state(12).typeCode, 0x08);
  EXPECT_EQ(network_->state(12).channelMask, 0x07);
  EXPECT_EQ(context_->ConfigResult, 1);
}

TEST_F(AdConfigTest, InitializationEntryIsAddressedAs00AndMayChangeBaudAndChecksum) {
  auto m = simModule("7231", 9);
  m.initState = true;
  m.typeCode = 0x09;
  start({m});
  makeInitializationEntry();
  open<AdConfigForm>();
  EXPECT_TRUE(list("BaudRate").isEnabled());
  EXPECT_TRUE(list("ChecksumCombo").isEnabled());
  list("BaudRate").setCurrentIndex(4);  // 19200
  list("ChecksumCombo").setCurrentIndex(1);
  clickOK();
  EXPECT_EQ(sent(), (std::vector<std::string>{"$006", "%0009090740", "$005FF"}));
  for (const auto& frame : settledFrames()) EXPECT_EQ(frame.baudRate, 9600);
  const ModuleEntry& e = context_->ModuleList[0];
  EXPECT_EQ(e.BaudCode, 4);
  EXPECT_EQ(e.ChecksumFlag, 1);
  EXPECT_EQ(ui_->texts(), std::vector<QString>{"Change configuration complete."});
}

TEST_F(AdConfigTest, SilentModuleGivesBothFailureBoxesAndLeavesTheEntry) {
  const ModuleEntry before = startModule();
  open<AdConfigForm>();
  network_->setFault(3, sim::FaultSpec{.silent = true});
  setAddress(4);
  // Each box comes between the exchange it tells of and the next one, with
  // the line worker inline or threaded.
  std::vector<std::size_t> framesAtEachBox;
  ui_->onMessage = [&] { framesAtEachBox.push_back(network_->frames().size()); };
  clickOK();
  EXPECT_EQ(ui_->texts(), (std::vector<QString>{"Configuration command failed.",
                                                "Channel enable/disable configuration failed."}));
  EXPECT_EQ(framesAtEachBox, (std::vector<std::size_t>{2, 3}));
  EXPECT_EQ(ui_->messages[0].title, "Error");
  EXPECT_EQ(sent().back(), "$03585") << "the mask goes to the old address";
  EXPECT_EQ(context_->ModuleList[0].Address, before.Address);
  EXPECT_EQ(context_->ConfigResult, 2);
  EXPECT_TRUE(closed());
}

TEST_F(AdConfigTest, RefusedConfigurationStillSendsTheMaskAndCompletes) {
  startModule();
  open<AdConfigForm>();
  network_->setFault(3, "%AA*", sim::FaultSpec{.refuseAll = true});
  list("InputRange").setCurrentIndex(0);
  clickOK();
  EXPECT_EQ(ui_->texts(), (std::vector<QString>{"Configuration command failed.",
                                                "Change configuration complete."}));
  EXPECT_EQ(context_->ModuleList[0].TypeCode, 0x09);
}

TEST_F(AdConfigTest, ConfigurationCommandsWaitWithTheLongTimeOut) {
  startModule();
  useUnequalTimeouts(*context_);
  network_->setFault(3, "%AA*", lateReply());
  network_->setFault(3, "$AA5*", lateReply());
  open<AdConfigForm>();
  list("InputRange").setCurrentIndex(0);
  clickOK();
  EXPECT_EQ(ui_->texts(), std::vector<QString>{"Change configuration complete."});
  EXPECT_EQ(context_->ModuleList[0].TypeCode, 0x08);
}

TEST_F(AdConfigTest, ThreeChannelModelShowsThreeRowsAndSendsThreeBits) {
  auto m = simModule("7226", 2);
  m.typeCode = 0x24;  // the second "Pt, +/- 100C"
  m.channelMask = 0xFF;
  m.format = 3;
  start({m});
  open<AdConfigForm>();
  for (int n = 0; n < 8; ++n) EXPECT_EQ(enable(n).isVisibleTo(dialog_.get()), n < 3) << n;
  EXPECT_EQ(list("InputRange").currentIndex(), 4) << "its own item, not the first of that name";
  EXPECT_EQ(list("DataFormat").count(), 2);
  clickOK();
  EXPECT_EQ(sent(), (std::vector<std::string>{"$026", "$02507"}))
      << "no configuration command for a range that did not change";
}

TEST_F(AdConfigTest, TheDataFormatAloneChangedSendsTheConfiguration) {
  auto m = simModule("7226", 2);
  m.typeCode = 0x20;
  m.channelMask = 0x07;
  start({m});
  open<AdConfigForm>();
  ASSERT_EQ(list("DataFormat").itemText(1).trimmed(), "Ohms");
  list("DataFormat").setCurrentIndex(1);
  clickOK();
  EXPECT_EQ(sent(), (std::vector<std::string>{"$026", "%0202200603", "$02507"}));
  EXPECT_EQ(context_->ModuleList[0].DataFormat, 3);
  EXPECT_EQ(network_->state(2).format, 3);
}

TEST_F(AdConfigTest, UnreadableMaskIsSentOnlyWhenTheUserSetARow) {
  startModule();
  network_->setFault(3, "$AA6", sim::FaultSpec{.reply = "?03\r"});
  open<AdConfigForm>();
  for (int n = 0; n < 8; ++n) EXPECT_TRUE(disable(n).isChecked()) << "a refusal is no mask";
  clickOK();
  EXPECT_EQ(sent(), std::vector<std::string>{"$036"}) << "nothing blindly disabled";
  EXPECT_EQ(context_->ConfigResult, 2);
  EXPECT_TRUE(ui_->messages.empty());

  open<AdConfigForm>();
  enable(5).setChecked(true);
  clickOK();
  EXPECT_EQ(sent(), (std::vector<std::string>{"$036", "$03520"}));
}

TEST_F(AdConfigTest, KeyboardOpensOnTheAddressEnterIsOkEscapeIsCancel) {
  startModule();
  open<AdConfigForm>();
  dialog_->activateWindow();
  QApplication::processEvents();
  EXPECT_EQ(QApplication::focusWidget(), &field("Addr"));
  EXPECT_EQ(field("Addr").selectedText(), "3");
  QTest::keyClicks(&field("Addr"), "5");
  QTest::keyClick(&field("Addr"), Qt::Key_Return);
  EXPECT_TRUE(closed());
  EXPECT_EQ(context_->ModuleList[0].Address, 5);

  open<AdConfigForm>();
  setAddress(7);
  QTest::keyClick(dialog_.get(), Qt::Key_Escape);
  EXPECT_TRUE(closed());
  EXPECT_EQ(context_->ConfigResult, 2);
  EXPECT_EQ(sent(), std::vector<std::string>{"$056"}) << "only the load's read";

  open<AdConfigForm>();
  dialog_->close();
  EXPECT_EQ(context_->ConfigResult, 2);
  EXPECT_EQ(dialog_->result(), QDialog::Rejected);
}

TEST_F(AdConfigTest, BadAddressesAreRefusedAndTheDialogStays) {
  startModule();
  open<AdConfigForm>();
  for (const char* text : {"256", "", "99999999999"}) {
    field("Addr").setText(QString::fromLatin1(text));
    clickOK();
  }
  EXPECT_EQ(ui_->texts(),
            (std::vector<QString>{"Address can not exceed 255.", "Please input a number.",
                                  "Address can not exceed 255."}));
  EXPECT_EQ(ui_->messages[0].title, "Error");
  EXPECT_EQ(sent(), std::vector<std::string>{"$036"});
  EXPECT_FALSE(closed());
  EXPECT_EQ(context_->ConfigResult, 2);
  EXPECT_EQ(field("Addr").selectedText(), "99999999999");
}

TEST_F(AdConfigTest, SpinStepsBetweenOneAnd255) {
  startModule(2);
  open<AdConfigForm>();
  auto& down = control<QToolButton>(QStringLiteral("AddressSpinDown"));
  auto& up = control<QToolButton>(QStringLiteral("AddressSpinUp"));
  down.click();
  down.click();
  EXPECT_EQ(field("Addr").text(), "1");
  setAddress(254);
  up.click();
  up.click();
  EXPECT_EQ(field("Addr").text(), "255");
  field("Addr").setText("");
  up.click();
  EXPECT_EQ(field("Addr").text(), "") << "an empty field is left alone";
}

TEST_F(AdConfigTest, AnEntryWithCodesTheListsDoNotOfferOpensAndKeepsThem) {
  ModuleEntry& e = startModule();
  e.TypeCode = 0x50;
  e.DataFormat = 2;
  e.BaudCode = 9;
  open<AdConfigForm>();
  EXPECT_EQ(list("InputRange").currentIndex(), -1);
  EXPECT_EQ(list("DataFormat").currentIndex(), -1);
  EXPECT_EQ(list("BaudRate").currentIndex(), -1);
  setAddress(4);
  clickOK();
  ASSERT_GE(sent().size(), 2u);
  EXPECT_EQ(sent()[1], "%0304500C02") << "the entry's own codes, never -1";
}

}  // namespace
}  // namespace orvane::admin
