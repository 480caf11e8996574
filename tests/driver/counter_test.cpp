// Counter and frequency commands.
#include "driver_fixture.h"

namespace orvane::driver::test {
namespace {

class CounterTest : public DriverTest {
 protected:
  void SetUp() override {
    auto m = module("7586", 5);
    m.typeCode = 0x50;
    for (auto& counter : m.counters) counter.ratePerS = 0;
    m.counters[1].value = 0xFFFF;
    m.counters[0].maxValue = 0x1000;
    start({m});
  }
};

TEST_F(CounterTest, ReadCtrValueAppendsRWithTheChecksum) {
  uint32_t value = 0;
  EXPECT_EQ(frameOf([&] { EXPECT_EQ(OV_ReadCtrValue(kPort, 5, 1, &value), OV_SUCCESS); }),
            "#051\r");
  EXPECT_EQ(value, 65535u);
  net->modify(5, [](sim::ModuleState& s) { s.checksum = true; });
  OV_EnableChecksum(kPort);
  value = 0;
  EXPECT_EQ(frameOf([&] { EXPECT_EQ(OV_ReadCtrValue(kPort, 5, 1, &value), OV_SUCCESS); }),
            "#051R0B\r");
  EXPECT_EQ(value, 65535u);
}

TEST_F(CounterTest, OnlyTheMarkedReadsGetTheSuffix) {
  net->modify(5, [](sim::ModuleState& s) { s.checksum = true; });
  OV_EnableChecksum(kPort);
  uint16_t u16 = 0;
  uint32_t u32 = 0;
  EXPECT_EQ(frameOf([&] { OV_ReadCtrInitialValue(kPort, 5, 0, &u32); }), "@05G01C\r");
  EXPECT_EQ(frameOf([&] { OV_ReadCtrOverflowFlag(kPort, 5, 0, &u16); }), "$0570F0\r");
  EXPECT_EQ(frameOf([&] { OV_ReadCtrInputMode(kPort, 5, &u16); }), "$05BR1D\r");
  EXPECT_EQ(frameOf([&] { OV_ReadCtrGateMode(kPort, 5, &u16); }), "$05AR1C\r");
  EXPECT_EQ(frameOf([&] { OV_ReadCtrMaxValue(kPort, 5, 0, &u32); }), "$0530R3E\r");
  EXPECT_EQ(frameOf([&] { OV_ReadCtrStatus(kPort, 5, 0, &u16); }), "$0550R40\r");
  EXPECT_EQ(frameOf([&] { OV_ReadFilterStatus(kPort, 5, &u16); }), "$054R0F\r");
  EXPECT_EQ(frameOf([&] { OV_ReadMinWidthAtHigh(kPort, 5, &u16); }), "$050HR53\r");
  EXPECT_EQ(frameOf([&] { OV_ReadMinWidthAtLow(kPort, 5, &u16); }), "$050LR57\r");
  EXPECT_EQ(frameOf([&] { OV_ReadTTLInputHigh(kPort, 5, &u16); }), "$051HR54\r");
  EXPECT_EQ(frameOf([&] { OV_ReadTTLInputLow(kPort, 5, &u16); }), "$051LR58\r");
}

TEST_F(CounterTest, ACounterIndexAbove1IsRefusedBeforeSending) {
  uint16_t u16 = 0;
  uint32_t u32 = 0;
  auto frames = framesOf(
      [&] {
        for (uint16_t status :
             {OV_ReadCtrValue(kPort, 5, 2, &u32), OV_SetCtrMaxValue(kPort, 5, 2, 1),
              OV_ReadCtrMaxValue(kPort, 5, 2, &u32), OV_SetCtrInitialValue(kPort, 5, 2, 1),
              OV_ReadCtrInitialValue(kPort, 5, 2, &u32), OV_StartCtr(kPort, 5, 2, 1),
              OV_ReadCtrStatus(kPort, 5, 2, &u16), OV_ClearCtr(kPort, 5, 2),
              OV_ReadCtrOverflowFlag(kPort, 5, 2, &u16), OV_GetCtrAlarmStatus(kPort, 5, 2, &u16),
              OV_SetCtrAlarmLimit(kPort, 5, 2, 1), OV_ReadCtrAlarmLimit(kPort, 5, 2, &u32)})
          EXPECT_EQ(status, OV_BAD_COUNTER_INDEX);
      },
      0);
  EXPECT_TRUE(frames.empty());
}

TEST_F(CounterTest, ValuesAndSettingsGoOutInTheirFormats) {
  EXPECT_EQ(frameOf([&] { EXPECT_EQ(OV_SetCtrMaxValue(kPort, 5, 0, 0x12345), OV_SUCCESS); }),
            "$053000012345\r");
  uint32_t u32 = 0;
  EXPECT_EQ(OV_ReadCtrMaxValue(kPort, 5, 0, &u32), OV_SUCCESS);
  EXPECT_EQ(u32, 0x12345u);
  EXPECT_EQ(frameOf([&] { EXPECT_EQ(OV_SetCtrInitialValue(kPort, 5, 1, 0xABCDEF), OV_SUCCESS); }),
            "@05P100ABCDEF\r");
  EXPECT_EQ(OV_ReadCtrInitialValue(kPort, 5, 1, &u32), OV_SUCCESS);
  EXPECT_EQ(u32, 0xABCDEFu);
  EXPECT_EQ(frameOf([&] { EXPECT_EQ(OV_SetMinWidthAtHigh(kPort, 5, 50), OV_SUCCESS); }),
            "$050H0050\r");
  EXPECT_EQ(frameOf([&] { EXPECT_EQ(OV_SetMinWidthAtLow(kPort, 5, 1234), OV_SUCCESS); }),
            "$050L1234\r");
  EXPECT_EQ(frameOf([&] { EXPECT_EQ(OV_SetTTLInputLow(kPort, 5, 8), OV_SUCCESS); }), "$051L08\r");
  EXPECT_EQ(frameOf([&] { EXPECT_EQ(OV_SetTTLInputHigh(kPort, 5, 24), OV_SUCCESS); }), "$051H24\r");
  uint16_t u16 = 0;
  EXPECT_EQ(OV_ReadMinWidthAtHigh(kPort, 5, &u16), OV_SUCCESS);
  EXPECT_EQ(u16, 50);
  EXPECT_EQ(OV_ReadMinWidthAtLow(kPort, 5, &u16), OV_SUCCESS);
  EXPECT_EQ(u16, 1234);
  EXPECT_EQ(OV_ReadTTLInputLow(kPort, 5, &u16), OV_SUCCESS);
  EXPECT_EQ(u16, 8);
  EXPECT_EQ(OV_ReadTTLInputHigh(kPort, 5, &u16), OV_SUCCESS);
  EXPECT_EQ(u16, 24);
}

TEST_F(CounterTest, ModesFilterStartAndClear) {
  uint16_t u16 = 9;
  EXPECT_EQ(frameOf([&] { EXPECT_EQ(OV_SetCtrInputMode(kPort, 5, 1), OV_SUCCESS); }), "$05B1\r");
  EXPECT_EQ(OV_ReadCtrInputMode(kPort, 5, &u16), OV_SUCCESS);
  EXPECT_EQ(u16, 1);
  EXPECT_EQ(frameOf([&] { EXPECT_EQ(OV_SetCtrGateMode(kPort, 5, 0), OV_SUCCESS); }), "$05A0\r");
  EXPECT_EQ(OV_ReadCtrGateMode(kPort, 5, &u16), OV_SUCCESS);
  EXPECT_EQ(u16, 0);
  EXPECT_EQ(frameOf([&] { EXPECT_EQ(OV_EnableDigitalFilter(kPort, 5, 1), OV_SUCCESS); }),
            "$0541\r");
  EXPECT_EQ(OV_ReadFilterStatus(kPort, 5, &u16), OV_SUCCESS);
  EXPECT_EQ(u16, 1);
  EXPECT_EQ(frameOf([&] { EXPECT_EQ(OV_StartCtr(kPort, 5, 1, 1), OV_SUCCESS); }), "$05511\r");
  EXPECT_EQ(frameOf([&] { EXPECT_EQ(OV_ReadCtrStatus(kPort, 5, 1, &u16), OV_SUCCESS); }),
            "$0551\r");
  EXPECT_EQ(u16, 1);
  EXPECT_EQ(frameOf([&] { EXPECT_EQ(OV_ClearCtr(kPort, 5, 0), OV_SUCCESS); }), "$0560\r");
  EXPECT_EQ(frameOf([&] { EXPECT_EQ(OV_ReadCtrOverflowFlag(kPort, 5, 0, &u16), OV_SUCCESS); }),
            "$0570\r");
  EXPECT_EQ(u16, lastReply()[3] - '0');
}

TEST_F(CounterTest, CounterAlarms) {
  EXPECT_EQ(frameOf([&] { EXPECT_EQ(OV_SetCtrAlarmLimit(kPort, 5, 0, 0xABCD), OV_SUCCESS); }),
            "@05PA0000ABCD\r");
  EXPECT_EQ(frameOf([&] { EXPECT_EQ(OV_SetCtrAlarmLimit(kPort, 5, 1, 0x10), OV_SUCCESS); }),
            "@05SA00000010\r");
  uint32_t limit = 0;
  EXPECT_EQ(frameOf([&] { EXPECT_EQ(OV_ReadCtrAlarmLimit(kPort, 5, 0, &limit), OV_SUCCESS); }),
            "@05RP\r");
  EXPECT_EQ(limit, 0xABCDu);
  EXPECT_EQ(frameOf([&] { EXPECT_EQ(OV_ReadCtrAlarmLimit(kPort, 5, 1, &limit), OV_SUCCESS); }),
            "@05RA\r");
  EXPECT_EQ(limit, 0x10u);
  EXPECT_EQ(frameOf([&] { EXPECT_EQ(OV_EnableCtrAlarm(kPort, 5, 1), OV_SUCCESS); }), "@05EA1\r");
  EXPECT_EQ(frameOf([&] { EXPECT_EQ(OV_DisableCtrAlarm(kPort, 5, 0), OV_SUCCESS); }), "@05DA0\r");
  uint16_t flag0 = 9, flag1 = 9;
  EXPECT_EQ(frameOf([&] { EXPECT_EQ(OV_GetCtrAlarmStatus(kPort, 5, 0, &flag0), OV_SUCCESS); }),
            "@05DI\r");
  int digit = lastReply()[3] - '0';
  EXPECT_EQ(OV_GetCtrAlarmStatus(kPort, 5, 1, &flag1), OV_SUCCESS);
  EXPECT_EQ(flag0, digit & 1);
  EXPECT_EQ(flag1, digit > 1 ? 1 : 0);
}

}  // namespace
}  // namespace orvane::driver::test
