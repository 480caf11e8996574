// The digital I/O configuration dialog against the simulator: the
// configuration command and the polarity command, in which order and to
// which address, and what the entry believes afterwards.
#include "admin/config/dio_config_form.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QTest>

#include "protocol/frame.h"
#include "tests/admin/config/config_fixture.h"

namespace orvane::admin {
namespace {

using namespace testing;

class DioConfigTest : public ConfigFixture {
 protected:
  // A 7451 at 3 with the polarity.
  ModuleEntry& startModule(int polarity = 0, bool checksum = false) {
    auto m = simModule("7451", 3, 3, checksum);
    m.polarity = polarity;
    ModuleEntry& e = start({m});
    e.Polarity = polarity;
    return e;
  }
  QCheckBox& checksumBox() const { return control<QCheckBox>(QStringLiteral("ChecksumBox")); }
};

TEST_F(DioConfigTest, LoadShowsTheEntryAndAsksTheModuleNothing) {
  startModule(2, true);
  open<DioConfigForm>();
  EXPECT_EQ(dialog_->windowTitle(), "Configuration");
  EXPECT_EQ(control<QLabel>("ModuleName").text(), "7451");
  EXPECT_EQ(field("Addr").text(), "3");
  EXPECT_EQ(control<QGroupBox>("Frame1").title(), "Module");
  EXPECT_EQ(control<QGroupBox>("Frame2").title(), "I/O polarity");
  EXPECT_EQ(list("BaudRate").currentText(), "9600");
  EXPECT_EQ(checksumBox().text(), "Checksum Enabled");
  EXPECT_TRUE(checksumBox().isChecked());
  EXPECT_FALSE(list("BaudRate").isEnabled()) << "only the initialization entry changes its link";
  EXPECT_FALSE(checksumBox().isEnabled());
  EXPECT_EQ(list("OutputPolarity").currentText(), "Change!");
  EXPECT_EQ(list("InputPolarity").currentText(), "Not change");
  EXPECT_EQ(list("InputPolarity").count(), 2);
  EXPECT_TRUE(sent().empty());
}

TEST_F(DioConfigTest, OkWithoutChangeSendsNothingAndSaysNothing) {
  startModule(3);
  open<DioConfigForm>();
  clickOK();
  EXPECT_TRUE(sent().empty());
  EXPECT_TRUE(ui_->messages.empty());
  EXPECT_EQ(context_->ConfigResult, 2);
  EXPECT_TRUE(closed());
}

TEST_F(DioConfigTest, NewAddressKeepsTheChecksumBitAndTheModuleMoves) {
  startModule(0, true);
  open<DioConfigForm>();
  setAddress(4);
  clickOK();
  const std::string command = "%0304400640";
  EXPECT_EQ(sent(), std::vector<std::string>{command + protocol::checksumDigits(command)});
  EXPECT_EQ(context_->ModuleList[0].Address, 4);
  EXPECT_EQ(context_->ModuleList[0].ChecksumFlag, 1);
  EXPECT_EQ(network_->addresses(), std::vector<int>{4});
  EXPECT_EQ(ui_->texts(), std::vector<QString>{"Change configuration complete."});
  EXPECT_EQ(ui_->messages[0].title, "Orvane");
  EXPECT_EQ(context_->ConfigResult, 1);
  EXPECT_TRUE(closed());
}

TEST_F(DioConfigTest, PolarityAloneSendsOnlyThePolarityCommandWithoutCompletionBox) {
  startModule();
  open<DioConfigForm>();
  list("OutputPolarity").setCurrentIndex(1);
  clickOK();
  EXPECT_EQ(sent(), std::vector<std::string>{"~03CP10"});
  EXPECT_TRUE(ui_->messages.empty());
  EXPECT_EQ(context_->ConfigResult, 1);
  EXPECT_EQ(context_->ModuleList[0].Polarity, 2);
  EXPECT_EQ(network_->state(3).polarity, 2);

  open<DioConfigForm>();
  list("InputPolarity").setCurrentIndex(1);
  clickOK();
  EXPECT_EQ(sent(), std::vector<std::string>{"~03CP11"}) << "the output side as it was";
  EXPECT_EQ(context_->ModuleList[0].Polarity, 3);
  EXPECT_EQ(network_->state(3).polarity, 3);
}

TEST_F(DioConfigTest, NewAddressGoesToTheOldAddressAndThePolarityToTheNewOne) {
  startModule(3);
  open<DioConfigForm>();
  setAddress(20);
  list("OutputPolarity").setCurrentIndex(0);
  clickOK();
  EXPECT_EQ(sent(), (std::vector<std::string>{"%0314400600", "~14CP01"}));
  EXPECT_EQ(ui_->texts(), std::vector<QString>{"Change configuration complete."});
  EXPECT_EQ(context_->ModuleList[0].Address, 20);
  EXPECT_EQ(context_->ModuleList[0].Polarity, 1);
  EXPECT_EQ(network_->state(20).polarity, 1);
}

TEST_F(DioConfigTest, SilentModuleGivesBothFailureBoxesAndLeavesTheEntry) {
  startModule();
  open<DioConfigForm>();
  network_->setFault(3, sim::FaultSpec{.silent = true});
  setAddress(20);
  list("InputPolarity").setCurrentIndex(1);
  clickOK();
  EXPECT_EQ(ui_->texts(), (std::vector<QString>{"Configuration command failed.",
                                                "Digital I/O polarity configuration failed."}));
  for (const auto& message : ui_->messages) EXPECT_EQ(message.title, "Error");
  EXPECT_EQ(sent(), (std::vector<std::string>{"%0314400600", "~03CP01"}))
      << "the polarity goes to the old address";
  EXPECT_EQ(context_->ModuleList[0].Address, 3);
  EXPECT_EQ(context_->ModuleList[0].Polarity, 0);
  EXPECT_EQ(context_->ConfigResult, 2);
  EXPECT_TRUE(closed());
}

TEST_F(DioConfigTest, EachStepFailsOnItsOwn) {
  startModule();
  network_->setFault(3, "%AA*", sim::FaultSpec{.refuseAll = true});
  open<DioConfigForm>();
  setAddress(20);
  list("InputPolarity").setCurrentIndex(1);
  clickOK();
  EXPECT_EQ(ui_->texts(), std::vector<QString>{"Configuration command failed."});
  EXPECT_EQ(sent().back(), "~03CP01");
  EXPECT_EQ(context_->ModuleList[0].Address, 3);
  EXPECT_EQ(context_->ModuleList[0].Polarity, 1);
  EXPECT_EQ(context_->ConfigResult, 1) << "the polarity did change";

  network_->clearFaults();
  network_->setFault(3, "~AA*", sim::FaultSpec{.refuseAll = true});
  ui_->messages.clear();
  open<DioConfigForm>();
  setAddress(20);
  list("OutputPolarity").setCurrentIndex(1);
  clickOK();
  EXPECT_EQ(ui_->texts(), (std::vector<QString>{"Change configuration complete.",
                                                "Digital I/O polarity configuration failed."}))
      << "the completion box comes as soon as the module moved";
  EXPECT_EQ(context_->ModuleList[0].Address, 20);
  EXPECT_EQ(context_->ModuleList[0].Polarity, 1);
  EXPECT_EQ(network_->state(20).polarity, 1);
}

TEST_F(DioConfigTest, InitializationEntryIsAddressedAs00AndMayChangeBaudAndChecksum) {
  auto m = simModule("7474", 9);
  m.initState = true;
  start({m});
  makeInitializationEntry();
  open<DioConfigForm>();
  EXPECT_TRUE(list("BaudRate").isEnabled());
  EXPECT_TRUE(checksumBox().isEnabled());
  list("BaudRate").setCurrentIndex(6);  // 115200
  checksumBox().setChecked(true);
  list("OutputPolarity").setCurrentIndex(1);
  clickOK();
  EXPECT_EQ(sent(), (std::vector<std::string>{"%0009400940", "~00CP10"}));
  for (const auto& frame : settledFrames()) EXPECT_EQ(frame.baudRate, 9600);
  const ModuleEntry& e = context_->ModuleList[0];
  EXPECT_EQ(e.BaudCode, 6);
  EXPECT_EQ(e.ChecksumFlag, 1);
  EXPECT_EQ(e.Polarity, 2);
  EXPECT_EQ(network_->state(9).pendingBaudCode, 6);
  EXPECT_EQ(network_->state(9).pendingChecksum, true);
  EXPECT_EQ(ui_->texts(), std::vector<QString>{"Change configuration complete."});
}

TEST_F(DioConfigTest, PolarityAboveThreeCountsByItsTwoLowBits) {
  startModule(5);  // inputs inverted, and a bit that means nothing
  open<DioConfigForm>();
  EXPECT_EQ(list("InputPolarity").currentText(), "Change!");
  EXPECT_EQ(list("OutputPolarity").currentText(), "Not change");
  clickOK();
  EXPECT_TRUE(sent().empty()) << "an untouched polarity did not change";

  open<DioConfigForm>();
  list("OutputPolarity").setCurrentIndex(1);
  clickOK();
  EXPECT_EQ(sent(), std::vector<std::string>{"~03CP11"});
  EXPECT_EQ(context_->ModuleList[0].Polarity, 3);
}

TEST_F(DioConfigTest, AnEntryWithABaudCodeTheListDoesNotOfferKeepsIt) {
  ModuleEntry& e = startModule();
  e.BaudCode = 9;
  open<DioConfigForm>();
  EXPECT_EQ(list("BaudRate").currentIndex(), -1);
  clickOK();
  EXPECT_TRUE(sent().empty());

  open<DioConfigForm>();
  setAddress(4);
  clickOK();
  ASSERT_FALSE(sent().empty());
  EXPECT_EQ(sent()[0], "%0304400C00") << "the entry's own code, never -1";
}

TEST_F(DioConfigTest, KeyboardEnterIsOkEscapeIsCancelAndBadAddressesStay) {
  startModule();
  open<DioConfigForm>();
  field("Addr").setText("300");
  QTest::keyClick(&field("Addr"), Qt::Key_Return);
  EXPECT_EQ(ui_->texts(), std::vector<QString>{"Address can not exceed 255."});
  EXPECT_FALSE(closed());
  list("InputPolarity").setCurrentIndex(1);
  QTest::keyClick(dialog_.get(), Qt::Key_Escape);
  EXPECT_TRUE(closed());
  EXPECT_EQ(context_->ConfigResult, 2);
  EXPECT_TRUE(sent().empty());

  open<DioConfigForm>();
  setAddress(7);
  QTest::keyClick(&field("Addr"), Qt::Key_Return);
  EXPECT_EQ(sent(), std::vector<std::string>{"%0307400600"});
  EXPECT_EQ(network_->addresses(), std::vector<int>{7});
}

}  // namespace
}  // namespace orvane::admin
