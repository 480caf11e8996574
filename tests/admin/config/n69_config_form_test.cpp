// The 7469 configuration dialog against the simulator: the port directions
// read at load, what an OK sends in which order and to which address, and
// the directions never sent blindly after a failed read.
#include "admin/config/n69_config_form.h"

#include <QCheckBox>
#include <QLabel>
#include <QRadioButton>
#include <QTest>

#include "admin/config/n69_config_commands.h"
#include "admin/core/ui_naming.h"
#include "admin/core/ui_services.h"
#include "tests/admin/config/config_fixture.h"

namespace orvane::admin {
namespace {

using namespace testing;

TEST(N69ConfigCommands, DirectionsCountOnlyFromAConfirmedReplyLongEnough) {
  EXPECT_EQ(portDirectionsFromReply(true, "!0A00FF0000"), 0x0A);
  EXPECT_EQ(portDirectionsFromReply(true, "!0f"), 0x0F);
  EXPECT_EQ(portDirectionsFromReply(true, "!1C"), 0x0C) << "only the four port bits";
  EXPECT_EQ(portDirectionsFromReply(false, "!0A00FF0000"), std::nullopt);
  EXPECT_EQ(portDirectionsFromReply(true, "?0E"), std::nullopt);
  EXPECT_EQ(portDirectionsFromReply(true, "!0"), std::nullopt);
  EXPECT_EQ(portDirectionsFromReply(true, "!"), std::nullopt);
  EXPECT_EQ(portDirectionsFromReply(true, ""), std::nullopt);
  EXPECT_EQ(portDirectionsFromReply(true, "!G0"), std::nullopt);
}

TEST(N69ConfigCommands, RowsMakeTheMaskPortAFirstAndOnlyWhenAllAreChosen) {
  EXPECT_EQ(portDirectionMask({true, true, true, true}), 0x0F);
  EXPECT_EQ(portDirectionMask({true, false, false, false}), 0x08);
  EXPECT_EQ(portDirectionMask({true, true, false, false}), 0x0C);
  EXPECT_EQ(portDirectionMask({false, false, false, true}), 0x01);
  EXPECT_EQ(portDirectionMask({false, false, false, false}), 0x00);
  EXPECT_EQ(portDirectionMask({true, true, true, std::nullopt}), std::nullopt);
  EXPECT_EQ(portDirectionMask({std::nullopt, false, false, false}), std::nullopt);
}

class N69ConfigTest : public ConfigFixture {
 protected:
  // A 7469 at 0x0E whose ports A and CH are inputs.
  ModuleEntry& startModule(int directions = 0x0A) {
    auto m = simModule("7469", 0x0E);
    m.portDirections = directions;
    return start({m});
  }
  QRadioButton& input(int p) const {
    return control<QRadioButton>(indexedName(QStringLiteral("PortInput"), p));
  }
  QRadioButton& output(int p) const {
    return control<QRadioButton>(indexedName(QStringLiteral("PortOutput"), p));
  }
  // Sets the rows Port A, B, CH, CL (true = input).
  void setPorts(std::array<bool, 4> inputs) const {
    for (int p = 0; p < 4; ++p)
      (inputs[static_cast<std::size_t>(p)] ? input(p) : output(p)).setChecked(true);
  }
  bool anyPortChosen() const {
    for (int p = 0; p < 4; ++p)
      if (input(p).isChecked() || output(p).isChecked()) return true;
    return false;
  }
};

TEST_F(N69ConfigTest, LoadShowsTheEntryAndTheDirectionsReadFromTheModule) {
  startModule(0x0A);
  open<N69ConfigForm>();
  EXPECT_EQ(dialog_->windowTitle(), "Configuration");
  EXPECT_EQ(control<QLabel>("ModuleName").text(), "7469");
  EXPECT_EQ(field("Addr").text(), "14");
  EXPECT_EQ(list("BaudRate").currentText(), "9600");
  EXPECT_FALSE(control<QCheckBox>("ChecksumBox").isChecked());
  EXPECT_FALSE(list("BaudRate").isEnabled()) << "only the initialization entry changes its link";
  EXPECT_FALSE(control<QCheckBox>("ChecksumBox").isEnabled());
  EXPECT_EQ(control<QLabel>(indexedName(QStringLiteral("Label7"), 2)).text(), "Port CH");
  EXPECT_EQ(sent(), std::vector<std::string>{"$0E6"});
  const std::array<bool, 4> expected{true, false, true, false};  // A and CH in
  for (int p = 0; p < 4; ++p) {
    EXPECT_EQ(input(p).isChecked(), expected[static_cast<std::size_t>(p)]) << p;
    EXPECT_NE(input(p).isChecked(), output(p).isChecked()) << "every row is a choice of its own";
  }
}

TEST_F(N69ConfigTest, AChecksumModuleLoadsItsBoxCheckedAndKeepsItsChecksum) {
  auto m = simModule("7469", 0x0E, 3, true);
  m.portDirections = 0x0A;
  start({m});
  open<N69ConfigForm>();
  EXPECT_TRUE(control<QCheckBox>("ChecksumBox").isChecked());
  clickOK();
  ASSERT_EQ(sent().size(), 2u) << "$AA6 and $AASMM";
  for (const std::string& frame : sent()) EXPECT_NE(frame[0], '%') << "nothing changed";
  EXPECT_TRUE(network_->state(0x0E).checksum);
  EXPECT_EQ(ui_->texts(), std::vector<QString>{"Change configuration complete."});
}

TEST_F(N69ConfigTest, OkWithoutChangeSendsOnlyTheDirectionsAndCompletes) {
  startModule(0x0A);
  open<N69ConfigForm>();
  clickOK();
  EXPECT_EQ(sent(), (std::vector<std::string>{"$0E6", "$0ES0A"}));
  EXPECT_EQ(ui_->texts(), std::vector<QString>{"Change configuration complete."});
  EXPECT_EQ(ui_->messages[0].title, kAppTitle);
  EXPECT_EQ(context_->ConfigResult, 1);
  EXPECT_TRUE(closed());
}

TEST_F(N69ConfigTest, ChosenRowsGoOutAsTheMaskPortAFirst) {
  startModule(0x0F);
  open<N69ConfigForm>();
  setPorts({true, true, false, false});
  clickOK();
  EXPECT_EQ(sent().back(), "$0ES0C");
  EXPECT_EQ(network_->state(14).portDirections, 0x0C);

  open<N69ConfigForm>();
  EXPECT_TRUE(input(1).isChecked()) << "the next opening reads the new directions";
  setPorts({true, false, false, false});
  clickOK();
  EXPECT_EQ(sent(), (std::vector<std::string>{"$0E6", "$0ES08"}));
  EXPECT_EQ(network_->state(14).portDirections, 0x08);
}

TEST_F(N69ConfigTest, NewAddressGoesToTheOldAddressAndTheDirectionsToTheNewOne) {
  startModule(0x0A);
  open<N69ConfigForm>();
  setAddress(15);
  setPorts({false, false, false, true});
  clickOK();
  EXPECT_EQ(sent(), (std::vector<std::string>{"$0E6", "%0E0F400600", "$0FS01"}));
  EXPECT_EQ(context_->ModuleList[0].Address, 15);
  EXPECT_EQ(network_->addresses(), std::vector<int>{15});
  EXPECT_EQ(network_->state(15).portDirections, 0x01);
  EXPECT_EQ(ui_->texts(), std::vector<QString>{"Change configuration complete."});
}

TEST_F(N69ConfigTest, InitializationEntryIsAddressedAs00AndMayChangeBaudAndChecksum) {
  auto m = simModule("7469", 9);
  m.initState = true;
  m.portDirections = 0x03;
  start({m});
  makeInitializationEntry();
  open<N69ConfigForm>();
  EXPECT_TRUE(list("BaudRate").isEnabled());
  EXPECT_TRUE(control<QCheckBox>("ChecksumBox").isEnabled());
  list("BaudRate").setCurrentIndex(4);  // 19200
  control<QCheckBox>("ChecksumBox").setChecked(true);
  clickOK();
  EXPECT_EQ(sent(), (std::vector<std::string>{"$006", "%0009400740", "$00S03"}));
  for (const auto& frame : settledFrames()) EXPECT_EQ(frame.baudRate, 9600);
  const ModuleEntry& e = context_->ModuleList[0];
  EXPECT_EQ(e.BaudCode, 4);
  EXPECT_EQ(e.ChecksumFlag, 1);
  EXPECT_EQ(e.Address, 9);
  EXPECT_EQ(ui_->texts(), std::vector<QString>{"Change configuration complete."});
}

TEST_F(N69ConfigTest, SilentModuleGivesBothFailureBoxesAndLeavesTheEntry) {
  startModule(0x0A);
  open<N69ConfigForm>();
  network_->setFault(14, sim::FaultSpec{.silent = true});
  setAddress(15);
  setPorts({true, true, true, true});
  clickOK();
  EXPECT_EQ(ui_->texts(), (std::vector<QString>{"Configuration command failed.",
                                                "Port input/output configuration failed."}));
  EXPECT_EQ(ui_->messages[0].title, "Error");
  EXPECT_EQ(ui_->messages[1].title, "Error");
  EXPECT_EQ(sent(), (std::vector<std::string>{"$0E6", "%0E0F400600", "$0ES0F"}))
      << "the directions go to the old address";
  EXPECT_EQ(context_->ModuleList[0].Address, 14);
  EXPECT_EQ(context_->ConfigResult, 2);
  EXPECT_EQ(network_->state(14).portDirections, 0x0A);
  EXPECT_TRUE(closed());
}

TEST_F(N69ConfigTest, RefusedStepsAreReportedEachOnItsOwn) {
  startModule(0x0A);
  open<N69ConfigForm>();
  network_->setFault(14, "%AA*", sim::FaultSpec{.refuseAll = true});
  setAddress(15);
  clickOK();
  EXPECT_EQ(ui_->texts(), (std::vector<QString>{"Configuration command failed.",
                                                "Change configuration complete."}));
  EXPECT_EQ(context_->ModuleList[0].Address, 14);
  EXPECT_EQ(context_->ConfigResult, 1);

  ui_->messages.clear();
  network_->clearFaults();
  network_->setFault(14, "$AAS*", sim::FaultSpec{.refuseAll = true});
  open<N69ConfigForm>();
  setAddress(16);
  clickOK();
  EXPECT_EQ(sent(), (std::vector<std::string>{"$0E6", "%0E10400600", "$10S0A"}));
  EXPECT_EQ(ui_->texts(), (std::vector<QString>{"Port input/output configuration failed.",
                                                "Change configuration complete."}));
  EXPECT_EQ(context_->ModuleList[0].Address, 16);
}

TEST_F(N69ConfigTest, UnreadDirectionsGoOutOnlyWhenTheUserChoseAllFourRows) {
  startModule(0x0A);
  network_->setFault(14, "$AA6", sim::FaultSpec{.reply = "?0E\r"});
  open<N69ConfigForm>();
  EXPECT_FALSE(anyPortChosen()) << "a refusal is no mask";
  clickOK();
  EXPECT_EQ(sent(), std::vector<std::string>{"$0E6"}) << "no port turned into an output";
  EXPECT_EQ(context_->ConfigResult, 2);
  EXPECT_TRUE(ui_->messages.empty());
  EXPECT_TRUE(closed());

  network_->setFault(14, "$AA6", sim::FaultSpec{.reply = "!0\r"});
  open<N69ConfigForm>();
  EXPECT_FALSE(anyPortChosen()) << "a reply too short holds no mask";
  setAddress(20);
  input(0).setChecked(true);
  output(1).setChecked(true);
  input(2).setChecked(true);
  clickOK();
  EXPECT_EQ(sent(), (std::vector<std::string>{"$0E6", "%0E14400600"}))
      << "three rows are not enough";
  EXPECT_EQ(ui_->texts(), std::vector<QString>{"Change configuration complete."});
  EXPECT_EQ(network_->state(20).portDirections, 0x0A);

  network_->setFault(20, "$AA6", sim::FaultSpec{.silent = true});
  open<N69ConfigForm>();
  EXPECT_FALSE(anyPortChosen());
  setPorts({false, true, false, true});
  clickOK();
  EXPECT_EQ(sent(), (std::vector<std::string>{"$146", "$14S05"}));
  EXPECT_EQ(network_->state(20).portDirections, 0x05);
}

TEST_F(N69ConfigTest, LoadReadsWithTheShortReplyTimeOut) {
  startModule(0x0A);
  context_->ReplyTimeout = 150;
  context_->LongReplyTimeout = 3000;
  // Late for the short time-out by far, in time for the long one.
  network_->setFault(14, "$AA6", sim::FaultSpec{.delayMs = 900});
  open<N69ConfigForm>();
  EXPECT_FALSE(anyPortChosen());
}

TEST_F(N69ConfigTest, KeyboardOpensOnTheAddressEnterIsOkEscapeIsCancel) {
  startModule(0x0A);
  open<N69ConfigForm>();
  dialog_->activateWindow();
  QApplication::processEvents();
  EXPECT_EQ(QApplication::focusWidget(), &field("Addr"));
  EXPECT_EQ(field("Addr").selectedText(), "14");
  QTest::keyClicks(&field("Addr"), "5");
  QTest::keyClick(&field("Addr"), Qt::Key_Return);
  EXPECT_TRUE(closed());
  EXPECT_EQ(context_->ModuleList[0].Address, 5);

  open<N69ConfigForm>();
  setAddress(7);
  output(0).setChecked(true);
  QTest::keyClick(dialog_.get(), Qt::Key_Escape);
  EXPECT_TRUE(closed());
  EXPECT_EQ(context_->ConfigResult, 2);
  EXPECT_EQ(sent(), std::vector<std::string>{"$056"}) << "only the load's read";
}

TEST_F(N69ConfigTest, AddressBeyond255IsRefusedAndTheDialogStays) {
  startModule(0x0A);
  open<N69ConfigForm>();
  setAddress(256);
  clickOK();
  EXPECT_EQ(ui_->texts(), std::vector<QString>{"Address can not exceed 255."});
  EXPECT_EQ(sent(), std::vector<std::string>{"$0E6"});
  EXPECT_FALSE(closed());
  EXPECT_EQ(context_->ConfigResult, 2);
}

}  // namespace
}  // namespace orvane::admin
