// The converter 7912: configuration record, data gate and data pass.
#include <cstring>

#include "driver_fixture.h"

namespace orvane::driver::test {
namespace {

using ConverterTest = DriverTest;

sim::ModuleState converter(int address) {
  auto m = module("7912", address);
  m.device.echo = false;
  m.device.fixedReply = "OK42";
  return m;
}

TEST_F(ConverterTest, DataPassUsesTheDelimiterTheModuleAccepted) {
  start({converter(2)});
  char reply[30] = "";
  EXPECT_EQ(frameOf([&] { EXPECT_EQ(OV_DataPass(kPort, 2, "ABC", reply), OV_SUCCESS); }),
            "{02ABC\r");
  EXPECT_EQ(reply, lastReply());

  net->setFault(2, {.refuseAll = true});
  EXPECT_EQ(OV_SetDelimiter(kPort, 2, ':'), OV_REFUSED);
  net->clearFaults();
  EXPECT_EQ(frameOf([&] { OV_DataPass(kPort, 2, "ABC", reply); }), "{02ABC\r");

  ASSERT_EQ(OV_SetDelimiter(kPort, 2, ':'), OV_SUCCESS);
  EXPECT_EQ(frameOf([&] { EXPECT_EQ(OV_DataPass(kPort, 2, "ABC", reply), OV_SUCCESS); }),
            ":02ABC\r");
  // The delimiter belongs to this port and address only.
  OV_SetPortName(2, net->slavePath().c_str());
  ASSERT_EQ(OV_ReleaseComm(kPort), OV_SUCCESS);
  ASSERT_EQ(OV_InitialComm(2, OV_BAUD_9600, 8, OV_PARITY_NONE, 0), OV_SUCCESS);
  EXPECT_EQ(frameOf([&] { OV_DataPass(2, 2, "ABC", reply); }), "{02ABC\r");
}

TEST_F(ConverterTest, DataPassWithAFixedLengthKeepsCarriageReturnsAndZeroBytes) {
  auto m = converter(3);
  m.device.fixedReply = std::string("AB\rC\0D", 6);
  start({m});
  ASSERT_EQ(OV_DataPassConfig(kPort, 3, 6), OV_SUCCESS);
  char reply[30];
  std::memset(reply, '#', sizeof reply);
  EXPECT_EQ(OV_DataPass(kPort, 3, "X", reply), OV_SUCCESS);
  EXPECT_EQ(std::memcmp(reply, "AB\rC\0", 5), 0);
  EXPECT_EQ(reply[6], '\0');

  // A pause longer than the time-out before any of them is a time-out.
  net->setFault(3, {.delayMs = 400});
  OV_TimeOut(kPort, 100);
  std::strcpy(reply, "unchanged");
  EXPECT_EQ(OV_DataPass(kPort, 3, "X", reply), OV_TIMEOUT);
  EXPECT_STREQ(reply, "unchanged");
}

TEST_F(ConverterTest, DataPassLengthMustFitTheReplyBuffer) {
  EXPECT_EQ(OV_DataPassConfig(kPort, 3, 32), OV_REFUSED);
  EXPECT_EQ(OV_DataPassConfig(kPort, 3, 31), OV_SUCCESS);
  EXPECT_EQ(OV_DataPassConfig(kPort, 3, 0), OV_SUCCESS);
}

TEST_F(ConverterTest, DataPassWithChecksumChecksTheLastTwoCharacters) {
  auto m = converter(4);
  m.checksum = true;
  start({m});
  OV_EnableChecksum(kPort);
  char reply[30] = "";
  EXPECT_EQ(frameOf([&] { EXPECT_EQ(OV_DataPass(kPort, 4, "Q", reply), OV_SUCCESS); }), "{04Q30\r");
  std::string raw = lastReply();
  EXPECT_EQ(reply, raw.substr(0, raw.size() - 2));
  net->setFault(4, {.wrongChecksum = true});
  EXPECT_EQ(OV_DataPass(kPort, 4, "Q", reply), OV_CHECKSUM_ERROR);
}

TEST_F(ConverterTest, DataPassToAddressZeroIsPlainAndOnlyItsOwnReplyIsUnchecked) {
  auto init = converter(7);
  init.initState = true;
  auto other = module("7213", 1);
  other.checksum = true;
  start({init, other});
  OV_EnableChecksum(kPort);
  ASSERT_EQ(OV_DataPassConfig(kPort, 0, 4), OV_SUCCESS);
  char reply[30] = "";
  EXPECT_EQ(frameOf([&] { EXPECT_EQ(OV_DataPass(kPort, 0, "X", reply), OV_SUCCESS); }), "{00X\r");
  EXPECT_STREQ(reply, "OK42");
  net->setFault(1, {.wrongChecksum = true});
  char name[30];
  EXPECT_EQ(OV_GetModuleName(kPort, 1, name), OV_CHECKSUM_ERROR);
}

TEST_F(ConverterTest, DataGate) {
  start({converter(1)});
  EXPECT_EQ(frameOf([&] { EXPECT_EQ(OV_SetDataGate(kPort, 1, 5), OV_SUCCESS); }), "&01810\r");
  EXPECT_TRUE(net->state(1).dataGate);
  EXPECT_EQ(frameOf([&] { EXPECT_EQ(OV_SetDataGate(kPort, 1, 0), OV_SUCCESS); }), "&01800\r");
  EXPECT_FALSE(net->state(1).dataGate);
}

TEST_F(ConverterTest, ConfigurationRecordIsDecodedFromTheStatusWord) {
  auto m = converter(1);
  m.statusWord = 0x401B;  // checksum flag, even parity, 8 data bits
  m.checksum = true;
  start({m});
  OV_TimeOut(kPort, 80);
  OV_ConverterConfig config{};
  auto frames = framesOf([&] { EXPECT_EQ(OV_Get7912Config(kPort, 1, &config), OV_SUCCESS); }, 2);
  EXPECT_EQ(frames, (std::vector<std::string>{"$012\r", "$012B7\r"}));
  EXPECT_EQ(config.address, 1);
  EXPECT_EQ(config.flag14, 1);
  EXPECT_EQ(config.flag15, 0);
  EXPECT_EQ(config.flag13, 0);
  EXPECT_EQ(config.flag8, 0);
  EXPECT_EQ(config.parity, 2);
  EXPECT_EQ(config.stopBits, 0);
  EXPECT_EQ(config.dataBits, 8);
  std::string reply = lastReply();
  EXPECT_EQ(config.firstBaud, std::stoul(reply.substr(5, 1), nullptr, 16));
  EXPECT_EQ(config.secondBaud, std::stoul(reply.substr(6, 1), nullptr, 16));
}

TEST_F(ConverterTest, SetConfigurationBuildsTheSixDigits) {
  start({converter(1)});
  // Checksum on, even parity, one stop bit, 8 data bits.
  OV_ConverterConfig config{1, 6, 6, 1, 0, 0, 0, 2, 0, 8};
  EXPECT_EQ(frameOf([&] { OV_Set7912Config(kPort, 1, &config); }), "%01014066401B\r");
  // RS-485, even parity, 8 data bits: what the module stores.
  OV_ConverterConfig rs485{1, 6, 6, 0, 0, 1, 0, 2, 0, 8};
  EXPECT_EQ(frameOf([&] { EXPECT_EQ(OV_Set7912Config(kPort, 1, &rs485), OV_SUCCESS); }),
            "%01014066201B\r");
  EXPECT_EQ(net->state(1).statusWord & 0xFFFF, 0x201B);
  OV_ConverterConfig other{1, 3, 6, 0, 1, 1, 1, 1, 2, 7};
  EXPECT_EQ(frameOf([&] { OV_Set7912Config(kPort, 1, &other); }),
            "%010140"
            "36"
            "A"
            "1"
            "0"
            "E"
            "\r");
}

}  // namespace
}  // namespace orvane::driver::test
