// The converter configuration dialog against the simulator: the status word
// and the one command that carries every setting, sent only when something
// changed and believed only when the module confirmed the new address.
#include "admin/config/n7912_config_form.h"

#include <QLabel>
#include <QTest>

#include "admin/config/n7912_config_commands.h"
#include "admin/core/command_link.h"
#include "admin/core/ui_services.h"
#include "tests/admin/config/config_fixture.h"

namespace orvane::admin {
namespace {

using namespace testing;

// RS-485, 8 data bits, 9600 bps on both sides, everything else off.
ConverterSettings plainSettings(int address) {
  ConverterSettings s;
  s.address = address;
  s.baudCode = 3;
  s.rs232BaudCode = 3;
  s.interfaceCode = 1;
  s.dataFormat = 3;
  return s;
}

TEST(N7912ConfigCommands, WorkedExampleMovesAConverterFrom5To6) {
  EXPECT_EQ(converterStatusWord(plainSettings(6)), 0x2003);
  EXPECT_EQ(addressedCommand('%', 5, converterConfigBody(plainSettings(6))), "%050640662003");
}

TEST(N7912ConfigCommands, EverySettingLandsOnItsOwnBits) {
  const auto word = [](auto set) {
    ConverterSettings s;
    set(s);
    return converterStatusWord(s);
  };
  EXPECT_EQ(word([](auto& s) { s.addressingCode = 1; }), 0x8000);
  EXPECT_EQ(word([](auto& s) { s.checksumFlag = 1; }), 0x4000);
  EXPECT_EQ(word([](auto& s) { s.interfaceCode = 1; }), 0x2000);
  EXPECT_EQ(word([](auto& s) { s.appendCR = 1; }), 0x0100);
  EXPECT_EQ(word([](auto& s) { s.parityCode = 1; }), 0x0008);
  EXPECT_EQ(word([](auto& s) { s.parityCode = 3; }), 0x0018);
  EXPECT_EQ(word([](auto& s) { s.stopBitsCode = 1; }), 0x0004);
  EXPECT_EQ(word([](auto& s) { s.dataFormat = 2; }), 0x0002);
  // Even parity, 7 data bits, two stop bits.
  EXPECT_EQ(word([](auto& s) {
              s.parityCode = 3;
              s.dataFormat = 2;
              s.stopBitsCode = 1;
            }) & 0xFF,
            0x1E);
  EXPECT_EQ(word([](auto& s) {
              s.addressingCode = 3;
              s.parityCode = 7;
              s.dataFormat = 6;
            }),
            0x801A)
      << "a code is cut to its own bits and never spills into its neighbours";
}

TEST(N7912ConfigCommands, BaudCodesGoOutAsOneDigitEachRs232First) {
  ConverterSettings s;
  s.address = 255;
  s.rs232BaudCode = 0;  // 1200
  s.baudCode = 7;       // 57600
  EXPECT_EQ(converterConfigBody(s), "FF403A0000");
  s.rs232BaudCode = 6;  // 115200
  s.baudCode = 4;       // 19200
  s.checksumFlag = 1;
  EXPECT_EQ(converterConfigBody(s), "FF40974000");
}

TEST(N7912ConfigCommands, ParityCodesShowAsNoneOddEven) {
  EXPECT_EQ(parityPosition(0), 0);
  EXPECT_EQ(parityPosition(1), 1);
  EXPECT_EQ(parityPosition(2), 0) << "code 2 reads as no parity";
  EXPECT_EQ(parityPosition(3), 2);
  EXPECT_EQ(parityPosition(4), -1);
  EXPECT_EQ(parityPosition(-1), -1);
}

class N7912ConfigTest : public ConfigFixture {
 protected:
  // A 7912 whose settings the entry knows: RS-485, 8 data bits, 9600 bps on
  // both sides, the rest off.
  ModuleEntry& startConverter(int address = 5, bool initState = false) {
    auto m = simModule("7912", address);
    m.statusWord = 0x2003;
    m.rs232BaudCode = 3;
    m.format = 3;
    m.initState = initState;
    ModuleEntry& e = start({m});
    e.TypeCode = 0x40;
    e.Rs232BaudCode = 3;
    e.InterfaceCode = 1;
    e.DataFormat = 3;
    return e;
  }
  static constexpr std::array<const char*, 9> kSettingLists{
      "ChecksumCombo", "AddressableCombo", "InterfaceCombo", "AppendcrCombo", "BaudRate",
      "Baudrate_232",  "ParityCombo",      "DatabitsCombo",  "StopbitsCombo"};
};

TEST_F(N7912ConfigTest, LoadShowsEveryConverterSettingAndSendsNothing) {
  auto m = simModule("7912", 5);
  m.statusWord = 0x811E;  // non-addressable, RS-422, CR, even, 2 stop bits, 7 data bits
  m.rs232BaudCode = 4;
  ModuleEntry& e = start({m});
  e.AddressingCode = 1;
  e.AppendCR = 1;
  e.ParityCode = 3;
  e.StopBitsCode = 1;
  e.DataFormat = 2;
  e.Rs232BaudCode = 4;
  open<N7912ConfigForm>();
  EXPECT_EQ(dialog_->windowTitle(), "Configuration");
  EXPECT_EQ(control<QLabel>("ModuleName").text(), "7912");
  EXPECT_EQ(field("Addr").text(), "5");
  EXPECT_EQ(list("ChecksumCombo").currentText(), "Disabled");
  EXPECT_EQ(list("AddressableCombo").currentText(), "Non-addressable");
  EXPECT_EQ(list("InterfaceCombo").currentText(), "RS-422");
  EXPECT_EQ(list("AppendcrCombo").currentText(), "Yes");
  EXPECT_EQ(list("BaudRate").currentText(), "9600");
  EXPECT_EQ(list("Baudrate_232").currentText(), "19200");
  EXPECT_EQ(list("Baudrate_232").count(), 8);
  EXPECT_EQ(list("ParityCombo").currentText(), "Even");
  EXPECT_EQ(list("DatabitsCombo").currentText(), "7");
  EXPECT_EQ(list("StopbitsCombo").currentText(), "2");
  for (const char* name : kSettingLists)
    EXPECT_FALSE(list(name).isEnabled()) << name << ": only the address changes";
  EXPECT_TRUE(field("Addr").isEnabled());
  EXPECT_TRUE(sent().empty());

  setAddress(6);
  clickOK();
  EXPECT_EQ(sent(), std::vector<std::string>{"%05064076811E"}) << "the rest repeated unchanged";
  EXPECT_EQ(network_->state(6).statusWord, 0x811E);
  EXPECT_EQ(network_->state(6).rs232BaudCode, 4);
}

TEST_F(N7912ConfigTest, NewAddressSendsTheWorkedCommandAndTheEntryFollows) {
  startConverter(5);
  open<N7912ConfigForm>();
  setAddress(6);
  clickOK();
  EXPECT_EQ(sent(), std::vector<std::string>{"%050640662003"});
  EXPECT_EQ(ui_->texts(), std::vector<QString>{"Change configuration complete."});
  EXPECT_EQ(ui_->messages[0].title, kAppTitle);
  EXPECT_EQ(context_->ModuleList[0].Address, 6);
  EXPECT_EQ(network_->addresses(), std::vector<int>{6});
  EXPECT_EQ(context_->ConfigResult, 1);
  EXPECT_TRUE(closed());
}

TEST_F(N7912ConfigTest, OkWithoutChangeSendsNothingAndCloses) {
  startConverter(5);
  open<N7912ConfigForm>();
  clickOK();
  EXPECT_TRUE(sent().empty());
  EXPECT_TRUE(ui_->messages.empty());
  EXPECT_EQ(context_->ConfigResult, 2);
  EXPECT_TRUE(closed());
}

TEST_F(N7912ConfigTest, InitializationEntryChangesEverySettingInOneCommandAt00) {
  startConverter(9, true);
  makeInitializationEntry();
  open<N7912ConfigForm>();
  for (const char* name : kSettingLists) EXPECT_TRUE(list(name).isEnabled()) << name;
  list("AddressableCombo").setCurrentIndex(1);
  list("ChecksumCombo").setCurrentIndex(1);
  list("InterfaceCombo").setCurrentIndex(0);
  list("AppendcrCombo").setCurrentIndex(1);
  list("ParityCombo").setCurrentIndex(2);    // even
  list("DatabitsCombo").setCurrentIndex(2);  // 7
  list("StopbitsCombo").setCurrentIndex(1);  // 2
  list("Baudrate_232").setCurrentIndex(4);   // 19200
  list("BaudRate").setCurrentIndex(5);       // 38400
  clickOK();
  EXPECT_EQ(sent(), std::vector<std::string>{"%00094078C11E"});
  for (const auto& frame : settledFrames()) EXPECT_EQ(frame.baudRate, 9600);
  const ModuleEntry& e = context_->ModuleList[0];
  EXPECT_EQ(e.Address, 9);
  EXPECT_EQ(e.AddressingCode, 1);
  EXPECT_EQ(e.ChecksumFlag, 1);
  EXPECT_EQ(e.InterfaceCode, 0);
  EXPECT_EQ(e.AppendCR, 1);
  EXPECT_EQ(e.ParityCode, 3);
  EXPECT_EQ(e.DataFormat, 2);
  EXPECT_EQ(e.StopBitsCode, 1);
  EXPECT_EQ(e.Rs232BaudCode, 4);
  EXPECT_EQ(e.BaudCode, 5);
  EXPECT_EQ(network_->state(9).statusWord, 0x811E);
  EXPECT_EQ(network_->state(9).pendingBaudCode, 5);
  EXPECT_EQ(ui_->texts(), std::vector<QString>{"Change configuration complete."});
}

TEST_F(N7912ConfigTest, UnconfirmedCommandsLeaveTheEntry) {
  const ModuleEntry before = startConverter(5);
  const std::vector<std::pair<const char*, sim::FaultSpec>> faults{
      {"silent", sim::FaultSpec{.silent = true}},
      {"refused", sim::FaultSpec{.refuseAll = true}},
      // The module moved, but the reply does not say so.
      {"old address", sim::FaultSpec{.reply = "!05\r"}}};
  for (const auto& [what, fault] : faults) {
    ui_->messages.clear();
    network_->setFault(5, "%AA*", fault);
    open<N7912ConfigForm>();
    setAddress(6);
    clickOK();
    EXPECT_EQ(sent(), std::vector<std::string>{"%050640662003"}) << what;
    EXPECT_EQ(ui_->texts(), std::vector<QString>{"Configuration command failed."}) << what;
    EXPECT_EQ(ui_->messages[0].title, "Error") << what;
    EXPECT_EQ(context_->ModuleList[0].Address, before.Address) << what;
    EXPECT_EQ(context_->ConfigResult, 2) << what;
    EXPECT_TRUE(closed()) << what;
  }
}

TEST_F(N7912ConfigTest, ParityTwoAndCodesTheListsDoNotOfferAreRepeatedAsTheEntryHoldsThem) {
  auto m = simModule("7912", 5);
  m.statusWord = 0x2013;  // the even bit without parity on
  ModuleEntry& e = start({m});
  e.InterfaceCode = 1;
  e.DataFormat = 3;
  e.ParityCode = 2;
  e.Rs232BaudCode = 3;
  open<N7912ConfigForm>();
  EXPECT_EQ(list("ParityCombo").currentText(), "None");
  clickOK();
  EXPECT_TRUE(sent().empty()) << "a parity the user did not touch is no change";
  open<N7912ConfigForm>();
  setAddress(6);
  clickOK();
  EXPECT_EQ(sent(), std::vector<std::string>{"%050640662013"});
  EXPECT_EQ(network_->state(6).statusWord, 0x2013);
  EXPECT_EQ(context_->ModuleList[0].ParityCode, 2);

  e.Rs232BaudCode = 9;
  open<N7912ConfigForm>();
  EXPECT_EQ(list("Baudrate_232").currentIndex(), -1);
  setAddress(7);
  clickOK();
  EXPECT_EQ(sent(), std::vector<std::string>{"%060740C62013"}) << "the entry's own codes, never -1";
}

TEST_F(N7912ConfigTest, KeyboardAndAddressRefusal) {
  startConverter(5);
  open<N7912ConfigForm>();
  dialog_->activateWindow();
  QApplication::processEvents();
  EXPECT_EQ(QApplication::focusWidget(), &field("Addr"));
  EXPECT_EQ(field("Addr").selectedText(), "5");
  setAddress(256);
  clickOK();
  EXPECT_EQ(ui_->texts(), std::vector<QString>{"Address can not exceed 255."});
  EXPECT_FALSE(closed());
  QTest::keyClick(dialog_.get(), Qt::Key_Escape);
  EXPECT_TRUE(closed());
  EXPECT_EQ(context_->ConfigResult, 2);
  EXPECT_TRUE(sent().empty());

  open<N7912ConfigForm>();
  setAddress(8);
  QTest::keyClick(&field("Addr"), Qt::Key_Return);
  EXPECT_EQ(sent(), std::vector<std::string>{"%050840662003"});
  EXPECT_EQ(context_->ModuleList[0].Address, 8);
}

}  // namespace
}  // namespace orvane::admin
