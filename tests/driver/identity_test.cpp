// Identity, configuration and supervision commands.
#include <cstring>

#include "driver_fixture.h"

namespace orvane::driver::test {
namespace {

using IdentityTest = DriverTest;

TEST_F(IdentityTest, GetConfigReadsConfigurationAndModelOfAPlainModule) {
  auto m = module("7215", 3);
  m.typeCode = 0x0A;
  m.baudCode = 3;
  m.format = 2;
  start({m});
  OV_ModuleConfig config{};
  auto frames = framesOf([&] { EXPECT_EQ(OV_GetConfig(kPort, 3, &config), OV_SUCCESS); }, 2);
  EXPECT_EQ(frames, (std::vector<std::string>{"$032\r", "$03M\r"}));
  EXPECT_EQ(config.address, 3);
  EXPECT_EQ(config.model, 7215);
  EXPECT_EQ(config.typeCode, 0x0A);
  EXPECT_EQ(config.baudCode, 6);
  EXPECT_EQ(config.checksum, 0);
  EXPECT_EQ(config.dataFormat, 2);
}

TEST_F(IdentityTest, GetConfigRetriesWithChecksumAndLeavesThePortFlagAlone) {
  auto m = module("7213", 1);
  m.checksum = true;
  start({m});
  OV_TimeOut(kPort, 80);
  OV_ModuleConfig config{};
  auto frames = framesOf([&] { EXPECT_EQ(OV_GetConfig(kPort, 1, &config), OV_SUCCESS); }, 3);
  EXPECT_EQ(frames, (std::vector<std::string>{"$012\r", "$012B7\r", "$01MD2\r"}));
  EXPECT_EQ(config.checksum, 1);
  EXPECT_EQ(config.model, 7213);
  // The caller decides about the port's flag.
  char name[30];
  EXPECT_EQ(OV_GetModuleName(kPort, 1, name), OV_TIMEOUT);
}

TEST_F(IdentityTest, GetConfigReturnsTheSecondTimeOutWhenThePortIsTooImpatient) {
  auto m = module("7213", 1);
  m.checksum = true;
  start({m});
  net->setFault(1, {.delayMs = 300});
  OV_TimeOut(kPort, 60);
  OV_ModuleConfig config{};
  config.model = 4242;
  EXPECT_EQ(OV_GetConfig(kPort, 1, &config), OV_TIMEOUT);
  EXPECT_EQ(config.model, 4242);
}

TEST_F(IdentityTest, GetConfigKeepsTheFirstFieldsWhenTheNameReadIsRefused) {
  auto m = module("7213", 1);
  start({m});
  net->setFault(1, {.refuseAll = true});
  OV_ModuleConfig config{};
  config.model = 4242;
  config.address = 99;
  // The configuration reply is not tested for "?"; the name reply is.
  EXPECT_EQ(OV_GetConfig(kPort, 1, &config), OV_REFUSED);
  EXPECT_EQ(config.address, 1);
  EXPECT_EQ(config.model, 4242);
}

TEST_F(IdentityTest, SetConfigSendsTheStandardConfigurationCommand) {
  start({module("7213", 1)});
  OV_ModuleConfig config{2, 7213, 0x05, 6, 0, 2};
  EXPECT_EQ(frameOf([&] { EXPECT_EQ(OV_SetConfig(kPort, 1, &config), OV_SUCCESS); }),
            "%0102050602\r");
  auto stored = net->state(2);
  EXPECT_EQ(stored.typeCode, 0x05);
  EXPECT_EQ(stored.format & 3, 2);
  // The checksum goes into bit 6 of FF (a module takes it only in its
  // initialization state).
  config.checksum = 1;
  EXPECT_EQ(frameOf([&] { OV_SetConfig(kPort, 2, &config); }), "%0202050642\r");
}

TEST_F(IdentityTest, NameAndVersionAreTheReplyFromPositionThree) {
  auto m = module("7213", 0x1B);
  m.model = "7213D";
  m.firmware = "B2.7";
  start({m});
  char text[30] = "";
  EXPECT_EQ(frameOf([&] { EXPECT_EQ(OV_GetModuleName(kPort, 0x1B, text), OV_SUCCESS); }), "$1BM\r");
  EXPECT_STREQ(text, "7213D");
  EXPECT_EQ(frameOf([&] { EXPECT_EQ(OV_GetVersion(kPort, 0x1B, text), OV_SUCCESS); }), "$1BF\r");
  EXPECT_STREQ(text, "B2.7");
}

TEST_F(IdentityTest, BroadcastsCarryThePortsChecksumAndAwaitNoReply) {
  start({module("7213", 1)});
  EXPECT_EQ(frameOf([&] { EXPECT_EQ(OV_Sync(kPort), OV_SUCCESS); }), "#**\r");
  OV_EnableChecksum(kPort);
  EXPECT_EQ(frameOf([&] { EXPECT_EQ(OV_Sync(kPort), OV_SUCCESS); }), "#**77\r");
  EXPECT_EQ(frameOf([&] { EXPECT_EQ(OV_HostOK(kPort), OV_SUCCESS); }), "~**D2\r");
  OV_ReleaseComm(kPort);
  EXPECT_EQ(OV_Sync(kPort), OV_IO_ERROR);
  EXPECT_EQ(OV_HostOK(kPort), OV_SUCCESS);
}

TEST_F(IdentityTest, ReadSyncDataDependsOnTheModel) {
  start({module("7213", 1), module("7347", 2), module("7451", 3)});
  char data[30] = "unchanged";
  EXPECT_TRUE(
      framesOf([&] { EXPECT_EQ(OV_ReadSyncData(kPort, 1, data, 7458), OV_SUCCESS); }, 0).empty());
  EXPECT_STREQ(data, "unchanged");
  ASSERT_EQ(frameOf([&] { OV_Sync(kPort); }), "#**\r");  // logged before the read goes out
  EXPECT_EQ(frameOf([&] { EXPECT_EQ(OV_ReadSyncData(kPort, 1, data, 8213), OV_SUCCESS); }),
            "$014\r");
  EXPECT_EQ(data, lastReply().substr(4));
  EXPECT_EQ(frameOf([&] { OV_ReadSyncData(kPort, 2, data, 7347); }), "$029\r");
  EXPECT_EQ(frameOf([&] { OV_ReadSyncData(kPort, 3, data, 7451); }), "$034\r");
}

TEST_F(IdentityTest, ResetCommands) {
  start({module("7213", 1)});
  net->modify(1, [](sim::ModuleState& s) { s.resetStatus = 1; });
  uint16_t status = 7;
  EXPECT_EQ(frameOf([&] { EXPECT_EQ(OV_ResetStatus(kPort, 1, &status), OV_SUCCESS); }), "$015\r");
  EXPECT_EQ(status, 1);
  EXPECT_EQ(frameOf([&] { EXPECT_EQ(OV_SoftReset(kPort, 1), OV_SUCCESS); }), "$01RS\r");
}

TEST_F(IdentityTest, WatchdogSettingsGoOutAndComeBack) {
  start({module("7213", 1)});
  EXPECT_EQ(frameOf([&] { EXPECT_EQ(OV_SetWDT(kPort, 1, 5, 0x20, 0x3F), OV_SUCCESS); }),
            "~0121203F\r");
  uint16_t enable = 0, timeoutValue = 0, safe = 0;
  EXPECT_EQ(
      frameOf([&] { EXPECT_EQ(OV_GetWDT(kPort, 1, &enable, &timeoutValue, &safe), OV_SUCCESS); }),
      "~013\r");
  EXPECT_EQ(enable, 1);
  EXPECT_EQ(timeoutValue, 0x20);
  EXPECT_EQ(safe, 0x3F);
}

TEST_F(IdentityTest, WatchdogOf7342ChoosesTheSafeValueByCode) {
  start({module("7342", 1)});
  EXPECT_TRUE(
      framesOf([&] { EXPECT_EQ(OV_SetWDT7342(kPort, 1, 1, 0x10, 3), OV_REFUSED); }, 0).empty());
  EXPECT_EQ(frameOf([&] { EXPECT_EQ(OV_SetWDT7342(kPort, 1, 1, 0x10, 1), OV_SUCCESS); }),
            "~0121107FF\r");
  uint16_t enable = 0, timeoutValue = 0, code = 9;
  EXPECT_EQ(OV_GetWDT7342(kPort, 1, &enable, &timeoutValue, &code), OV_SUCCESS);
  EXPECT_EQ(enable, 1);
  EXPECT_EQ(timeoutValue, 0x10);
  EXPECT_EQ(code, 1);
  EXPECT_EQ(frameOf([&] { OV_SetWDT7342(kPort, 1, 0, 0x10, 2); }), "~012010FFF\r");
}

TEST_F(IdentityTest, WatchdogOf7347CarriesFourSafeValues) {
  start({module("7347", 1)});
  EXPECT_TRUE(
      framesOf([&] { EXPECT_EQ(OV_SetWDT7347(kPort, 1, 1, 0x10, 0, 0, 0, 3), OV_REFUSED); }, 0)
          .empty());
  EXPECT_EQ(frameOf([&] { EXPECT_EQ(OV_SetWDT7347(kPort, 1, 1, 0x10, 2, 0, 1, 2), OV_SUCCESS); }),
            "~012110FFF000800FFF\r");
  uint16_t enable = 0, timeoutValue = 0, codes[4] = {9, 9, 9, 9};
  EXPECT_EQ(
      OV_GetWDT7347(kPort, 1, &enable, &timeoutValue, &codes[0], &codes[1], &codes[2], &codes[3]),
      OV_SUCCESS);
  EXPECT_EQ(enable, 1);
  EXPECT_EQ(timeoutValue, 0x10);
  EXPECT_EQ(codes[0], 2);
  EXPECT_EQ(codes[1], 0);
  EXPECT_EQ(codes[2], 1);
  EXPECT_EQ(codes[3], 2);
}

TEST_F(IdentityTest, ConverterIdentityCommands) {
  start({module("7912", 1)});
  EXPECT_EQ(frameOf([&] { OV_ConfigLeadingCode(kPort, 1, "AB"); }), "~0110AB\r");
  EXPECT_EQ(frameOf([&] { EXPECT_EQ(OV_SetDeviceID(kPort, 1, "PUMP7"), OV_SUCCESS); }),
            "$016PUMP7\r");
  char id[30] = "";
  EXPECT_EQ(frameOf([&] { EXPECT_EQ(OV_GetDeviceID(kPort, 1, id), OV_SUCCESS); }), "$017\r");
  EXPECT_STREQ(id, "PUMP7");
  EXPECT_EQ(frameOf([&] { EXPECT_EQ(OV_SetRTS(kPort, 1, 1), OV_SUCCESS); }), "$0101\r");
  uint16_t rts = 9, cts = 9;
  EXPECT_EQ(frameOf([&] { EXPECT_EQ(OV_GetRTS(kPort, 1, &rts), OV_SUCCESS); }), "$013\r");
  EXPECT_EQ(rts, 1);
  net->modify(1, [](sim::ModuleState& s) { s.cts = 1; });
  EXPECT_EQ(frameOf([&] { EXPECT_EQ(OV_GetCTS(kPort, 1, &cts), OV_SUCCESS); }), "$011\r");
  EXPECT_EQ(cts, 1);
  EXPECT_EQ(frameOf([&] { EXPECT_EQ(OV_SetDelimiter(kPort, 1, ':'), OV_SUCCESS); }), "$01C:\r");
  char delimiter = 0;
  EXPECT_EQ(frameOf([&] { EXPECT_EQ(OV_GetDelimiter(kPort, 1, &delimiter), OV_SUCCESS); }),
            "$01D\r");
  EXPECT_EQ(delimiter, ':');
}

}  // namespace
}  // namespace orvane::driver::test
