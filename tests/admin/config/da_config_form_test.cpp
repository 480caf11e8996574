// The analog output configuration dialog against the simulator: the
// configuration command and the 7347's input polarity, in which order and
// to which address, and what the entry believes afterwards.
#include "admin/config/da_config_form.h"

#include <QLabel>
#include <QTest>

#include "tests/admin/config/config_fixture.h"

namespace orvane::admin {
namespace {

using namespace testing;

class DaConfigTest : public ConfigFixture {
 protected:
  // A 7342 at 3, 4 to 20 mA in % of FSR.
  ModuleEntry& start7342(int address = 3) {
    auto m = simModule("7342", address);
    m.typeCode = 0x31;
    m.format = 1;
    return start({m});
  }
  // A 7347 at 4 whose inputs have the polarity.
  ModuleEntry& start7347(int polarity = 0) {
    auto m = simModule("7347", 4);
    m.polarity = polarity;
    ModuleEntry& e = start({m});
    e.Polarity = polarity;
    return e;
  }
  std::vector<QString> itemsOf(const char* name) const {
    std::vector<QString> items;
    for (int i = 0; i < list(name).count(); ++i) items.push_back(list(name).itemText(i).trimmed());
    return items;
  }
};

TEST_F(DaConfigTest, LoadShowsTheEntryAndAsksTheModuleNothing) {
  ModuleEntry& e = start7342();
  open<DaConfigForm>();
  EXPECT_EQ(dialog_->windowTitle(), "Configuration");
  EXPECT_EQ(control<QLabel>("ModuleName").text(), "7342");
  EXPECT_EQ(field("Addr").text(), "3");
  EXPECT_EQ(itemsOf("OutputRange"), (std::vector<QString>{"0 to 20mA", "4 to 20mA", "0 to 10V"}));
  EXPECT_EQ(list("OutputRange").currentIndex(), 1);
  EXPECT_EQ(itemsOf("DataFormat"),
            (std::vector<QString>{"Engineering Units", "% of FSR", "Two's complement"}));
  EXPECT_EQ(list("DataFormat").currentIndex(), 1);
  EXPECT_EQ(list("BaudRate").currentText(), "9600");
  EXPECT_EQ(list("ChecksumCombo").currentText(), "Disabled");
  EXPECT_FALSE(list("BaudRate").isEnabled()) << "only the initialization entry changes its link";
  EXPECT_FALSE(list("ChecksumCombo").isEnabled());
  EXPECT_FALSE(control<QLabel>("Label7").isVisibleTo(dialog_.get())) << "7342 has no inputs";
  EXPECT_FALSE(list("InputPolarity").isVisibleTo(dialog_.get()));
  const int heightWithoutInputs = dialog_->height();
  EXPECT_TRUE(sent().empty());

  e.ModelName = "7347  ";
  e.TypeCode = 0x33;
  e.DataFormat = 0;
  e.Polarity = 1;
  open<DaConfigForm>();
  EXPECT_EQ(itemsOf("OutputRange"), std::vector<QString>{"+/- 10V"});
  EXPECT_EQ(itemsOf("DataFormat"), std::vector<QString>{"Engineering Units"});
  EXPECT_TRUE(control<QLabel>("Label7").isVisibleTo(dialog_.get()));
  EXPECT_EQ(list("InputPolarity").currentText(), "Change!");
  EXPECT_LT(heightWithoutInputs, dialog_->height()) << "the dialog shrinks without the row";
  EXPECT_TRUE(sent().empty());
}

TEST_F(DaConfigTest, OkWithoutChangeSendsNothingAndSaysNothing) {
  start7347(1);
  open<DaConfigForm>();
  clickOK();
  EXPECT_TRUE(sent().empty());
  EXPECT_TRUE(ui_->messages.empty());
  EXPECT_EQ(context_->ConfigResult, 2);
  EXPECT_TRUE(closed());
}

TEST_F(DaConfigTest, ChangedSettingsGoOutInOneCommandAndTheEntryFollows) {
  start7342();
  open<DaConfigForm>();
  list("OutputRange").setCurrentIndex(2);  // 0 to 10V
  clickOK();
  EXPECT_EQ(sent(), std::vector<std::string>{"%0303320601"});
  EXPECT_EQ(context_->ModuleList[0].TypeCode, 0x32);
  EXPECT_EQ(network_->state(3).typeCode, 0x32);
  EXPECT_EQ(ui_->texts(), std::vector<QString>{"Change configuration complete."});
  EXPECT_EQ(ui_->messages[0].title, "Orvane");
  EXPECT_EQ(context_->ConfigResult, 1);
  EXPECT_TRUE(closed());

  open<DaConfigForm>();
  setAddress(200);
  list("OutputRange").setCurrentIndex(0);  // 0 to 20mA
  list("DataFormat").setCurrentIndex(2);   // two's complement
  clickOK();
  EXPECT_EQ(sent(), std::vector<std::string>{"%03C8300602"});
  const ModuleEntry& e = context_->ModuleList[0];
  EXPECT_EQ(e.Address, 200);
  EXPECT_EQ(e.TypeCode, 0x30);
  EXPECT_EQ(e.DataFormat, 2);
  EXPECT_EQ(network_->state(200).format, 2);
}

TEST_F(DaConfigTest, PolarityAloneSendsOnlyThePolarityCommandWithoutCompletionBox) {
  start7347();
  open<DaConfigForm>();
  list("InputPolarity").setCurrentIndex(1);
  clickOK();
  EXPECT_EQ(sent(), std::vector<std::string>{"~04CP01"});
  EXPECT_TRUE(ui_->messages.empty());
  EXPECT_EQ(context_->ConfigResult, 1);
  EXPECT_EQ(context_->ModuleList[0].Polarity, 1);
  EXPECT_EQ(network_->state(4).polarity, 1);

  open<DaConfigForm>();
  list("InputPolarity").setCurrentIndex(0);
  clickOK();
  EXPECT_EQ(sent(), std::vector<std::string>{"~04CP00"});
  EXPECT_EQ(context_->ModuleList[0].Polarity, 0);
  EXPECT_EQ(network_->state(4).polarity, 0);
}

TEST_F(DaConfigTest, NewAddressGoesToTheOldAddressAndThePolarityToTheNewOne) {
  start7347();
  open<DaConfigForm>();
  setAddress(20);
  list("InputPolarity").setCurrentIndex(1);
  clickOK();
  EXPECT_EQ(sent(), (std::vector<std::string>{"%0414330600", "~14CP01"}));
  EXPECT_EQ(ui_->texts(), std::vector<QString>{"Change configuration complete."});
  EXPECT_EQ(context_->ModuleList[0].Address, 20);
  EXPECT_EQ(context_->ModuleList[0].Polarity, 1);
  EXPECT_EQ(network_->state(20).polarity, 1);
}

TEST_F(DaConfigTest, A7342NeverGetsAPolarityCommand) {
  ModuleEntry& e = start7342();
  e.Polarity = 1;
  open<DaConfigForm>();
  list("InputPolarity").setCurrentIndex(0);  // hidden, but set all the same
  setAddress(9);
  clickOK();
  EXPECT_EQ(sent(), std::vector<std::string>{"%0309310601"});
  EXPECT_EQ(context_->ModuleList[0].Polarity, 1);
}

TEST_F(DaConfigTest, SilentModuleGivesBothFailureBoxesAndLeavesTheEntry) {
  start7347();
  open<DaConfigForm>();
  network_->setFault(4, sim::FaultSpec{.silent = true});
  setAddress(20);
  list("InputPolarity").setCurrentIndex(1);
  clickOK();
  EXPECT_EQ(ui_->texts(), (std::vector<QString>{"Configuration command failed.",
                                                "Digital input polarity configuration failed."}));
  for (const auto& message : ui_->messages) EXPECT_EQ(message.title, "Error");
  EXPECT_EQ(sent(), (std::vector<std::string>{"%0414330600", "~04CP01"}))
      << "the polarity goes to the old address";
  EXPECT_EQ(context_->ModuleList[0].Address, 4);
  EXPECT_EQ(context_->ModuleList[0].Polarity, 0);
  EXPECT_EQ(context_->ConfigResult, 2);
  EXPECT_TRUE(closed());
}

TEST_F(DaConfigTest, EachStepFailsOnItsOwn) {
  start7347();
  network_->setFault(4, "%AA*", sim::FaultSpec{.refuseAll = true});
  open<DaConfigForm>();
  setAddress(20);
  list("InputPolarity").setCurrentIndex(1);
  clickOK();
  EXPECT_EQ(ui_->texts(), std::vector<QString>{"Configuration command failed."});
  EXPECT_EQ(sent().back(), "~04CP01");
  EXPECT_EQ(context_->ModuleList[0].Address, 4);
  EXPECT_EQ(context_->ModuleList[0].Polarity, 1);
  EXPECT_EQ(context_->ConfigResult, 1) << "the polarity did change";

  network_->clearFaults();
  network_->setFault(4, "~AA*", sim::FaultSpec{.refuseAll = true});
  ui_->messages.clear();
  open<DaConfigForm>();
  setAddress(20);
  list("InputPolarity").setCurrentIndex(0);
  clickOK();
  EXPECT_EQ(ui_->texts(), (std::vector<QString>{"Change configuration complete.",
                                                "Digital input polarity configuration failed."}))
      << "the completion box comes as soon as the module moved";
  EXPECT_EQ(context_->ModuleList[0].Address, 20);
  EXPECT_EQ(context_->ModuleList[0].Polarity, 1);
  EXPECT_EQ(network_->state(20).polarity, 1);
}

TEST_F(DaConfigTest, InitializationEntryIsAddressedAs00AndMayChangeBaudAndChecksum) {
  auto m = simModule("7347", 9);
  m.initState = true;
  start({m});
  makeInitializationEntry();
  open<DaConfigForm>();
  EXPECT_TRUE(list("BaudRate").isEnabled());
  EXPECT_TRUE(list("ChecksumCombo").isEnabled());
  list("BaudRate").setCurrentIndex(4);  // 19200
  list("ChecksumCombo").setCurrentIndex(1);
  list("InputPolarity").setCurrentIndex(1);
  clickOK();
  EXPECT_EQ(sent(), (std::vector<std::string>{"%0009330740", "~00CP01"}));
  for (const auto& frame : settledFrames()) EXPECT_EQ(frame.baudRate, 9600);
  const ModuleEntry& e = context_->ModuleList[0];
  EXPECT_EQ(e.BaudCode, 4);
  EXPECT_EQ(e.ChecksumFlag, 1);
  EXPECT_EQ(e.Polarity, 1);
  EXPECT_EQ(network_->state(9).pendingBaudCode, 4);
  EXPECT_EQ(network_->state(9).polarity, 1);
  EXPECT_EQ(ui_->texts(), std::vector<QString>{"Change configuration complete."});
}

TEST_F(DaConfigTest, AnEntryWithCodesTheListsDoNotOfferOpensAndKeepsThem) {
  ModuleEntry& e = start7342();
  e.TypeCode = 0x33;
  e.DataFormat = 3;
  e.BaudCode = 9;
  open<DaConfigForm>();
  EXPECT_EQ(list("OutputRange").currentIndex(), -1);
  EXPECT_EQ(list("DataFormat").currentIndex(), -1);
  EXPECT_EQ(list("BaudRate").currentIndex(), -1);
  clickOK();
  EXPECT_TRUE(sent().empty()) << "what shows no selection did not change";

  open<DaConfigForm>();
  setAddress(4);
  clickOK();
  EXPECT_EQ(sent(), std::vector<std::string>{"%0304330C03"}) << "the entry's own codes, never -1";
}

TEST_F(DaConfigTest, KeyboardEnterIsOkEscapeIsCancelAndBadAddressesStay) {
  start7342();
  open<DaConfigForm>();
  field("Addr").setText("256");
  QTest::keyClick(&field("Addr"), Qt::Key_Return);
  EXPECT_EQ(ui_->texts(), std::vector<QString>{"Address can not exceed 255."});
  EXPECT_FALSE(closed());
  setAddress(7);
  QTest::keyClick(dialog_.get(), Qt::Key_Escape);
  EXPECT_TRUE(closed());
  EXPECT_EQ(context_->ConfigResult, 2);
  EXPECT_TRUE(sent().empty());

  open<DaConfigForm>();
  setAddress(7);
  QTest::keyClick(&field("Addr"), Qt::Key_Return);
  EXPECT_EQ(sent(), std::vector<std::string>{"%0307310601"});
  EXPECT_EQ(network_->addresses(), std::vector<int>{7});
}

}  // namespace
}  // namespace orvane::admin
