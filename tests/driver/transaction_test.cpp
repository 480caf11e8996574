// The exchange every module operation is built on: frames with and without
// checksum, the per-character time-out, the address-00 exemption, the
// command and reply buffers, raw commands, hostile replies and threads.
#include <chrono>
#include <cstring>
#include <thread>

#include "driver_fixture.h"

namespace orvane::driver::test {
namespace {

using TransactionTest = DriverTest;
using std::chrono::milliseconds;
using Clock = std::chrono::steady_clock;

TEST_F(TransactionTest, ChecksumDigitsGoOutAndComeOffTheReply) {
  auto withChecksum = module("7213", 2);
  withChecksum.checksum = true;
  start({withChecksum});
  OV_EnableChecksum(kPort);
  char reply[30] = "";
  EXPECT_EQ(frameOf([&] { EXPECT_EQ(OV_SendCommand(kPort, "$02M", reply), OV_SUCCESS); }),
            "$02MD3\r");
  EXPECT_STREQ(reply, "!027213");
  char name[30] = "";
  EXPECT_EQ(frameOf([&] { EXPECT_EQ(OV_GetModuleName(kPort, 2, name), OV_SUCCESS); }), "$02MD3\r");
  EXPECT_STREQ(name, "7213");
}

TEST_F(TransactionTest, WithoutChecksumTheFrameIsTheCommandAndACarriageReturn) {
  start({module("7213", 0x1F)});
  char name[30] = "";
  EXPECT_EQ(frameOf([&] { EXPECT_EQ(OV_GetModuleName(kPort, 0x1F, name), OV_SUCCESS); }), "$1FM\r");
  EXPECT_STREQ(name, "7213");
}

TEST_F(TransactionTest, TheReplyTimeOutRestartsWithEveryCharacter) {
  start({module("7213", 1)});
  OV_TimeOut(kPort, 250);
  // Each gap is well below the time-out, the whole reply well above it.
  net->setFault(1, {.charGapMs = 60});
  char reply[30] = "";
  EXPECT_EQ(OV_SendCommand(kPort, "$01M", reply), OV_SUCCESS);
  EXPECT_STREQ(reply, "!017213");

  OV_TimeOut(kPort, 100);
  net->setFault(1, {.delayMs = 600});
  std::strcpy(reply, "unchanged");
  auto started = Clock::now();
  EXPECT_EQ(OV_SendCommand(kPort, "$01M", reply), OV_TIMEOUT);
  EXPECT_LT(Clock::now() - started, milliseconds(550)) << "waited for more than one time-out";
  EXPECT_STREQ(reply, "unchanged");
}

TEST_F(TransactionTest, ALineThatHangsUpIsAReadFailureNotAWait) {
  start({module("7213", 1)});
  OV_TimeOut(kPort, 2000);
  net.reset();  // the master side of the pty closes: the adapter is gone
  char name[30] = "unchanged";
  auto started = Clock::now();
  EXPECT_EQ(OV_GetModuleName(kPort, 1, name), OV_IO_ERROR);
  EXPECT_LT(Clock::now() - started, milliseconds(1500));
  EXPECT_STREQ(name, "unchanged");
  EXPECT_EQ(OV_ReleaseComm(kPort), OV_SUCCESS);
}

TEST_F(TransactionTest, ASilentModuleTimesOutAndLeavesOutputsAlone) {
  start({module("7213", 1)});
  net->setFault(1, {.silent = true});
  char name[30] = "unchanged";
  EXPECT_EQ(OV_GetModuleName(kPort, 1, name), OV_TIMEOUT);
  EXPECT_EQ(OV_GetModuleName(kPort, 2, name), OV_TIMEOUT);
  EXPECT_STREQ(name, "unchanged");
}

TEST_F(TransactionTest, AWrongChecksumFailsAndWritesNothing) {
  auto m = module("7213", 1);
  m.checksum = true;
  start({m});
  OV_EnableChecksum(kPort);
  net->setFault(1, {.wrongChecksum = true});
  char name[30] = "unchanged";
  EXPECT_EQ(OV_GetModuleName(kPort, 1, name), OV_CHECKSUM_ERROR);
  EXPECT_EQ(OV_SendCommand(kPort, "$01M", name), OV_CHECKSUM_ERROR);
  EXPECT_STREQ(name, "unchanged");
}

TEST_F(TransactionTest, LowerCaseChecksumLettersCountAsZero) {
  // "!0A7213" sums to 5F: read as "5f" it is 50 and fails. "!027213" sums to
  // 50, which has no letter and passes either way.
  auto a = module("7213", 0x0A);
  auto b = module("7213", 0x02);
  a.checksum = b.checksum = true;
  start({a, b});
  OV_EnableChecksum(kPort);
  net->setFault(0x0A, {.lowerCaseChecksum = true});
  net->setFault(0x02, {.lowerCaseChecksum = true});
  char name[30] = "";
  EXPECT_EQ(OV_GetModuleName(kPort, 0x0A, name), OV_CHECKSUM_ERROR);
  EXPECT_EQ(OV_GetModuleName(kPort, 0x02, name), OV_SUCCESS);
  EXPECT_STREQ(name, "7213");
}

TEST_F(TransactionTest, ZeroBytesInsideAReplyAreDropped) {
  auto m = module("7213", 1);
  m.checksum = true;
  start({m});
  OV_EnableChecksum(kPort);
  net->setFault(1, {.nulBytes = true});
  char name[30] = "";
  EXPECT_EQ(OV_GetModuleName(kPort, 1, name), OV_SUCCESS);
  EXPECT_STREQ(name, "7213");
}

TEST_F(TransactionTest, AReplyWithoutCarriageReturnTimesOut) {
  start({module("7213", 1)});
  net->setFault(1, {.noCarriageReturn = true});
  char name[30] = "unchanged";
  EXPECT_EQ(OV_GetModuleName(kPort, 1, name), OV_TIMEOUT);
  EXPECT_STREQ(name, "unchanged");
  net->clearFaults();
  EXPECT_EQ(OV_GetModuleName(kPort, 1, name), OV_SUCCESS);
  EXPECT_STREQ(name, "7213");
}

TEST_F(TransactionTest, GarbageBeforeAReplyFailsItsChecksumAndTheNextExchangeIsClean) {
  auto m = module("7213", 1);
  m.checksum = true;
  start({m});
  OV_EnableChecksum(kPort);
  net->setFault(1, {.garbage = true});
  char name[30] = "unchanged";
  EXPECT_EQ(OV_GetModuleName(kPort, 1, name), OV_CHECKSUM_ERROR);
  EXPECT_STREQ(name, "unchanged");
  net->clearFaults();
  EXPECT_EQ(OV_GetModuleName(kPort, 1, name), OV_SUCCESS);
  EXPECT_STREQ(name, "7213");
}

TEST_F(TransactionTest, WithoutChecksumGarbageIsDecodedByPositionAndNothingMore) {
  start({module("7469", 1), module("7213", 2)});
  net->setFault(1, {.garbage = true});
  net->setFault(2, {.garbage = true});
  // Nothing but the positions is checked: whatever stands there is decoded,
  // and no output grows beyond its buffer.
  char reply[30] = "";
  EXPECT_EQ(OV_SendCommand(kPort, "$01M", reply), OV_SUCCESS);
  EXPECT_EQ(std::string(reply), lastReply().substr(0, 29));
  uint32_t inputs = 0;
  EXPECT_EQ(OV_ReadDI(kPort, 1, &inputs, 7469), OV_SUCCESS);
  OV_ModuleConfig config{};
  EXPECT_EQ(OV_GetConfig(kPort, 2, &config), OV_SUCCESS);
  char low[8], high[8];
  EXPECT_EQ(OV_ReadMappingSource(kPort, 2, low, high), OV_SUCCESS);
  EXPECT_EQ(low[7], '\0');
  EXPECT_EQ(high[7], '\0');
}

TEST_F(TransactionTest, AnOverlongReplyIsCutAtTheBufferAndReadToItsEnd) {
  auto m = module("7213", 1);
  // Longer than the buffer, short enough for the length cap with checksum.
  m.firmware = std::string(58, 'V');
  start({m});
  char version[64];
  std::memset(version, '#', sizeof version);
  EXPECT_EQ(OV_GetVersion(kPort, 1, version), OV_SUCCESS);
  EXPECT_EQ(std::strlen(version), 28u);  // 31 kept, three of them before the text
  EXPECT_EQ(version[29], '#') << "wrote past 30 bytes";
  char reply[64];
  std::memset(reply, '#', sizeof reply);
  EXPECT_EQ(OV_SendCommand(kPort, "$01F", reply), OV_SUCCESS);
  EXPECT_EQ(std::strlen(reply), 29u);
  EXPECT_EQ(reply[30], '#') << "wrote past 30 bytes";
  // The rest of the long reply was read and does not spill into the next one.
  char name[30] = "";
  EXPECT_EQ(OV_GetModuleName(kPort, 1, name), OV_SUCCESS);
  EXPECT_STREQ(name, "7213");

  // With the checksum on, the cut reply cannot match its digits.
  net->modify(1, [](sim::ModuleState& s) { s.checksum = true; });
  OV_EnableChecksum(kPort);
  EXPECT_EQ(OV_GetVersion(kPort, 1, version), OV_CHECKSUM_ERROR);
  EXPECT_EQ(OV_GetModuleName(kPort, 1, name), OV_SUCCESS);
}

TEST_F(TransactionTest, AReplyThatGrowsPastTheLengthCapIsGarbledHoweverSlowlyItComes) {
  start({module("7213", 1)});
  char reply[30] = "";
  // 64 characters and the carriage return are a reply; one more is not.
  net->setFault(1, {.reply = std::string(64, 'x') + "\r"});
  EXPECT_EQ(OV_SendCommand(kPort, "$01M", reply), OV_SUCCESS);
  net->setFault(1, {.reply = std::string(65, 'x') + "\r"});
  EXPECT_EQ(OV_SendCommand(kPort, "$01M", reply), OV_IO_ERROR);
  // A module that trickles without end, each gap well within the time-out:
  // reading the whole would take 5 s, the cap ends it after 65 characters.
  OV_TimeOut(kPort, 500);
  net->setFault(1, {.charGapMs = 5, .reply = std::string(1000, 'x')});
  auto started = Clock::now();
  EXPECT_EQ(OV_SendCommand(kPort, "$01M", reply), OV_IO_ERROR);
  EXPECT_LT(Clock::now() - started, milliseconds(2500));
}

TEST_F(TransactionTest, AddressZeroGoesOutPlainAndOnlyItsOwnReplyIsUnchecked) {
  auto init = module("7213", 5);
  init.initState = true;
  auto other = module("7215", 1);
  other.checksum = true;
  start({init, other});
  OV_EnableChecksum(kPort);
  char name[30] = "";
  EXPECT_EQ(frameOf([&] { EXPECT_EQ(OV_GetModuleName(kPort, 0, name), OV_SUCCESS); }), "$00M\r");
  EXPECT_STREQ(name, "7213");
  // The next exchange is checked again.
  net->setFault(1, {.wrongChecksum = true});
  EXPECT_EQ(OV_GetModuleName(kPort, 1, name), OV_CHECKSUM_ERROR);
  // An exemption whose exchange failed does not carry over either.
  net->setFault(5, {.silent = true});
  EXPECT_EQ(OV_GetModuleName(kPort, 0, name), OV_TIMEOUT);
  EXPECT_EQ(OV_GetModuleName(kPort, 1, name), OV_CHECKSUM_ERROR);
}

TEST_F(TransactionTest, ACommandTooLongForTheCommandBufferIsRefusedBeforeSending) {
  start({module("7213", 1)});
  OV_TimeOut(kPort, 50);
  // "$016" and the text, CR and terminating zero: 26 characters of text fit.
  std::string fits(26, 'X'), tooLong(27, 'X');
  EXPECT_EQ(frameOf([&] { OV_SetDeviceID(kPort, 1, fits.c_str()); }), "$016" + fits + "\r");
  EXPECT_TRUE(framesOf([&] { EXPECT_EQ(OV_SetDeviceID(kPort, 1, tooLong.c_str()), OV_REFUSED); }, 0)
                  .empty());
  // The checksum digits need two more.
  OV_EnableChecksum(kPort);
  std::string fitsWithChecksum(24, 'X');
  EXPECT_EQ(framesOf([&] { OV_SetDeviceID(kPort, 1, fitsWithChecksum.c_str()); }).size(), 1u);
  EXPECT_TRUE(
      framesOf([&] { EXPECT_EQ(OV_SetDeviceID(kPort, 1, fits.c_str()), OV_REFUSED); }, 0).empty());
}

TEST_F(TransactionTest, SendCommandIsNotLimitedAndHandsBackRefusalsAsText) {
  start({module("7213", 1)});
  OV_TimeOut(kPort, 50);
  std::string longCommand = "$01" + std::string(60, '6');
  char reply[30];
  EXPECT_EQ(frameOf([&] { OV_SendCommand(kPort, longCommand.c_str(), reply); }),
            longCommand + "\r");

  OV_TimeOut(kPort, 100);
  net->setFault(1, {.refuseAll = true});
  EXPECT_EQ(OV_SendCommand(kPort, "$01M", reply), OV_SUCCESS);
  EXPECT_STREQ(reply, "?01");
  char name[30] = "unchanged";
  EXPECT_EQ(OV_GetModuleName(kPort, 1, name), OV_REFUSED);
  EXPECT_STREQ(name, "unchanged");
}

TEST_F(TransactionTest, ThreadsOnTwoPortsTakeTurnsWithoutMixingReplies) {
  start({module("7213", 1)});
  sim::Network second({module("7215", 1)});
  OV_SetPortName(2, second.slavePath().c_str());
  ASSERT_EQ(OV_InitialComm(2, OV_BAUD_9600, 8, OV_PARITY_NONE, 0), OV_SUCCESS);
  auto poll = [](uint16_t port, const char* expected, int* failures) {
    for (int i = 0; i < 100; ++i) {
      char name[30] = "";
      if (OV_GetModuleName(port, 1, name) != OV_SUCCESS || std::strcmp(name, expected) != 0)
        ++*failures;
    }
  };
  int failures1 = 0, failures2 = 0;
  std::thread a(poll, kPort, "7213", &failures1);
  std::thread b(poll, 2, "7215", &failures2);
  a.join();
  b.join();
  EXPECT_EQ(failures1, 0);
  EXPECT_EQ(failures2, 0);
}

}  // namespace
}  // namespace orvane::driver::test
