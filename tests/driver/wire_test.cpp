// The frame of every module operation that follows the port's checksum flag,
// with the flag off and on: the command, then (with the checksum) the two
// digits of the sum of all its characters, then a carriage return. The two
// configuration reads choose their checksum mode themselves (identity and
// converter tests).
#include "driver_fixture.h"
#include "protocol/frame.h"

namespace orvane::driver::test {
namespace {

struct Case {
  const char* frame;  // as sent without checksum, CR left off
  std::function<void()> call;
};

std::vector<Case> everyOperation() {
  static char text[30], low[8], high[8];
  static uint16_t u16;
  static uint32_t u32;
  static OV_ModuleConfig config{0x1B, 0, 0x08, 6, 1, 2};
  static OV_ConverterConfig converter{0x1B, 6, 9, 1, 0, 1, 1, 1, 2, 7};
  const uint16_t p = kPort, a = 0x1A;
  return {
      {"%1A1B080642", [=] { OV_SetConfig(p, a, &config); }},
      {"$1AF", [=] { OV_GetVersion(p, a, text); }},
      {"$1AM", [=] { OV_GetModuleName(p, a, text); }},
      {"$1A4", [=] { OV_ReadSyncData(p, a, text, 7213); }},
      {"$1ARS", [=] { OV_SoftReset(p, a); }},
      {"$1A5", [=] { OV_ResetStatus(p, a, &u16); }},
      {"~1A21FF0A", [=] { OV_SetWDT(p, a, 1, 0xFF, 0x0A); }},
      {"~1A3", [=] { OV_GetWDT(p, a, &u16, &u16, &u16); }},
      {"~1A2005FFF", [=] { OV_SetWDT7342(p, a, 0, 5, 2); }},
      {"~1A3", [=] { OV_GetWDT7342(p, a, &u16, &u16, &u16); }},
      {"~1A2105000800FFF000", [=] { OV_SetWDT7347(p, a, 1, 5, 0, 1, 2, 0); }},
      {"~1A3", [=] { OV_GetWDT7347(p, a, &u16, &u16, &u16, &u16, &u16, &u16); }},
      {"~1A10XY", [=] { OV_ConfigLeadingCode(p, a, "XY"); }},
      {"$1AC[", [=] { OV_SetDelimiter(p, a, '['); }},
      {"$1AD", [=] { OV_GetDelimiter(p, a, text); }},
      {"$1A6TAG", [=] { OV_SetDeviceID(p, a, "TAG"); }},
      {"$1A7", [=] { OV_GetDeviceID(p, a, text); }},
      {"$1A00", [=] { OV_SetRTS(p, a, 0); }},
      {"$1A3", [=] { OV_GetRTS(p, a, &u16); }},
      {"$1A1", [=] { OV_GetCTS(p, a, &u16); }},
      {"#1A", [=] { OV_ReadAI(p, a, text); }},
      {"#1AA", [=] { OV_ReadAllAI(p, a, low, high, low); }},
      {"#1A7", [=] { OV_ReadChanAI(p, a, 7, text); }},
      {"$1A5FF", [=] { OV_SetMUXChans(p, a, 0xFF); }},
      {"$1A6", [=] { OV_ReadChanStatus(p, a, &u16); }},
      {"$1A3", [=] { OV_ReadCJC(p, a, text); }},
      {"#1A12.345", [=] { OV_WriteAO(p, a, "12.345"); }},
      {"#1AD+1.5", [=] { OV_WriteChanAO(p, a, 3, "+1.5"); }},
      {"$1A6", [=] { OV_ReadBackAO(p, a, text); }},
      {"$1A5", [=] { OV_ResetStatusAO(p, a, &u16); }},
      {"@1ARH", [=] { OV_GetHighAlarmLimit(p, a, text); }},
      {"@1ARL", [=] { OV_GetLowAlarmLimit(p, a, text); }},
      {"@1AHI+9", [=] { OV_SetHighAlarmLimit(p, a, "+9"); }},
      {"@1ALO-9", [=] { OV_SetLowAlarmLimit(p, a, "-9"); }},
      {"@1ADI", [=] { OV_GetAlarmStatus(p, a, &u16); }},
      {"@1AEAM", [=] { OV_EnableAlarm(p, a, 1); }},
      {"@1ADA", [=] { OV_DisableAlarm(p, a); }},
      {"@1ACA", [=] { OV_ClearLatchAlarm(p, a); }},
      {"@1ARE", [=] { OV_ReadEventCount(p, a, text); }},
      {"@1ACE", [=] { OV_ResetEventCount(p, a); }},
      {"$1A3", [=] { OV_ReadMappingSource(p, a, low, high); }},
      {"$1A5", [=] { OV_ReadMappingTarget(p, a, low, high); }},
      {"$1A6+1+2", [=] { OV_WriteMappingSource(p, a, "+1", "+2"); }},
      {"$1A7-1-2", [=] { OV_WriteMappingTarget(p, a, "-1", "-2"); }},
      {"$1AA0", [=] { OV_EnableLinearMapping(p, a, 0); }},
      {"#1A0007", [=] { OV_WriteDOPort(p, a, 0, 7, 7476); }},
      {"#1A1F00", [=] { OV_WriteDOLine(p, a, 0, 15, 0, 7474); }},
      {"$1A8", [=] { OV_ReadDI(p, a, &u32, 8347); }},
      {"$1A6", [=] { OV_ReadBackDO(p, a, &u16, 7472); }},
      {"$1AS0F", [=] { OV_SetDioMode(p, a, 0x0F); }},
      {"$1A6", [=] { OV_GetDioMode(p, a, &u16); }},
      {"~1ACP10", [=] { OV_SetIoPolarity(p, a, 10); }},
      {"$1AB0", [=] { OV_SetCtrInputMode(p, a, 0); }},
      {"$1AA2", [=] { OV_SetCtrGateMode(p, a, 2); }},
      {"$1A31FFFFFFFF", [=] { OV_SetCtrMaxValue(p, a, 1, 0xFFFFFFFF); }},
      {"@1AP000000000", [=] { OV_SetCtrInitialValue(p, a, 0, 0); }},
      {"@1AG1", [=] { OV_ReadCtrInitialValue(p, a, 1, &u32); }},
      {"$1A510", [=] { OV_StartCtr(p, a, 1, 0); }},
      {"$1A61", [=] { OV_ClearCtr(p, a, 1); }},
      {"$1A71", [=] { OV_ReadCtrOverflowFlag(p, a, 1, &u16); }},
      {"$1A40", [=] { OV_EnableDigitalFilter(p, a, 0); }},
      {"$1A0H9999", [=] { OV_SetMinWidthAtHigh(p, a, 9999); }},
      {"$1A0L0001", [=] { OV_SetMinWidthAtLow(p, a, 1); }},
      {"$1A1H50", [=] { OV_SetTTLInputHigh(p, a, 50); }},
      {"$1A1L00", [=] { OV_SetTTLInputLow(p, a, 0); }},
      {"@1AEA0", [=] { OV_EnableCtrAlarm(p, a, 0); }},
      {"@1ADA1", [=] { OV_DisableCtrAlarm(p, a, 1); }},
      {"@1ADI", [=] { OV_GetCtrAlarmStatus(p, a, 1, &u16); }},
      {"@1APA00000001", [=] { OV_SetCtrAlarmLimit(p, a, 0, 1); }},
      {"@1ASAFFFFFFFF", [=] { OV_SetCtrAlarmLimit(p, a, 1, 0xFFFFFFFF); }},
      {"@1ARP", [=] { OV_ReadCtrAlarmLimit(p, a, 0, &u32); }},
      {"@1ARA", [=] { OV_ReadCtrAlarmLimit(p, a, 1, &u32); }},
      {"{1Apass", [=] { OV_DataPass(p, a, "pass", text); }},
      {"&1A800", [=] { OV_SetDataGate(p, a, 0); }},
      {"%1A1B4069610E", [=] { OV_Set7912Config(p, a, &converter); }},
  };
}

using WireTest = DriverTest;

TEST_F(WireTest, EveryOperationFramesItsCommandWithAndWithoutChecksum) {
  // Nobody answers at 1A: only the frames matter here.
  start({module("7213", 1)});
  OV_TimeOut(kPort, 5);
  for (bool checksum : {false, true}) {
    if (checksum) OV_EnableChecksum(kPort);
    for (const auto& c : everyOperation()) {
      std::string expected = c.frame;
      if (checksum) expected += protocol::checksumDigits(c.frame);
      auto frames = framesOf(c.call, 1);
      ASSERT_EQ(frames.size(), 1u) << c.frame;
      EXPECT_EQ(frames.front(), expected + "\r") << c.frame;
    }
  }
}

}  // namespace
}  // namespace orvane::driver::test
