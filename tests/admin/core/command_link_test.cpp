#include "admin/core/command_link.h"

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <QLineEdit>
#include <QTest>

#include "protocol/frame.h"
#include "tests/admin/core/admin_fixture.h"

namespace orvane::admin {
namespace {

using testing::AdminFixture;

class CommandLinkTest : public AdminFixture {
 protected:
  void exchange(int entry, const std::string& body, int timeoutMs = 200) {
    context_->LastCommand = body.substr(0, 1) +
                            Hex2(static_cast<unsigned>(effectiveAddress(*context_, entry))) +
                            body.substr(1);
    ExchangeCommand(*context_, entry, 0, timeoutMs);
  }
};

sim::FaultSpec fault(bool sim::FaultSpec::*flag) {
  sim::FaultSpec spec;
  spec.*flag = true;
  return spec;
}

sim::FaultSpec characterGap(int ms) {
  sim::FaultSpec spec;
  spec.charGapMs = ms;
  return spec;
}

sim::ModuleState module(const std::string& model, int address, int baudCode = 3,
                        bool checksum = false) {
  auto state = sim::makeModule(model, address);
  state.baudCode = baudCode;
  state.checksum = checksum;
  return state;
}

TEST_F(CommandLinkTest, ChecksumIsAppendedAndCheckedAndStripped) {
  startNetwork({module("7213", 2, 3, true)});
  openPort();
  setEntry(0, "7213", 2, 3, 1);
  exchange(0, "$2");
  EXPECT_EQ(settledFrames().at(0).raw, "$022B8\r");
  ASSERT_TRUE(context_->LastExchangeOK);
  EXPECT_EQ(context_->LastReply.substr(0, 3), "!02");
  EXPECT_EQ(context_->LastReply.size(), 9u) << "checksum digits removed";
  EXPECT_EQ(context_->LastCommand, "$022") << "LastCommand keeps no checksum";
}

TEST_F(CommandLinkTest, LowerCaseChecksumDigitsAreAcceptedAndWrongOnesFail) {
  startNetwork({module("7213", 2, 3, true)});
  openPort();
  setEntry(0, "7213", 2, 3, 1);
  network_->setFault(2, fault(&sim::FaultSpec::lowerCaseChecksum));
  exchange(0, "$2");
  EXPECT_TRUE(context_->LastExchangeOK);
  EXPECT_EQ(context_->LastReply.size(), 9u);

  network_->setFault(2, fault(&sim::FaultSpec::wrongChecksum));
  exchange(0, "$2");
  EXPECT_FALSE(context_->LastExchangeOK);
  EXPECT_EQ(context_->LastReply.size(), 11u) << "a failed check keeps the digits";
}

TEST_F(CommandLinkTest, InitializationEntryIsAddressedAs00At9600WithoutChecksum) {
  auto stored = module("7213", 5, 4, true);
  stored.initState = true;
  startNetwork({stored});
  openPort();
  setEntry(0, "7213", 5, 4, 1);
  context_->InitModuleIndex = 0;
  EXPECT_EQ(effectiveAddress(*context_, 0), 0);
  EXPECT_EQ(effectiveBaudCode(*context_, 0), 3);
  EXPECT_EQ(effectiveChecksum(*context_, 0), 0);
  exchange(0, "$2");
  ASSERT_EQ(settledFrames().size(), 1u);
  EXPECT_EQ(settledFrames()[0].raw, "$002\r");
  EXPECT_EQ(settledFrames()[0].baudRate, 9600);
  EXPECT_TRUE(context_->LastExchangeOK);
  EXPECT_EQ(context_->LastReply.substr(0, 3), "!05") << "it reports its stored address";
}

TEST_F(CommandLinkTest, AddressZeroNeverCarriesAChecksum) {
  startNetwork({module("7213", 0, 3, true)});
  openPort();
  setEntry(0, "7213", 0, 3, 1);
  EXPECT_EQ(effectiveChecksum(*context_, 0), 0);
}

TEST_F(CommandLinkTest, LineSettlesOnlyAfterABaudChange) {
  if (lineThreaded()) GTEST_SKIP() << testing::kHooksInlineLine;
  auto init = module("7213", 5);
  init.initState = true;
  startNetwork({module("7215", 1, 4), init});
  openPort();
  context_->baudSettlePause = std::chrono::milliseconds(20);
  setEntry(0, "7215", 1, 4);
  setEntry(1, "7213", 5, 4);
  context_->InitModuleIndex = 1;
  EXPECT_EQ(context_->PortBaudCode[0], -1);

  exchange(0, "$2");
  EXPECT_TRUE(context_->LastExchangeOK);
  EXPECT_EQ(context_->PortBaudCode[0], 4);
  EXPECT_EQ(ui_->paused, std::chrono::milliseconds(20)) << "the first write sets the rate";
  exchange(1, "$2");
  EXPECT_TRUE(context_->LastExchangeOK);
  EXPECT_EQ(context_->PortBaudCode[0], 3);
  EXPECT_EQ(ui_->paused, std::chrono::milliseconds(40));
  exchange(1, "$2");
  EXPECT_EQ(ui_->paused, std::chrono::milliseconds(40)) << "same rate, no pause";
  EXPECT_EQ(settledFrames()[0].baudRate, 19200);
  EXPECT_EQ(settledFrames()[1].baudRate, 9600);
}

TEST_F(CommandLinkTest, TimeOutRestartsWithEveryCharacter) {
  startNetwork({module("7213", 1)});
  openPort();
  setEntry(0, "7213", 1);
  network_->setFault(1, characterGap(30));
  exchange(0, "$2", 150);  // the whole reply takes far longer than 150 ms
  EXPECT_TRUE(context_->LastExchangeOK);
  EXPECT_EQ(context_->LastReply.size(), 9u);

  network_->setFault(1, characterGap(200));
  exchange(0, "$2", 60);
  EXPECT_FALSE(context_->LastExchangeOK);
  EXPECT_FALSE(context_->LastReply.empty()) << "keeps what arrived";
  EXPECT_LT(context_->LastReply.size(), 9u);
}

TEST_F(CommandLinkTest, SilentOrCutOffRepliesFail) {
  startNetwork({module("7213", 1)});
  openPort();
  setEntry(0, "7213", 1);
  network_->setFault(1, fault(&sim::FaultSpec::silent));
  exchange(0, "$2", 50);
  EXPECT_FALSE(context_->LastExchangeOK);
  EXPECT_TRUE(context_->LastReply.empty());
  network_->setFault(1, fault(&sim::FaultSpec::noCarriageReturn));
  exchange(0, "$2", 50);
  EXPECT_FALSE(context_->LastExchangeOK);
  EXPECT_EQ(context_->LastReply.substr(0, 3), "!01");
}

TEST_F(CommandLinkTest, RefusalIsASuccessfulExchange) {
  startNetwork({module("7213", 1)});
  openPort();
  setEntry(0, "7213", 1);
  network_->setFault(1, fault(&sim::FaultSpec::refuseAll));
  exchange(0, "$2");
  EXPECT_TRUE(context_->LastExchangeOK);
  EXPECT_EQ(context_->LastReply, "?01");
}

TEST_F(CommandLinkTest, AnalogValueReadsTheChannelOfMultiChannelModels) {
  startNetwork({module("7231", 3), module("7213", 4)});
  openPort();
  setEntry(0, "7231", 3).TypeCode = network_->state(3).typeCode;
  setEntry(1, "7213", 4).TypeCode = network_->state(4).typeCode;
  const std::string eight = ReadAnalogValue(*context_, 0, 5);
  const std::string one = ReadAnalogValue(*context_, 1, 5);
  EXPECT_EQ(settledFrames().at(0).raw, "#035\r");
  EXPECT_EQ(settledFrames().at(1).raw, "#04\r");
  EXPECT_NE(eight, "*error*");
  EXPECT_NE(one, "*error*");
  EXPECT_FALSE(one.empty());
  EXPECT_NE(context_->LastReply.front(), '>') << "the > is taken off";

  network_->setFault(4, fault(&sim::FaultSpec::silent));
  EXPECT_EQ(ReadAnalogValue(*context_, 1, 0), "*error*");
  context_->ModuleList[1].DataFormat = 7;
  network_->clearFaults();
  EXPECT_EQ(ReadAnalogValue(*context_, 1, 0), "") << "no conversion for format 7";
}

TEST_F(CommandLinkTest, ChannelMaskReadsBothDigits) {
  startNetwork({module("7231", 3)});
  openPort();
  setEntry(0, "7231", 3);
  context_->LastCommand = "$035A5";
  ExchangeCommand(*context_, 0, 0, 200);
  ASSERT_TRUE(context_->LastExchangeOK);
  ASSERT_EQ(context_->LastReply.front(), '!');
  std::array<bool, 8> mask{};
  EXPECT_TRUE(ReadChannelMask(*context_, 0, mask));
  EXPECT_EQ(settledFrames().back().raw, "$036\r");
  EXPECT_EQ(mask, (std::array<bool, 8>{true, false, true, false, false, true, false, true}));

  network_->setFault(3, fault(&sim::FaultSpec::silent));
  std::array<bool, 8> untouched{true, true, true, true, true, true, true, true};
  EXPECT_FALSE(ReadChannelMask(*context_, 0, untouched));
  EXPECT_EQ(untouched, (std::array<bool, 8>{true, true, true, true, true, true, true, true}));

  // A refusal or a short reply is no mask: "?03" would read as channels 0 and 1.
  for (const char* reply : {"?03\r", "!03\r", "!030\r"}) {
    network_->setFault(3, "$AA6", sim::FaultSpec{.reply = reply});
    EXPECT_FALSE(ReadChannelMask(*context_, 0, untouched)) << reply;
    EXPECT_EQ(untouched, (std::array<bool, 8>{true, true, true, true, true, true, true, true}));
  }
}

TEST_F(CommandLinkTest, KeyFiltersRefuseOtherCharactersWithABeep) {
  QLineEdit digits;
  DigitKeys(*context_, digits);
  QTest::keyClicks(&digits, "12a3.-");
  EXPECT_EQ(digits.text(), "123");
  EXPECT_EQ(ui_->beeps, 3);

  context_->DecimalSeparator = ',';
  QLineEdit number;
  SignedNumberKeys(*context_, number);
  QTest::keyClicks(&number, "-1.5,2e+");
  EXPECT_EQ(number.text(), "-15,2+");
  EXPECT_EQ(ui_->beeps, 5);
  QTest::keyClick(&number, Qt::Key_Backspace);
  EXPECT_EQ(number.text(), "-15,2");

  std::string typed = "1,5";
  FixDecimalSeparator(*context_, typed);
  EXPECT_EQ(typed, "1.5");
  context_->DecimalSeparator = '.';
  typed = "1,5";
  FixDecimalSeparator(*context_, typed);
  EXPECT_EQ(typed, "1,5");
}

TEST_F(CommandLinkTest, HexHelpers) {
  EXPECT_EQ(Hex2(10), "0A");
  EXPECT_EQ(Hex2(255), "FF");
  EXPECT_EQ(Hex2(0x1234, 2), "1234");
  EXPECT_EQ(HexDigitValue('G'), 0);
  EXPECT_EQ(HexDigitValue('f'), 15);
}

TEST_F(CommandLinkTest, ExchangeOnAClosedPortFailsWithTheSerialText) {
  setEntry(0, "7213", 1);
  context_->LastCommand = "$012";
  context_->LastReply = "!01";
  context_->LastExchangeOK = true;
  ExchangeCommand(*context_, 0, 0, 50);
  EXPECT_FALSE(context_->LastExchangeOK);
  EXPECT_TRUE(context_->LastReply.empty());
  EXPECT_NE(context_->LastLinkError.find("not open"), std::string::npos) << context_->LastLinkError;
  EXPECT_THROW(WriteCommand(*context_, "$012", 0, 3), serial::SerialError);
}

// Another program leaves the line at 2400 bps in cooked mode, where a CR
// goes out as LF and input is echoed.
void leaveLineCooked(const std::string& device) {
  const int fd = ::open(device.c_str(), O_RDWR | O_NOCTTY);
  ASSERT_GE(fd, 0);
  termios tio{};
  ASSERT_EQ(::tcgetattr(fd, &tio), 0);
  tio.c_lflag |= ICANON | ECHO;
  tio.c_oflag |= OPOST | OCRNL;
  ::cfsetispeed(&tio, B2400);
  ::cfsetospeed(&tio, B2400);
  ASSERT_EQ(::tcsetattr(fd, TCSANOW, &tio), 0);
  ::close(fd);
}

TEST_F(CommandLinkTest, AReopenedPortIsSetUpAgainWhateverTheLineWasLeftAt) {
  startNetwork({module("7213", 2)});
  openPort();
  setEntry(0, "7213", 2);
  context_->baudSettlePause = std::chrono::milliseconds(5);
  exchange(0, "$M");
  ASSERT_EQ(context_->LastReply, "!027213");

  context_->OrvComm.close(1);
  leaveLineCooked(network_->slavePath());
  context_->OrvComm.open(1);
  ui_->paused = {};
  exchange(0, "$M");
  EXPECT_TRUE(context_->LastExchangeOK);
  EXPECT_EQ(context_->LastReply, "!027213");
  EXPECT_EQ(settledFrames().back().raw, "$02M\r");
  exchange(0, "$M");
  if (!lineThreaded()) {  // the threaded worker pauses on its own thread
    EXPECT_EQ(ui_->paused, std::chrono::milliseconds(5)) << "the settle pause is paid once";
  }
}

TEST_F(CommandLinkTest, ALineThatStreamsWithoutCarriageReturnEndsTheReadAtTheCap) {
  startNetwork({module("7213", 2)});
  openPort();
  setEntry(0, "7213", 2);
  // Far longer than any reply, yet within what the line buffers: the whole
  // stream has arrived (the simulator logs the frame once its reply is out)
  // before the next command purges it. A longer one would still be coming
  // in after the purge, as from a real module that never stops.
  network_->setFault(2, "$AAM", sim::FaultSpec{.reply = std::string(1000, 'x')});
  exchange(0, "$M", 2000);
  EXPECT_FALSE(context_->LastExchangeOK);
  EXPECT_EQ(context_->LastReply.size(), protocol::kReplyLengthCap);
  ASSERT_TRUE(network_->waitForFrames(1, std::chrono::seconds(5)));
  network_->clearFaults();
  exchange(0, "$M");
  EXPECT_EQ(context_->LastReply, "!027213")
      << "the rest of the stream is purged before the next command";
}

// Each character restarts the time-out, so only the length ends a reply
// that trickles in without end.
TEST_F(CommandLinkTest, AModuleThatTricklesWithoutCarriageReturnIsCutAtTheCap) {
  startNetwork({module("7213", 2)});
  openPort();
  setEntry(0, "7213", 2);
  constexpr int kGapMs = 5;
  constexpr std::size_t kTrickled = 1000;  // 5 s of characters
  network_->setFault(2, "$AAM",
                     sim::FaultSpec{.charGapMs = kGapMs, .reply = std::string(kTrickled, 'x')});
  const auto start = std::chrono::steady_clock::now();
  exchange(0, "$M", 1000);
  const auto took = std::chrono::steady_clock::now() - start;
  EXPECT_FALSE(context_->LastExchangeOK);
  EXPECT_EQ(context_->LastReply.size(), protocol::kReplyLengthCap) << "ended by its length";
  EXPECT_LT(took, std::chrono::milliseconds(kGapMs * kTrickled / 2)) << "not by its end";
}

}  // namespace
}  // namespace orvane::admin
